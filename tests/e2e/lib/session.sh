# A private desktop session for end-to-end tests. Source this file, then:
#   session_start [--no-tray] [--no-notify] [--wm openbox] [--screen WxHxD]
# It exports DISPLAY, DBUS_SESSION_BUS_ADDRESS and a fresh HOME, XDG_CONFIG_HOME, XDG_DATA_HOME,
# XDG_CACHE_HOME and XDG_RUNTIME_DIR under $SESSION_DIR, and stops everything it started, by PID,
# when the shell exits (session_stop). Helpers: wait_until, root_pixel, fail, skip, pass.

set -u
SESSION_PIDS=()
SESSION_DIR=""
E2E_FAILURES=0

e2e_log() { printf '[e2e %s] %s\n' "$(date +%T)" "$*" >&2; }
fail() { e2e_log "FAIL: $*"; E2E_FAILURES=$((E2E_FAILURES + 1)); }
skip() { e2e_log "SKIP: $*"; exit 77; }
need() { for c in "$@"; do command -v "$c" >/dev/null 2>&1 || skip "$c is not installed"; done; }

# wait_until SECONDS COMMAND...: polls every 0.1 s until COMMAND succeeds.
wait_until() {
    local limit=$1
    shift
    local deadline=$((SECONDS + limit))
    while ! "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
    return 0
}

# session_spawn NAME COMMAND...: starts a background process of the session, logged to a file.
session_spawn() {
    local name=$1
    shift
    "$@" >"$SESSION_DIR/$name.log" 2>&1 &
    SESSION_PIDS+=($!)
    echo $!
}

bus_has_name() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}

selection_owned() { [ "$("$XPROBE" owner "$1" 2>/dev/null)" != "0x0" ]; }

# root_pixel X Y -> "R G B"
root_pixel() { "$XPROBE" pixel "$1" "$2"; }

session_start() {
    local tray=1 notify=1 wm="" screen="1280x800x24"
    while [ $# -gt 0 ]; do
        case $1 in
        --no-tray) tray=0 ;;
        --no-notify) notify=0 ;;
        --wm) wm=$2; shift ;;
        --screen) screen=$2; shift ;;
        *) e2e_log "session_start: unknown option $1"; return 2 ;;
        esac
        shift
    done
    need Xvfb dbus-daemon dbus-send
    : "${XPROBE:?XPROBE (the xprobe tool) must be set; run through ctest}"
    SESSION_DIR=$(mktemp -d /tmp/lumora-e2e.XXXXXX)
    export HOME=$SESSION_DIR/home XDG_CONFIG_HOME=$SESSION_DIR/home/.config \
        XDG_DATA_HOME=$SESSION_DIR/home/.local/share XDG_CACHE_HOME=$SESSION_DIR/home/.cache \
        XDG_RUNTIME_DIR=$SESSION_DIR/run
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset WAYLAND_DISPLAY XDG_CURRENT_DESKTOP DESKTOP_SESSION SESSION_MANAGER
    trap session_stop EXIT

    # Xvfb tells its display number on a descriptor once it accepts clients.
    exec {xfd}>"$SESSION_DIR/display"
    Xvfb -displayfd "$xfd" -screen 0 "$screen" -noreset -nolisten tcp +extension RANDR \
        >"$SESSION_DIR/xvfb.log" 2>&1 &
    SESSION_PIDS+=($!)
    exec {xfd}>&-
    wait_until 20 grep -q '^[0-9]' "$SESSION_DIR/display" || { e2e_log "Xvfb did not start"; cat "$SESSION_DIR/xvfb.log" >&2; return 1; }
    export DISPLAY=":$(head -n1 "$SESSION_DIR/display")"

    local out
    out=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || return 1
    export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$out")
    SESSION_PIDS+=("$(sed -n 2p <<<"$out")")

    if [ -n "$wm" ]; then
        need "$wm"
        session_spawn wm "$wm" >/dev/null
        wait_until 10 selection_owned WM_S0 || e2e_log "window manager $wm did not take WM_S0"
    fi
    if [ $notify = 1 ]; then
        need dunst
        session_spawn dunst dunst -config /dev/null >/dev/null
        wait_until 10 bus_has_name org.freedesktop.Notifications || { e2e_log "dunst did not start"; return 1; }
    fi
    if [ $tray = 1 ]; then
        need trayer
        session_spawn trayer trayer --edge bottom --align right --widthtype request --height 24 \
            --SetDockType true --transparent false --tint 0x333333 >/dev/null
        wait_until 10 selection_owned _NET_SYSTEM_TRAY_S0 || { e2e_log "trayer did not start"; return 1; }
    fi
    e2e_log "session ready on $DISPLAY in $SESSION_DIR"
}

session_stop() {
    local i
    for ((i = ${#SESSION_PIDS[@]} - 1; i >= 0; i--)); do
        kill "${SESSION_PIDS[$i]}" 2>/dev/null
    done
    for ((i = ${#SESSION_PIDS[@]} - 1; i >= 0; i--)); do
        local n=0
        while kill -0 "${SESSION_PIDS[$i]}" 2>/dev/null && [ $n -lt 30 ]; do sleep 0.1; n=$((n + 1)); done
        kill -9 "${SESSION_PIDS[$i]}" 2>/dev/null
    done
    SESSION_PIDS=()
    if [ -n "$SESSION_DIR" ] && [ -z "${E2E_KEEP:-}" ]; then
        rm -rf "$SESSION_DIR"
    fi
}

# e2e_finish: the closing line and the exit code of a test script.
e2e_finish() {
    if [ "$E2E_FAILURES" -gt 0 ]; then
        e2e_log "$E2E_FAILURES check(s) failed"
        exit 1
    fi
    e2e_log "all checks passed"
    exit 0
}
