#!/usr/bin/env bash
# A first start on an empty profile: the icon embeds in the tray, the default picture is centred
# on white on the root window, the two alerts of a first start reach the notification service,
# and the autostart entry is written.
source "$(dirname "$0")/lib/session.sh"
need xwininfo xdotool dbus-monitor python3
: "${LUMORA_BIN:?}"

tray_panel() { xdotool search --name '^panel$' 2>/dev/null | head -n1; }
icon_window() {
    local panel
    panel=$(tray_panel)
    [ -n "$panel" ] && xwininfo -tree -id "$panel" | awk '/"lumora": \("lumora" "lumora"\)/{print $1; exit}'
}
icon_embedded() { [ -n "$(icon_window)" ]; }
logo_gone() { ! xdotool search --onlyvisible --name '^Lumora$' >/dev/null 2>&1; }

session_start || { fail "session did not start"; e2e_finish; }
session_spawn monitor dbus-monitor --session \
    "interface='org.freedesktop.Notifications',member='Notify'" >/dev/null
wait_until 10 grep -q NameAcquired "$SESSION_DIR/monitor.log" || fail "dbus-monitor did not start"

LUMORA_DESKTOP=x11 session_spawn lumora "$LUMORA_BIN" >"$SESSION_DIR/lumora.pid"
LUMORA_PID=$(cat "$SESSION_DIR/lumora.pid")

wait_until 15 icon_embedded || fail "the icon did not embed under the tray host"
wait_until 15 test "$(grep -c 'member=Notify' "$SESSION_DIR/monitor.log")" -ge 2 ||
    fail "fewer than two alerts reached the notification service"
# The logo window closes itself after five seconds; then the root window shows the wallpaper.
wait_until 15 logo_gone || fail "the logo window did not close"
sleep 0.5

# The root window: white around the centred default picture.
for xy in "5 5" "1270 5" "5 790" "400 400" "900 400" "640 200" "640 600"; do
    [ "$(root_pixel $xy)" = "255 255 255" ] || fail "pixel $xy is $(root_pixel $xy), not white"
done
python3 - "$LUMORA_SOURCE_DIR/resources/default.bmp" >"$SESSION_DIR/samples" <<'PY'
import struct, sys
d = open(sys.argv[1], 'rb').read()
off = struct.unpack('<I', d[10:14])[0]
w, h = struct.unpack('<ii', d[18:26])
stride = (w * 3 + 3) // 4 * 4
x0, y0 = (1280 - w) // 2, (800 - h) // 2
for y in range(5, h, 37):
    for x in range(7, w, 41):
        o = off + (h - 1 - y) * stride + x * 3
        print(x0 + x, y0 + y, d[o + 2], d[o + 1], d[o])
PY
mismatches=0
while read -r x y r g b; do
    [ "$(root_pixel "$x" "$y")" = "$r $g $b" ] || mismatches=$((mismatches + 1))
done <"$SESSION_DIR/samples"
[ "$mismatches" = 0 ] || fail "$mismatches of $(wc -l <"$SESSION_DIR/samples") picture samples differ"

# The two alerts, in order, with their exact texts.
python3 - "$SESSION_DIR/monitor.log" <<'PY' || fail "the alerts on the bus are not the expected ones"
import re, sys
log = open(sys.argv[1]).read()
calls = log.split('member=Notify')[1:]
import datetime
day = datetime.date.today().strftime('%A')
expected = [
    "There is no picture selected for %s.\nThe default Lumora wallpaper has been used." % day,
    "Your must define the wallpapers for each day.\nYou can use the context menu of this icon in "
    "system tray\nor double-click on this icon to launch Lumora.",
]
got = []
for c in calls:
    s = re.findall(r'string "((?:[^"\\]|\\.)*)"', c, re.S)
    n = re.findall(r'(?<!u)int32 (-?\d+)', c)
    got.append((s[:4], n[:1]))
ok = len(got) == 2
for (strings, timeout), text in zip(got, expected):
    ok = ok and strings == ["Lumora", "dialog-information", "Lumora", text] and timeout == ["2000"]
if not ok:
    print("got:", got, file=sys.stderr)
sys.exit(0 if ok else 1)
PY

# Start at logon: the per-user entry with the program's own path; the option is not written.
entry="$XDG_CONFIG_HOME/autostart/lumora.desktop"
grep -qx 'Name=Lumora' "$entry" || fail "the autostart entry has no Name=Lumora"
grep -qxF "Exec=$LUMORA_BIN" "$entry" || fail "the autostart entry does not start $LUMORA_BIN"
grep -q '^Hidden=true' "$entry" && fail "the autostart entry is disabled"
grep -rqs 'AddToReg' "$XDG_CONFIG_HOME/lumora" && fail "start-up wrote the AddToReg option"

kill -0 "$LUMORA_PID" 2>/dev/null || fail "lumora is not running any more"
e2e_finish
