#!/usr/bin/env bash
# "DispMess" = "False" silences the engine's alert, not the first-run advice.
source "$(dirname "$0")/lib/session.sh"
need dbus-monitor
: "${LUMORA_BIN:?}"

session_start || { fail "session did not start"; e2e_finish; }
mkdir -p "$XDG_CONFIG_HOME/lumora"
printf '[Vintrel\\Options]\n"ShowSplsh" = "False"\n"DispMess" = "False"\n' \
    >"$XDG_CONFIG_HOME/lumora/lumora.conf"
session_spawn monitor dbus-monitor --session \
    "interface='org.freedesktop.Notifications',member='Notify'" >/dev/null
wait_until 10 grep -q NameAcquired "$SESSION_DIR/monitor.log" || fail "dbus-monitor did not start"

PID=$(LUMORA_DESKTOP=none session_spawn lumora "$LUMORA_BIN")
wait_until 15 grep -q 'Your must define the wallpapers' "$SESSION_DIR/monitor.log" ||
    fail "the first-run advice was not sent"
sleep 1
[ "$(grep -c 'member=Notify' "$SESSION_DIR/monitor.log")" = 1 ] ||
    fail "expected the first-run advice only, saw $(grep -c 'member=Notify' "$SESSION_DIR/monitor.log") alerts"
grep -q 'There is no picture selected' "$SESSION_DIR/monitor.log" && fail "the engine's alert was sent"
kill -0 "$PID" 2>/dev/null || fail "lumora is not running"
e2e_finish
