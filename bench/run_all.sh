#!/usr/bin/env bash
# Runs every benchmark under bench/ and writes one table to bench/README.md (or OUT): launch to
# tray icon and to wallpaper against the smallest Qt tray program and the one-shot setters, the
# X11 root-window set against xwallpaper and feh, the day change, the settings window's first
# open with seven 6000x4000 thumbnails, the real program idle with its settings window hidden and
# shown, the preview's fit and zoom of a 6000x4000 JPEG, and the day copy (Transf) of a 50 MiB
# file against cp.
#
#   bench/run_all.sh [--quick] [-b BUILD_DIR] [-r ROUNDS] [-s IDLE_SECONDS] [-S SHOWN_SECONDS]
#                    [-o OUT]
#
# BUILD_DIR defaults to ./build-rel: configured as a Release build when it does not exist, and the
# programs the benchmarks need are built in it. ROUNDS (X11 set, settings window, day change and
# preview runs; launch takes at most 9, Transf at least 9) defaults to 15, IDLE_SECONDS to 600
# (cut into one-minute pieces), SHOWN_SECONDS to 60 (ten-second pieces).
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
    lumora_bench_watch lumora_bench_tray lumora_bench_day_change lumora_bench_preview \
    lumora_bench_transf >&2

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
launch_rounds=$((rounds < 9 ? rounds : 9))
transf_rounds=$((rounds > 9 ? rounds : 9))
preview_actions=5
log "launch to icon and to wallpaper, $launch_rounds rounds; the day change, $rounds rounds"
"$here/run_launch_bench.sh" "$build" "$launch_rounds" >"$work/launch.txt"
"$here/run_day_change_bench.sh" "$build" "$rounds" >"$work/day_change.txt"
log "the preview, $rounds runs"
# A fresh process a run, so that every run's load is a first one; each action $preview_actions times.
for ((i = 1; i <= rounds; i++)); do
    QT_QPA_PLATFORM=offscreen "$build/bench/preview/lumora_bench_preview" "$preview_actions" \
        >"$work/preview.$i.txt" 2>"$work/preview.err" || { cat "$work/preview.err" >&2; exit 1; }
done
log "Transf against cp, $transf_rounds rounds"
"$here/run_transf_bench.sh" "$build" "$transf_rounds" >"$work/transf.txt"
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

# The markdown rows of run_launch_bench.sh, run_day_change_bench.sh and run_transf_bench.sh:
# "| measure | program | median | min | max | ratio | reference | peak MiB | target | met |", as
# tab-separated fields, "-" for an empty one (rows of other tables, with another number of
# columns, are left out).
table_rows() {
    awk -F'|' 'NF == 12 && $2 !~ /^ *(measure|---)/ {
        for (i = 2; i <= 11; i++) {
            gsub(/^ +| +$/, "", $i)
            printf "%s%s", ($i == "" ? "-" : $i), (i < 11 ? "\t" : "\n")
        } }' "$1"
}
yes_no() { if [ "$1" = no ]; then echo "**no**"; else echo "$1"; fi; }

# Launch: the icon against the smallest Qt tray program, the wallpaper against xwallpaper.
declare -A launch_name=([lumora]="Lumora (today's picture prepared by the run before)"
    [lumora-decode]="Lumora (nothing prepared: decoded)" [qt-tray]="minimal Qt tray program (reference)"
    [xwallpaper]="xwallpaper --stretch (reference)" [feh]="feh --bg-scale" [hsetroot]="hsetroot -fill")
