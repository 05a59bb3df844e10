#!/usr/bin/env bash
# The Debian package round trip (needs root; changes /usr): builds lumora_<version>_<arch>.deb with
# cpack from the RelWithDebInfo build in build/, installs it with apt-get, starts the installed
# /usr/bin/lumora in a private X session (tests/linux/e2e/lib/session.sh), sees its icon in the tray host
# and the default picture on the root window, ends it with the tray menu's E&xit, purges the
# package and checks that none of its files is left.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target lumora man_page xprobe
rm -f "$build"/lumora_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/lumora_*.deb)
echo "Package: $deb"
dpkg-deb -f "$deb" Package Version Architecture Depends Recommends

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -q --no-install-recommends "$deb"
mapfile -t files < <(dpkg -L lumora)
status=0
LUMORA_SOURCE_DIR=$top XPROBE=$build/tests/linux/e2e/xprobe bash -c '
    source "$LUMORA_SOURCE_DIR/tests/linux/e2e/lib/session.sh"
    session_start --no-notify || { fail "session did not start"; e2e_finish; }
    cd "$SESSION_DIR"
    session_spawn lumora env LUMORA_DESKTOP=x11 /usr/bin/lumora
    PID=$SPAWNED
    wait_until 20 icon_embedded || fail "the installed program'\''s icon is not in the tray host"
    wait_until 20 default_shown || fail "the default picture is not on the root window"
    read -r X Y _ < <(geometry "$(tray_icon)")
    xdotool mousemove $((X + 8)) $((Y + 8)) sleep 0.2 click 3 sleep 0.5 key x
    wait_until 10 ended "$PID" || fail "the installed program did not end with E&xit"
    e2e_finish' || status=1

apt-get purge -y -q lumora
for f in "${files[@]}"; do
    # Folders the package shares with others (/usr, /usr/share, ...) stay; its own files go.
    if [ -e "$f" ] && [ ! -d "$f" ]; then
        echo "left behind: $f" >&2
        status=1
    fi
done
for d in /usr/share/doc/lumora /usr/share/lumora; do
    [ -e "$d" ] && { echo "left behind: $d" >&2; status=1; }
done
[ $status = 0 ] && echo "The package installed, ran, ended from its menu and was removed cleanly."
exit "$status"
