#!/usr/bin/env bash
# XFCE through a real xfconfd on the test's private bus, with a fresh profile, read back with
# xfconf-query and as D-Bus types; on screen too, drawn by xfdesktop, where it is installed.
source "$(dirname "$0")/lib/session.sh"
source "$(dirname "$0")/lib/desktop_checks.sh"
need xfconf-query
[ -x "$XFCONFD" ] || skip "xfconfd is not installed ($XFCONFD)"
# xfdesktop draws only under a window manager; openbox, where installed, also gives 4 workspaces.
WM=()
command -v openbox >/dev/null 2>&1 && WM=(--wm openbox)
session_start --no-tray --no-notify "${WM[@]}" || { fail "session did not start"; e2e_finish; }
need_driver
session_spawn xfconfd "$XFCONFD"
wait_until 10 bus_has_name org.xfce.Xfconf || { fail "xfconfd did not start"; e2e_finish; }
test_picture
# The D-Bus type of a property as xfconfd holds it (int32, string, array ...).
dbus_type() {
    dbus-send --session --print-reply --dest=org.xfce.Xfconf /org/xfce/Xfconf \
        org.xfce.Xfconf.GetProperty string:xfce4-desktop "string:$1" | sed -n '2{s/^ *variant *//;s/ .*//;p}'
}

# A fresh profile has no backdrop at all: it is created for the display's monitor.
[ -z "$(xq -l)" ] || fail "the profile is not fresh"
drive xfce "$PIC" 0 || fail "driver failed"
mapfile -t BACKDROPS < <(xq -l | sed -n 's|/last-image$||p' | sort)
[ ${#BACKDROPS[@]} -ge 1 ] || { fail "no backdrop was created: $(xq -l)"; e2e_finish; }
e2e_log "backdrop groups: ${BACKDROPS[*]}"
# each_backdrop WHAT PROPERTY EXPECTED [READER]: PROPERTY of every backdrop, as READER reads it.
each_backdrop() {
    local g
    for g in "${BACKDROPS[@]}"; do check_eq "$g/$2 $1" "$3" "$("${4:-xget}" "$g/$2")"; done
}
for style in 0 1 2 3; do
    drive xfce "$PIC" "$style" || fail "driver failed for style $style"
    each_backdrop "" last-image "$PIC"
    each_backdrop "for style $style" image-style "$((style + 1))"
done
# The colour: rgba1 as four doubles, solid; then no wallpaper.
drive xfce "" - 255 || fail "driver failed for the colour"
each_backdrop "" color-style 0
each_backdrop "" rgba1 "1.000000 0.000000 0.000000 1.000000" rgba
drive xfce "" 2 16711680 || fail "driver failed for no wallpaper"
each_backdrop "(none)" image-style 0
each_backdrop "(blue)" rgba1 "0.000000 0.000000 1.000000 1.000000" rgba
G=${BACKDROPS[0]}
for pair in last-image:string image-style:int32 color-style:int32 rgba1:array; do
    check_eq "${pair%:*} type" "${pair#*:}" "$(dbus_type "$G/${pair%:*}")"
done

# Every existing monitor and workspace is set, not only the new ones.
OLD=/backdrop/screen0/monitorOLD-1/workspace3
xq -p $OLD/last-image -n -t string -s /old.png
drive xfce "$PIC" 1
check_eq "another workspace's last-image" "$PIC" "$(xq -p $OLD/last-image)"
check_eq "another workspace's image-style" 2 "$(xq -p $OLD/image-style)"

# The same path again: xfdesktop is told twice (cleared, then the name), so it reads it again.
xfconf_monitor
drive xfce "$PIC" 1
xfconf_caught_up
kill "$WATCHER"
check_eq "same path: last-image changes seen" 2 "$(grep -c "set: $G/last-image" "$SESSION_DIR/xfconf-monitor.log")"

check_eq "XDG_CURRENT_DESKTOP=XFCE" xfce "$(XDG_CURRENT_DESKTOP=XFCE drive auto "" -)"

# On screen: xfdesktop draws what the channel says.
if command -v xfdesktop >/dev/null 2>&1 && [ ${#WM[@]} -gt 0 ]; then
    drive xfce "" - 65280 # green
    drive xfce "$PIC" 0   # red 64x48, centred
    session_spawn xfdesktop xfdesktop --disable-wm-check
    if wait_pixel 20 640 400 "255 0 0"; then
        wait_pixel 5 5 5 "0 255 0"
        drive xfce "$PIC" 2 # stretched: red everywhere
        wait_pixel 10 5 5 "255 0 0"
        make_bmp "$PIC" 64 48 0 0 255 # the same name, now blue
        drive xfce "$PIC" 2
        wait_pixel 10 5 5 "0 0 255"
        drive xfce "" 2 16776960 # no wallpaper, cyan
        wait_pixel 10 640 400 "0 255 255"
    fi
else
    e2e_log "xfdesktop or openbox is not installed: XFCE is checked in xfconf only, not on screen"
fi
e2e_finish