while IFS=$'\t' read -r measure program med min max rat ref peak target ok; do
    what=${measure#launch → }
    [ "$what" = icon ] || what="$what (3840x2160 JPEG on 1920x1080)"
    [ "$rat" = - ] || rat="$rat (to $ref)"
    [ "$target" = - ] || target="${target//≤/<=} × $ref"
    row "Launch → $what: ${launch_name[$program]:-$program}, ms" \
        "$(fmt "$med")" "$(fmt "$min")" "$(fmt "$max")" "$rat" "$peak MiB RSS" "$target" \
        "$(yes_no "$ok")"
done < <(table_rows "$work/launch.txt")

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

# Day change: the midnight call, against its 50 ms target (there is no reference program).
while IFS=$'\t' read -r measure _ med min max _ _ peak target ok; do
    what=${measure#day change (}
    row "Day change: 3840x2160 JPEG after another on 1920x1080, ${what%)}, ms" "$(fmt "$med")" \
        "$(fmt "$min")" "$(fmt "$max")" "-" "$peak MiB RSS" "${target//≤/<=}" "$(yes_no "$ok")"
done < <(table_rows "$work/day_change.txt")

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

# Preview: "<action> <median ms>" lines of every run; the row gives the median, min and max of
# the runs' medians.
preview_value() { # LABEL -> the value of every run, one a line
    awk -v l="$1" '{ v = $NF; sub(/ +[^ ]+$/, ""); if ($0 == l) print v }' "$work"/preview.*.txt
}
for action in "load and fit (once)|-" "Fit Screen|50" "Zoom In from the fitted size|50" \
    "Zoom Out from the fitted size|50" "Original Size|50"; do
    label=${action%|*} limit=${action#*|} target="-" ok="-"
    read -r med min max < <(preview_value "$label" | stats 1)
    if [ "$limit" != - ]; then
        target="<= $limit ms" ok=$(met "$med" "$limit")
    fi
    row "Preview of a 6000x4000 JPEG: ${label/ (once)/}, drawing included, ms" "$med" "$min" "$max" \
        "-" "$(fmt "$(preview_value "after loading" | stat_median)") MiB RSS" "$target" "$ok"
done
loaded=$(preview_value "after loading" | stat_median)
read -r med min max < <(preview_value "after ten Zoom Ins (original)" | stats 1)
frame=$(awk 'BEGIN { printf "%.1f", 6000 * 4000 * 4 / 1048576 }')
row "Preview: peak RSS after ten Zoom Ins from the original size, MiB" "$med" "$min" "$max" \
    "$(ratio "$med" "$loaded") (to the peak after loading)" "$(fmt "$med") MiB RSS" \
    "bounded: < one 6000x4000 frame ($frame MiB) above the peak after loading ($(fmt "$loaded") MiB)" \
    "$(awk -v m="$med" -v l="$loaded" -v f="$frame" 'BEGIN { print (m - l < f) ? "yes" : "**no**" }')"

# Transf: the day copy against cp, and the longest gap between two turns of the event loop.
while IFS=$'\t' read -r measure program med min max rat ref peak target ok; do
    [ "$program" = lumora ] && program=Lumora || program="$program (reference)"
    [ "$rat" = - ] || rat="$rat (time to $ref's)"
    target=${target//≤/<=}
    row "$measure: $program, ms" "$med" "$min" "$max" "$rat" "$peak MiB RSS" "${target//≥/>=}" \
        "$(yes_no "$ok")"
done < <(table_rows "$work/transf.txt")

# ---- the README ----
qt_version=$(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo "?")
{
    echo "# Benchmarks"
    echo
    echo "Written by \`bench/run_all.sh\`$([ $quick = 1 ] && echo ' --quick (short runs: a first look only)'); run it again to refresh this page."
    echo
    echo "- Machine: $(cpu_description), $(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo) RAM;" \
        "$(. /etc/os-release && echo "$PRETTY_NAME"), kernel $(uname -r), Qt $qt_version"
    echo "- Run: $started; $rounds rounds of the X11 set, the settings window and the day change," \
        "$rounds preview runs, $launch_rounds launch rounds, $transf_rounds Transf rounds;" \
        "idle ${idle_seconds} s hidden and ${shown_seconds} s shown; load average $load_before before, $load_after after"
    echo "- Build: \`$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")\` build of this tree, commit $(git -C "$top" rev-parse --short HEAD 2>/dev/null || echo '?')"
    echo
    echo "| Benchmark | Median | Min | Max | Ratio to reference | Peak memory | Target | Met |"
    echo "|---|---:|---:|---:|---:|---|---|---|"
    cat "$rows"
    echo
    echo "Targets are judged on the median (the longest gap during Transf on its maximum). PSS is the Pss line of \`/proc/<pid>/smaps_rollup\` (shared"
    echo "pages divided among the processes that map them: most of it is the code of the Qt libraries, so"
    echo "it moves by several MiB as other Qt programs on the machine start and end; min and max show it);"
    echo "USS counts only the program's private pages. RSS is \`/usr/bin/time\`'s maximum resident size. Wake-ups are the voluntary context switches"
    echo "of all the program's threads. CPU time comes in 10 ms steps. Wall times move with the load of"
    echo "the machine (see the load average above); CPU times much less."
    echo
    echo "## How each was measured"
    echo
    echo "- **Launch**: \`bench/run_launch_bench.sh\`: on one private 1920x1080 Xvfb with a session bus,"
    echo "  dunst and trayer, \`lumora_bench_watch\` starts each program and notes when its tray icon is"
    echo "  embedded in trayer's panel and when the root's \`_XROOTPMAP_ID\` changes (today's picture on"
    echo "  the root); Lumora (X11 root-window backend, logo off, today's 3840x2160 JPEG of quality 90"
    echo "  stretched) once finding the picture prepared by the run before and once with the cache"
    echo "  emptied; the reference for the icon is \`lumora_bench_tray\` (\`QApplication\` and"
    echo "  \`QSystemTrayIcon\` with a PNG icon, nothing else), for the wallpaper \`xwallpaper --stretch\`;"
    echo "  \`feh --bg-scale\` and \`hsetroot -fill\` where installed. Rounds alternate the programs;"
    echo "  peak memory is the program's resident peak until then."
    echo "- **Day change**: \`bench/run_day_change_bench.sh\`: \`lumora_bench_day_change\` runs the X11"
    echo "  root-window backend in a QCoreApplication with yesterday's 3840x2160 JPEG on the root, and"
    echo "  times the midnight call (from a timer, as the day watch makes it) that puts today's on the"
    echo "  root, until the server has it: with today's picture prepared ahead as the day watch has"
    echo "  it in the hour before midnight, and decoded in the call."
    echo "- **X11 set**: \`bench/run_x11_bench.sh\`: Lumora's X11 root-window backend (\`lumora_bench_set\`),"
    echo "  \`xwallpaper --stretch\` and \`feh --bg-scale\` set the same picture in turn on one Xvfb;"
    echo "  Lumora once decoding the picture (keeping nothing) and once reading back the pixels an earlier"
    echo "  set kept prepared under \`\$XDG_CACHE_HOME/lumora/prepared\`."
    echo "- **Settings window**: \`bench/run_settings_window_bench.sh\`: \`lumora_bench_settings_window\`"
    echo "  builds the whole program with the real platform services (\`LUMORA_DESKTOP=none\`, a private"
    echo "  settings file naming seven 6000x4000 JPEGs of quality 90, logo and alerts off) in a private X"
    echo "  session (\`tests/linux/e2e/lib/session.sh\`: Xvfb, session bus, dunst, trayer), lets it settle,"
    echo "  triggers \"&Lumora Settings\" (the first open: the seven thumbnails are decoded while the"
    echo "  window activates) and stops the clock when the event loop is back with the window shown and"
    echo "  all seven thumbnails pictures; PSS is sampled every 10 ms from a second thread. Then the close"
    echo "  box, 1.5 s of event loop, and PSS again. The window's labels and fonts are made at its first"
    echo "  opening, not at start-up, so they count above idle once it is closed; the running program"
    echo "  hands such pages back 30 s after its last window closed (the idle rows), which this"
    echo "  benchmark does not wait for."
    echo "- **Idle**: \`bench/run_program_idle_bench.sh\`: the real \`lumora\` with \`LUMORA_DESKTOP=x11\`"
    echo "  in a private session (with openbox), a picture for every day, the logo off, settled 15 s after"
    echo "  its icon is in the tray; \`bench/run_idle_bench.sh -p\` reads its threads' switches, CPU time"
    echo "  and PSS. Then a double-click on the tray icon (xdotool) shows the settings window for the"
    echo "  shown run."
    echo "- **Preview**: \`lumora_bench_preview\` (offscreen) loads a 6000x4000 JPEG of quality 90 into"
    echo "  the preview window (once a run: the process's first load and fit), then times Fit Screen, and"
    echo "  Zoom In, Zoom Out and Original Size each from the fitted size, every action with the drawing"
    echo "  it causes, $preview_actions times each (the run's median); $rounds runs, a fresh process each, and"
    echo "  the row gives the median, min and max of the runs' medians. Memory: the process's resident"
    echo "  peak (VmHWM) after the load and after ten Zoom Ins from the original size."
    echo "- **Transf**: \`bench/run_transf_bench.sh\`: \`lumora_bench_transf\` runs the real"
    echo "  \`WallpaperEngine::Transf\` (1 KiB blocks, the program's Qt event pump after each block, fsync"
    echo "  of the copy before it is renamed into place) in an offscreen QApplication, copying a 50 MiB"
    echo "  file of random bytes into a private picture folder on the same file system. The reference is"
    echo "  \`cp SOURCE DEST && sync DEST\` (\`sync\` with a file name fsyncs that file), timed from"
    echo "  before \`cp\` starts until \`sync\` ends, two process starts included; Transf is timed in its"
    echo "  process from the call to the return. Rounds alternate Lumora, cp, and Lumora with a"
    echo "  zero-interval timer noting every turn of the event loop (the longest gap from the call to the"
    echo "  first turn, between turns, and from the last turn to the return). The page cache is not"
    echo "  dropped (no root): the source is cached for both; before each round the copies are removed"
    echo "  and the file system synced, untimed. Peak memory is the process's VmHWM (cp's from"
    echo "  \`/usr/bin/time\`). The Transf target is a speed of at least half cp's: Lumora's time at most"
    echo "  2 × cp's (ratio ≤ 2.00)."
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
    echo
    cat "$work/day_change.txt"
    echo
    echo "### Preview"
    echo
    echo "The first of the $rounds runs:"
    echo
    echo '```'
    cat "$work/preview.1.txt"
    echo '```'
    echo
    echo "### Transf"
    echo
    cat "$work/transf.txt"
} >"$out"
log "wrote $out"
