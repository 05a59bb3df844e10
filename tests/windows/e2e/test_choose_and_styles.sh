#!/usr/bin/env bash
# Today's picture chosen as a user does, in a Wine virtual desktop: the tray menu's item for today,
# the real open dialog with the path typed in (a JPEG, then a BMP); the day copy byte for byte, the
# day's values, the desktop and the alert. Then the settings window from a double-click on the
# icon: today's style letter clicked to centre and then to tile, each applied and seen pixel for
# pixel; last, the red mark removes today's picture and the default picture comes back centred.
set -uo pipefail
source "$(dirname "$0")/lib/session.sh"
win_session_start || exit 1

DAY=$(today_number)
NAME=$(today_name)
JPEG=$WIN_DIR/holiday.jpg
BMP=$WIN_DIR/stripes.bmp
# Pictures with corners and blocks of their own, so that one drawn elsewhere, scaled or tiled
# wrongly differs from the one wanted.
convert -size 240x160 gradient:'rgb(250,40,30)-rgb(20,60,230)' -fill 'rgb(30,200,60)' \
    -draw 'rectangle 0,0 60,40' -quality 92 "$JPEG"
convert -size 150x110 xc:'rgb(240,220,20)' -fill 'rgb(120,0,160)' -draw 'rectangle 0,0 74,54' \
    -fill 'rgb(0,150,150)' -draw 'rectangle 100,60 149,109' -type TrueColor "BMP3:$BMP"

reg_set "$OPTIONS_KEY" ShowSplsh False
watch_balloons
start_lumora lumora
wait_until 60 icon_shown || { fail "no icon in the notification area"; e2e_finish; }
wait_until 30 test -f "$PROGRAM_DATA/Default.bmp" || fail "no Default.bmp"
wait_until 30 desktop_shows "$PROGRAM_DATA/Default.bmp" center "$(shell_colour)" || fail "the desktop does not show the default picture at start"

open_dialog() { window_of "Lumora - Choose wallpaper to use for $NAME"; }
dialog_shown() { [ -n "$(open_dialog)" ]; }
dialog_gone() { ! dialog_shown; }
# choose FILE: today's item of the tray menu (the day items follow Refresh, Exit and a
# separator), then the file's Windows path typed over the dialog's file name and accepted.
choose() {
    menu_choose $((DAY + 2)) || return 1
    wait_until 30 dialog_shown || { fail "no open dialog for $NAME"; return 1; }
    check_eq "the open dialog's class" '#32770' "$(probe windows | awk -F'\t' -v h="$(open_dialog)" '$1 == h { print $3 }')"
    check_eq "the dialog's file types" 'Image files (*.jpg; *.gif; *.bmp; *.tga; *.*htm*; *.png)' "$(control_text_id "$(open_dialog)" 1136)"
    type_into_edit "$(open_dialog)" "$(unix_to_windows "$1")"
    xdotool key Return
    wait_until 30 dialog_gone || fail "the open dialog stayed"
}
desktop_style_is() { reg_is "$DESKTOP_KEY" WallpaperStyle "$1" && reg_is "$DESKTOP_KEY" TileWallpaper "$2"; }
# chosen FILE COPY: the day's values and copy after FILE was chosen, and the choice's alert (the
# engine's own alert comes first and is replaced by it within the shell's two seconds).
chosen() {
    wait_until 30 reg_is "$PICTURES_KEY" "$NAME" "$(wine_cmd winepath -w "$2")" || fail "the day's picture is [$(reg_value "$PICTURES_KEY" "$NAME")]"
    check_eq "the day's source" "$(unix_to_windows "$1")" "$(reg_value "$SOURCES_KEY" "$NAME")"
    cmp -s "$1" "$2" || fail "the day copy $2 is not $1 byte for byte"
    wait_balloon 30 "$NAME's wallpaper changed using\\n\\r$(unix_to_windows "$1")"
}

