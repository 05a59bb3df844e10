#!/usr/bin/env bash
# The real program while it waits: `lumora` in a private X session from tests/linux/e2e/lib/session.sh
# (Xvfb, session bus, dunst, trayer, openbox when installed) with LUMORA_DESKTOP=x11, a picture
# for every day (seven 6000x4000 JPEGs), the logo off and the settings window hidden, measured
# by run_idle_bench.sh over SECONDS; then the settings window opened with a double-click on the
# tray icon and measured again over SHOWN_SECONDS, for comparison.
#
#   bench/run_program_idle_bench.sh [-b BUILD_DIR] [-s SECONDS] [-S SHOWN_SECONDS] [-i INTERVAL]
#                                   [-w SETTLE_SECONDS] [-p PICTURE_DIR] [-o SAMPLE_PREFIX]
#
# BUILD_DIR defaults to ./build (lumora and tests/linux/e2e/xprobe); SECONDS to 600, SHOWN_SECONDS to
# 60 (0 leaves the shown run out), INTERVAL (the pieces the runs are cut into) to 60 and 10,
# SETTLE_SECONDS (after the icon is in the tray, so that the start-up's alert has come and gone)
# to 15. With SAMPLE_PREFIX the pieces go to SAMPLE_PREFIX.hidden and SAMPLE_PREFIX.shown (see
# run_idle_bench.sh --samples).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=build
seconds=600
shown_seconds=60
interval=""
settle=15
pictures=""
prefix=""
while [ $# -gt 0 ]; do
    case $1 in
    -b) build=$2; shift 2 ;;
    -s) seconds=$2; shift 2 ;;
    -S) shown_seconds=$2; shift 2 ;;
    -i) interval=$2; shift 2 ;;
    -w) settle=$2; shift 2 ;;
    -p) pictures=$2; shift 2 ;;
    -o) prefix=$2; shift 2 ;;
    *) echo "usage: $0 [-b BUILD_DIR] [-s SECONDS] [-S SHOWN_SECONDS] [-i INTERVAL] [-w SETTLE_SECONDS] [-p PICTURE_DIR] [-o SAMPLE_PREFIX]" >&2; exit 2 ;;
    esac
done
build=$(cd "$build" && pwd)
bin=$build/lumora
[ -x "$bin" ] || { echo "no $bin: build the lumora target first" >&2; exit 2; }
export XPROBE=${XPROBE:-$build/tests/linux/e2e/xprobe}
[ -x "$XPROBE" ] || { echo "no $XPROBE: build the xprobe target first" >&2; exit 2; }
for c in convert xdotool xwininfo; do
    command -v "$c" >/dev/null 2>&1 || { echo "$c is not installed" >&2; exit 2; }
done

source "$here/lib/common.sh"
set +u
source "$here/../tests/linux/e2e/lib/session.sh"
set -u
bench_day_pictures

wm=()
command -v openbox >/dev/null 2>&1 && wm=(--wm openbox)
session_start "${wm[@]}" || { echo "the X session did not start" >&2; exit 1; }
trap finish EXIT
mapfile -t days < <(day_profile_lines "$pictures")
profile "${days[@]}" # "ShowSplsh" = "False": the logo off

LUMORA_DESKTOP=x11 QT_QPA_PLATFORM=xcb session_spawn lumora "$bin"
pid=$SPAWNED
wait_until 20 icon_embedded || { echo "the icon did not appear in the tray" >&2; cat "$SESSION_DIR/lumora.log" >&2; exit 1; }
sleep "$settle"
# The pointer away from the tray and from where the window will be.
xdotool mousemove 0 0

samples() { [ -z "$prefix" ] || echo "--samples $prefix.$1"; }
[ -z "$prefix" ] || rm -f "$prefix.hidden" "$prefix.shown"
# shellcheck disable=SC2046
"$here/run_idle_bench.sh" --header -p "$pid" -s "$seconds" -i "${interval:-60}" \
    -n "lumora, settings window hidden" $(samples hidden)

if [ "$shown_seconds" != 0 ]; then
    read -r x y _ < <(geometry "$(tray_icon)")
    xdotool mousemove $((x + 8)) $((y + 8)) click --repeat 2 --delay 80 1
    settings() { xdotool search --onlyvisible --name '^Lumora - v' 2>/dev/null | head -n1; }
    settings_open() { [ -n "$(settings)" ]; }
    wait_until 10 settings_open || { echo "the settings window did not open" >&2; exit 1; }
    xdotool mousemove 0 0
    sleep 3
    # shellcheck disable=SC2046
    "$here/run_idle_bench.sh" -p "$pid" -s "$shown_seconds" -i "${interval:-10}" \
        -n "lumora, settings window shown" $(samples shown)
fi
alive "$pid" || { echo "lumora ended during the run" >&2; exit 1; }
