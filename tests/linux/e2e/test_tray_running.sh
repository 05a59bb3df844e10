#!/usr/bin/env bash
# The running program and its icon, without its logo and with "DispMess" = "False": only the
# first-run advice is sent, not the engine's alert; a tray host that starts after the program gets
# the icon; a second start shows the box titled with the version
# caption and ends when it is closed; a right click opens the menu, whose "E&xit" (access key x)
# removes the icon, ends the process and saves nothing.
source "$(dirname "$0")/lib/session.sh"
need xwininfo xdotool trayer dbus-monitor python3
: "${LUMORA_BIN:?}"
session_start --no-tray || { fail "session did not start"; e2e_finish; }
profile '"DispMess" = "False"'
monitor_alerts
LUMORA_DESKTOP=none session_spawn lumora "$LUMORA_BIN"
PID=$SPAWNED
wait_until 15 alerts_seen 1 || fail "no alert was sent"
# The engine's alert, had it been sent, would be logged before the program's answer on the bus and
# a call of the test's own to the notification service.
program_answers
alerts_caught_up
check_eq "alerts with DispMess False" "$ADVICE" "$(alerts)"
alive "$PID" || fail "lumora did not keep running without a tray host"

# (A tray host killed and started again: robustness/session_restarts.sh.)
start_trayer || fail "trayer did not start"
wait_until 10 icon_embedded || fail "the icon did not appear in a tray host that started later"

boxes() { xdotool search --onlyvisible --name '^Lumora - v2\.2\.4$' 2>/dev/null; }
box_shown() { [ -n "$(boxes)" ]; }
LUMORA_DESKTOP=none session_spawn second "$LUMORA_BIN"
SECOND=$SPAWNED
wait_until 15 box_shown || fail "the second instance showed no box titled Lumora - v2.2.4"
alive "$SECOND" || fail "the second instance ended before its box was closed"
check_eq "boxes shown" 1 "$(boxes | wc -l)"
xdotool windowfocus --sync "$(boxes | head -n1)" 2>/dev/null
xdotool key --clearmodifiers Return
wait_until 10 ended "$SECOND" || fail "the second instance did not end when its box was closed"
wait "$SECOND"
check_eq "the second instance's exit code" 0 $?
alive "$PID" || fail "the first instance is not running any more"
icon_embedded || fail "the first instance's icon is gone"

read -r X Y _ < <(geometry "$(tray_icon)")
open_menu $((X + 8)) $((Y + 8))
cp "$XDG_CONFIG_HOME/lumora/lumora.conf" "$SESSION_DIR/settings.before"
menu_key x ended "$PID"
wait_until 10 ended "$PID" || fail "the process did not end after E&xit"
icon_embedded && fail "the icon is still in the tray"
cmp -s "$SESSION_DIR/settings.before" "$XDG_CONFIG_HOME/lumora/lumora.conf" || fail "Exit saved settings"
e2e_finish
