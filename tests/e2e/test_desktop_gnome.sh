#!/usr/bin/env bash
# The GNOME family (GNOME, Cinnamon, MATE) through GSettings on a real dconf (dconf-service on the
# test's private bus), read back with gsettings; MATE also on screen, drawn by caja's desktop
# where caja is installed.
source "$(dirname "$0")/lib/session.sh"
source "$(dirname "$0")/lib/desktop_checks.sh"
need gsettings dconf python3
[ -x /usr/libexec/dconf-service ] || skip "dconf-service is not installed"
session_start --no-tray --no-notify || { fail "session did not start"; e2e_finish; }
need_driver
export GSETTINGS_BACKEND=dconf

PICS=$SESSION_DIR/pictures
mkdir -p "$PICS"
# A name with a quote, '#', '%', spaces and non-ASCII: each breaks a URI built by hand.
PIC="$PICS/it's #1 100% caf$(printf '\xc3\xa9').bmp"
make_bmp "$PIC" 64 48 255 0 0

get() { gsettings get "$1" "$2" | gvariant_string; }

check_family() {
    local backend=$1 schema=$2 picture_key=$3
    local style option
    local -a options=(centered wallpaper stretched scaled)
    for style in 0 1 2 3; do
        option=${options[$style]}
        drive "$backend" "$PIC" "$style" || fail "$backend: driver failed for style $style"
        check_eq "$backend style $style picture-options" "$option" "$(get "$schema" picture-options)"
        if [ "$picture_key" = picture-filename ]; then
            check_eq "$backend picture-filename" "$PIC" "$(get "$schema" picture-filename)"
        else
            local uri
            uri=$(get "$schema" picture-uri)
            check_eq "$backend picture-uri decodes to the file" "file:$PIC" "$(uri_path "$uri")"
            if gsettings range "$schema" picture-uri-dark >/dev/null 2>&1; then
                check_eq "$backend picture-uri-dark" "$uri" "$(get "$schema" picture-uri-dark)"
            fi
        fi
    done

    # The colour, as the engine sets it (before the wallpaper).
    drive "$backend" "" - 255 || fail "$backend: driver failed for the colour"
    check_eq "$backend primary-color" "#ff0000" "$(get "$schema" primary-color)"
    check_eq "$backend color-shading-type" "solid" "$(get "$schema" color-shading-type)"

    # No wallpaper.
    drive "$backend" "" 2 16711680 || fail "$backend: driver failed for no wallpaper"
    check_eq "$backend primary-color (blue)" "#0000ff" "$(get "$schema" primary-color)"
    if [ "$picture_key" = picture-filename ]; then
        check_eq "$backend no wallpaper" "" "$(get "$schema" picture-filename)"
    else
        check_eq "$backend no wallpaper" "none" "$(get "$schema" picture-options)"
    fi

    # The same path again (a day's copy replaced at the same name): the desktop sees the key
    # change, so it reads the file again.
    drive "$backend" "$PIC" 0
    local dir
    dir=$(gsettings list-schemas --print-paths | awk -v s="$schema" '$1 == s { print $2 }')
    dconf watch "$dir" >"$SESSION_DIR/watch-$backend.log" 2>&1 &
    local watcher=$!
    sleep 0.5
    drive "$backend" "$PIC" 0
    wait_until 5 grep -q "$picture_key" "$SESSION_DIR/watch-$backend.log"
    sleep 0.3
    kill "$watcher" 2>/dev/null
    wait "$watcher" 2>/dev/null
    grep -A1 "^$dir$picture_key\$" "$SESSION_DIR/watch-$backend.log" | grep -v '^--' \
        | grep -v "^$dir" | sed 's/^ *//' >"$SESSION_DIR/watch-$backend.values"
    check_eq "$backend same path: cleared then set again" \
        "2 ''" "$(wc -l <"$SESSION_DIR/watch-$backend.values") $(head -n1 "$SESSION_DIR/watch-$backend.values")"
}

check_family gnome org.gnome.desktop.background picture-uri
check_family cinnamon org.cinnamon.desktop.background picture-uri
check_family mate org.mate.background picture-filename

# The automatic choice: the session's desktop name decides.
for pair in GNOME:gnome ubuntu:GNOME:gnome X-Cinnamon:cinnamon MATE:mate; do
    name=${pair%:*}
    want=${pair##*:}
    got=$(XDG_CURRENT_DESKTOP=$name "$DESKTOP_DRIVER" auto "" - 2>>"$SESSION_DIR/driver.log")
    check_eq "XDG_CURRENT_DESKTOP=$name" "$want" "$got"
done

# A missing schema never aborts: the backend is passed over (or, forced, does nothing).
got=$(XDG_DATA_DIRS=$SESSION_DIR/empty XDG_CURRENT_DESKTOP=GNOME "$DESKTOP_DRIVER" auto "$PIC" 0 2>"$SESSION_DIR/noschema.log")
check_eq "GNOME without its schema falls back to the root window" "x11" "$got"
grep -q "org.gnome.desktop.background is not installed" "$SESSION_DIR/noschema.log" \
    || fail "the log does not say why GNOME was passed over: $(cat "$SESSION_DIR/noschema.log")"
XDG_DATA_DIRS=$SESSION_DIR/empty "$DESKTOP_DRIVER" gnome "$PIC" 0 255 >/dev/null 2>"$SESSION_DIR/noschema2.log"
check_eq "forced gnome without its schema exits normally" 0 $?

# MATE on screen: caja draws the desktop from the same keys.
if command -v caja >/dev/null 2>&1; then
    gsettings set org.mate.background show-desktop-icons false
    gsettings set org.mate.background draw-background true
    gsettings set org.mate.background background-fade false
    drive mate "" - 65280                      # green
    drive mate "$PIC" 0                        # red 64x48, centred
    session_spawn caja caja --force-desktop --no-default-window >/dev/null
    read -r W H < <(xdpyinfo 2>/dev/null | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
    W=${W:-1280} H=${H:-800}
    if wait_pixel 20 $((W / 2)) $((H / 2)) "255 0 0"; then
        wait_pixel 5 5 5 "0 255 0"
        drive mate "" 2 16711680               # no wallpaper, blue
        wait_pixel 10 $((W / 2)) $((H / 2)) "0 0 255"
    fi
else
    e2e_log "caja is not installed: MATE is checked in its settings only, not on screen"
fi

e2e_finish
