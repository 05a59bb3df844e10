#!/usr/bin/env bash
# XFCE through a real xfconfd on the test's private bus, with a fresh profile, read back with
# xfconf-query; on screen too, drawn by xfdesktop, where it is installed.
source "$(dirname "$0")/lib/session.sh"
source "$(dirname "$0")/lib/desktop_checks.sh"
XFCONFD=/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd
need xfconf-query python3
[ -x "$XFCONFD" ] || skip "xfconfd is not installed ($XFCONFD)"
# xfdesktop draws only under a window manager; openbox, where installed, also gives 4 workspaces.
WM=()
command -v openbox >/dev/null 2>&1 && WM=(--wm openbox)
session_start --no-tray --no-notify "${WM[@]}" || { fail "session did not start"; e2e_finish; }
need_driver

session_spawn xfconfd "$XFCONFD" >/dev/null
wait_until 10 bus_has_name org.xfce.Xfconf || { fail "xfconfd did not start"; e2e_finish; }

CH=xfce4-desktop
PICS=$SESSION_DIR/pictures
mkdir -p "$PICS"
PIC="$PICS/it's #1 100% \$HOME caf$(printf '\xc3\xa9').bmp"
make_bmp "$PIC" 64 48 255 0 0

q() { xfconf-query -c "$CH" -p "$1" 2>/dev/null; }
groups() { xfconf-query -c "$CH" -l 2>/dev/null | sed -n 's|/last-image$||p' | sort; }
# The D-Bus type of a property as xfconfd holds it (int32, string, array ...).
dbus_type() {
    dbus-send --session --print-reply --dest=org.xfce.Xfconf /org/xfce/Xfconf \
        org.xfce.Xfconf.GetProperty "string:$CH" "string:$1" | sed -n '2{s/^ *variant *//;s/ .*//;p}'
}

# A fresh profile has no backdrop at all: it is created for the display's monitor.
[ -z "$(xfconf-query -c "$CH" -l 2>/dev/null)" ] || fail "the profile is not fresh"
drive xfce "$PIC" 0 || fail "driver failed"
mapfile -t BACKDROPS < <(groups)
[ ${#BACKDROPS[@]} -ge 1 ] || { fail "no backdrop was created: $(xfconf-query -c "$CH" -l 2>&1)"; e2e_finish; }
e2e_log "backdrop groups: ${BACKDROPS[*]}"

for style in 0 1 2 3; do
    drive xfce "$PIC" "$style" || fail "driver failed for style $style"
    for g in "${BACKDROPS[@]}"; do
        check_eq "$g/last-image" "$PIC" "$(q "$g/last-image")"
        check_eq "$g/image-style for style $style" "$((style + 1))" "$(q "$g/image-style")"
    done
done
g=${BACKDROPS[0]}
check_eq "last-image type" string "$(dbus_type "$g/last-image")"
check_eq "image-style type" int32 "$(dbus_type "$g/image-style")"

# The colour: rgba1 as four doubles, solid.
drive xfce "" - 255 || fail "driver failed for the colour"
for g in "${BACKDROPS[@]}"; do
    check_eq "$g/color-style" 0 "$(q "$g/color-style")"
    check_eq "$g/rgba1" "1.000000 0.000000 0.000000 1.000000" \
        "$(q "$g/rgba1" | grep -E '^[0-9.]+$' | paste -sd' ')"
done
check_eq "color-style type" int32 "$(dbus_type "$g/color-style")"
check_eq "rgba1 type" array "$(dbus_type "$g/rgba1")"

# No wallpaper.
drive xfce "" 2 16711680 || fail "driver failed for no wallpaper"
for g in "${BACKDROPS[@]}"; do
    check_eq "$g/image-style (none)" 0 "$(q "$g/image-style")"
    check_eq "$g/rgba1 (blue)" "0.000000 0.000000 1.000000 1.000000" \
        "$(q "$g/rgba1" | grep -E '^[0-9.]+$' | paste -sd' ')"
done

# Every existing monitor and workspace is set, not only the new ones.
xfconf-query -c "$CH" -p /backdrop/screen0/monitorOLD-1/workspace3/last-image -n -t string -s /old.png
drive xfce "$PIC" 1
check_eq "another workspace's last-image" "$PIC" \
    "$(q /backdrop/screen0/monitorOLD-1/workspace3/last-image)"
check_eq "another workspace's image-style" 2 "$(q /backdrop/screen0/monitorOLD-1/workspace3/image-style)"

# The same path again: xfdesktop is told twice (cleared, then the name), so it reads it again.
xfconf-query -c "$CH" -m >"$SESSION_DIR/monitor.log" 2>&1 &
watcher=$!
sleep 0.5
drive xfce "$PIC" 1
wait_until 5 grep -q "$g/last-image" "$SESSION_DIR/monitor.log"
sleep 0.3
kill "$watcher" 2>/dev/null
wait "$watcher" 2>/dev/null
check_eq "same path: last-image changes seen" 2 "$(grep -c "set: $g/last-image" "$SESSION_DIR/monitor.log")"

# The automatic choice.
got=$(XDG_CURRENT_DESKTOP=XFCE "$DESKTOP_DRIVER" auto "" - 2>>"$SESSION_DIR/driver.log")
check_eq "XDG_CURRENT_DESKTOP=XFCE" xfce "$got"

# On screen: xfdesktop draws what the channel says.
if command -v xfdesktop >/dev/null 2>&1 && [ ${#WM[@]} -gt 0 ]; then
    drive xfce "" - 65280                 # green
    drive xfce "$PIC" 0                   # red 64x48, centred
    session_spawn xfdesktop xfdesktop --disable-wm-check >/dev/null
    W=1280 H=800
    if wait_pixel 20 $((W / 2)) $((H / 2)) "255 0 0"; then
        wait_pixel 5 5 5 "0 255 0"
        drive xfce "$PIC" 2                # stretched: red everywhere
        wait_pixel 10 5 5 "255 0 0"
        make_bmp "$PIC" 64 48 0 0 255     # the same name, now blue
        drive xfce "$PIC" 2
        wait_pixel 10 5 5 "0 0 255"
        drive xfce "" 2 16776960           # no wallpaper, cyan
        wait_pixel 10 $((W / 2)) $((H / 2)) "0 255 255"
    fi
else
    e2e_log "xfdesktop or openbox is not installed: XFCE is checked in xfconf only, not on screen"
fi

e2e_finish
