#!/usr/bin/env bash
# Choosing and removing today's picture as a user does, on a Wednesday pinned with faketime: from
# the tray menu through the real open dialog (typing the path), seen stretched on the root window
# with the alert on the bus; the settings window opened by a double-click on the icon, the picture
# removed with the red mark (the default picture on white, the removal alert); then chosen again
# from the day's name in the window.
source "$(dirname "$0")/lib/session.sh"
need xwininfo xdotool faketime convert openbox dbus-monitor python3
: "${LUMORA_BIN:?}"
session_start --wm openbox || { fail "session did not start"; e2e_finish; }
profile
monitor_alerts
PICTURE="$SESSION_DIR/my pictures/beach at dawn.png"
mkdir -p "$(dirname "$PICTURE")"
convert -size 64x48 'xc:rgb(200,30,40)' "$PICTURE"

# Wednesday 3 February 2027, the clock running from 09:05.
LUMORA_DESKTOP=x11 session_spawn lumora faketime -f '@2027-02-03 09:05:00' "$LUMORA_BIN"
PID=$SPAWNED
wait_until 15 icon_embedded || fail "the icon did not appear"
screen_size
wait_pixel 10 5 5 "255 255 255" # the default picture centred on white, before any choice

dialog() { xdotool search --onlyvisible --name '^Lumora - Choose wallpaper to use for Wednesday$' 2>/dev/null | head -n1; }
dialog_open() { [ -n "$(dialog)" ]; }
# choose_in_dialog: types the picture's path into the open dialog and accepts it.
choose_in_dialog() {
    wait_until 10 dialog_open || { fail "the open dialog did not appear"; return 1; }
    local win
    win=$(dialog)
    activate "$win"
    wait_until 5 has_focus "$win" || fail "the open dialog did not take the focus"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 5 "$PICTURE"
    xdotool key Return
    wait_until 10 eval '! dialog_open' || fail "the dialog did not close"
}

# 1. From the tray menu: right click, then the access key of "&Wednesday".
read -r X Y _ < <(geometry "$(tray_icon)")
open_menu $((X + 8)) $((Y + 8))
menu_key w dialog_open
choose_in_dialog
wait_pixel 10 5 5 "200 30 40"
wait_pixel 5 $((SW - 40)) $((SH / 2)) "200 30 40" # stretched over the whole screen
CHANGED="Lumora|dialog-information|Lumora|Wednesday's wallpaper changed using\\n$PICTURE|2000"
wait_until 10 alerts_seen 3 || fail "the alerts of the choice did not arrive"
check_eq "the alert of the choice" "$CHANGED" "$(alerts | tail -n1)"
grep -q '"Wednesday" = "'"$PICTURE"'"' "$XDG_CONFIG_HOME/lumora/lumora.conf" ||
    fail "the chosen source path was not stored"
[ -f "$XDG_DATA_HOME/lumora/Wednesday.png" ] || fail "the day copy Wednesday.png was not made"

# 2. The settings window from a double-click on the icon; the red mark of Wednesday removes it.
icon_double_click settings_window_open || fail "the settings window did not open"
settled
WIN=$(settings_window)
read -r WX WY WW WH < <(geometry "$WIN")
check_eq "settings window size" "669 301" "$WW $WH"
# A click that reaches the window before it takes input (a loaded machine) is made again, up to
# three times, while today's picture is still shown.
remove_today() {
    xdotool mousemove $((WX + 504 + 145 + 8)) $((WY + 13 + 9)) click 1
    wait_until 5 pixel_is 5 5 "255 255 255"
}
remove_today || remove_today || remove_today || fail "pixel 5,5: expected [255 255 255], got [$(root_pixel 5 5)]"
wait_until 10 alerts_seen 5 || fail "the removal alerts did not arrive"
check_eq "the alert of the removal" \
    "Lumora|dialog-information|Lumora|Wednesday's picture setting has been removed.|2000" "$(alerts | tail -n1)"
wait_until 10 settings_window_open || fail "the settings window did not come back after the removal"

# 3. Chosen again from the day's name in the window: the dialog starts on the previous file.
settled
WIN=$(settings_window)
read -r WX WY _ < <(geometry "$WIN")
xdotool mousemove $((WX + 504 + 6 + 20)) $((WY + 14 + 6)) click 1
choose_in_dialog
wait_pixel 10 5 5 "200 30 40"

kill "$PID"
e2e_finish
