#!/usr/bin/env bash
# The Windows program under Wine, side by side with the smallest Win32 tray program
# (bench/windows/minimal_tray.cpp), in one Wine virtual desktop of 1280 x 800
# (tests/windows/e2e/lib/session.sh):
#   launch -> icon       from the process start until the icon is in the notification area;
#   launch -> wallpaper  until today's picture (a 3840x2160 JPEG, quality 90) is the wallpaper:
#                        the desktop's Wallpaper value written and the screen's pixel at the
#                        desktop's middle changed from the shell's plain colour to the picture;
#   idle                 both programs left alone with no window shown: wake-ups (voluntary and
#                        involuntary context switches of all the process's threads, from
#                        /proc/PID/task/*/status), CPU time (/proc/PID/stat), RssAnon; the Wine
#                        server's and the shell's separately;
#   size                 lumora.exe stripped, as tools/package_windows.sh packages it.
# Prints markdown tables; appends nothing anywhere.
#
#   bench/run_windows_program_bench.sh [-b BUILD_DIR] [-r ROUNDS] [-i INTERVAL]
#
# BUILD_DIR defaults to ./build-win (lumora, windows_desk_probe and lumora_bench_minimal_tray are
# built there, configured as tools/test_windows.sh configures it); ROUNDS (launches of each
# program, alternating, after one of each not counted) to 10; the idle run lasts
# LUMORA_BENCH_IDLE_S seconds (600 by default), cut into INTERVAL-second pieces (60).
# The polls are one desk_probe process each (wait-icon, wait-wallpaper: a look every 5 ms, from
# the Windows side); they run in both programs' launches, so their cost is in both.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
build=$top/build-win
rounds=10
interval=60
idle_seconds=${LUMORA_BENCH_IDLE_S:-600}
while [ $# -gt 0 ]; do
    case $1 in
    -b) build=$2; shift 2 ;;
    -r) rounds=$2; shift 2 ;;
    -i) interval=$2; shift 2 ;;
    *) echo "usage: $0 [-b BUILD_DIR] [-r ROUNDS] [-i INTERVAL]" >&2; exit 2 ;;
    esac
done
for c in convert xdotool; do
    command -v "$c" >/dev/null 2>&1 || { echo "$c is not installed" >&2; exit 2; }
done
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
        -DLUMORA_CORE_ONLY=OFF -DLUMORA_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j"${LUMORA_JOBS:-2}" --target lumora windows_desk_probe \
    lumora_bench_minimal_tray >/dev/null
export LUMORA_EXE=$build/src/windows/lumora.exe
export DESK_PROBE=$build/tests/windows_desk_probe.exe
export LUMORA_SOURCE_DIR=$top
minimal=$build/bench/windows/lumora_bench_minimal_tray.exe
for f in "$LUMORA_EXE" "$DESK_PROBE" "$minimal"; do
    [ -f "$f" ] || { echo "no $f after the build" >&2; exit 2; }
done

source "$here/lib/common.sh"
set +u
source "$top/tests/windows/e2e/lib/session.sh"
set -u
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
win_session_start
# The session's end, whatever of it has ended already.
trap 'set +e; win_session_stop' EXIT
work=$WIN_DIR

# Today's picture: 3840 x 2160, photo-like (plasma, which has detail everywhere), quality 90.
# In a folder of its own, as a user's pictures are: the program watches the folder of every day
# picture, and the session's folder has its logs written all along.
mkdir -p "$work/pictures"
picture=$work/pictures/today.jpg
convert -seed 4242 -size 3840x2160 plasma:fractal -quality 90 "$picture"
# The wallpaper is seen when the desktop's middle no longer shows the shell's plain colour. (Wine
# draws a picture larger than the screen stretched, with colours of its own: the pixel is not
# compared with the picture's.)
px=$((DESK_W / 2))
py=$((DESK_H / 2))
today=$(LC_ALL=C date +%A)
reg_set 'HKCU\Software\Corvane\Local Settings' "$today" "$(unix_to_windows "$picture")"
reg_set "$OPTIONS_KEY" ShowSplsh False
reg_set "$OPTIONS_KEY" DispMess False

# A watcher: desk_probe waiting for something, logged to NAME.log, ready once it says so.
watcher() {
    local name=$1
    shift
    win_spawn "$name" "$wine64" "$DESK_PROBE" "$@"
    wait_until 60 grep -q '^listening' "$WIN_DIR/$name.log" ||
        { echo "the watcher $name did not start: $(cat "$WIN_DIR/$name.log")" >&2; exit 1; }
}
# seen_ms NAME START: milliseconds from START ($EPOCHREALTIME) until the watcher NAME saw its change.
seen_ms() {
    local us
    us=$(tr -d '\r' <"$WIN_DIR/$1.log" | awk -F'\t' '$1 == "seen" { print $2 }')
    awk -v seen="$us" -v start="$2" 'BEGIN { printf "%.1f\n", (seen - start * 1e6) / 1000 }'
}
seen() { grep -q '^seen' "$WIN_DIR/$1.log"; }
has_icon() { probe tray | awk -F'\t' -v tip="$1" '$6 == tip && $4 > 0 { found = 1 } END { exit !found }'; }
no_icon() { ! has_icon "$1"; }
stop_pid() {
    kill "$1" 2>/dev/null || true
    wait_until 10 ended "$1" || kill -9 "$1" 2>/dev/null || true
}

