#!/usr/bin/env bash
# Runs every benchmark under bench/ and writes one table to bench/README.md (or OUT): the X11
# root-window set against xwallpaper and feh, the settings window's first open with seven
# 6000x4000 thumbnails, and the real program idle with its settings window hidden and shown.
#
#   bench/run_all.sh [--quick] [-b BUILD_DIR] [-r ROUNDS] [-s IDLE_SECONDS] [-S SHOWN_SECONDS]
#                    [-o OUT]
#
# BUILD_DIR defaults to ./build-rel: configured as a Release build when it does not exist, and the
# programs the benchmarks need are built in it. ROUNDS (X11 set and settings window) defaults to
# 15, IDLE_SECONDS to 600 (cut into one-minute pieces), SHOWN_SECONDS to 60 (ten-second pieces).
# --quick: 3 rounds, 60 s idle and 20 s shown, for a look while developing (the README then says so).
# The whole run with the defaults takes about 15 minutes.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
build=$top/build-rel
rounds=15
idle_seconds=600
shown_seconds=60
out=$here/README.md
quick=0
while [ $# -gt 0 ]; do
    case $1 in
    --quick) quick=1; rounds=3; idle_seconds=60; shown_seconds=20; shift ;;
    -b) build=$2; shift 2 ;;
    -r) rounds=$2; shift 2 ;;
    -s) idle_seconds=$2; shift 2 ;;
    -S) shown_seconds=$2; shift 2 ;;
    -o) out=$2; shift 2 ;;
    *) echo "usage: $0 [--quick] [-b BUILD_DIR] [-r ROUNDS] [-s IDLE_SECONDS] [-S SHOWN_SECONDS] [-o OUT]" >&2; exit 2 ;;
    esac
done
idle_interval=60
shown_interval=10
[ "$idle_seconds" -ge 120 ] || idle_interval=10

source "$here/lib/common.sh"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLUMORA_WERROR=ON >&2
fi
cmake --build "$build" -j2 --target lumora lumora_bench_set lumora_bench_settings_window xprobe \
    lumora_bench_watch lumora_bench_tray lumora_bench_day_change lumora_bench_preview >&2

work=$(mktemp -d /tmp/lumora-bench-all.XXXXXX)
trap 'rm -rf "$work"' EXIT
started=$(date -u '+%Y-%m-%d %H:%M UTC')
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
log() { printf '[bench %s] %s\n' "$(date +%T)" "$*" >&2; }

log "making the seven 6000x4000 day pictures"
make_day_pictures "$work/pictures" 6000 4000

log "X11 root-window set, $rounds rounds"
"$here/run_x11_bench.sh" "$build" "$rounds" >"$work/x11.txt"
log "settings window, $rounds rounds"
"$here/run_settings_window_bench.sh" -b "$build" -r "$rounds" -p "$work/pictures" \
    -o "$work/sw.raw" --decode >"$work/sw.txt"
log "launch to icon and to wallpaper, the day change, the preview"
"$here/run_launch_bench.sh" "$build" "$((rounds < 9 ? rounds : 9))" >"$work/launch.txt"
"$here/run_day_change_bench.sh" "$build" "$rounds" >"$work/day_change.txt"
QT_QPA_PLATFORM=offscreen "$build/bench/preview/lumora_bench_preview" "$rounds" >"$work/preview.txt"
log "the program idle: ${idle_seconds} s hidden, ${shown_seconds} s shown"
"$here/run_program_idle_bench.sh" -b "$build" -s "$idle_seconds" -S "$shown_seconds" \
    -i "$idle_interval" -p "$work/pictures" -o "$work/idle" >"$work/idle.txt" 2>"$work/idle.err" ||
    { cat "$work/idle.err" >&2; exit 1; }
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# ---- the table ----
fmt() { awk -v v="$1" -v d="${2:-1}" 'BEGIN { if (v == "" || v == "-") print "-"; else printf "%.*f\n", d, v }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 == 0) print "-"; else printf "%.2f\n", a / b }'; }
met() { # VALUE LIMIT: "yes" when VALUE <= LIMIT
    awk -v v="$1" -v l="$2" 'BEGIN { print (v + 0 <= l + 0) ? "yes" : "**no**" }'
}
rows=$work/rows
: >"$rows"
row() { printf '| %s | %s | %s | %s | %s | %s | %s | %s |\n' "$@" >>"$rows"; }

