#!/usr/bin/env bash
# What a program costs while it waits: starts COMMAND, lets it settle, then over SECONDS counts
# the context switches of all its threads (/proc/PID/task/*/status) and its CPU time
# (/proc/PID/stat utime + stime), and prints one markdown table row.
#
#   bench/run_idle_bench.sh [-s SECONDS] [-w SETTLE_SECONDS] [-n NAME] [-- COMMAND [ARG ...]]
#
# SECONDS defaults to 60, SETTLE_SECONDS to 3. Without a COMMAND it runs
# ${BUILD_DIR:-build}/bench/idle_watch/lumora_idle_watch watching seven day files in a temporary
# folder. Threads that end during the run take their counts with them; the threads column says
# how many there were at the start and at the end. CPU time comes in steps of 1/CLK_TCK (10 ms).
# Pass --header to print the table header first.
set -u

seconds=60
settle=3
name=""
header=0
while [ $# -gt 0 ]; do
    case $1 in
    -s) seconds=$2; shift 2 ;;
    -w) settle=$2; shift 2 ;;
    -n) name=$2; shift 2 ;;
    --header) header=1; shift ;;
    --) shift; break ;;
    *) echo "usage: $0 [-s SECONDS] [-w SETTLE_SECONDS] [-n NAME] [--header] [-- COMMAND ...]" >&2; exit 2 ;;
    esac
done

work=$(mktemp -d /tmp/lumora-idle.XXXXXX)
pid=""
cleanup() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

if [ $# -eq 0 ]; then
    bin=${BUILD_DIR:-build}/bench/idle_watch/lumora_idle_watch
    [ -x "$bin" ] || { echo "no $bin: build the lumora_idle_watch target first" >&2; exit 2; }
    files=()
    for day in Sunday Monday Tuesday Wednesday Thursday Friday Saturday; do
        printf 'picture' >"$work/$day.jpg"
        files+=("$work/$day.jpg")
    done
    set -- "$bin" --folder "$work" "${files[@]}"
    [ -n "$name" ] || name="lumora_idle_watch (7 day files)"
fi
[ -n "$name" ] || name=$(basename "$1")

QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$@" >"$work/out" 2>"$work/err" &
pid=$!
sleep "$settle"
kill -0 "$pid" 2>/dev/null || { echo "$1 ended early:" >&2; cat "$work/err" >&2; pid=""; exit 1; }

# sample: "voluntary involuntary threads cpu_ticks" of the process now.
sample() {
    local v=0 n=0 t=0 f
    for f in /proc/"$pid"/task/*/status; do
        local vol inv
        vol=$(awk '/^voluntary_ctxt_switches/ { print $2 }' "$f" 2>/dev/null) || continue
        inv=$(awk '/^nonvoluntary_ctxt_switches/ { print $2 }' "$f" 2>/dev/null) || continue
        [ -n "$vol" ] || continue
        v=$((v + vol)); n=$((n + inv)); t=$((t + 1))
    done
    # Fields 14 and 15 of stat (after the name in parentheses, which may hold spaces).
    local cpu
    cpu=$(sed 's/^.*) //' /proc/"$pid"/stat | awk '{ print $12 + $13 }')
    echo "$v $n $t $cpu"
}

read -r v0 n0 t0 c0 < <(sample)
start=$EPOCHREALTIME
sleep "$seconds"
kill -0 "$pid" 2>/dev/null || { echo "$1 ended during the run" >&2; pid=""; exit 1; }
read -r v1 n1 t1 c1 < <(sample)
end=$EPOCHREALTIME

hz=$(getconf CLK_TCK)
if [ $header -eq 1 ]; then
    echo "| program | seconds | threads | voluntary switches/s | involuntary switches/s | CPU ms |"
    echo "|---|---:|---:|---:|---:|---:|"
fi
awk -v name="$name" -v a="$start" -v b="$end" -v v="$((v1 - v0))" -v n="$((n1 - n0))" \
    -v t0="$t0" -v t1="$t1" -v c="$((c1 - c0))" -v hz="$hz" 'BEGIN {
    s = b - a
    threads = (t0 == t1) ? t0 : t0 " -> " t1
    printf "| %s | %.1f | %s | %.3f | %.3f | %d |\n", name, s, threads, v / s, n / s, c * 1000 / hz
}'
