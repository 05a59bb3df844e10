#!/usr/bin/env bash
# Installs the Debian packages of a list file (one a line; comments allowed) that are missing.
# Usage: tools/install_packages.sh LIST. It uses sudo when it is not run as root.
set -euo pipefail
mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$1")
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
