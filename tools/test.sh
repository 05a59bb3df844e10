#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite (unit, window and end-to-end tests) with ctest.
# Usage: tools/test.sh [ctest arguments, e.g. -L core or -R x11]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup.sh" ${LUMORA_CMAKE_ARGS:-}
ctest --test-dir "$top/build" --output-on-failure -j"$(nproc)" "$@"
