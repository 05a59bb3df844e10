#!/usr/bin/env bash
# Installs the Debian packages Lumora needs (tools/debian-packages.txt) that are missing, then
# configures and builds it in build/. Usage: tools/setup.sh [extra cmake arguments]
# LUMORA_BUILD_TARGETS limits the build to those targets (tools/run.sh builds only the program).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

mapfile -t wanted < <(grep -v -E '^\s*(#|$)' tools/debian-packages.txt)
missing=()
for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -q
    "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
targets=()
for t in ${LUMORA_BUILD_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build build -j"$(nproc)" "${targets[@]}"
