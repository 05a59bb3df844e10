#!/usr/bin/env bash
# The day files of a running program, its clock faked to a Sunday: Friday's day file, gone before
# the start, is removed at the start; a refresh with the ordinary report; a day's value edited by
# hand to a missing file is removed; then Sunday's day file deleted: the day is removed, with its
# removal alert, and the default picture shows on white. (How soon the program sees a change of
# its files is not judged here: the waits are generous. The change of day itself, with its report,
# is test_watch_lifecycle.sh's and week_fast_clock.sh's.)
source "$(dirname "$0")/lib/session.sh"
need faketime convert dbus-monitor python3
: "${LUMORA_BIN:?}"
session_start || { fail "session did not start"; e2e_finish; }
PICS="$SESSION_DIR/pictures"
mkdir -p "$PICS"
convert -size 32x24 'xc:rgb(20,160,60)' "$PICS/Sunday.png"
profile '[HKEY_CURRENT_USER\Software\Corvane\Local Settings]' \
    "\"Sunday\" = \"$PICS/Sunday.png\"" "\"Friday\" = \"$PICS/Friday.png\""
monitor_alerts
# A point of the root window that the settings window, shown by the removal at the start, leaves
# free (stretched pictures cover it, the centred default picture does not).
screen_size
X=$((SW - 40)) Y=$((SH / 2))
# alert_is N TEXT: the Nth alert is Lumora's information alert TEXT.
alert_is() { check_eq "alert $1" "Lumora|dialog-information|Lumora|$2|2000" "$(alerts | sed -n "$1p")"; }

# Sunday 3 January 2027, 10:00.
LUMORA_DESKTOP=x11 session_spawn lumora faketime -f '@2027-01-03 10:00:00' "$LUMORA_BIN"
PID=$SPAWNED
wait_pixel 10 $X $Y "20 160 60" || fail "Sunday's picture was not set at start-up"
# Start-up's report, Friday's removal, and today's wallpaper applied again after the check.
wait_until 10 alerts_seen 3 || fail "the start-up alerts did not arrive"
alert_is 2 "Friday's picture setting has been removed."
alert_is 3 "Your Sunday's selected picture has been used matching your settings."
grep -q '"Friday" = ""' "$XDG_CONFIG_HOME/lumora/lumora.conf" || fail "Friday's value was not emptied"
# Refresh Wallpaper (here from the command line): the ordinary report.
"$LUMORA_BIN" --refresh || fail "lumora --refresh failed"
wait_until 10 alerts_seen 4 || fail "the refresh report did not arrive"
alert_is 4 "Your Sunday's selected picture has been used matching your settings."

# Monday's value set by hand to a file that is not there, the settings file replaced as an editor
# does: Monday is removed too, and today's wallpaper applied again with its report.
CONF=$XDG_CONFIG_HOME/lumora/lumora.conf
sed "/^\"Sunday\" = /a \"Monday\" = \"$PICS/Monday.png\"" "$CONF" >"$CONF.new" && mv "$CONF.new" "$CONF"
wait_until 10 alerts_seen 6 || fail "the alerts of Monday's removal did not arrive"
alert_is 5 "Monday's picture setting has been removed."
alert_is 6 "Your Sunday's selected picture has been used matching your settings."
grep -q '"Monday" = ""' "$CONF" || fail "Monday's value was not emptied"

# Sunday's day file goes: the day is removed, and today shows the default picture on white.
rm "$PICS/Sunday.png"
wait_pixel 10 $X $Y "255 255 255" || fail "the default picture did not replace the deleted day"
wait_until 10 alerts_seen 8 || fail "the removal alerts did not arrive"
alerts | grep -qF "Sunday's picture setting has been removed." || fail "no removal alert"
grep -q '"Sunday" = ""' "$XDG_CONFIG_HOME/lumora/lumora.conf" || fail "Sunday's value was not emptied"
alive "$PID" || fail "lumora ended"
e2e_finish
