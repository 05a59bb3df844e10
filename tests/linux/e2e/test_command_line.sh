#!/usr/bin/env bash
# The command line: --help and --version print and end without a display, settings or the lock;
# a wrong option gives one line and the usage on stderr and status 2; --refresh with no Lumora
# running sets today's wallpaper once without an icon and ends, and with one running asks it over
# the session bus; a wallpaper that could not be set gives status 1 and the reason.
source "$(dirname "$0")/lib/session.sh"
need xprop xwininfo xdotool convert import compare
: "${LUMORA_BIN:?}"

# Without any display: only the texts.
SESSION_DIR=$(mktemp -d /tmp/lumora-e2e.XXXXXX)
trap session_stop EXIT
bare() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS HOME="$SESSION_DIR/home" \
        XDG_CONFIG_HOME="$SESSION_DIR/config" XDG_DATA_HOME="$SESSION_DIR/data" \
        XDG_RUNTIME_DIR="$SESSION_DIR/run" "$LUMORA_BIN" "$@" >"$SESSION_DIR/out" 2>"$SESSION_DIR/err"
}
for opt in --version -v; do
    bare "$opt"
    check_eq "$opt: status" 0 $?
    check_eq "$opt: stdout" "Lumora 2.2.4" "$(cat "$SESSION_DIR/out")"
done
for opt in --help -h; do
    bare "$opt"
    check_eq "$opt: status" 0 $?
    check_eq "$opt: first line" "Usage: lumora [options]" "$(head -n1 "$SESSION_DIR/out")"
    grep -q -- '--refresh' "$SESSION_DIR/out" || fail "$opt: --refresh is not described"
    [ -s "$SESSION_DIR/err" ] && fail "$opt: wrote to stderr: $(cat "$SESSION_DIR/err")"
done
bare --bogus
check_eq "unknown option: status" 2 $?
check_eq "unknown option: first line" "lumora: unknown option '--bogus'" "$(head -n1 "$SESSION_DIR/err")"
check_eq "unknown option: usage follows" "Usage: lumora [options]" "$(sed -n 2p "$SESSION_DIR/err")"
[ -s "$SESSION_DIR/out" ] && fail "unknown option: wrote to stdout"
[ -e "$SESSION_DIR/config" ] || [ -e "$SESSION_DIR/data" ] || [ -e "$SESSION_DIR/run" ] &&
    fail "the texts touched the settings, the pictures or the lock: $(ls "$SESSION_DIR")"
rm -rf "$SESSION_DIR"

session_start --no-notify || { fail "session did not start"; e2e_finish; }
profile
refresh() {
    LUMORA_DESKTOP=$1 timeout 60 "$LUMORA_BIN" --refresh >"$SESSION_DIR/out" 2>"$SESSION_DIR/err"
}

# No Lumora running: once, then the end; no icon, no window.
refresh x11
check_eq "--refresh alone: status" 0 $?
default_shown || fail "--refresh alone did not put the default picture on the root window"
icon_embedded && fail "--refresh alone put an icon in the tray"
refresh none
check_eq "--refresh alone, no desktop backend: status" 1 $?
check_eq "--refresh alone, no desktop backend: last line" \
    "lumora: today's wallpaper was not set: no desktop backend" "$(tail -n1 "$SESSION_DIR/err")"

# A running Lumora does it: the root window's pixmap comes back after it was taken away.
LUMORA_DESKTOP=x11 session_spawn lumora "$LUMORA_BIN"
PID=$SPAWNED
# tray_icon finds the icon by its name and class: "Lumora", ("lumora" "Lumora").
wait_until 15 icon_embedded || fail "the running Lumora's icon is not in the tray as Lumora"
wait_until 15 bus_has_name org.lumora.Lumora || fail "the running Lumora is not on the session bus"
wait_until 15 "$XPROBE" prop _XROOTPMAP_ID || fail "the running Lumora set no wallpaper"
xprop -root -remove _XROOTPMAP_ID
refresh x11
check_eq "--refresh to the running Lumora: status" 0 $?
"$XPROBE" prop _XROOTPMAP_ID >/dev/null 2>&1 || fail "--refresh did not make the running Lumora set it"
alive "$PID" || fail "the running Lumora ended"
kill "$PID"
wait_until 10 ended "$PID" || fail "lumora did not end on SIGTERM"
# The bus may still name the ended one for a moment: the next one's name must be its own.
name_released() { ! bus_has_name org.lumora.Lumora; }
wait_until 10 name_released || fail "the ended Lumora's name stayed on the bus"

# A running Lumora whose desktop takes nothing: status 1 and the reason, one line.
LUMORA_DESKTOP=none session_spawn lumora2 "$LUMORA_BIN"
wait_until 15 bus_has_name org.lumora.Lumora || fail "the second Lumora is not on the session bus"
refresh none
check_eq "--refresh, the running Lumora's desktop failed: status" 1 $?
check_eq "--refresh, the running Lumora's desktop failed: stderr" \
    "lumora: today's wallpaper was not set: no desktop backend" "$(cat "$SESSION_DIR/err")"
e2e_finish
