#!/usr/bin/env bash
# What a program costs while it waits: starts COMMAND (or watches the running process PID), lets
# it settle, then over SECONDS counts the context switches of all its threads
# (/proc/PID/task/*/status), its CPU time (/proc/PID/stat utime + stime) and its proportional
# memory (the Pss line of /proc/PID/smaps_rollup), and prints one markdown table row.
#
#   bench/run_idle_bench.sh [-s SECONDS] [-w SETTLE_SECONDS] [-i INTERVAL] [-n NAME]
#                           [--samples FILE] [--header] [-p PID | -- COMMAND [ARG ...]]
#
# SECONDS defaults to 60, SETTLE_SECONDS to 3 (0 with -p). Without a COMMAND or PID it runs
# ${BUILD_DIR:-build}/bench/idle_watch/lumora_idle_watch watching seven day files in a temporary
# folder. A started COMMAND is stopped at the end; a watched PID is left running.
# Voluntary switches are the wake-ups: each is a thread going to sleep to wait for something.
# Threads that end during the run take their counts with them; the threads column says how many
# there were at the start and at the end. CPU time comes in steps of 1/CLK_TCK (10 ms).
# With -i the run is cut into INTERVAL-second pieces and FILE (--samples) receives one line per
# piece: "seconds voluntary/s involuntary/s cpu-ms-per-minute pss-kib" (PSS at its end).
# Pass --header to print the table header first.
set -euo pipefail

seconds=60
settle=""
interval=""
name=""
header=0
samples=""
watch_pid=""
while [ $# -gt 0 ]; do
    case $1 in
    -s) seconds=$2; shift 2 ;;
    -w) settle=$2; shift 2 ;;
    -i) interval=$2; shift 2 ;;
    -n) name=$2; shift 2 ;;
    -p) watch_pid=$2; shift 2 ;;
    --samples) samples=$2; shift 2 ;;
    --header) header=1; shift ;;
    --) shift; break ;;
    *) echo "usage: $0 [-s SECONDS] [-w SETTLE_SECONDS] [-i INTERVAL] [-n NAME] [--samples FILE] [--header] [-p PID | -- COMMAND ...]" >&2; exit 2 ;;
    esac
done
[ -n "$interval" ] || interval=$seconds

work=$(mktemp -d /tmp/lumora-idle.XXXXXX)
pid=""
started=0
cleanup() {
    if [ $started -eq 1 ] && [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

if [ -n "$watch_pid" ]; then
    pid=$watch_pid
    [ -n "$settle" ] || settle=0
    [ -n "$name" ] || name=$(cat "/proc/$pid/comm" 2>/dev/null || echo "pid $pid")
else
    [ -n "$settle" ] || settle=3
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
    started=1
fi
sleep "$settle"
kill -0 "$pid" 2>/dev/null || { echo "$name ended early:" >&2; cat "$work/err" 2>/dev/null >&2; pid=""; exit 1; }

# sample: "voluntary involuntary threads cpu_ticks pss_kib" of the process now.
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
    local cpu pss
    cpu=$(sed 's/^.*) //' /proc/"$pid"/stat | awk '{ print $12 + $13 }') || cpu=0
    pss=$(awk '/^Pss:/ { print $2; exit }' /proc/"$pid"/smaps_rollup) || pss=0
    echo "$v $n $t $cpu $pss"
}

hz=$(getconf CLK_TCK)
read -r v0 n0 t0 c0 p0 < <(sample)
start=$EPOCHREALTIME
vi=$v0 ni=$n0 ci=$c0 si=$start
left=$seconds
while [ "$(awk -v l="$left" 'BEGIN { print (l > 0) }')" = 1 ]; do
    step=$(awk -v l="$left" -v i="$interval" 'BEGIN { print (l < i) ? l : i }')
    # Sleep until the piece's planned end, so that the pieces do not drift.
    now=$EPOCHREALTIME
    planned=$(awk -v s="$start" -v total="$seconds" -v l="$left" -v st="$step" -v now="$now" \
        'BEGIN { d = s + (total - l) + st - now; printf "%.3f", d > 0 ? d : 0 }')
    sleep "$planned"
    kill -0 "$pid" 2>/dev/null || { echo "$name ended during the run" >&2; pid=""; exit 1; }
    read -r v1 n1 t1 c1 p1 < <(sample)
    e=$EPOCHREALTIME
    if [ -n "$samples" ]; then
        awk -v a="$si" -v b="$e" -v v="$((v1 - vi))" -v n="$((n1 - ni))" -v c="$((c1 - ci))" \
            -v hz="$hz" -v p="$p1" 'BEGIN { s = b - a
            printf "%.1f %.3f %.3f %.1f %d\n", s, v / s, n / s, c * 1000 / hz * 60 / s, p }' >>"$samples"
    fi
    vi=$v1 ni=$n1 ci=$c1 si=$e
    left=$(awk -v l="$left" -v st="$step" 'BEGIN { print l - st }')
done
end=$EPOCHREALTIME

if [ $header -eq 1 ]; then
    echo "| program | seconds | threads | voluntary switches/s | involuntary switches/s | CPU ms | CPU ms/min | PSS MiB |"
    echo "|---|---:|---:|---:|---:|---:|---:|---:|"
fi
awk -v name="$name" -v a="$start" -v b="$end" -v v="$((v1 - v0))" -v n="$((n1 - n0))" \
    -v t0="$t0" -v t1="$t1" -v c="$((c1 - c0))" -v hz="$hz" -v p="$p1" 'BEGIN {
    s = b - a
    threads = (t0 == t1) ? t0 : t0 " -> " t1
    ms = c * 1000 / hz
    printf "| %s | %.1f | %s | %.3f | %.3f | %d | %.1f | %.1f |\n", name, s, threads, v / s, n / s, ms, ms * 60 / s, p / 1024
}'
