#!/usr/bin/env bash
# What a program costs while it waits: starts COMMAND (or watches the running process PID), lets
# it settle, then over SECONDS counts the context switches of all its threads
# (/proc/PID/task/*/status), its CPU time (/proc/PID/stat utime + stime) and its proportional
# memory (PSS, and USS: its private pages, from /proc/PID/smaps_rollup), and prints one markdown
# table row.
#
#   bench/run_idle_bench.sh [-s SECONDS] [-w SETTLE_SECONDS] [-i INTERVAL] [-n NAME]
#                           [--samples FILE] [--header] [-p PID | -- COMMAND [ARG ...]]
#
# SECONDS defaults to 60, SETTLE_SECONDS to 3 (0 with -p). Without a COMMAND or PID it runs
# ${BUILD_DIR:-build}/bench/idle_watch/lumora_idle_watch watching seven day files in a temporary
# folder. A started COMMAND is stopped at the end; a watched PID is left running.
# Voluntary switches are the wake-ups: each is a thread going to sleep to wait for something.
# Switches are counted per thread: a thread that ends during the run takes its count with it (the
# figure is then a lower bound); the threads column says how many there were at the start and at
# the end. CPU time (ended threads included) comes in steps of 1/CLK_TCK (10 ms).
# With -i the run is cut into INTERVAL-second pieces and FILE (--samples) receives one line per
# piece: "seconds voluntary/s involuntary/s cpu-ms-per-minute pss-kib uss-kib" (memory at its end).
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

# sample FILE: writes "tid voluntary involuntary" for each thread of the process to FILE and
# prints "threads cpu_ticks pss_kib uss_kib" of the process now.
sample() {
    local t=0 f
    : >"$1"
    for f in /proc/"$pid"/task/*/status; do
        local line
        line=$(awk '/^Pid:/ { t = $2 } /^voluntary_ctxt_switches/ { v = $2 }
            /^nonvoluntary_ctxt_switches/ { n = $2 } END { if (v != "") print t, v, n }' "$f" 2>/dev/null) ||
            continue
        [ -n "$line" ] || continue
        echo "$line" >>"$1"
        t=$((t + 1))
    done
    # Fields 14 and 15 of stat (after the name in parentheses, which may hold spaces); they
    # include the threads that have ended.
    local cpu mem
    cpu=$(sed 's/^.*) //' /proc/"$pid"/stat | awk '{ print $12 + $13 }') || cpu=0
    mem=$(awk '/^Pss:/ { p = $2 } /^Private_(Clean|Dirty):/ { u += $2 } END { print p + 0, u + 0 }' \
        /proc/"$pid"/smaps_rollup) || mem="0 0"
    echo "$t $cpu $mem"
}
# switches BEFORE AFTER: "voluntary involuntary" switches between two thread lists: a thread in
# both counts its difference, a thread that started in between counts all of its own, and one
# that ended in between is lost (so the figures are lower bounds when threads end).
switches() {
    awk 'NR == FNR { v[$1] = $2; n[$1] = $3; next }
        { dv += $2 - v[$1]; dn += $3 - n[$1] } END { print dv + 0, dn + 0 }' "$1" "$2"
}

hz=$(getconf CLK_TCK)
read -r t0 c0 p0 u0 < <(sample "$work/threads.0")
start=$EPOCHREALTIME
cp "$work/threads.0" "$work/threads.piece"
ci=$c0 si=$start
left=$seconds
while [ "$(awk -v l="$left" 'BEGIN { print (l > 0) }')" = 1 ]; do
    step=$(awk -v l="$left" -v i="$interval" 'BEGIN { print (l < i) ? l : i }')
    # Sleep until the piece's planned end, so that the pieces do not drift.
    now=$EPOCHREALTIME
    planned=$(awk -v s="$start" -v total="$seconds" -v l="$left" -v st="$step" -v now="$now" \
        'BEGIN { d = s + (total - l) + st - now; printf "%.3f", (d > 0) ? d : 0 }')
    sleep "$planned"
    kill -0 "$pid" 2>/dev/null || { echo "$name ended during the run" >&2; pid=""; exit 1; }
    read -r t1 c1 p1 u1 < <(sample "$work/threads.now")
    e=$EPOCHREALTIME
    if [ -n "$samples" ]; then
        read -r v n < <(switches "$work/threads.piece" "$work/threads.now")
        awk -v a="$si" -v b="$e" -v v="$v" -v n="$n" -v c="$((c1 - ci))" -v hz="$hz" -v p="$p1" \
            -v u="$u1" 'BEGIN { s = b - a
            printf "%.1f %.3f %.3f %.1f %d %d\n", s, v / s, n / s, c * 1000 / hz * 60 / s, p, u }' >>"$samples"
    fi
    cp "$work/threads.now" "$work/threads.piece"
    ci=$c1 si=$e
    left=$(awk -v l="$left" -v st="$step" 'BEGIN { print l - st }')
done
end=$EPOCHREALTIME
read -r v n < <(switches "$work/threads.0" "$work/threads.now")

if [ $header -eq 1 ]; then
    echo "| program | seconds | threads | voluntary switches/s | involuntary switches/s | CPU ms | CPU ms/min | PSS MiB | USS MiB |"
    echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|"
fi
awk -v name="$name" -v a="$start" -v b="$end" -v v="$v" -v n="$n" \
    -v t0="$t0" -v t1="$t1" -v c="$((c1 - c0))" -v hz="$hz" -v p="$p1" -v u="$u1" 'BEGIN {
    s = b - a
    threads = (t0 == t1) ? t0 : t0 " -> " t1
    ms = c * 1000 / hz
    printf "| %s | %.1f | %s | %.3f | %.3f | %d | %.1f | %.1f | %.1f |\n", name, s, threads, v / s, n / s, ms, ms * 60 / s, p / 1024, u / 1024
}'
