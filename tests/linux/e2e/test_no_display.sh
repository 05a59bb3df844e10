#!/usr/bin/env bash
# Without a display to show on, the program ends at once with one line on stderr and status 1,
# instead of the core dump of Qt's platform plugin: no DISPLAY, a display nobody serves, a Wayland
# session whose compositor is gone.
source "$(dirname "$0")/lib/session.sh"
: "${LUMORA_BIN:?}"
SESSION_DIR=$(mktemp -d /tmp/lumora-e2e.XXXXXX)
trap session_stop EXIT
mkdir -p "$SESSION_DIR/run" && chmod 700 "$SESSION_DIR/run"

# A display number no server listens on.
DEAD=90
while [ -e "/tmp/.X11-unix/X$DEAD" ] || [ -e "/tmp/.X$DEAD-lock" ]; do DEAD=$((DEAD + 1)); done

# row NAME VARIABLE=VALUE...: runs the program with only these display variables set.
row() {
    local name=$1 status
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE \
        HOME="$SESSION_DIR/home" XDG_CONFIG_HOME="$SESSION_DIR/config" \
        XDG_DATA_HOME="$SESSION_DIR/data" XDG_RUNTIME_DIR="$SESSION_DIR/run" "$@" \
        timeout -s KILL 20 "$LUMORA_BIN" >"$SESSION_DIR/$name.out" 2>"$SESSION_DIR/$name.err"
    status=$?
    check_eq "$name: exit status" 1 "$status"
    check_eq "$name: lines on stderr" 1 "$(wc -l <"$SESSION_DIR/$name.err")"
    grep -q '^lumora: ' "$SESSION_DIR/$name.err" || fail "$name: stderr is [$(cat "$SESSION_DIR/$name.err")]"
    [ -s "$SESSION_DIR/$name.out" ] && fail "$name: wrote to stdout"
    [ -e "$SESSION_DIR/config/lumora" ] && fail "$name: touched the settings folder"
    e2e_log "$name: $(cat "$SESSION_DIR/$name.err")"
}

row no-display
row dead-display DISPLAY=":$DEAD"
row gone-compositor XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-gone
e2e_finish
