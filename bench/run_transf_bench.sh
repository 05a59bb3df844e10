#!/usr/bin/env bash
# The day copy of a chosen picture (`Transf`) against `cp`: a 50 MiB file of random bytes copied
# into the picture folder ($XDG_DATA_HOME/lumora, on the same file system as the source) by
# lumora_bench_transf (the real engine with the program's Qt event pump and fsync, in a running
# offscreen QApplication), and by `cp SOURCE DEST && sync DEST` (sync with a file fsyncs it, as
# Transf does with its copy). Alternating rounds: lumora, cp, lumora with a zero-interval timer
# noting every turn of the event loop (the longest gap between two turns during the copy). The
# page cache is never dropped: the source stays cached for both; before each round the old copies
# are removed and the file system synced, untimed. Prints markdown table rows, then a second
# table of where Transf's time goes (the same copy without the event pump, without the fsync).
#
#   bench/run_transf_bench.sh [BUILD_DIR] [ROUNDS]
#
# BUILD_DIR defaults to ./build (it must hold bench/transf/lumora_bench_transf; configure it with
# -DCMAKE_BUILD_TYPE=Release); ROUNDS to 11, at least 1. Times are wall milliseconds: Transf's
# from its call to its return, in the process; cp's from before `cp` starts until `sync` has
# ended (two process starts included). Peak memory is the resident peak (VmHWM) of
# lumora_bench_transf at the end of the copy, and /usr/bin/time's of `cp` in an untimed run.
set -u
export LC_NUMERIC=C

build=${1:-build}
rounds=${2:-11}
bench=$build/bench/transf/lumora_bench_transf
[ -x "$bench" ] || { echo "no $bench: build the lumora_bench_transf target first" >&2; exit 2; }
for c in /usr/bin/time cp sync; do
    command -v "$c" >/dev/null 2>&1 || { echo "$c is not installed" >&2; exit 2; }
done
source "$(dirname "$0")/lib/common.sh"

work=$(mktemp -d /tmp/lumora-transf.XXXXXX)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share \
    XDG_CACHE_HOME=$work/home/.cache XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_CONFIG_HOME/lumora" "$XDG_DATA_HOME/lumora" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
folder=$XDG_DATA_HOME/lumora
source_file=$work/source.bin
size=$((50 * 1024 * 1024))
head -c "$size" /dev/urandom >"$source_file" || { echo "could not write $source_file" >&2; exit 1; }

fresh() { # removes the copies of the round before and writes back what is pending, untimed
    rm -f "$folder/Monday.bin" "$folder/cp.bin"
    sync -f "$work"
}
lumora() { # RESULT-FILE [options]: "ms gap turns peak-kib where" appended
    local out=$1
    shift
    fresh
    "$bench" "$source_file" "$@" >>"$out" 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
    cmp -s "$source_file" "$folder/Monday.bin" || { echo "the day copy differs from its source" >&2; exit 1; }
}
reference() {
    local start end
    fresh
    start=$(date +%s%N)
    cp "$source_file" "$folder/cp.bin" && sync "$folder/cp.bin" || exit 1
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.1f\n", ns / 1e6 }' >>"$work/cp"
}

# Warm-up, untimed: the source in the page cache, the programs' libraries too; cp's peak.
fresh
/usr/bin/time -f %M -o "$work/cp.rss" cp "$source_file" "$folder/cp.bin" || exit 1
"$bench" "$source_file" >/dev/null 2>&1
: >"$work/plain"
: >"$work/watched"
: >"$work/cp"
for ((r = 0; r < rounds; r++)); do
    lumora "$work/plain" --no-watch
    reference
    lumora "$work/watched"
done
# Where the time goes: the same copy with parts of it left out (never how the program runs).
: >"$work/no-pump"
: >"$work/no-sync"
: >"$work/neither"
for ((r = 0; r < rounds; r++)); do
    lumora "$work/no-pump" --no-pump --no-watch
    lumora "$work/no-sync" --no-sync --no-watch
    lumora "$work/neither" --no-pump --no-sync --no-watch
