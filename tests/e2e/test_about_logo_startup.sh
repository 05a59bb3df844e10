#!/usr/bin/env bash
# The real program at start-up with a fresh profile ("ShowSplsh" defaults to True): the logo
# window is mapped, centred, above the other windows, and closes by itself after about five
# seconds while the program keeps running in the notification area.
source "$(dirname "$0")/lib/session.sh"
need openbox xdotool xprop xwininfo
[ -x "${LUMORA_BIN:-}" ] || skip "the lumora binary is not built"
session_start --wm openbox || { fail "session did not start"; e2e_finish; }

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
gone() { ! viewable "$1"; }
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print x, y, w, h}'
}
# logo_window: the id of a shown 412 x 312 window named "Lumora", printed when there is one
logo_window() {
    local id x y w h
    for id in $(xdotool search --onlyvisible --name '^Lumora$' 2>/dev/null); do
        read -r x y w h < <(geometry "$id")
        if [ "$w x $h" = "412 x 312" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}
read -r SW SH < <(xwininfo -root | awk '/^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print w, h}')

PID=$(LC_ALL=C.UTF-8 LUMORA_DESKTOP=none session_spawn lumora "$LUMORA_BIN")
wait_until 10 logo_window || fail "no logo window after start-up"
SHOWN_AT=$SECONDS
WID=$(logo_window)
if [ -n "$WID" ]; then
    read -r X Y W H < <(geometry "$WID")
    [ "$X,$Y" = "$(((SW - 412) / 2)),$(((SH - 312) / 2))" ] || fail "logo window at $X,$Y, not centred"
    xprop -id "$WID" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "logo window has no _NET_WM_STATE_ABOVE"
    STACK=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
    [ "$(awk '{print $NF}' <<<"$STACK")" = "$(printf '0x%x' "$WID")" ] ||
        fail "logo window is not the top of the stacking order: $STACK"
    import -window root "${E2E_SHOTS:-/tmp}/lumora-e2e-startup-logo.png" 2>/dev/null
    while [ $((SECONDS - SHOWN_AT)) -lt 3 ]; do sleep 0.2; done
    viewable "$WID" || fail "the logo closed before three seconds"
    wait_until 9 gone "$WID" || fail "the logo did not close by itself"
fi
kill -0 "$PID" 2>/dev/null || fail "the program ended with its logo"
xdotool search --onlyvisible --name '^Lumora' >/dev/null 2>&1 &&
    for id in $(xdotool search --onlyvisible --name '^Lumora' 2>/dev/null); do
        fail "a window is still shown after the logo: $(xprop -id "$id" WM_NAME)"
    done

e2e_finish
