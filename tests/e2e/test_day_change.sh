#!/usr/bin/env bash
# The change of day on a running program, its clock faked to start just before Saturday's
# midnight and running: Sunday's picture on the root window with the day-change report; then
# Sunday's day file deleted: the day is removed within two seconds, with its removal alert, and the
# default picture shows on white.
source "$(dirname "$0")/lib/session.sh"
need faketime convert dbus-monitor python3
: "${LUMORA_BIN:?}"
session_start || { fail "session did not start"; e2e_finish; }
PICS="$SESSION_DIR/pictures"
mkdir -p "$PICS"
convert -size 32x24 'xc:rgb(200,30,40)' "$PICS/Saturday.png"
convert -size 32x24 'xc:rgb(20,160,60)' "$PICS/Sunday.png"
profile '[HKEY_CURRENT_USER\Software\Corvane\Local Settings]' \
    "\"Saturday\" = \"$PICS/Saturday.png\"" "\"Sunday\" = \"$PICS/Sunday.png\""
monitor_alerts

# Saturday 2 January 2027, 23:59:56: midnight comes four seconds after the start.
LUMORA_DESKTOP=x11 session_spawn lumora faketime -f '@2027-01-02 23:59:56' "$LUMORA_BIN"
PID=$SPAWNED
wait_pixel 4 5 5 "200 30 40" || fail "Saturday's picture was not set at start-up"
# How soon after midnight the day check runs is judged on the faked clock in day_watch_midnight.sh.
wait_pixel 8 5 5 "20 160 60" || fail "Sunday's picture did not follow midnight"
wait_until 5 alerts_seen 2 || fail "the day-change report did not arrive"
check_eq "the day-change report" "Lumora|dialog-information|Lumora|Your wallpaper has been set for Sunday|2000" \
    "$(alerts | sed -n 2p)"

# Sunday's day file goes: the day is removed, and today shows the default picture on white.
rm "$PICS/Sunday.png"
wait_pixel 3 5 5 "255 255 255" || fail "the default picture did not replace the deleted day"
wait_until 3 alerts_seen 4 || fail "the removal alerts did not arrive"
alerts | grep -qF "Sunday's picture setting has been removed." || fail "no removal alert"
grep -q '"Sunday" = ""' "$XDG_CONFIG_HOME/lumora/lumora.conf" || fail "Sunday's value was not emptied"
alive "$PID" || fail "lumora ended"
e2e_finish