# 1. The JPEG: copied as <day>.jpg; set stretched. Wine's desktop draws a stretched wallpaper
# centred (DESIGN.md, traps), so the pixels show the picture in the middle. FUZZ 1% leaves room
# for a JPEG decoder (WIC's, ImageMagick's) rounding a colour by a step; it takes no other picture.
choose "$JPEG" || e2e_finish
chosen "$JPEG" "$PROGRAM_DATA/$NAME.jpg"
wait_until 30 desktop_style_is 2 0 || fail "the desktop is not set to stretch"
FUZZ=1% wait_until 30 desktop_shows "$JPEG" center "$(shell_colour)" || fail "the desktop does not show the JPEG"

# 2. The BMP over it (the dialog starts on the JPEG: the name is typed over it).
choose "$BMP" || e2e_finish
COPY=$PROGRAM_DATA/$NAME.bmp
chosen "$BMP" "$COPY"
wait_until 30 desktop_shows "$BMP" center "$(shell_colour)" || fail "the desktop does not show the BMP"
check_eq "the wallpaper" "$(wine_cmd winepath -w "$COPY")" "$(reg_value "$DESKTOP_KEY" Wallpaper)"

# 3. The settings window: today's letter S -> C, Apply; C -> T, Apply. The window is closed with
# its close label before the desktop is looked at, and opened again with a double-click.
open_settings() {
    click_icon 1 2
    wait_until 30 settings_shown || { fail "the settings window did not open"; e2e_finish; }
    WIN=$(settings_window)
}
apply_hidden() { ! control_shown_id "$WIN" 116; }
balloons_more() { [ "$(balloons_of "$1")" -gt "$2" ]; }
letter_is() { [ "$(control_text_id "$WIN" $((300 + DAY)))" = "$1" ]; }
# style FROM TO WALLPAPERSTYLE TILE CODE: today's letter clicked from FROM to TO, then Apply
# (Label1(16), found by its id: its caption blinks).
style() {
    open_settings
    wait_until 10 letter_is "$1" || fail "today's letter is [$(control_text_id "$WIN" $((300 + DAY)))], not $1"
    click_id "$WIN" $((300 + DAY))
    wait_until 10 letter_is "$2" || fail "today's letter did not turn $2"
    wait_until 10 control_shown_id "$WIN" 116 || fail "Apply did not appear"
    local used="Your $NAME's selected picture has been used matching your settings." before
    before=$(balloons_of "$used")
    click_id "$WIN" 116
    wait_until 30 desktop_style_is "$3" "$4" || fail "the desktop style is not $3/$4 after Apply"
    check_eq "Styl$DAY" "$5" "$(reg_value "$OPTIONS_KEY" "Styl$DAY")"
    wait_until 30 balloons_more "$used" "$before" || fail "no new balloon [$used] after Apply"
    wait_until 10 settings_shown || fail "the settings window did not come back after Apply"
    wait_until 10 apply_hidden || fail "Apply stayed after Apply"
    click_id "$WIN" 114
    wait_until 10 settings_gone || fail "the close label left the window open"
}
style S C 0 0 2
wait_until 30 desktop_shows "$BMP" center "$(shell_colour)" || fail "the desktop does not show the BMP centred"
style C T 0 1 3
wait_until 30 desktop_shows "$BMP" tile || fail "the desktop does not show the BMP tiled"

# 4. The red mark of today: the day's picture value emptied (the copy stays), the default
# picture centred on white, the removal's alert.
open_settings
click_id "$WIN" $((200 + DAY))
wait_until 30 reg_is "$PICTURES_KEY" "$NAME" "" || fail "the day's picture stayed [$(reg_value "$PICTURES_KEY" "$NAME")]"
wait_balloon 30 "$NAME's picture setting has been removed."
wait_until 10 settings_shown || fail "the window did not come back after the removal"
click_id "$WIN" 114
wait_until 10 settings_gone || fail "the close label left the window open"
wait_until 30 desktop_shows "$PROGRAM_DATA/Default.bmp" center "$(shell_colour)" || fail "the desktop does not show the default picture after the removal"
check_eq "desktop colour" "255 255 255" "$(system_colour)"
check_eq "the day's source after the removal" "$(unix_to_windows "$BMP")" "$(reg_value "$SOURCES_KEY" "$NAME")"
test -f "$COPY" || fail "the removal deleted the day copy"
e2e_finish
