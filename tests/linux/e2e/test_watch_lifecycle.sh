#!/usr/bin/env bash
# The day watch at the two ends of the program's life, on a faked clock.
# - A midnight that comes while start-up draws a large picture is still the change of day: started
#   at 23:59:59.6 on a Saturday whose picture is a 6000 x 4000 PNG, Sunday's picture ends up on
#   the root window with the day-change report.
# - After "E&xit" (half a minute before midnight), while the about window keeps the process alive,
#   nothing acts any more: neither the midnight that passes nor a day file deleted sets a
#   wallpaper or writes a value.
source "$(dirname "$0")/lib/session.sh"
need faketime convert xdotool xwininfo dbus-monitor python3
: "${LUMORA_BIN:?}"
session_start || { fail "session did not start"; e2e_finish; }
PICS=$SESSION_DIR/pictures
CONF=$XDG_CONFIG_HOME/lumora/lumora.conf
mkdir -p "$PICS"
convert -size 6000x4000 'xc:rgb(200,30,40)' "$PICS/Saturday.png"
convert -size 32x24 'xc:rgb(200,30,40)' "$PICS/SaturdaySmall.png"
convert -size 32x24 'xc:rgb(20,160,60)' "$PICS/Sunday.png"
convert -size 32x24 'xc:rgb(0,0,200)' "$PICS/Monday.png"
monitor_alerts
screen_size
X=$((SW - 40)) Y=$((SH / 2))
day_report() { [ "$(alerts | grep -c "|Your wallpaper has been set for $1|")" -ge 1 ]; }

# ---- A midnight during start-up -----------------------------------------------------------
profile '[HKEY_CURRENT_USER\Software\Corvane\Local Settings]' \
    "\"Saturday\" = \"$PICS/Saturday.png\"" "\"Sunday\" = \"$PICS/Sunday.png\""
LUMORA_DESKTOP=x11 session_spawn startup faketime -f '@2027-01-02 23:59:59.6' "$LUMORA_BIN"
PID=$SPAWNED
wait_pixel 60 $X $Y "20 160 60" || fail "Sunday's picture did not follow the midnight of start-up"
wait_until 10 day_report Sunday || fail "no day-change report for Sunday"
# faketime runs the program as its child, and ends with it.
pkill -TERM -P "$PID"
wait_until 10 ended "$PID" || fail "the program did not end on TERM"

# ---- After Exit ------------------------------------------------------------------------------
profile '[HKEY_CURRENT_USER\Software\Corvane\Local Settings]' \
    "\"Saturday\" = \"$PICS/SaturdaySmall.png\"" "\"Sunday\" = \"$PICS/Sunday.png\"" \
    "\"Monday\" = \"$PICS/Monday.png\""
LUMORA_DESKTOP=x11 session_spawn exit faketime -f '@2027-01-02 23:59:30' "$LUMORA_BIN"
PID=$SPAWNED
wait_pixel 10 $X $Y "200 30 40" || fail "Saturday's picture was not set at start-up"
wait_until 15 icon_embedded || fail "no icon"
START=$SECONDS # the program's clock reads at least 23:59:30 plus the time since

about_window() { xdotool search --onlyvisible --name '^Lumora$' 2>/dev/null | head -n1; }
about_shown() { [ -n "$(about_window)" ]; }
icon_gone() { ! icon_embedded; }
# "About..." is the menu's last item, and has no access key: Up from the top reaches it.
# A menu just mapped may not hold the keyboard yet: while it stays open, the keys go again.
NO_MENU=$(popups)
icon_menu
for _ in 1 2 3; do
    xdotool key --clearmodifiers Up Return
    wait_until 5 about_shown && break
    menu_shown || break
done
wait_until 5 about_shown || fail "the about window did not open"
# The menu is one window, mapped again: it is opened again once it has gone (the icon's own
# window is counted among the popups too).
menu_gone() { [ "$(popups)" -le "$NO_MENU" ]; }
wait_until 10 menu_gone || fail "the menu stayed open"
# A right click that comes while the program is still busy with the about window may be lost:
# it is made again until the menu shows.
menu_open_again() { [ "$(popups)" -gt "$NO_MENU" ]; }
read -r IX IY _ < <(geometry "$(tray_icon)")
for _ in 1 2 3 4 5; do
    xdotool mousemove $((IX + 8)) $((IY + 8)) click 3
    wait_until 5 menu_open_again && break
done
MENU_BASE=$NO_MENU
menu_key x icon_gone || fail "E&xit did not remove the icon"
[ $((SECONDS - START)) -lt 25 ] || fail "E&xit came too close to midnight to judge what follows"
alive "$PID" || fail "the open about window did not keep the process"
cp "$CONF" "$SESSION_DIR/settings.before"
REPORTS=$(alerts | wc -l)
rm "$PICS/Monday.png"

# Past midnight on the program's clock, with time for a file check too; then the about window is
# closed, the process ends with it, and so nothing of its own is left to come.
program_past_midnight() { [ $((SECONDS - START)) -ge 33 ]; }
wait_until 60 program_past_midnight
read -r AX AY _ < <(geometry "$(about_window)")
xdotool mousemove $((AX + 38 + 50)) $((AY + 264 + 10)) click 1
wait_until 10 ended "$PID" || fail "closing the about window did not end the program"
check_eq "the root window after Exit and midnight" "200 30 40" "$(root_pixel $X $Y)"
check_eq "alerts after Exit" "$REPORTS" "$(alerts | wc -l)"
cmp -s "$SESSION_DIR/settings.before" "$CONF" || fail "a value was written after Exit"
e2e_finish
