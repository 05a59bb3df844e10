#!/usr/bin/env bash
# tools/check_packages.py against real loader records of a real test process (the resource and
# icon tests, which decode the SVG icon through Qt's image plugin):
#   - as installed, with the real package list: passes;
#   - with libqt6svg6 taken off the list: fails, naming the plugin and the package;
#   - with a copy of that plugin planted in a folder on QT_PLUGIN_PATH (a file no package
#     provides): fails, naming the copy;
#   - with another folder given as the build folder: fails, naming the test program itself;
#   - the records in a subfolder checked with a list of their own (--part): that list covers
#     them, and only them; a subfolder with no list cannot be checked.
# Usage: test_check_packages.sh TEST_EXECUTABLE BUILD_DIR (ctest passes test_platform_linux and
# the build folder, which may lie outside the source tree)
set -euo pipefail
exe=$1
build=$2
top=$(cd "$(dirname "$0")/../../.." && pwd)
check=$top/tools/check_packages.py
tmp=$(mktemp -d /tmp/lumora-packages.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# traced NAME [VAR=VALUE...]: runs the icon tests with the loader's records in $tmp/NAME.
traced() {
    local name=$1
    shift
    mkdir "$tmp/$name"
    env "$@" LD_DEBUG=files,libs "LD_DEBUG_OUTPUT=$tmp/$name/ld" QT_QPA_PLATFORM=offscreen \
        "$exe" --gtest_filter='*IconTest.*' >"$tmp/$name.log" 2>&1 || { cat "$tmp/$name.log" >&2; fail "the icon tests failed ($name)"; }
}
# expect STATUS NAME [check arguments...]: the check of $tmp/NAME, with BUILD_DIR as the build
# folder unless the arguments give another, ends with STATUS; its output is left in $tmp/NAME.out.
expect() {
    local want=$1 name=$2 got=0
    shift 2
    python3 "$check" --build "$build" "$@" "$tmp/$name" >"$tmp/$name.out" 2>&1 || got=$?
    sed "s/^/  [$name] /" "$tmp/$name.out"
    [ "$got" = "$want" ] || fail "check of $name $*: exit status $got, expected $want"
}
names() { grep -qF -- "$2" "$tmp/$1.out" || fail "the check of $1 does not name: $2"; }

plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS)
svg=$plugins/imageformats/libqsvg.so
[ -f "$svg" ] || { echo "FAIL: $svg is missing (libqt6svg6 not installed?)" >&2; exit 1; }

traced real
grep -qF "file=$svg " "$tmp"/real/ld.* || fail "the icon tests did not load $svg"
expect 0 real

grep -vx 'libqt6svg6' "$top/tools/debian-packages.txt" >"$tmp/list-without-svg"
expect 1 real --list "$tmp/list-without-svg"
names real "$svg: from package libqt6svg6, neither listed nor pulled in"
names real "packages to add to the list: libqt6svg6"

mkdir -p "$tmp/plugins/imageformats"
cp "$svg" "$tmp/plugins/imageformats/"
traced planted "QT_PLUGIN_PATH=$tmp/plugins"
expect 1 planted
names planted "$tmp/plugins/imageformats/libqsvg.so: from no Debian package"

mkdir "$tmp/elsewhere"
expect 1 real --build "$tmp/elsewhere"
names real "$exe: from no Debian package"

printf '%s\n' '# the SVG plugin only' libqt6svg6 >"$tmp/list-svg"
mkdir -p "$tmp/parted/svg"
cp "$tmp"/real/ld.* "$tmp/parted/svg/"
expect 0 parted --list "$tmp/list-without-svg" --part "svg=$tmp/list-svg"
expect 2 parted --list "$tmp/list-without-svg"
names parted "$tmp/parted/svg and no --part"
expect 1 real --list "$tmp/list-without-svg" --part "svg=$tmp/list-svg"
names real "$svg: from package libqt6svg6, neither listed nor pulled in"

[ "$failures" = 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "all checks passed"
