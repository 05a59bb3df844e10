#!/usr/bin/env bash
# The GNOME family (GNOME, Cinnamon, MATE) through GSettings on a real dconf (dconf-service on the
# test's private bus), read back with gsettings; MATE also on screen, drawn by caja's desktop
# where caja is installed.
source "$(dirname "$0")/lib/session.sh"
source "$(dirname "$0")/lib/desktop_checks.sh"
need gsettings dconf
[ -x /usr/libexec/dconf-service ] || skip "dconf-service is not installed"
session_start --no-tray --no-notify || { fail "session did not start"; e2e_finish; }
need_driver
export GSETTINGS_BACKEND=dconf
test_picture

# check_family BACKEND SCHEMA PICTURE_KEY
check_family() {
    local backend=$1 schema=$2 key=$3 style option=(centered wallpaper stretched scaled) uri dir values set_again
    for style in 0 1 2 3; do
        drive "$backend" "$PIC" "$style" || fail "$backend: driver failed for style $style"
        check_eq "$backend style $style picture-options" "${option[$style]}" "$(gget "$schema" picture-options)"
        if [ "$key" = picture-filename ]; then
            check_eq "$backend picture-filename" "$PIC" "$(gget "$schema" picture-filename)"
        else
            uri=$(gget "$schema" picture-uri)
            check_eq "$backend picture-uri decodes to the file" "file:$PIC" "$(uri_path "$uri")"
            gsettings range "$schema" picture-uri-dark >/dev/null 2>&1 &&
                check_eq "$backend picture-uri-dark" "$uri" "$(gget "$schema" picture-uri-dark)"
        fi
    done
    # The colour, as the engine sets it (before the wallpaper); then no wallpaper.
    drive "$backend" "" - 255 || fail "$backend: driver failed for the colour"
    check_eq "$backend primary-color" "#ff0000" "$(gget "$schema" primary-color)"
    check_eq "$backend color-shading-type" "solid" "$(gget "$schema" color-shading-type)"
    drive "$backend" "" 2 16711680 || fail "$backend: driver failed for no wallpaper"
    check_eq "$backend primary-color (blue)" "#0000ff" "$(gget "$schema" primary-color)"
    if [ "$key" = picture-filename ]; then
        check_eq "$backend no wallpaper" "" "$(gget "$schema" picture-filename)"
    else
        check_eq "$backend no wallpaper" "none" "$(gget "$schema" picture-options)"
    fi
    # The same path again (a day's copy replaced at the same name): the key is cleared, then set
    # again, so that the desktop reads the file anew.
    drive "$backend" "$PIC" 0
    dir=$(gsettings list-schemas --print-paths | awk -v s="$schema" '$1 == s { print $2 }')
    dconf_monitor "writes-$backend"
    drive "$backend" "$PIC" 0
    dconf_caught_up
    kill "$WATCHER"
    mapfile -t values < <(dconf_writes "$dir$key")
    if [ "$key" = picture-filename ]; then
        set_again=${values[1]:-}
    else
        set_again=$(uri_path "${values[1]:-}")
        set_again=${set_again#file:}
    fi
    check_eq "$backend same path: cleared then set again" "2 [] [$PIC]" "${#values[@]} [${values[0]:-}] [$set_again]"
}
check_family gnome org.gnome.desktop.background picture-uri
check_family cinnamon org.cinnamon.desktop.background picture-uri
check_family mate org.mate.background picture-filename

# The automatic choice on a real store (every session name's backend: backend_factory_test).
check_eq "XDG_CURRENT_DESKTOP=GNOME" gnome "$(XDG_CURRENT_DESKTOP=GNOME drive auto "" -)"
# A missing schema never aborts: the backend is passed over (or, forced, does nothing and reports
# that the calls failed: the driver's status 3).
check_eq "GNOME without its schema falls back to the root window" x11 \
    "$(XDG_DATA_DIRS=$SESSION_DIR/empty XDG_CURRENT_DESKTOP=GNOME drive auto "$PIC" 0)"
grep -q "org.gnome.desktop.background is not installed" "$SESSION_DIR/driver.log" ||
    fail "the log does not say why GNOME was passed over: $(tail -n3 "$SESSION_DIR/driver.log")"
XDG_DATA_DIRS=$SESSION_DIR/empty drive gnome "$PIC" 0 255
check_eq "forced gnome without its schema reports failure" 3 $?

# MATE on screen: caja draws the desktop from the same keys.
if command -v caja >/dev/null 2>&1; then
    for key in "show-desktop-icons false" "draw-background true" "background-fade false"; do
        gsettings set org.mate.background $key
    done
    drive mate "" - 65280 # green
    drive mate "$PIC" 0   # red 64x48, centred
    session_spawn caja caja --force-desktop --no-default-window
    if wait_pixel 20 640 400 "255 0 0"; then
        wait_pixel 5 5 5 "0 255 0"
        drive mate "" 2 16711680 # no wallpaper, blue
        wait_pixel 10 640 400 "0 0 255"
    fi
else
    e2e_log "caja is not installed: MATE is checked in its settings only, not on screen"
fi
e2e_finish