done

column() { cut -d' ' -f"$2" "$1"; }
stats() { # FILE COLUMN [DECIMALS] -> "median min max"
    local v d=${3:-1}
    v=$(column "$1" "$2")
    printf '%.*f %.*f %.*f\n' "$d" "$(stat_median <<<"$v")" "$d" "$(stat_min <<<"$v")" "$d" "$(stat_max <<<"$v")"
}
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

read -r cp_med cp_min cp_max < <(stats "$work/cp" 1)
read -r lu_med lu_min lu_max < <(stats "$work/plain" 1)
read -r gap_med gap_min gap_max < <(stats "$work/watched" 2 2)
turns=$(column "$work/watched" 3 | stat_median | awk '{ printf "%.0f", $1 }')
lu_peak=$(mib "$(column "$work/plain" 4 | stat_max)")
wa_peak=$(mib "$(column "$work/watched" 4 | stat_max)")
cp_peak=$(mib "$(cat "$work/cp.rss")")
ratio=$(awk -v a="$lu_med" -v b="$cp_med" 'BEGIN { printf "%.2f", a / b }')
speed=$(awk -v a="$lu_med" -v b="$cp_med" 'BEGIN { printf "%.2f", b / a }')
met=$(awk -v r="$ratio" 'BEGIN { print (r <= 2) ? "yes" : "no" }')
gap_met=$(awk -v g="$gap_max" 'BEGIN { print (g <= 50) ? "yes" : "no" }')

echo "Transf of a 50 MiB file of random bytes into the picture folder on $(df --output=fstype "$work" | tail -n1)" \
    "($(df --output=source "$work" | tail -n1)) against cp then sync of the copy; $rounds rounds, alternating"
echo
echo "| measure | program | median ms | min ms | max ms | ratio | reference | peak MiB | target | met |"
echo "|---|---|---|---|---|---|---|---|---|---|"
printf '| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n' \
    "Transf of a 50 MiB file (speed $speed × cp's)" lumora "$lu_med" "$lu_min" "$lu_max" "$ratio" \
    "cp + sync" "$lu_peak" "time ≤ 2 × cp's (speed ≥ 0.5 × cp's)" "$met" \
    "Transf of a 50 MiB file" "cp + sync" "$cp_med" "$cp_min" "$cp_max" "1.00" "cp + sync" \
    "$cp_peak" "" "-" \
    "Transf: longest gap between two event-loop turns ($turns turns)" lumora "$gap_med" "$gap_min" \
    "$gap_max" "-" "-" "$wa_peak" "≤ 50 ms in every round (max)" "$gap_met"
echo
echo "Where Transf's time goes: the same copy with parts left out, $rounds rounds each (none of these is how the program runs)"
echo
echo "| copy | median ms | min ms | max ms | ratio to cp + sync |"
echo "|---|---|---|---|---|"
for f in "plain|as the program runs (1 KiB blocks, Qt event pump after each, fsync)" \
    "watched|as the program runs, with the turn-noting timer" \
    "no-sync|without the fsync" "no-pump|without the event pump" \
    "neither|without the event pump and the fsync (the 1 KiB reads and writes alone)"; do
    read -r med min max < <(stats "$work/${f%%|*}" 1)
    printf '| %s | %s | %s | %s | %s |\n' "${f#*|}" "$med" "$min" "$max" \
        "$(awk -v a="$med" -v b="$cp_med" 'BEGIN { printf "%.2f", a / b }')"
done
echo
where() { column "$work/watched" 5 | grep -c "^$1\$"; }
echo "The longest gap between two turns came before the first turn in $(where first), between two" \
    "turns in $(where between) and after the last turn (the last block's write, the fsync, the" \
    "rename and the settings file's write) in $(where last) of the $rounds rounds."
