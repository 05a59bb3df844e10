#!/usr/bin/env bash
# Sets a 3840x2160 JPEG (quality 90) on a 1920x1080 root window with Lumora's X11 root-window
# backend (lumora_bench_set, stretch), `xwallpaper --stretch` and `feh --bg-scale`, alternating
# in one run on one private Xvfb, and prints the median wall time and peak memory of each.
#
#   bench/run_x11_bench.sh [BUILD_DIR] [ROUNDS]
#
# BUILD_DIR defaults to ./build (it must hold bench/x11_set/lumora_bench_set; configure it with
# -DCMAKE_BUILD_TYPE=Release for numbers worth reading); ROUNDS to 15. Wall times move with the
# load of the machine; the CPU column (user + system, 10 ms steps) much less.
# Needs Xvfb, ImageMagick's convert, /usr/bin/time (package time), xwallpaper and feh; a setter
# that is not installed is left out of the table.
set -u

build=${1:-build}
rounds=${2:-15}
lumora_set=$build/bench/x11_set/lumora_bench_set
[ -x "$lumora_set" ] || { echo "no $lumora_set: build the lumora_bench_set target first" >&2; exit 2; }
source "$(dirname "$0")/lib/common.sh"
bench_on_xvfb bench

# A picture that does not compress to nothing: a plasma fractal from a fixed seed.
picture=$work/bench-3840x2160.jpg
convert -seed 4242 -size 3840x2160 plasma:fractal -quality 90 "$picture" ||
    { echo "convert could not make the test picture" >&2; exit 1; }

# Lumora keeps a picture it has drawn prepared for the screen (in $XDG_CACHE_HOME/lumora):
# "lumora" decodes the picture and keeps nothing, "lumora-prepared" reads back what an earlier
# round kept.
export XDG_CACHE_HOME=$work/cache
names=(lumora lumora-prepared)
commands=("$lumora_set|$picture|2|--not-prepared" "$lumora_set|$picture|2")
if command -v xwallpaper >/dev/null 2>&1; then
    names+=(xwallpaper)
    commands+=("xwallpaper|--stretch|$picture")
fi
if command -v feh >/dev/null 2>&1; then
    names+=(feh)
    commands+=("feh|--bg-scale|--no-fehbg|$picture")
fi

# run_one INDEX: runs one setter once and appends "wall-ms kibibytes cpu-ms" to its result file.
run_one() {
    local i=$1
    local -a argv
    IFS='|' read -r -a argv <<<"${commands[$i]}"
    local start=$EPOCHREALTIME
    /usr/bin/time -f '%M %U %S' -o "$work/rss" "${argv[@]}" >/dev/null 2>"$work/err"
    local rc=$?
    local end=$EPOCHREALTIME
    if [ $rc -ne 0 ]; then
        echo "${names[$i]} failed (exit $rc):" >&2
        cat "$work/err" >&2
        exit 1
    fi
    local ms
    ms=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", (b - a) * 1000 }')
    tail -n1 "$work/rss" | awk -v ms="$ms" '{ printf "%s %s %.0f\n", ms, $1, ($2 + $3) * 1000 }' \
        >>"$work/result.$i"
}

# One round untimed so every program and the picture are in the page cache.
for i in "${!names[@]}"; do
    run_one "$i"
    : >"$work/result.$i"
done
# Alternate, starting each round with the next setter, so none always runs first.
n=${#names[@]}
for ((r = 0; r < rounds; r++)); do
    for ((k = 0; k < n; k++)); do
        run_one $(((r + k) % n))
    done
done

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

base_ms=""
for i in "${!names[@]}"; do
    if [ "${names[$i]}" = xwallpaper ]; then
        base_ms=$(cut -d' ' -f1 "$work/result.$i" | median)
    fi
done

echo "3840x2160 JPEG q90 stretched on a 1920x1080x24 Xvfb root; $rounds rounds, alternating"
printf '%-16s %10s %8s %8s %14s %16s %14s\n' setter "median ms" "min ms" "max ms" "vs xwallpaper" \
    "median CPU ms" "median peak MiB"
for i in "${!names[@]}"; do
    f=$work/result.$i
    med=$(cut -d' ' -f1 "$f" | median)
    min=$(cut -d' ' -f1 "$f" | sort -n | head -n1)
    max=$(cut -d' ' -f1 "$f" | sort -n | tail -n1)
    rss=$(cut -d' ' -f2 "$f" | median)
    cpu=$(cut -d' ' -f3 "$f" | median)
    mib=$(awk -v k="$rss" 'BEGIN { printf "%.1f", k / 1024 }')
    ratio="-"
    [ -n "$base_ms" ] && ratio=$(awk -v a="$med" -v b="$base_ms" 'BEGIN { printf "%.2f", a / b }')
    printf '%-16s %10s %8s %8s %14s %16s %14s\n' "${names[$i]}" "$med" "$min" "$max" "$ratio" "$cpu" "$mib"
done