# X11 set: "setter median min max ratio cpu peak" lines of run_x11_bench.sh.
while read -r setter med min max rat _ peak; do
    case $setter in lumora | lumora-prepared | xwallpaper | feh) ;; *) continue ;; esac
    ref="" target="-" ok="-"
    [ "$setter" = xwallpaper ] && ref=" (reference)"
    [ "$setter" = lumora ] && ref=" (decoded)"
    [ "$setter" = lumora-prepared ] && ref=" (prepared by an earlier set)"
    if [ "${setter%%-*}" = lumora ]; then
        target="<= 0.6 x xwallpaper, <= 45 MiB"
        ok=$(awk -v r="$rat" -v p="$peak" 'BEGIN { print (r + 0 <= 0.6 && p + 0 <= 45) ? "yes" : "**no**" }')
    fi
    row "X11 set: ${setter%%-*}$ref, 3840x2160 JPEG stretched on 1920x1080, ms" "$(fmt "$med")" \
        "$(fmt "$min")" "$(fmt "$max")" "$rat" "$(fmt "$peak") MiB RSS" "$target" "$ok"
done <"$work/x11.txt"

# Settings window: one line of key=value pairs per round.
values() { # KEY [minus idle, in MiB]
    awk -v k="$1" -v rel="${2:-}" '{ for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] }
        if (rel != "") printf "%.3f\n", (v[k] - v["idle_kib"]) / 1024; else print v[k] }' "$work/sw.raw"
}
stats() { # DECIMALS, values on standard input -> "median min max"
    local d=$1 v
    v=$(cat)
    echo "$(fmt "$(stat_median <<<"$v")" "$d") $(fmt "$(stat_min <<<"$v")" "$d") $(fmt "$(stat_max <<<"$v")" "$d")"
}
peak_abs=$(values peak_kib | awk '{ print $1 / 1024 }' | stat_median)
peak_rel=$(values peak_kib rel | stat_median)
peak_text="$(fmt "$peak_abs") MiB PSS (+$(fmt "$peak_rel") above idle)"
read -r med min max < <(values open_ms | stats 0)
row "Settings window: first open until shown, 7 thumbnails of 6000x4000, ms" "$med" "$min" "$max" \
    "-" "$peak_text" "<= 400 ms" "$(met "$med" 400)"
read -r med min max < <(values main_cpu_ms | stats 0)
row "Settings window: CPU time of the open (main thread), ms" "$med" "$min" "$max" "-" "-" "-" "-"
read -r med min max < <(values peak_kib rel | stats 2)
row "Settings window: peak PSS above idle while opening, MiB" "$med" "$min" "$max" "-" "$peak_text" \
    "<= 15 MiB" "$(met "$med" 15)"
read -r med min max < <(values closed_kib rel | stats 2)
closed_abs=$(values closed_kib | awk '{ print $1 / 1024 }' | stat_median)
row "Settings window: PSS above idle once closed, MiB" "$med" "$min" "$max" "-" \
    "$(fmt "$closed_abs") MiB PSS" "<= 2 MiB" "$(met "$med" 2)"

# Idle: "seconds voluntary/s involuntary/s cpu-ms-per-minute pss-kib" per piece.
idle_stats() { # FILE COLUMN DIVISOR DECIMALS -> "median min max"
    awk -v c="$2" -v d="$3" '{ print $c / d }' "$1" | stats "$4"
}
idle_peak() { awk 'BEGIN { m = 0 } $5 > m { m = $5 } END { printf "%.1f MiB PSS\n", m / 1024 }' "$1"; }
declare -A hidden_median
for state in hidden shown; do
    f=$work/idle.$state
    [ -s "$f" ] || continue
    if [ $state = hidden ]; then
        piece="$idle_interval s pieces of ${idle_seconds} s"
    else
        piece="$shown_interval s pieces of ${shown_seconds} s"
    fi
    peak=$(idle_peak "$f")
    for m in "pss:5:1024:1:PSS, MiB:20" "uss:6:1024:1:USS (private pages), MiB:-" \
        "wake:2:1:3:wake-ups per second:0.2" "cpu:4:1:1:CPU ms per minute:10"; do
        IFS=: read -r key col div dec what limit <<<"$m"
        read -r med min max < <(idle_stats "$f" "$col" "$div" "$dec")
        if [ "$limit" = - ]; then
            hidden_median[$key]=${hidden_median[$key]:-$med}
            row "Idle, window $state: $what ($piece)" "$med" "$min" "$max" \
                "$([ $state = shown ] && ratio "$med" "${hidden_median[$key]}" || echo -)" "$peak" "-" "-"
        elif [ $state = hidden ]; then
            hidden_median[$key]=$med
            row "Idle, window hidden: $what ($piece)" "$med" "$min" "$max" "-" "$peak" \
                "<= $limit" "$(met "$med" "$limit")"
        else
            row "Idle, window shown: $what ($piece; ratio to hidden)" "$med" "$min" "$max" \
                "$(ratio "$med" "${hidden_median[$key]}")" "$peak" "- (comparison)" "-"
        fi
    done
