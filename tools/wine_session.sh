# Sourced: a Wine session of a run's own, for the Windows leg (tools/test_windows.sh) and the
# Windows benchmarks (bench/run_windows_*.sh). A private X server (Windows need a display
# driver), a persistent Wine server in the foreground of its own process (each process start
# would otherwise cost seconds) and a fresh prefix booted. wine_session_stop ends the server,
# every process of the prefix and the X server by their PIDs and removes the prefix.
#
#   wine_session_start   sets WINEPREFIX, TMPDIR, WINEDEBUG, WINEARCH, WINEDLLOVERRIDES, DISPLAY
#   wine_session_stop    (set it as the EXIT trap)
# Both use $wine64 and $wineserver (defaults below).

wine64=${wine64:-/usr/lib/wine/wine64}
wineserver=${wineserver:-/usr/lib/wine/wineserver64}
wine_run=
wine_server=
wine_xvfb=

wine_session_stop() {
    if [ -n "$wine_server" ]; then
        # Every process of this prefix is told to end by its server, then the server itself.
        "$wineserver" -k >/dev/null 2>&1 || true
        kill "$wine_server" 2>/dev/null || true
        wait "$wine_server" 2>/dev/null || true
        wine_server=
    fi
    # Whatever of this prefix outlived its server, found by its environment, by PID.
    local pid environ
    if [ -n "${WINEPREFIX:-}" ]; then
        for environ in /proc/[0-9]*/environ; do
            pid=${environ#/proc/}
            pid=${pid%/environ}
            { [ "$pid" = $$ ] || [ "$pid" = "$wine_xvfb" ]; } && continue
            if tr '\0' '\n' 2>/dev/null <"$environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
                kill -9 "$pid" 2>/dev/null || true
            fi
        done
    fi
    if [ -n "$wine_xvfb" ]; then
        kill "$wine_xvfb" 2>/dev/null || true
        wait "$wine_xvfb" 2>/dev/null || true
        wine_xvfb=
    fi
    if [ -n "$wine_run" ]; then
        rm -rf "$wine_run"
        wine_run=
    fi
}

wine_session_start() {
    local tool displayfd
    for tool in "$wine64" "$wineserver"; do
        [ -x "$tool" ] || { echo "wine_session.sh: $tool is missing (package wine64)" >&2; return 1; }
    done
    # The run's own prefix. Wine keeps its server's socket under TMPDIR, so that goes inside too.
    wine_run=$(mktemp -d "${TMPDIR:-/tmp}/lumora-wine.XXXXXX")
    export WINEPREFIX=$wine_run/prefix TMPDIR=$wine_run/tmp WINEDEBUG=-all WINEARCH=win64
    # No Mono or Gecko installer at boot.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    unset WAYLAND_DISPLAY
    mkdir -p "$WINEPREFIX" "$TMPDIR"

    # The private X server, ready when it has written its display number.
    exec {displayfd}>"$wine_run/display"
    Xvfb -displayfd "$displayfd" -nolisten tcp -screen 0 1280x800x24 >/dev/null 2>&1 &
    wine_xvfb=$!
    exec {displayfd}>&-
    until grep -q '^[0-9]' "$wine_run/display" 2>/dev/null; do
        kill -0 "$wine_xvfb" 2>/dev/null || { echo "wine_session.sh: Xvfb ended" >&2; return 1; }
        sleep 0.05
    done
    export DISPLAY=":$(head -n1 "$wine_run/display")"

    # The Wine server, kept running while no program is connected; ready when its socket is
    # there. Its output and that of Wine's services go to /dev/null: they would otherwise hold a
    # pipe of the caller open for ever.
    "$wineserver" -f -p >/dev/null 2>&1 &
    wine_server=$!
    until compgen -G "$TMPDIR/wine-*/server-*/socket" >/dev/null; do
        kill -0 "$wine_server" 2>/dev/null || { echo "wine_session.sh: wineserver ended" >&2; return 1; }
        sleep 0.05
    done
    "$wine64" wineboot -i >/dev/null 2>&1
}
