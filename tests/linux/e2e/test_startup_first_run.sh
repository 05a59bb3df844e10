#!/usr/bin/env bash
# A first start on an empty profile: the logo window, centred and above every window, closes by
# itself after about five seconds while the program runs on; the icon embeds in the tray; the
# default picture is centred on white on the root window; the two alerts of a first start reach
# the notification service with their exact texts; the autostart entry is written.
source "$(dirname "$0")/lib/session.sh"
need openbox xwininfo xdotool xprop dbus-monitor python3 convert import compare
: "${LUMORA_BIN:?}"
session_start --wm openbox || { fail "session did not start"; e2e_finish; }
monitor_alerts
screen_size
LC_ALL=C.UTF-8 LUMORA_DESKTOP=x11 session_spawn lumora "$LUMORA_BIN"
PID=$SPAWNED

# logo_window: the id of the shown 412 x 312 window named "Lumora", centred on the screen.
logo_window() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Lumora$' 2>/dev/null); do
        [ "$(geometry "$id")" = "$(((SW - 412) / 2)) $(((SH - 312) / 2)) 412 312" ] && echo "$id" && return
    done
    return 1
}
wait_until 10 logo_window || fail "no centred 412 x 312 logo window after start-up"
SHOWN_AT=$SECONDS
WID=$(logo_window)
if [ -n "$WID" ]; then
    above "$WID" || fail "the logo window has no _NET_WM_STATE_ABOVE"
    STACK=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
    check_eq "the top of the stacking order" "$(printf '0x%x' "$WID")" "$(awk '{print $NF}' <<<"$STACK")"
    while [ $((SECONDS - SHOWN_AT)) -lt 3 ]; do sleep 0.2; done
    viewable "$WID" || fail "the logo closed before three seconds"
    wait_until 9 hidden "$WID" || fail "the logo did not close by itself"
fi
wait_until 15 icon_embedded || fail "the icon did not embed under the tray host"
wait_until 15 alerts_seen 2 || fail "fewer than two alerts reached the notification service"
# A window shown after the logo, or a third alert, would come before the program's answer on the
# bus, and reach the screen and the bus monitor before a request of the test's own.
settled
alerts_caught_up
alive "$PID" || fail "lumora is not running any more"
for id in $(xdotool search --onlyvisible --name '^Lumora' 2>/dev/null); do
    fail "a window is still shown after the logo: $(xprop -id "$id" WM_NAME)"
done

default_shown || fail "the root window does not show the default picture centred on white"

check_eq "the alerts on the bus" "Lumora|dialog-information|Lumora|There is no picture selected for $(LC_ALL=C.UTF-8 date +%A).\\nThe default Lumora wallpaper has been used.|2000
$ADVICE" "$(alerts)"

# Start at logon: the per-user entry with the program's own path; the option is not written.
ENTRY=$XDG_CONFIG_HOME/autostart/lumora.desktop
grep -qx 'Name=Lumora' "$ENTRY" || fail "the autostart entry has no Name=Lumora"
grep -qxF "Exec=$LUMORA_BIN" "$ENTRY" || fail "the autostart entry does not start $LUMORA_BIN"
grep -q '^Hidden=true' "$ENTRY" && fail "the autostart entry is disabled"
grep -rqs 'AddToReg' "$XDG_CONFIG_HOME/lumora" && fail "start-up wrote the AddToReg option"
e2e_finish