done

# ---- the README ----
qt_version=$(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo "?")
{
    echo "# Benchmarks"
    echo
    echo "Written by \`bench/run_all.sh\`$([ $quick = 1 ] && echo ' --quick (short runs: a first look only)'); run it again to refresh this page."
    echo
    echo "- Machine: $(cpu_description), $(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo) RAM;" \
        "$(. /etc/os-release && echo "$PRETTY_NAME"), kernel $(uname -r), Qt $qt_version"
    echo "- Run: $started; $rounds rounds of the X11 set and of the settings window (a fresh process each);" \
        "idle ${idle_seconds} s hidden and ${shown_seconds} s shown; load average $load_before before, $load_after after"
    echo "- Build: \`$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")\` build of this tree, commit $(git -C "$top" rev-parse --short HEAD 2>/dev/null || echo '?')"
    echo
    echo "| Benchmark | Median | Min | Max | Ratio to reference | Peak memory | Target | Met |"
    echo "|---|---:|---:|---:|---:|---|---|---|"
    cat "$rows"
    echo
    echo "Targets are judged on the median. PSS is the Pss line of \`/proc/<pid>/smaps_rollup\` (shared"
    echo "pages divided among the processes that map them: most of it is the code of the Qt libraries, so"
    echo "it moves by several MiB as other Qt programs on the machine start and end; min and max show it);"
    echo "USS counts only the program's private pages. RSS is \`/usr/bin/time\`'s maximum resident size. Wake-ups are the voluntary context switches"
    echo "of all the program's threads. CPU time comes in 10 ms steps. Wall times move with the load of"
    echo "the machine (see the load average above); CPU times much less."
    echo
    echo "## How each was measured"
    echo
    echo "- **X11 set**: \`bench/run_x11_bench.sh\`: Lumora's X11 root-window backend (\`lumora_bench_set\`),"
    echo "  \`xwallpaper --stretch\` and \`feh --bg-scale\` set the same picture in turn on one Xvfb;"
    echo "  Lumora once decoding the picture (keeping nothing) and once reading back the pixels an earlier"
    echo "  set kept prepared under \`\$XDG_CACHE_HOME/lumora/prepared\`."
    echo "- **Settings window**: \`bench/run_settings_window_bench.sh\`: \`lumora_bench_settings_window\`"
    echo "  builds the whole program with the real platform services (\`LUMORA_DESKTOP=none\`, a private"
    echo "  settings file naming seven 6000x4000 JPEGs of quality 90, logo and alerts off) in a private X"
    echo "  session (\`tests/e2e/lib/session.sh\`: Xvfb, session bus, dunst, trayer), lets it settle,"
    echo "  triggers \"&Lumora Settings\" (the first open: the seven thumbnails are decoded while the"
    echo "  window activates) and stops the clock when the event loop is back with the window shown and"
    echo "  all seven thumbnails pictures; PSS is sampled every 10 ms from a second thread. Then the close"
    echo "  box, 1.5 s of event loop, and PSS again."
    echo "- **Idle**: \`bench/run_program_idle_bench.sh\`: the real \`lumora\` with \`LUMORA_DESKTOP=x11\`"
    echo "  in a private session (with openbox), a picture for every day, the logo off, settled 15 s after"
    echo "  its icon is in the tray; \`bench/run_idle_bench.sh -p\` reads its threads' switches, CPU time"
    echo "  and PSS. Then a double-click on the tray icon (xdotool) shows the settings window for the"
    echo "  shown run."
    echo
    echo "## Details"
    echo
    echo "### X11 set"
    echo
    echo '```'
    cat "$work/x11.txt"
    echo '```'
    echo
    echo "### Settings window"
    echo
    cat "$work/sw.txt"
    echo
    echo "### Idle"
    echo
    cat "$work/idle.txt"
    echo
    echo "### Launch and the day change"
    echo
    echo "\`bench/run_launch_bench.sh\`: the program started with today's 3840x2160 JPEG, the logo off, on"
    echo "an Xvfb with a tray host; \`lumora_bench_watch\` sees the icon embedded and the root's"
    echo "\`_XROOTPMAP_ID\` change, against the smallest Qt tray program and the one-shot setters."
    echo "\`bench/run_day_change_bench.sh\`: the backend's part of the change of day, in the program's process."
    echo
    cat "$work/launch.txt"
    cat "$work/day_change.txt"
    echo
    echo "### Preview"
    echo
    echo '```'
    cat "$work/preview.txt"
    echo '```'
} >"$out"
log "wrote $out"