# launch NAME TIP PROGRAM: one start, until its icon is there (and for lumora the wallpaper),
# then the end of the program and its icon; appends "icon_ms [wallpaper_ms]" to NAME.times.
launch() {
    local name=$1 tip=$2 program=$3 start pid icon_watch wall_watch line
    watcher wall wait-wallpaper "$px" "$py"
    wall_watch=$SPAWNED
    watcher icon wait-icon "$tip"
    icon_watch=$SPAWNED
    start=$EPOCHREALTIME
    win_spawn "$name" "$wine64" "$program"
    pid=$SPAWNED
    wait_until 60 seen icon || { echo "$name: no icon" >&2; exit 1; }
    line=$(seen_ms icon "$start")
    if [ "$name" = lumora ]; then
        wait_until 60 seen wall || { echo "$name: the wallpaper was not shown" >&2; exit 1; }
        line="$line $(seen_ms wall "$start")"
    fi
    echo "$line" >>"$work/$name.times"
    stop_pid "$wall_watch"
    stop_pid "$icon_watch"
    stop_pid "$pid"
    # The icon goes with its program's window (an empty tooltip of it can stay in the shell).
    wait_until 30 no_icon "$tip" || { echo "$name: the icon stayed after the end" >&2; exit 1; }
}

echo "launch: one start of each first, then $rounds of each, alternating ..." >&2
launch lumora Lumora "$LUMORA_EXE"
launch minimal Minimal "$minimal"
rm -f "$work/lumora.times" "$work/minimal.times"
for ((r = 0; r < rounds; r++)); do
    if ((r % 2)); then
        launch minimal Minimal "$minimal"
        launch lumora Lumora "$LUMORA_EXE"
    else
        launch lumora Lumora "$LUMORA_EXE"
        launch minimal Minimal "$minimal"
    fi
done
load_launch=$(cut -d' ' -f1-3 /proc/loadavg)

# Idle: both programs started and left alone; the pieces start once both have settled.
echo "idle: ${idle_seconds} s with both programs running ..." >&2
win_spawn lumora-idle "$wine64" "$LUMORA_EXE"
lumora_pid=$SPAWNED
win_spawn minimal-idle "$wine64" "$minimal"
minimal_pid=$SPAWNED
wait_until 60 has_icon Lumora || { echo "lumora: no icon for the idle run" >&2; exit 1; }
wait_until 60 has_icon Minimal || { echo "minimal: no icon for the idle run" >&2; exit 1; }
xdotool mousemove 0 0
sleep 15 # settling: what the start set in motion (the wallpaper, the Run value) comes to rest

