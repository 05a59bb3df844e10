#!/usr/bin/env bash
# KDE Plasma: a real plasmashell (software Qt Quick rendering) under Xvfb takes the scripts
# through org.kde.PlasmaShell.evaluateScript. What every desktop holds is read back from Plasma
# itself, by a script of the test's own over the same interface, and what Plasma draws from the
# screen's pixels. Skipped where plasmashell is not installed, but for LUMORA_REQUIRE_PLASMA=1
# (CI installs tools/debian-packages-kde.txt and sets it): then that fails.
source "$(dirname "$0")/lib/session.sh"
source "$(dirname "$0")/lib/desktop_checks.sh"
if [ "${LUMORA_REQUIRE_PLASMA:-}" = 1 ] && ! command -v plasmashell >/dev/null 2>&1; then
    fail "plasmashell is not installed (tools/debian-packages-kde.txt)"
    e2e_finish
fi
need plasmashell
# Plasma's activity manager is started by the test, so that Plasma finds it running and it is
# stopped by PID. Debian keeps it off the search path, where its D-Bus service file points.
KAMD=$(command -v kactivitymanagerd || sed -n 's/^Exec=//p' \
    /usr/share/dbus-1/services/org.kde.ActivityManager.service 2>/dev/null | head -n1)
[ -x "$KAMD" ] || { fail "plasmashell is installed, kactivitymanagerd is not"; e2e_finish; }
# Under tools/check_packages.sh every process of this test (the session, the bus and the services
# it starts, Plasma) records what it loads in a folder of its own, which is checked against
# tools/debian-packages-kde.txt as well as the main list.
if [ -n "${LD_DEBUG_OUTPUT:-}" ]; then
    mkdir -p "${LD_DEBUG_OUTPUT%/*}/kde"
    export LD_DEBUG_OUTPUT=${LD_DEBUG_OUTPUT%/*}/kde/ld
fi

# plasma_eval SCRIPT: what SCRIPT prints, run by Plasma.
plasma_eval() {
    dbus-send --session --print-reply=literal --reply-timeout=10000 --dest=org.kde.plasmashell \
        /PlasmaShell org.kde.PlasmaShell.evaluateScript "string:$1"
}
# plasma_values KEY: KEY of the wallpaper plugin each desktop shows ("plugin" for the plugin's
# name), one line for each different value: one line when every desktop holds the same.
plasma_values() {
    plasma_eval 'var all = desktops(), out = [];
        for (var i = 0; i < all.length; ++i) {
            var d = all[i];
            d.currentConfigGroup = ["Wallpaper", d.wallpaperPlugin, "General"];
            out.push({plugin: d.wallpaperPlugin, Image: String(d.readConfig("Image")),
                      FillMode: String(d.readConfig("FillMode")),
                      Color: String(d.readConfig("Color"))});
        }
        print(JSON.stringify(out));' | python3 -c '
import json, sys
print("\n".join(sorted({d[sys.argv[1]] for d in json.loads(sys.stdin.read())})))' "$1"
}
desktop_count() { plasma_eval 'print(desktops().length)' | tr -d ' \n'; }
has_desktop() { [ "$(desktop_count)" -ge 1 ]; }
plasma_log() { tail -5 "$SESSION_DIR/plasmashell.log"; }
# The services the bus starts when Plasma calls them by name: the process ids of those of this
# session's bus. Some wait for good (plasma_waitforname, for a splash screen that never comes)
# and outlive the bus.
bus_started() {
    local environ pid
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        tr '\0' '\n' <"$environ" 2>/dev/null |
            grep -qxF "DBUS_STARTER_ADDRESS=$DBUS_SESSION_BUS_ADDRESS" && echo "$pid"
    done
}
# On exit Plasma and the activity manager stop first, while the bus still runs, then the
# services the bus started for them, by PID, then the rest of the session.
PLASMA_PIDS=()
stop_plasma() {
    local pid
    for pid in "${PLASMA_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${PLASMA_PIDS[@]}"; do wait_until 10 ended "$pid" || kill -9 "$pid" 2>/dev/null; done
    for pid in $(bus_started); do kill "$pid" 2>/dev/null; done
    for pid in $(bus_started); do wait_until 3 ended "$pid" || kill -9 "$pid" 2>/dev/null; done
}

WM=()
command -v openbox >/dev/null 2>&1 && WM=(--wm openbox)
session_start --no-tray --no-notify "${WM[@]}" || { fail "session did not start"; e2e_finish; }
trap 'stop_plasma; session_stop' EXIT
need_driver
export QT_QUICK_BACKEND=software QT_QPA_PLATFORM=xcb XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true
session_spawn kamd "$KAMD"
PLASMA_PIDS+=("$SPAWNED")
wait_until 30 bus_has_name org.kde.ActivityManager ||
    { fail "kactivitymanagerd did not start: $(tail -5 "$SESSION_DIR/kamd.log")"; e2e_finish; }
session_spawn plasmashell plasmashell --no-respawn
PLASMA_PIDS=("$SPAWNED" "${PLASMA_PIDS[@]}")
# Plasma answers scripts once its layout is loaded: a script sent before would find no desktop.
wait_until 60 bus_has_name org.kde.plasmashell ||
    { fail "plasmashell did not start: $(plasma_log)"; e2e_finish; }
wait_until 60 has_desktop || { fail "Plasma shows no desktop: $(plasma_log)"; e2e_finish; }
e2e_log "Plasma is up with $(desktop_count) desktop(s)"
test_picture
BLUE=$SESSION_DIR/blue.bmp
make_bmp "$BLUE" 64 48 0 0 255

check_eq "XDG_CURRENT_DESKTOP=KDE" kde "$(drive auto "$PIC" 0 65280)"
check_eq "plugin for a picture" org.kde.image "$(plasma_values plugin)"
check_eq "Image decodes to the file" "file:$PIC" "$(uri_path "$(plasma_values Image)")"
# Each style on green: its fill mode, and on screen the picture (red) in the middle and the
# picture or the colour in the top left corner.
FILL=(6 3 0 1)
CORNER=("0 255 0" "255 0 0" "255 0 0" "0 255 0")
for style in 0 1 2 3; do
    drive kde "$PIC" "$style" 65280 || fail "style $style: the backend reported a failure"
    check_eq "style $style: FillMode" "${FILL[$style]}" "$(plasma_values FillMode)"
    check_eq "style $style: Color" "#00ff00" "$(plasma_values Color)"
    wait_pixel 20 640 400 "255 0 0" || e2e_log "(style $style)"
    wait_pixel 20 5 5 "${CORNER[$style]}" || e2e_log "(style $style)"
done
# The colour alone: the colour around the picture shown changes, the picture stays.
drive kde "" - 16711680 || fail "the colour: the backend reported a failure"
check_eq "colour alone: Color" "#0000ff" "$(plasma_values Color)"
check_eq "colour alone: Image" "file:$PIC" "$(uri_path "$(plasma_values Image)")"
wait_pixel 20 5 5 "0 0 255"
wait_pixel 20 640 400 "255 0 0"
# Another picture copied over the same file, which is set again: Plasma draws the new content.
"$DESKTOP_DRIVER" kde copy "$BLUE" "$PIC" wall "$PIC" 3 2>>"$SESSION_DIR/driver.log" ||
    fail "the same path again: the backend reported a failure"
check_eq "same path again: Image" "file:$PIC" "$(uri_path "$(plasma_values Image)")"
wait_pixel 20 640 400 "0 0 255"
# No picture: the plain colour plugin.
drive kde "" 2 65280 || fail "no picture: the backend reported a failure"
check_eq "no picture: plugin" org.kde.color "$(plasma_values plugin)"
check_eq "no picture: Color" "#00ff00" "$(plasma_values Color)"
wait_pixel 20 640 400 "0 255 0"
e2e_finish
