#!/usr/bin/env bash
# The Windows settings window's opening under Wine with seven 6000x4000 JPEG day pictures
# (quality 90, gradient under noise, as bench/run_settings_window_bench.sh makes them):
# lumora_bench_windows_settings_window (bench/windows/) opens the window as activation does (the
# seven thumbnails decoded side by side at 160 x 120, rendered, shown and painted), then drops the
# thumbnails and hides it as the close box does; a fresh process each round, in a Wine session of
# the run's own (tools/wine_session.sh). Prints the time until shown and the memory above the idle
# process (RssAnon, the private anonymous pages, and VmRSS; VmHWM for the peak) while shown and
# once closed, as median, min and max over the rounds.
#
#   bench/run_windows_settings_window_bench.sh [-b BUILD_DIR] [-r ROUNDS] [-p PICTURE_DIR] [-o RAW_FILE]
#                                              [--cold]
#
# BUILD_DIR defaults to ./build-win (the program is built there when it is missing, configured as
# tools/test_windows.sh configures it); ROUNDS to 9. PICTURE_DIR keeps the seven pictures between
# runs (made there when missing); by default they are made in a temporary folder and removed.
# The thumbnails are kept on disk between openings: without --cold every measured round finds them
# kept (the usual opening); --cold removes them before each round (the first opening after a
# choice: seven full decodes).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
build=$top/build-win
rounds=9
pictures=""
raw=""
cold=0
while [ $# -gt 0 ]; do
    case $1 in
    -b) build=$2; shift 2 ;;
    -r) rounds=$2; shift 2 ;;
    -p) pictures=$2; shift 2 ;;
    -o) raw=$2; shift 2 ;;
    --cold) cold=1; shift ;;
    *) echo "usage: $0 [-b BUILD_DIR] [-r ROUNDS] [-p PICTURE_DIR] [-o RAW_FILE] [--cold]" >&2; exit 2 ;;
    esac
done
command -v convert >/dev/null 2>&1 || { echo "ImageMagick's convert is not installed" >&2; exit 2; }
driver=$build/bench/windows/lumora_bench_windows_settings_window.exe
if [ ! -x "$driver" ]; then
    cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
        -DLUMORA_CORE_ONLY=OFF -DLUMORA_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" -j"${LUMORA_JOBS:-2}" --target lumora_bench_windows_settings_window
fi

source "$here/lib/common.sh"
source "$top/tools/wine_session.sh"
own_pictures=""
out=""
stop_all() {
    set +e
    wine_session_stop
    [ -z "$own_pictures" ] || rm -rf "$own_pictures"
    [ -z "$out" ] || rm -f "$out"
}
trap stop_all EXIT
if [ -z "$pictures" ]; then
    pictures=$(mktemp -d /tmp/lumora-bench-pictures.XXXXXX)
    own_pictures=$pictures
fi
echo "making the seven 6000x4000 pictures in $pictures ..." >&2
make_day_pictures "$pictures" 6000 4000
pictures=$(cd "$pictures" && pwd)
# Wine's Z: drive is the Unix root.
windows_path() { local p=$1; printf 'Z:%s' "${p//\//\\}"; }
args=()
for i in 1 2 3 4 5 6 7; do
    args+=("$(windows_path "$pictures/day$i.jpg")")
done

wine_session_start
out=$(mktemp /tmp/lumora-bench-wsw.XXXXXX)
# One round first: the prefix's first start of a program maps Wine's own DLLs for good.
"$wine64" "$driver" "${args[@]}" >/dev/null </dev/null
for ((r = 1; r <= rounds; r++)); do
    if [ "$cold" = 1 ]; then
        rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Local/Lumora/thumbnails
    fi
    line=$("$wine64" "$driver" "${args[@]}" </dev/null | tr -d '\r' | grep '^open_ms=')
    echo "$line" >>"$out"
done
[ -z "$raw" ] || cp "$out" "$raw"

field() { sed -n "s/.*\b$1=\([-0-9.]*\).*/\1/p" "$out"; }
# Differences of two fields in KiB, as MiB.
above() { paste <(field "$1") <(field "$2") | awk '{ printf "%.2f\n", ($1 - $2) / 1024 }'; }
row() {
    local label=$1 target=$2
    local values
    values=$(cat)
    printf '| %s | %s | %s | %s | %s |\n' "$label" "$(stat_median <<<"$values")" \
        "$(stat_min <<<"$values")" "$(stat_max <<<"$values")" "$target"
}
kind="thumbnails kept from the opening before"
[ "$cold" = 0 ] || kind="no thumbnail kept (--cold)"
echo "Wine $("$wine64" --version 2>/dev/null || echo '?'); $(cpu_description); $rounds rounds, a fresh process each; $kind"
echo "idle process: RssAnon $(field idle_anon | stat_median) KiB, VmRSS $(field idle_rss | stat_median) KiB (medians)"
echo
echo "| Settings window under Wine, 7 thumbnails of 6000x4000 JPEGs | Median | Min | Max | Target |"
echo "|---|---:|---:|---:|---|"
field open_ms | row "open until shown and painted, ms" "<= 400 ms"
above shown_anon idle_anon | row "shown: RssAnon above idle, MiB" "<= 15 MiB"
above shown_rss idle_rss | row "shown: VmRSS above idle, MiB" "-"
above peak_rss idle_rss | row "peak (VmHWM) above idle VmRSS, MiB" "-"
above closed_anon idle_anon | row "closed: RssAnon above idle, MiB" "<= 2 MiB"
above closed_rss idle_rss | row "closed: VmRSS above idle, MiB" "-"
field again_ms | row "second opening of the process: until shown, ms" "<= 400 ms"
above shown2_anon closed_anon | row "second opening: RssAnon above the first close, MiB" "<= 15 MiB"
above closed2_anon closed_anon | row "second close: RssAnon above the first close, MiB" "<= 2 MiB"
above closed2_rss closed_rss | row "second close: VmRSS above the first close, MiB" "-"
