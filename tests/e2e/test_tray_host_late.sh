#!/usr/bin/env bash
# A tray host that starts after the program gets the icon as soon as it is there, and a tray host
# that restarts gets it back.
source "$(dirname "$0")/lib/session.sh"
need xwininfo xdotool trayer
: "${LUMORA_BIN:?}"

tray_panel() { xdotool search --name '^panel$' 2>/dev/null | head -n1; }
icon_embedded() {
    local panel
    panel=$(tray_panel)
    [ -n "$panel" ] && xwininfo -tree -id "$panel" 2>/dev/null | grep -q '"lumora": ("lumora" "lumora")'
}
start_trayer() {
    session_spawn trayer trayer --edge bottom --align right --widthtype request --height 24 \
        --SetDockType true --transparent false --tint 0x333333
}
gone() { ! kill -0 "$1" 2>/dev/null; }

session_start --no-tray || { fail "session did not start"; e2e_finish; }
mkdir -p "$XDG_CONFIG_HOME/lumora"
printf '[Vintrel\\Options]\n"ShowSplsh" = "False"\n' >"$XDG_CONFIG_HOME/lumora/lumora.conf"
PID=$(LUMORA_DESKTOP=none session_spawn lumora "$LUMORA_BIN")
sleep 2
kill -0 "$PID" 2>/dev/null || fail "lumora did not keep running without a tray host"

TRAYER=$(start_trayer)
wait_until 10 selection_owned _NET_SYSTEM_TRAY_S0 || fail "trayer did not start"
wait_until 10 icon_embedded || fail "the icon did not appear in a tray host that started later"

kill "$TRAYER"
wait_until 10 gone "$TRAYER" || fail "trayer did not stop"
wait "$TRAYER" 2>/dev/null
TRAYER=$(start_trayer)
wait_until 10 selection_owned _NET_SYSTEM_TRAY_S0 || fail "trayer did not start again"
wait_until 10 icon_embedded || fail "the icon did not come back after the tray host restarted"
kill -0 "$PID" 2>/dev/null || fail "lumora is not running"
e2e_finish
