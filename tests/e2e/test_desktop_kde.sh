#!/usr/bin/env bash
# KDE Plasma: a real plasmashell (software Qt Quick rendering) under Xvfb takes the script through
# org.kde.PlasmaShell.evaluateScript; the desktops' wallpaper configuration is read back from
# Plasma's own file, and the screen's pixels. Skipped where plasmashell is not installed.
source "$(dirname "$0")/lib/session.sh"
source "$(dirname "$0")/lib/desktop_checks.sh"
need plasmashell
WM=()
command -v openbox >/dev/null 2>&1 && WM=(--wm openbox)
session_start --no-tray --no-notify "${WM[@]}" || { fail "session did not start"; e2e_finish; }
need_driver
export QT_QUICK_BACKEND=software QT_QPA_PLATFORM=xcb XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true
command -v kactivitymanagerd >/dev/null 2>&1 && session_spawn kamd kactivitymanagerd
session_spawn plasmashell plasmashell --no-respawn
wait_until 60 bus_has_name org.kde.plasmashell || { fail "plasmashell did not start: $(tail -5 "$SESSION_DIR/plasmashell.log")"; e2e_finish; }
sleep 3
test_picture

# The value of KEY in the image plugin's group of the first desktop, once Plasma has written it.
image_value() {
    awk -v key="$1" '/^\[Containments\]\[[0-9]+\]\[Wallpaper\]\[org.kde.image\]\[General\]$/ { g = 1; next }
        /^\[/ { g = 0 } g && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }' \
        "$XDG_CONFIG_HOME/plasma-org.kde.plasma.desktop-appletsrc"
}
value_is() { [ "$(image_value "$1")" = "$2" ]; }

check_eq "XDG_CURRENT_DESKTOP=KDE" kde "$(drive auto "$PIC" 0 65280)"
FILL=(6 3 0 1)
for style in 0 1 2 3; do
    drive kde "$PIC" "$style" 255
    wait_until 15 value_is FillMode "${FILL[$style]}" ||
        fail "style $style: FillMode is [$(image_value FillMode)], expected ${FILL[$style]}"
done
check_eq "Image decodes to the file" "file:$PIC" "$(uri_path "$(image_value Image)")"
wait_until 15 value_is Color "255,0,0" || value_is Color "#ff0000" || fail "Color is [$(image_value Color)]"
drive kde "$PIC" 0 65280
wait_pixel 20 640 400 "255 0 0"
wait_pixel 10 5 5 "0 255 0"
drive kde "" 2 16711680
wait_pixel 20 640 400 "0 0 255"
e2e_finish
