#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite (unit, window and end-to-end tests) with ctest.
# Usage: tools/test.sh [ctest arguments, e.g. -L core or -R x11]
# With LUMORA_LOAD_TRACE=<folder>, every process of the test run (the tests, the program and the
# helpers they start) has the dynamic loader record what it loads there, one file per process
# (tools/check_packages.sh reads them).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup.sh" ${LUMORA_CMAKE_ARGS:-}
trace=()
if [ -n "${LUMORA_LOAD_TRACE:-}" ]; then
    mkdir -p "$LUMORA_LOAD_TRACE"
    trace=(env "LD_DEBUG=files,libs" "LD_DEBUG_OUTPUT=$(cd "$LUMORA_LOAD_TRACE" && pwd)/ld")
fi
"${trace[@]}" ctest --test-dir "$top/build" --output-on-failure -j"$(nproc)" "$@"
