#!/usr/bin/env bash
# Sets Lumora up (missing Debian packages, build) and runs it.
# In a desktop session it starts there. Without one (no DISPLAY, no WAYLAND_DISPLAY) it starts a
# virtual X display with a tray host and a notification daemon, runs Lumora inside it, saves a
# screenshot once today's wallpaper is set, and keeps running until Ctrl+C, which stops
# everything it started.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
LUMORA_BUILD_TARGETS="lumora xprobe" "$top/tools/setup.sh"
bin="$top/build/lumora"
xprobe="$top/build/tests/linux/e2e/xprobe"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Starting Lumora in the current desktop session."
    exec "$bin"
fi

screenshot=${LUMORA_SCREENSHOT:-$PWD/lumora-screenshot.png}
work=$(mktemp -d /tmp/lumora-run.XXXXXX)
pids=()
stop_all() {
    trap - INT TERM EXIT
    trap '' PIPE # output piped to a reader that Ctrl+C ended too must not cut the clean-up short
    local i n
    # Last started, first stopped: Lumora (given five seconds to end) before its tray host, the X
    # server last, each waited for.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[$i]}" 2>/dev/null || continue
        for ((n = 0; n < 50; n++)); do kill -0 "${pids[$i]}" 2>/dev/null || break; sleep 0.1; done
        kill -9 "${pids[$i]}" 2>/dev/null || true
    done
    rm -rf "$work"
    echo "Stopped."
}
trap stop_all INT TERM EXIT
# spawn COMMAND...: a process of the virtual session, in a session of its own: the terminal's
# Ctrl+C reaches this script alone, which then stops them in order (an X server that took the
# interrupt too would end before the programs that use it).
spawn() {
    setsid "$@" &
    pids+=($!)
}

wait_until() {
    local limit=$1; shift
    local deadline=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

echo "No graphical session found: starting Lumora inside a virtual X display."
# The virtual session has its own runtime folder (private, removed with $work): Qt wants one, and
# the single-instance lock in it then belongs to this session alone.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
exec {xfd}>"$work/display"
spawn Xvfb -displayfd "$xfd" -screen 0 1280x800x24 -noreset -nolisten tcp >"$work/xvfb.log" 2>&1
exec {xfd}>&-
wait_until 20 grep -q '^[0-9]' "$work/display" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION
out=$(setsid dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$out")
pids+=("$(sed -n 2p <<<"$out")")
spawn dunst -config /dev/null >"$work/dunst.log" 2>&1
spawn trayer --edge bottom --align right --widthtype request --height 24 --SetDockType true \
    --transparent false --tint 0x333333 >"$work/trayer.log" 2>&1
tray_up() { [ "$("$xprobe" owner _NET_SYSTEM_TRAY_S0)" != "0x0" ]; }
wait_until 10 tray_up || echo "warning: the tray host did not start" >&2

echo "Virtual display $DISPLAY is up (Xvfb, dbus-daemon, dunst, trayer)."
spawn "$bin"
lumora_pid=$!

# Today's wallpaper is set once the root window names its background pixmap. The logo window,
# where the settings ask for it, is shown by the time Lumora answers on the session bus (its
# start-up is over then) and closes five seconds on; the screenshot waits for it to close.
answers() {
    dbus-send --session --print-reply --dest=org.lumora.Lumora /org/lumora/Lumora \
        org.freedesktop.DBus.Introspectable.Introspect
}
logo_gone() { ! xdotool search --onlyvisible --name '^Lumora$' >/dev/null 2>&1; }
if wait_until 20 "$xprobe" prop _XROOTPMAP_ID; then
    wait_until 20 answers || echo "warning: Lumora does not answer on the session bus" >&2
    wait_until 15 logo_gone || true
    import -display "$DISPLAY" -window root "$screenshot"
    echo "Today's wallpaper is set; screenshot saved to $screenshot"
else
    import -display "$DISPLAY" -window root "$screenshot" || true
    echo "The wallpaper was not set within 20 s; screenshot saved to $screenshot anyway" >&2
fi
echo "Lumora is running (PID $lumora_pid). Press Ctrl+C to stop everything."
wait "$lumora_pid" || true
