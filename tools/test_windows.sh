#!/usr/bin/env bash
# The Windows leg: cross-builds the core, the Windows services and their tests for 64-bit Windows (mingw-w64, warnings as
# errors) into build-win/ and runs every test case under Wine with ctest, in a Wine prefix of its
# own made for this run. A persistent Wine server is started first (each process start would
# otherwise cost seconds) and the prefix booted; at the end the server and every process of the
# prefix are stopped by their PIDs and the prefix is removed.
# Usage: tools/test_windows.sh [ctest arguments, e.g. -R Transf]
# Installs the missing packages of tools/debian-packages-windows.txt first (with sudo unless root).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
build=${LUMORA_WINDOWS_BUILD:-$top/build-win}
jobs=${LUMORA_JOBS:-$(nproc)}
wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }

"$top/tools/install_packages.sh" "$top/tools/debian-packages-windows.txt"
for tool in "$wine64" "$wineserver"; do
    [ -x "$tool" ] || { echo "test_windows.sh: $tool is missing (package wine64)" >&2; exit 1; }
done

t0=$(now)
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DLUMORA_CORE_ONLY=OFF -DLUMORA_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs"
t1=$(now)

# The run's own prefix. Wine keeps its server's socket under TMPDIR, so that goes inside too.
run=$(mktemp -d "${TMPDIR:-/tmp}/lumora-wine.XXXXXX")
export WINEPREFIX=$run/prefix TMPDIR=$run/tmp WINEDEBUG=-all WINEARCH=win64
# No Mono or Gecko installer at boot.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WAYLAND_DISPLAY
mkdir -p "$WINEPREFIX" "$TMPDIR"
server=
xvfb=
stop_wine() {
    if [ -n "$server" ]; then
        # Every process of this prefix is told to end by its server, then the server itself.
        "$wineserver" -k >/dev/null 2>&1 || true
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
        server=
    fi
    # Whatever of this prefix outlived its server, found by its environment, by PID.
    local pid
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        { [ "$pid" = $$ ] || [ "$pid" = "$xvfb" ]; } && continue
        if tr '\0' '\n' 2>/dev/null <"$environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            kill -9 "$pid" 2>/dev/null || true
        fi
    done
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$run"
}
trap stop_wine EXIT

# Windows need a display driver: a private X server of the run's own (the day watch's window,
# the windows' tests), ready when it has written its display number.
exec {displayfd}>"$run/display"
Xvfb -displayfd "$displayfd" -nolisten tcp -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
exec {displayfd}>&-
until grep -q '^[0-9]' "$run/display" 2>/dev/null; do
    kill -0 "$xvfb" 2>/dev/null || { echo "test_windows.sh: Xvfb ended" >&2; exit 1; }
    sleep 0.05
done
export DISPLAY=":$(head -n1 "$run/display")"

# The Wine server first, in the foreground of its own process (so its PID is known), kept running
# while no program is connected; ready when its socket is there. Its output and that of Wine's
# services go to /dev/null: they would otherwise hold a pipe of the caller open for ever.
"$wineserver" -f -p >/dev/null 2>&1 &
server=$!
until compgen -G "$TMPDIR/wine-*/server-*/socket" >/dev/null; do
    kill -0 "$server" 2>/dev/null || { echo "test_windows.sh: wineserver ended" >&2; exit 1; }
    sleep 0.05
done
"$wine64" wineboot -i >/dev/null 2>&1
t2=$(now)

# Wine itself now and then fails a process that did its work: about one start in four thousand
# here ends at once with no output, or with glibc's "_dl_fini: Assertion ... failed" after the
# test passed. A case that fails is therefore run once more (a real fault fails both runs), and
# every case that failed a run is named at the end. Given a --repeat of its own, ctest does that.
repeat=(--repeat until-pass:2)
for arg in "$@"; do
    [[ $arg == --repeat* ]] && repeat=()
done
log=$run/ctest.log
status=0
# The log is written by ctest itself: through a pipe, a Wine process started by a test could keep
# the pipe open for ever.
ctest --test-dir "$build" --output-on-failure -j"$jobs" -O "$log" "${repeat[@]}" "$@" || status=$?
t3=$(now)
if [ ${#repeat[@]} -gt 0 ]; then
    mapfile -t again < <(sed -n 's/^.*Test *#[0-9]*: \([^ ]*\) \.*\*\*\*\(Failed\|Exception\|Timeout\).*$/\1/p' "$log" | sort -u)
    if [ ${#again[@]} -gt 0 ]; then
        echo "test_windows.sh: failed a first run under Wine and ran again: ${again[*]}"
    fi
fi
echo "test_windows.sh: build $(seconds "$t0" "$t1") s, Wine prefix $(seconds "$t1" "$t2") s," \
     "tests $(seconds "$t2" "$t3") s"
exit "$status"
