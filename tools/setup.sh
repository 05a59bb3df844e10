#!/usr/bin/env bash
# Installs the Debian packages Lumora needs (tools/debian-packages.txt) that are missing, then
# configures and builds it in build/. Usage: tools/setup.sh [extra cmake arguments]
# LUMORA_BUILD_TARGETS limits the build to those targets (tools/run.sh builds only the program).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

"$top/tools/install_packages.sh" "$top/tools/debian-packages.txt"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
targets=()
for t in ${LUMORA_BUILD_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build build -j"$(nproc)" "${targets[@]}"
