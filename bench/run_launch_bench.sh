#!/usr/bin/env bash
# Log-in as the user sees it: on one private 1920x1080 Xvfb with a session bus, a notification
# daemon (dunst) and a tray host (trayer), times from the launch until the tray icon is embedded
# and until today's picture (a 3840x2160 JPEG, quality 90, stretched) is on the root window, for
# Lumora (X11 root-window backend, logo window off), the smallest Qt tray program
# (lumora_bench_tray), and the one-shot setters xwallpaper --stretch, feh --bg-scale and
# hsetroot -fill where installed. Alternating rounds in one run; prints markdown table rows.
#
#   bench/run_launch_bench.sh [BUILD_DIR] [ROUNDS]
#
# BUILD_DIR defaults to ./build (it must hold lumora, bench/launch/lumora_bench_watch and
# bench/launch/lumora_bench_tray; configure it with -DCMAKE_BUILD_TYPE=Release); ROUNDS to 11.
# "Wallpaper on the root" is the moment the root's _XROOTPMAP_ID changes; "icon embedded" the
# moment the program's window is inside the tray host's panel. Peak memory is the program's
# resident peak until then (Lumora and the tray program are ended there).
set -u

build=${1:-build}
rounds=${2:-11}
watch=$build/bench/launch/lumora_bench_watch
tray=$build/bench/launch/lumora_bench_tray
lumora=$build/lumora
for f in "$watch" "$tray" "$lumora"; do
    [ -x "$f" ] || { echo "no $f: build lumora, lumora_bench_watch and lumora_bench_tray first" >&2; exit 2; }
done
for c in Xvfb convert dbus-daemon dunst trayer xdotool xprop; do
    command -v "$c" >/dev/null 2>&1 || { echo "$c is not installed" >&2; exit 2; }
done

work=$(mktemp -d /tmp/lumora-launch.XXXXXX)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share \
    XDG_CACHE_HOME=$work/home/.cache XDG_RUNTIME_DIR=$work/run LUMORA_DESKTOP=x11
mkdir -p "$XDG_CONFIG_HOME/lumora" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY XDG_CURRENT_DESKTOP DESKTOP_SESSION SESSION_MANAGER

source "$(dirname "$0")/lib/common.sh"
start_bench_xvfb "$work" +extension RANDR || { pids+=("${XVFB_PID:-}"); exit 1; }
pids+=("$XVFB_PID")
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || exit 1
export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
pids+=("$(sed -n 2p <<<"$bus")")
dunst -config /dev/null >/dev/null 2>&1 &
pids+=($!)
trayer --edge bottom --align right --widthtype request --height 24 --SetDockType true \
    --transparent false --tint 0x333333 >/dev/null 2>&1 &
pids+=($!)
panel=""
for _ in $(seq 100); do
    panel=$(xdotool search --name '^panel$' 2>/dev/null | head -n1)
    [ -n "$panel" ] && break
    sleep 0.1
done
[ -n "$panel" ] || { echo "trayer did not start" >&2; exit 1; }

picture=$work/today-3840x2160.jpg
convert -seed 4242 -size 3840x2160 plasma:fractal -quality 90 "$picture" || exit 1
icon=$work/icon.png
convert -size 22x22 xc:orange "PNG32:$icon" || exit 1
today=$(LC_ALL=C date +%A)
printf '%s\n' '[Vintrel\Options]' '"ShowSplsh" = "False"' \
    '[HKEY_CURRENT_USER\Software\Corvane\Local Settings]' "\"$today\" = \"$picture\"" \
    >"$XDG_CONFIG_HOME/lumora/lumora.conf"

# name|icon class|wait for the wallpaper|command...
# "lumora" finds today's picture prepared by the run before (as at every log-in after the first,
# or after the day watch prepared it the evening before); "lumora-decode" finds nothing prepared.
runs=("lumora|lumora|1|$lumora" "lumora-decode|lumora|1|$lumora" "qt-tray|lumora_bench_tray|0|$tray|$icon")
command -v xwallpaper >/dev/null 2>&1 && runs+=("xwallpaper|-|1|xwallpaper|--stretch|$picture")
command -v feh >/dev/null 2>&1 && runs+=("feh|-|1|feh|--bg-scale|--no-fehbg|$picture")
command -v hsetroot >/dev/null 2>&1 && runs+=("hsetroot|-|1|hsetroot|-fill|$picture")

