#!/usr/bin/env bash
# Builds the Windows edition's two artefacts in one command:
#   dist/Lumora-<version>-setup.exe     the per-user installer (NSIS)
#   dist/Lumora-<version>-portable.zip  the single lumora.exe
# Usage: tools/package_windows.sh [output folder, default dist/]
# Installs the missing packages of tools/debian-packages-windows.txt first (with sudo unless root).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$top/dist}")
# The Windows leg's build folder and options (tools/test_windows.sh): after the leg, only the
# program is left to link. The program is stripped of its debugging information.
build=${LUMORA_WINDOWS_BUILD:-$top/build-win}
jobs=${LUMORA_JOBS:-$(nproc)}

"$top/tools/install_packages.sh" "$top/tools/debian-packages-windows.txt"
cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DLUMORA_CORE_ONLY=OFF -DLUMORA_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs" --target lumora
program=$build/src/windows/lumora.exe
version=$(sed -n 's/^project(Lumora VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
[ -n "$version" ] || { echo "package_windows.sh: no version in CMakeLists.txt" >&2; exit 1; }

mkdir -p "$out"
stripped=$build/package/lumora.exe
mkdir -p "$(dirname "$stripped")"
x86_64-w64-mingw32-strip -o "$stripped" "$program"
makensis -V2 -DVERSION="$version" -DPROGRAM="$stripped" -DICON="$top/resources/icons/lumora.ico" \
    -DOUTFILE="$out/Lumora-$version-setup.exe" "$top/packaging/windows/lumora.nsi"
rm -f "$out/Lumora-$version-portable.zip"
(cd "$(dirname "$stripped")" && zip -q -X "$out/Lumora-$version-portable.zip" lumora.exe)
ls -l "$out/Lumora-$version-setup.exe" "$out/Lumora-$version-portable.zip"
