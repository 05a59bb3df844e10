#!/usr/bin/env bash
# A right click on the icon opens the tray menu; "E&xit" (its access key x) removes the icon and
# ends the process.
source "$(dirname "$0")/lib/session.sh"
need xwininfo xdotool
: "${LUMORA_BIN:?}"

tray_panel() { xdotool search --name '^panel$' 2>/dev/null | head -n1; }
icon_window() {
    local panel
    panel=$(tray_panel)
    [ -n "$panel" ] && xwininfo -tree -id "$panel" | awk '/"lumora": \("lumora" "lumora"\)/{print $1; exit}'
}
icon_embedded() { [ -n "$(icon_window)" ]; }
popup_count() {
    local n=0 w
    for w in $(xdotool search --onlyvisible --class lumora 2>/dev/null); do
        xwininfo -id "$w" | grep -q 'Override Redirect State: yes' && n=$((n + 1))
    done
    echo $n
}
menu_open() { [ "$(popup_count)" -gt 0 ]; }
gone() { ! kill -0 "$1" 2>/dev/null; }

session_start || { fail "session did not start"; e2e_finish; }
mkdir -p "$XDG_CONFIG_HOME/lumora"
printf '[Vintrel\\Options]\n"ShowSplsh" = "False"\n' >"$XDG_CONFIG_HOME/lumora/lumora.conf"
PID=$(LUMORA_DESKTOP=none session_spawn lumora "$LUMORA_BIN")
wait_until 15 icon_embedded || fail "the icon did not embed"
sleep 0.5
before=$(popup_count)

icon=$(icon_window)
if [ -n "$icon" ]; then
    x=$(xwininfo -id "$icon" | awk '/Absolute upper-left X/{print $4}')
    y=$(xwininfo -id "$icon" | awk '/Absolute upper-left Y/{print $4}')
    xdotool mousemove $((x + 8)) $((y + 8))
    sleep 0.2
    xdotool click 3
fi
wait_until 10 test "$(popup_count)" -gt "$before" || fail "no menu opened on the right click"
sleep 0.3
xdotool key x
wait_until 10 gone "$PID" || fail "the process did not end after E&xit"
icon_embedded && fail "the icon is still in the tray"
grep -q 'AddToReg\|DispMess' "$XDG_CONFIG_HOME/lumora/lumora.conf" && fail "Exit saved settings"
e2e_finish
