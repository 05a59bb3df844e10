#!/usr/bin/env bash
# The settings window's first open with seven 6000x4000 JPEG day pictures (quality 90, gradient
# under noise): the whole program (lumora_bench_settings_window, built as main.cpp builds it, with
# LUMORA_DESKTOP=none) in a private X session from tests/linux/e2e/lib/session.sh, a fresh process each
# round. Prints the open time and the memory (PSS) above the idle program, at its peak and once
# the window is closed again, as median, min and max over the rounds.
#
#   bench/run_settings_window_bench.sh [-b BUILD_DIR] [-r ROUNDS] [-p PICTURE_DIR] [-o RAW_FILE]
#                                      [--decode] [--cold]
#
# BUILD_DIR defaults to ./build (it needs bench/settings_window/lumora_bench_settings_window and
# tests/linux/e2e/xprobe; configure it with -DCMAKE_BUILD_TYPE=Release); ROUNDS to 9. PICTURE_DIR keeps
# the seven pictures between runs (made there when missing); by default they are made in a
# temporary folder and removed. RAW_FILE receives each round's line as the program printed it.
# --decode adds one more round that lists the mappings whose PSS grew from idle to closed, the
# time of each picture's thumbnail decode on its own, and of all seven on one thread and on two
# (where the open's time and memory go). The thumbnails are kept on disk between openings: without
# --cold every measured round finds them kept (the usual opening); --cold removes them first.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=build
rounds=9
pictures=""
raw=""
decode=0
cold=0
while [ $# -gt 0 ]; do
    case $1 in
    -b) build=$2; shift 2 ;;
    -r) rounds=$2; shift 2 ;;
    -p) pictures=$2; shift 2 ;;
    -o) raw=$2; shift 2 ;;
    --decode) decode=1; shift ;;
    --cold) cold=1; shift ;;
    *) echo "usage: $0 [-b BUILD_DIR] [-r ROUNDS] [-p PICTURE_DIR] [-o RAW_FILE] [--decode] [--cold]" >&2; exit 2 ;;
    esac
done
build=$(cd "$build" && pwd)
driver=$build/bench/settings_window/lumora_bench_settings_window
[ -x "$driver" ] || { echo "no $driver: build the lumora_bench_settings_window target first" >&2; exit 2; }
export XPROBE=${XPROBE:-$build/tests/linux/e2e/xprobe}
[ -x "$XPROBE" ] || { echo "no $XPROBE: build the xprobe target first" >&2; exit 2; }
command -v convert >/dev/null 2>&1 || { echo "ImageMagick's convert is not installed" >&2; exit 2; }

source "$here/lib/common.sh"
set +u
source "$here/../tests/linux/e2e/lib/session.sh"
set -u
bench_day_pictures

session_start || { echo "the X session did not start" >&2; exit 1; }
trap finish EXIT
# Logo off; no alerts, so that no balloon window of the start-up stays in the idle figure.
mapfile -t days < <(day_profile_lines "$pictures")
profile '"DispMess" = "False"' "${days[@]}"

out=$(mktemp /tmp/lumora-bench-sw.XXXXXX)
run_round() {
    # --cold: no thumbnail kept from an earlier opening (the first opening after a choice).
    [ "$cold" = 0 ] || rm -rf "$XDG_CACHE_HOME/lumora/thumbnails"
    LUMORA_DESKTOP=none QT_QPA_PLATFORM=xcb "$driver" "$@" 2>>"$SESSION_DIR/driver.err"
}
# One round unmeasured, so that the pictures and the libraries are in the page cache.
run_round >/dev/null
: >"$out"
for ((r = 1; r <= rounds; r++)); do
    line=$(run_round)
    echo "round $r: $line" >&2
    case $line in
    *pictures=7*) ;;
    *) echo "round $r did not show the seven pictures: $line" >&2; cat "$SESSION_DIR/driver.err" >&2; exit 1 ;;
    esac
    echo "$line" >>"$out"
done
[ -z "$raw" ] || cp "$out" "$raw"

# field NAME: that value of every round, one a line.
field() { sed -n "s/.* \{0,1\}$1=\([-0-9.]*\).*/\1/p" "$out"; }
# above NAME: that memory figure above the round's idle PSS, in MiB.
above() { awk -v k="$1" '{ for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] }
    printf "%.2f\n", (v[k] - v["idle_kib"]) / 1024 }' "$out"; }
row() { # NAME UNIT then the values on standard input
    local values
    values=$(cat)
    printf '| %s | %s | %s | %s | %s |\n' "$1" "$(stat_median <<<"$values")" \
        "$(stat_min <<<"$values")" "$(stat_max <<<"$values")" "$2"
}
rm -f "$out.idle"
echo "Settings window, first open with seven 6000x4000 JPEG q90 thumbnails; $rounds rounds, a fresh process each"
echo
echo "| measure | median | min | max | unit |"
echo "|---|---:|---:|---:|---|"
field open_ms | row "open until shown (event loop back)" ms
field paint_ms | row "open until first paint" ms
awk '{ for (i = 1; i <= NF; i++) { split($i, kv, "="); if (kv[1] == "idle_kib") printf "%.2f\n", kv[2] / 1024 } }' "$out" |
    row "idle PSS before the open" MiB
above peak_kib | row "peak PSS above idle while opening" MiB
above closed_kib | row "PSS above idle once closed" MiB
above closed_again_kib | row "PSS above idle after a second open and close" MiB
above trimmed_kib | row "the same after malloc_trim(0)" MiB

if [ $decode -eq 1 ]; then
    diag=$(run_round --smaps --time-decode "$pictures"/day{1..7}.jpg)
    echo
    echo "Where the memory left after the close is (mappings whose PSS grew by 64 KiB or more, KiB):"
    echo
    sed -n 's/^grown_kib=\([-0-9]*\) \(.*\)/    \1  \2/p' <<<"$diag"
    echo
    echo "Thumbnail decode of each picture on its own (FrmMain::loadThumbnail, one round, ms):"
    echo
    sed -n 's/^decode_ms=\([0-9.]*\) size=[0-9x]* \(.*\)/    \1  \2/p' <<<"$diag"
    echo
    echo "All seven decoded one after another, and on two threads (QImageReader, same settings, ms):"
    echo
    sed -n 's/^decode_all_\(.*\)_ms=\([0-9.]*\).*/    \2  \1/p' <<<"$diag"
fi
rm -f "$out"
