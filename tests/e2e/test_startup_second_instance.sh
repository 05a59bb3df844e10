#!/usr/bin/env bash
# A second start while the first runs shows the box titled with the version caption and ends
# when the box is closed; the first instance runs on with its icon.
source "$(dirname "$0")/lib/session.sh"
need xwininfo xdotool
: "${LUMORA_BIN:?}"

tray_panel() { xdotool search --name '^panel$' 2>/dev/null | head -n1; }
icon_embedded() {
    local panel
    panel=$(tray_panel)
    [ -n "$panel" ] && xwininfo -tree -id "$panel" | grep -q '"lumora": ("lumora" "lumora")'
}
box_window() { xdotool search --onlyvisible --name '^Lumora - v2\.2\.4$' 2>/dev/null | head -n1; }
box_shown() { [ -n "$(box_window)" ]; }
gone() { ! kill -0 "$1" 2>/dev/null; }

session_start || { fail "session did not start"; e2e_finish; }
# The first instance, without its logo window so that the only window with a title is the box.
mkdir -p "$XDG_CONFIG_HOME/lumora"
printf '[Vintrel\\Options]\n"ShowSplsh" = "False"\n' >"$XDG_CONFIG_HOME/lumora/lumora.conf"
FIRST=$(LUMORA_DESKTOP=none session_spawn first "$LUMORA_BIN")
wait_until 15 icon_embedded || fail "the first instance's icon did not embed"

LUMORA_DESKTOP=none "$LUMORA_BIN" >"$SESSION_DIR/second.log" 2>&1 &
SECOND=$!
SESSION_PIDS+=("$SECOND")
wait_until 15 box_shown || fail "the second instance showed no box titled Lumora - v2.2.4"
kill -0 "$SECOND" 2>/dev/null || fail "the second instance ended before its box was closed"
[ "$(xdotool search --onlyvisible --name '^Lumora - v2\.2\.4$' | wc -l)" = 1 ] ||
    fail "more than one box"

box=$(box_window)
if [ -n "$box" ]; then
    xdotool windowfocus --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
    xdotool key --clearmodifiers Return
fi
wait_until 10 gone "$SECOND" || fail "the second instance did not end when its box was closed"
wait "$SECOND" 2>/dev/null
rc=$?
[ "$rc" = 0 ] || fail "the second instance ended with $rc"
kill -0 "$FIRST" 2>/dev/null || fail "the first instance is not running any more"
icon_embedded || fail "the first instance's icon is gone"
e2e_finish
