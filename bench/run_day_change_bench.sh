#!/usr/bin/env bash
# The change of day on the X11 root-window backend: with yesterday's 3840x2160 JPEG (quality 90)
# stretched on a 1920x1080 Xvfb root, the time the midnight call takes to put today's (another
# 3840x2160 JPEG) on the root, measured in the running program's process
# (lumora_bench_day_change): once with today's picture prepared ahead, as the day watch has it
# prepared in the hour before midnight, and once decoded at midnight. Prints markdown table rows.
#
#   bench/run_day_change_bench.sh [BUILD_DIR] [ROUNDS]
#
# BUILD_DIR defaults to ./build (it must hold bench/day_change/lumora_bench_day_change; configure
# it with -DCMAKE_BUILD_TYPE=Release); ROUNDS to 15.
set -u

build=${1:-build}
rounds=${2:-15}
bench=$build/bench/day_change/lumora_bench_day_change
[ -x "$bench" ] || { echo "no $bench: build the lumora_bench_day_change target first" >&2; exit 2; }
source "$(dirname "$0")/lib/common.sh"
bench_on_xvfb day +extension RANDR

convert -seed 4242 -size 3840x2160 plasma:fractal -quality 90 "$work/yesterday.jpg" &&
    convert -seed 2424 -size 3840x2160 plasma:fractal -quality 90 "$work/today.jpg" ||
    { echo "convert could not make the test pictures" >&2; exit 1; }

# The prepared pictures go to a private cache folder.
export XDG_CACHE_HOME=$work/cache
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
echo "Day change: 3840x2160 JPEG q90 after another, stretched on a 1920x1080x24 Xvfb root; $rounds rounds"
echo
echo "| measure | program | median ms | min ms | max ms | ratio | reference | peak MiB | target | met |"
echo "|---|---|---|---|---|---|---|---|---|---|"
# MEASURE [--not-prepared]
measure() {
    /usr/bin/time -f '%M' -o "$work/rss" "$bench" "$work/yesterday.jpg" "$work/today.jpg" "$rounds" \
        ${2:+"$2"} >"$work/times" || { echo "lumora_bench_day_change failed" >&2; exit 1; }
    local med min max mib met ratio
    med=$(median <"$work/times")
    min=$(sort -n "$work/times" | head -n1)
    max=$(sort -n "$work/times" | tail -n1)
    mib=$(awk '{ printf "%.1f", $1 / 1024 }' "$work/rss")
    met=$(awk -v m="$med" 'BEGIN { print (m <= 50) ? "yes" : "no" }')
    ratio=$(awk -v m="$med" 'BEGIN { printf "%.2f", m / 50 }')
    printf '| %s | lumora | %s | %s | %s | %s | 50 ms | %s | ≤ 50 ms | %s |\n' "$1" "$med" "$min" \
        "$max" "$ratio" "$mib" "$met"
}
measure "day change (prepared in the hour before)"
measure "day change (not prepared: decoded at midnight)" --not-prepared