run_one() {
    local -a f
    IFS='|' read -r -a f <<<"${runs[$1]}"
    local out
    [ "${f[0]}" = lumora-decode ] && rm -rf "$XDG_CACHE_HOME/lumora"
    # Every setter ends the client that owns the pixmap the root names; when that client is gone
    # and its id was handed to a new client (the setter itself, the tray host), the wrong one
    # ends. So the root names no pixmap at the start of a run (the old ones stay on the server).
    xprop -root -remove _XROOTPMAP_ID 2>/dev/null
    xprop -root -remove ESETROOT_PMAP_ID 2>/dev/null
    out=$("$watch" "${f[1]}" "$panel" "${f[2]}" -- "${f[@]:3}" 2>"$work/err") ||
        { echo "${f[0]} failed:" >&2; cat "$work/err" >&2; exit 1; }
    echo "$out" >>"$work/result.$1"
    sleep 0.3 # the tray host lets go of the icon, the server frees the old pixmap
}
for i in "${!runs[@]}"; do run_one "$i"; : >"$work/result.$i"; done
n=${#runs[@]}
for ((r = 0; r < rounds; r++)); do
    for ((k = 0; k < n; k++)); do run_one $(((r + k) % n)); done
done

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
stat_of() { # FILE COLUMN -> "median min max"
    local col
    col=$(cut -d' ' -f"$2" "$1" | grep -v '^-$')
    [ -n "$col" ] || { echo "- - -"; return; }
    printf '%s %s %s\n' "$(median <<<"$col")" "$(sort -n <<<"$col" | head -n1)" "$(sort -n <<<"$col" | tail -n1)"
}
index_of() { for i in "${!runs[@]}"; do [ "${runs[$i]%%|*}" = "$1" ] && echo "$i"; done; }

qt=$(index_of qt-tray)
xw=$(index_of xwallpaper)
icon_ref=$(stat_of "$work/result.$qt" 1 | cut -d' ' -f1)
wall_ref=""
[ -n "$xw" ] && wall_ref=$(stat_of "$work/result.$xw" 2 | cut -d' ' -f1)

echo "Launch on a 1920x1080x24 Xvfb with dunst and trayer; today's picture 3840x2160 JPEG q90, stretched; $rounds rounds, alternating"
echo
echo "| measure | program | median ms | min ms | max ms | ratio | reference | peak MiB | target | met |"
echo "|---|---|---|---|---|---|---|---|---|---|"
row() { # MEASURE INDEX COLUMN REFERENCE-MS REFERENCE-NAME TARGET
    local s med min max ratio="-" met="-" kib mib
    s=$(stat_of "$work/result.$2" "$3")
    read -r med min max <<<"$s"
    [ "$med" = "-" ] && return
    kib=$(cut -d' ' -f3 "$work/result.$2" | median)
    mib=$(awk -v k="$kib" 'BEGIN { printf "%.1f", k / 1024 }')
    f=$(printf '%.1f' "$med")
    if [ -n "$4" ]; then
        ratio=$(awk -v a="$med" -v b="$4" 'BEGIN { printf "%.2f", a / b }')
        [ -n "$6" ] && met=$(awk -v r="$ratio" -v t="$6" 'BEGIN { print (r <= t) ? "yes" : "no" }')
    fi
    printf '| %s | %s | %.1f | %.1f | %.1f | %s | %s | %s | %s | %s |\n' "$1" "${runs[$2]%%|*}" \
        "$med" "$min" "$max" "$ratio" "$5" "$mib" "${6:+≤ $6}" "$met"
}
row "launch → icon" "$(index_of lumora)" 1 "$icon_ref" qt-tray 1.3
row "launch → icon" "$(index_of lumora-decode)" 1 "$icon_ref" qt-tray 1.3
row "launch → icon" "$qt" 1 "$icon_ref" qt-tray ""
for name in lumora lumora-decode xwallpaper feh hsetroot; do
    i=$(index_of "$name")
    [ -n "$i" ] || continue
    target=""
    [ "${name%%-*}" = lumora ] && target=0.8
    row "launch → wallpaper" "$i" 2 "$wall_ref" xwallpaper "$target"
done
