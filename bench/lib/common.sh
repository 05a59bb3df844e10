# Helpers the benchmark scripts share. Source this file; it sets no shell options.

# make_day_pictures DIR WIDTH HEIGHT: seven JPEGs (quality 90), DIR/day1.jpg .. DIR/day7.jpg,
# each a gradient of its own colours under Gaussian noise from a fixed seed, so that the decoder
# has real detail to work through (about 0.55 bytes a pixel). Pictures already there are kept.
make_day_pictures() {
    local dir=$1 w=$2 h=$3 i
    local -a from=('#203040' '#402010' '#103020' '#302040' '#404010' '#104040' '#200808')
    local -a to=('#e0c080' '#80c0e0' '#e080c0' '#c0e080' '#8080e0' '#e0e0a0' '#a0e0e0')
    mkdir -p "$dir"
    for i in 1 2 3 4 5 6 7; do
        [ -s "$dir/day$i.jpg" ] && continue
        convert -size "${w}x$h" "gradient:${from[$((i - 1))]}-${to[$((i - 1))]}" -seed "$((4240 + i))" \
            -attenuate 0.5 +noise Gaussian -quality 90 "jpg:$dir/day$i.jpg.part" || return 1
        mv "$dir/day$i.jpg.part" "$dir/day$i.jpg"
    done
}

# day_profile_lines DIR: the settings file lines that give every day (Sunday .. Saturday) its
# picture DIR/day1.jpg .. DIR/day7.jpg, for session.sh's `profile`.
day_profile_lines() {
    local dir=$1 i
    local -a days=(Sunday Monday Tuesday Wednesday Thursday Friday Saturday)
    echo '[HKEY_CURRENT_USER\Software\Corvane\Local Settings]'
    for i in 1 2 3 4 5 6 7; do
        printf '"%s" = "%s"\n' "${days[$((i - 1))]}" "$dir/day$i.jpg"
    done
}

# start_bench_xvfb WORK_DIR [Xvfb options]: a private 1920x1080x24 Xvfb that does not reset;
# sets XVFB_PID and exports DISPLAY once the server has told its display number. Returns 1 (with
# its log on stderr) when it does not come up within ten seconds.
start_bench_xvfb() {
    local work=$1 xfd
    shift
    exec {xfd}>"$work/display"
    Xvfb -displayfd "$xfd" -screen 0 1920x1080x24 -noreset -nolisten tcp "$@" >"$work/xvfb.log" 2>&1 &
    XVFB_PID=$!
    exec {xfd}>&-
    for _ in $(seq 100); do grep -q '^[0-9]' "$work/display" && break; sleep 0.1; done
    grep -q '^[0-9]' "$work/display" || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; return 1; }
    export DISPLAY=":$(head -n1 "$work/display")"
}

# bench_on_xvfb NAME [Xvfb options]: for a benchmark on one private Xvfb: ends the script when
# Xvfb, convert or /usr/bin/time is missing; makes the scratch folder WORK (/tmp/lumora-NAME.*),
# starts the server, and removes both when the script ends.
bench_on_xvfb() {
    local name=$1 c
    shift
    for c in Xvfb convert /usr/bin/time; do
        command -v "$c" >/dev/null 2>&1 || { echo "$c is not installed" >&2; exit 2; }
    done
    work=$(mktemp -d "/tmp/lumora-$name.XXXXXX")
    XVFB_PID=""
    trap '[ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null; rm -rf "$work"' EXIT
    start_bench_xvfb "$work" "$@" || exit 1
}

# bench_day_pictures: for a benchmark in a session of tests/linux/e2e/lib/session.sh (sourced by the
# script): the seven 6000x4000 day pictures in $pictures, a scratch folder of their own when it
# is empty; `finish` (set as the exit trap) stops the session and removes that folder.
finish() {
    set +e
    session_stop
    [ -z "$own_pictures" ] || rm -rf "$own_pictures"
}
bench_day_pictures() {
    own_pictures=""
    if [ -z "$pictures" ]; then
        pictures=$(mktemp -d /tmp/lumora-bench-pictures.XXXXXX)
        own_pictures=$pictures
    fi
    trap finish EXIT
    echo "making the seven 6000x4000 pictures in $pictures ..." >&2
    make_day_pictures "$pictures" 6000 4000
    pictures=$(cd "$pictures" && pwd)
}

# Statistics of the numbers on standard input, one a line.
stat_median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.2f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
stat_min() { sort -g | head -n1; }
stat_max() { sort -g | tail -n1; }

# cpu_description: "<model>, <n> cores" from /proc/cpuinfo.
cpu_description() {
    local model
    model=$(awk -F': *' '/^model name/ { print $2; exit }' /proc/cpuinfo)
    [ -n "$model" ] || model=$(awk -F': *' '/^(Hardware|cpu model|uarch)/ { print $2; exit }' /proc/cpuinfo)
    printf '%s, %s cores\n' "${model:-unknown CPU}" "$(getconf _NPROCESSORS_ONLN)"
}
