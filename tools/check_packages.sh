#!/usr/bin/env bash
# Runs the whole test suite (tools/test.sh, with the same arguments) while the dynamic loader
# records every shared object, plugin and program each process loads, then checks that each one
# comes from a package that tools/debian-packages.txt lists or pulls in (tools/check_packages.py).
# The Plasma test records into build/load-trace/kde/: what it loads may also come from
# tools/debian-packages-kde.txt, which CI installs (the test skips where Plasma is missing).
# The records stay in build/load-trace/. Fails when the tests or the check fail.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build # where tools/setup.sh builds and tools/test.sh runs the tests
trace=$build/load-trace
rm -rf "$trace"
mkdir -p "$trace"
status=0
# The Linux edition's processes only: the Windows leg is checked on its own list.
LUMORA_WINDOWS=0 LUMORA_LOAD_TRACE=$trace "$top/tools/test.sh" "$@" || status=$?
python3 "$top/tools/check_packages.py" --build "$build" \
    --part "kde=$top/tools/debian-packages-kde.txt" "$trace" || status=$?
exit "$status"
