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
now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }

"$top/tools/install_packages.sh" "$top/tools/debian-packages-windows.txt"
t0=$(now)
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DLUMORA_CORE_ONLY=OFF -DLUMORA_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs"
t1=$(now)

source "$top/tools/wine_session.sh"
trap wine_session_stop EXIT
wine_session_start
t2=$(now)

# Wine itself now and then fails a process that did its work: about one start in four thousand
# here ends at once with no output, or with glibc's "_dl_fini: Assertion ... failed" after the
# test passed. A case that fails is therefore run once more (a real fault fails both runs), and
# every case that failed a run is named at the end. Given a --repeat of its own, ctest does that.
repeat=(--repeat until-pass:2)
for arg in "$@"; do
    [[ $arg == --repeat* ]] && repeat=()
done
log=$wine_run/ctest.log
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
