#!/usr/bin/env bash
# With a picture set for today (its copy and value made before the start), in a Wine virtual
# desktop: the preview opened from today's thumbnail in the settings window, its caption and its
# picture drawn; the desktop colour chosen in the real colour dialog (from the tray menu's "Set
# Desktop Color"), seen by other programs and stored; Exit from the tray menu ends the program and
# takes its icon away.
set -uo pipefail
source "$(dirname "$0")/lib/session.sh"
win_session_start || exit 1

DAY=$(today_number)
NAME=$(today_name)
COPY=$PROGRAM_DATA/$NAME.bmp
# A red middle in a frame of another colour: the canvas shows the middle wherever the picture is
# fitted to it.
mkdir -p "$PROGRAM_DATA"
convert -size 200x150 xc:'rgb(20,40,200)' -fill 'rgb(200,30,40)' -draw 'rectangle 30,30 169,119' \
    -type TrueColor "BMP3:$COPY"
reg_set "$PICTURES_KEY" "$NAME" "$(wine_cmd winepath -w "$COPY")"
reg_set "$OPTIONS_KEY" ShowSplsh False
start_lumora lumora
wait_until 60 icon_shown || { fail "no icon in the notification area"; e2e_finish; }
wait_until 30 desktop_shows "$COPY" center "$(shell_colour)" || fail "the desktop does not show today's picture"

# 1. The preview from today's thumbnail (Image1(day)).
click_icon 1 2
wait_until 30 settings_shown || { fail "the settings window did not open"; e2e_finish; }
WIN=$(settings_window)
# The caption the preview composes: the file, its size in pixels and in kilobytes (more than one
# kilobyte: whole kilobytes, digits grouped by the locale's separator, "," here).
BYTES=$(stat -c %s "$COPY")
KB=$(printf "%'d" $((BYTES / 1024)))
CAPTION="Lumora - $(wine_cmd winepath -w "$COPY") [200 x 150 pixels - $KB KB]"
click_id "$WIN" $((400 + DAY))
wait_until 30 window_shown "$CAPTION" || fail "no preview [$CAPTION]; windows: $(probe windows | cut -f3,4 | paste -sd'|')"
PREVIEW=$(window_of "$CAPTION")
canvas_red() {
    local x y w h
    read -r x y w h < <(control_rect_id "$PREVIEW" 209) || return 1
    snapshot preview && [ "$(pixel preview $((x + w / 2)) $((y + h / 2)))" = "200 30 40" ]
}
wait_until 30 canvas_red || fail "the preview's canvas does not show the picture's middle"
# Closed as from its system menu (Alt+F4), with the pointer on it.
read -r X Y W _ < <(window_rect "$PREVIEW")
xdotool mousemove $((X + W / 2)) $((Y + 8))
keys_to_pointer
xdotool key alt+F4
wait_until 30 window_gone "$CAPTION" || fail "the preview did not close"
click_id "$WIN" 114
wait_until 10 settings_gone || fail "the close label left the window open"

# 2. The colour dialog (the menu's "Set Desktop Color", 13 items down): the custom part opened,
# red, green and blue typed in, OK.
colour_dialog() { window_of Color; }
colour_shown() { [ -n "$(colour_dialog)" ]; }
colour_gone() { ! colour_shown; }
menu_choose 13
wait_until 30 colour_shown || { fail "no colour dialog"; e2e_finish; }
DIALOG=$(colour_dialog)
check_eq "the colour dialog's class" '#32770' "$(probe windows | awk -F'\t' -v h="$DIALOG" '$1 == h { print $3 }')"
click_control "$DIALOG" '&Define Custom Colors >>'
wait_until 10 control_shown_id "$DIALOG" 706 || fail "the custom part did not open"
field_is() { [ "$(control_text_id "$DIALOG" "$1")" = "$2" ]; }
# set_field ID VALUE: a field of the dialog (706 red, 707 green, 708 blue) typed over.
set_field() {
    local x y w h
    read -r x y w h < <(control_rect_id "$DIALOG" "$1")
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click --repeat 2 1
    keys_to_pointer
    xdotool key ctrl+a BackSpace
    xdotool type --delay 20 "$2"
    wait_until 10 field_is "$1" "$2" || fail "field $1 shows [$(control_text_id "$DIALOG" "$1")], not $2"
}
fields() { echo "$(control_text_id "$DIALOG" 706) $(control_text_id "$DIALOG" 707) $(control_text_id "$DIALOG" 708)"; }
check_eq "the dialog's first colour, none stored" "0 0 0" "$(fields)"
set_field 706 30
set_field 707 120
set_field 708 90
click_control "$DIALOG" OK
wait_until 30 colour_gone || fail "the colour dialog stayed"
colour_is() { [ "$(system_colour)" = "$1" ]; }
wait_until 30 colour_is "30 120 90" || fail "the desktop colour is [$(system_colour)], not 30 120 90"
wait_until 30 reg_is "$OPTIONS_KEY" BackColor $((30 + 120 * 256 + 90 * 65536)) || fail "BackColor is [$(reg_value "$OPTIONS_KEY" BackColor)]"

# The dialog again starts on the stored colour; Cancel changes nothing.
menu_choose 13
wait_until 30 colour_shown || { fail "no colour dialog the second time"; e2e_finish; }
DIALOG=$(colour_dialog)
click_control "$DIALOG" '&Define Custom Colors >>'
wait_until 10 control_shown_id "$DIALOG" 706 || fail "the custom part did not open"
check_eq "the dialog's first colour, the stored one" "30 120 90" "$(fields)"
set_field 706 200
click_control "$DIALOG" Cancel
wait_until 30 colour_gone || fail "the colour dialog stayed after Cancel"
check_eq "the desktop colour after Cancel" "30 120 90" "$(system_colour)"
check_eq "BackColor after Cancel" $((30 + 120 * 256 + 90 * 65536)) "$(reg_value "$OPTIONS_KEY" BackColor)"

# 3. Exit (2 items down): the process ends and the shell takes the icon away.
menu_choose 2
wait_until 30 ended "$LUMORA_PID" || fail "the program did not end after Exit"
wait_until 30 icon_gone || fail "the icon stayed after Exit"
e2e_finish
