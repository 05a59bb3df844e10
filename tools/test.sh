#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite (unit, window and end-to-end tests) with ctest,
# and then, when the Windows tools are installed (tools/debian-packages-windows.txt), the Windows
# leg (tools/test_windows.sh) too.
# Usage: tools/test.sh [ctest arguments, e.g. -L core or -R x11]: the Linux edition's tests only
#        tools/test.sh --windows [ctest arguments]: the Windows leg only
# LUMORA_WINDOWS=0 leaves the Windows leg out.
# With LUMORA_LOAD_TRACE=<folder>, every process of the test run (the tests, the program and the
# helpers they start) has the dynamic loader record what it loads there, one file per process
# (tools/check_packages.sh reads them).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = "--windows" ]; then
    shift
    exec "$top/tools/test_windows.sh" "$@"
fi
"$top/tools/setup.sh" ${LUMORA_CMAKE_ARGS:-}
trace=()
if [ -n "${LUMORA_LOAD_TRACE:-}" ]; then
    mkdir -p "$LUMORA_LOAD_TRACE"
    trace=(env "LD_DEBUG=files,libs" "LD_DEBUG_OUTPUT=$(cd "$LUMORA_LOAD_TRACE" && pwd)/ld")
fi
status=0
"${trace[@]}" ctest --test-dir "$top/build" --output-on-failure -j"$(nproc)" "$@" || status=$?
# The whole suite (no arguments) takes in the Windows leg where its tools are there.
if [ $# -eq 0 ] && [ "${LUMORA_WINDOWS:-1}" != 0 ] &&
    command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ]; then
    "$top/tools/test_windows.sh" || status=$?
fi
exit "$status"