ticks=$(getconf CLK_TCK)
# sample PID -> "seconds voluntary involuntary cpu_ticks rss_anon_kib"
sample() {
    local pid=$1 vol=0 inv=0 v i f
    for f in /proc/"$pid"/task/*/status; do
        read -r v i < <(awk '/^voluntary_ctxt_switches/ { v = $2 } /^nonvoluntary_ctxt_switches/ { i = $2 }
                            END { print v + 0, i + 0 }' "$f" 2>/dev/null) || continue
        vol=$((vol + v))
        inv=$((inv + i))
    done
    printf '%s %s %s %s %s\n' "$EPOCHREALTIME" "$vol" "$inv" \
        "$(sed 's/^.*) //' "/proc/$pid/stat" | awk '{ print $12 + $13 }')" \
        "$(awk '/^RssAnon/ { print $2 }' "/proc/$pid/status")"
}
threads() { ls "/proc/$1/task" | wc -l; }
declare -A who=([lumora]=$lumora_pid [minimal]=$minimal_pid [wineserver]=$wine_server [shell]=$SHELL_PID)
names=(lumora minimal wineserver shell)
declare -A first last threads_at_start
for n in "${names[@]}"; do
    last[$n]=$(sample "${who[$n]}")
    first[$n]=${last[$n]}
    threads_at_start[$n]=$(threads "${who[$n]}")
done
pieces=$(((idle_seconds + interval - 1) / interval))
for ((p = 0; p < pieces; p++)); do
    piece=$interval
    ((p < pieces - 1)) || piece=$((idle_seconds - interval * (pieces - 1)))
    sleep "$piece" # the measured interval itself: nothing is waited for
    for n in "${names[@]}"; do
        now=$(sample "${who[$n]}")
        # one line a piece: "wake-ups/s voluntary/s cpu-ms-per-minute rss-anon-kib"
        awk -v a="${last[$n]}" -v b="$now" -v hz="$ticks" 'BEGIN {
            split(a, x, " "); split(b, y, " "); s = y[1] - x[1]
            printf "%.3f %.3f %.1f %d\n", (y[2] + y[3] - x[2] - x[3]) / s, (y[2] - x[2]) / s,
                   (y[4] - x[4]) * 1000 / hz * 60 / s, y[5] }' >>"$work/idle.$n"
        last[$n]=$now
    done
done
alive "$lumora_pid" || { echo "lumora ended during the idle run" >&2; exit 1; }
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# The size as packaged: the program stripped.
stripped=$work/lumora-stripped.exe
x86_64-w64-mingw32-strip -o "$stripped" "$LUMORA_EXE"
size=$(stat -c %s "$stripped")

col() { cut -d' ' -f"$2" "$1"; }
median_of() { col "$1" "$2" | stat_median; }
triple() { printf '%s | %s | %s' "$(col "$1" "$2" | stat_median)" "$(col "$1" "$2" | stat_min)" "$(col "$1" "$2" | stat_max)"; }
met() { awk -v v="$1" -v t="$2" 'BEGIN { print (v <= t) ? "yes" : "**no**" }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

icon_lumora=$(median_of "$work/lumora.times" 1)
icon_minimal=$(median_of "$work/minimal.times" 1)
icon_ratio=$(ratio "$icon_lumora" "$icon_minimal")
echo "Wine $("$wine64" --version 2>/dev/null || echo '?'); $(cpu_description); virtual desktop ${DESK_W}x$DESK_H"
echo "load average before $load_before, after the launches $load_launch, after the idle run $load_after"
echo "launches: $rounds of each, alternating; idle: $idle_seconds s in ${interval}-s pieces (median, min, max of the pieces)"
echo
echo "| Windows edition under Wine | Median | Min | Max | Target | Met |"
echo "|---|---:|---:|---:|---|---|"
echo "| launch → icon: lumora.exe (logo off, a day picture, messages off), ms | $(triple "$work/lumora.times" 1) | ≤ 1.3 × minimal (ratio $icon_ratio) | $(met "$icon_ratio" 1.3) |"
echo "| launch → icon: minimal Win32 tray program (reference), ms | $(triple "$work/minimal.times" 1) | - | - |"
echo "| launch → wallpaper: today's 3840x2160 JPEG (value written, pixel shown), ms | $(triple "$work/lumora.times" 2) | - | - |"
for n in lumora minimal wineserver shell; do
    case $n in
    lumora) label="idle, hidden: lumora.exe"; wt=0.2; ct=10 ;;
    minimal) label="idle: minimal tray program (Wine's floor)"; wt=""; ct="" ;;
    wineserver) label="idle: the Wine server (all of the prefix's processes)"; wt=""; ct="" ;;
    shell) label="idle: the shell (explorer, draws the tray)"; wt=""; ct="" ;;
    esac
    w=$(median_of "$work/idle.$n" 1)
    c=$(median_of "$work/idle.$n" 3)
    echo "| $label: wake-ups/s (${threads_at_start[$n]} -> $(threads "${who[$n]}") threads) | $(triple "$work/idle.$n" 1) | ${wt:+≤ $wt} | ${wt:+$(met "$w" "$wt")} |"
    echo "| $label: voluntary switches/s | $(triple "$work/idle.$n" 2) | - | - |"
    echo "| $label: CPU ms per minute | $(triple "$work/idle.$n" 3) | ${ct:+≤ $ct} | ${ct:+$(met "$c" "$ct")} |"
    echo "| $label: RssAnon, MiB | $(col "$work/idle.$n" 4 | awk '{ printf "%.2f\n", $1 / 1024 }' | stat_median) | $(col "$work/idle.$n" 4 | awk '{ printf "%.2f\n", $1 / 1024 }' | stat_min) | $(col "$work/idle.$n" 4 | awk '{ printf "%.2f\n", $1 / 1024 }' | stat_max) | - | - |"
done
echo "| lumora.exe stripped (as packaged), MiB | $(awk -v s="$size" 'BEGIN { printf "%.2f", s / 1048576 }') | | | ≤ 2 MiB | $(met "$size" 2097152) |"
echo
echo "all launches (ms): lumora icon $(col "$work/lumora.times" 1 | paste -sd' '); minimal icon $(col "$work/minimal.times" 1 | paste -sd' '); lumora wallpaper $(col "$work/lumora.times" 2 | paste -sd' ')"
echo "lumora.exe's threads at the end (switches since the start, voluntary + involuntary): $(for f in /proc/"$lumora_pid"/task/*; do
    printf '%s %s; ' "${f##*/}" "$(awk '/^voluntary_ctxt_switches|^nonvoluntary_ctxt_switches/ { n += $2 } END { print n }' "$f/status")"
done)"
echo "idle totals over $idle_seconds s: $(for n in "${names[@]}"; do
    awk -v n="$n" -v a="${first[$n]}" -v b="${last[$n]}" -v hz="$ticks" 'BEGIN {
        split(a, x, " "); split(b, y, " ")
        printf "%s %d switches, %d ms CPU; ", n, y[2] + y[3] - x[2] - x[3], (y[4] - x[4]) * 1000 / hz }'
done)"
