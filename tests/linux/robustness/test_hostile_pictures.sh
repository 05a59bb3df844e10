#!/usr/bin/env bash
# Hostile pictures: a generated corpus (make_hostile_pictures.py) of cut, corrupted, lying, huge
# and bomb pictures of every format, empty and random files, folders, pipes, devices and a file
# that vanishes while it is read. Each file, as a day's picture, goes through:
#   - picture_probe: the day copy, the thumbnail, the preview window and the root window (X11);
#   - desktop_driver: each desktop backend on its real settings daemon (GNOME, MATE and Cinnamon
#     on dconf, XFCE on xfconfd; swaybg on a headless sway and KDE where installed, with
#     LUMORA_SUITE_BUDGET=full);
#   - the real program: `lumora --refresh` with every day naming the file, on the root window;
#     and its settings window opened from the tray with a different file for each day, each
#     thumbnail hovered: the window opens, every thumbnail is the no-picture one, and the
#     program stays up within its memory bound.
# For each: no crash, no path taking over 2 s (a hang), memory bounded (the peak resident size of
# the process, from GNU time, under 512 MiB), and what the program gives for a bad picture: no
# thumbnail (the no-picture one), "error N : description" from the preview, a wallpaper failure
# that reports no success (the backend's status, the program's exit status) and leaves the
# desktop's previous picture in place.
source "$(dirname "$0")/../e2e/lib/session.sh"
source "$(dirname "$0")/../e2e/lib/desktop_checks.sh"
need python3 convert gsettings xfconf-query
: "${LUMORA_BIN:?}" "${PICTURE_PROBE:?}"
[ -x /usr/bin/time ] || skip "GNU time is not installed"
[ -x /usr/libexec/dconf-service ] || skip "dconf-service is not installed"
[ -x "$XFCONFD" ] || skip "xfconfd is not installed ($XFCONFD)"
shopt -s extglob
FULL=0
[ "${LUMORA_SUITE_BUDGET:-}" = full ] && FULL=1
# A path in the probe is a hang past 2 s; a whole process (start-up included) past 10 s.
HANG_MS=2000 HANG_PROCESS_S=10 RSS_KB=$((512 * 1024))
session_start --no-notify --wm openbox || { fail "session did not start"; e2e_finish; }
need_driver
export GSETTINGS_BACKEND=dconf
session_spawn xfconfd "$XFCONFD"
wait_until 10 bus_has_name org.xfce.Xfconf || { fail "xfconfd did not start"; e2e_finish; }

CORPUS=$SESSION_DIR/corpus
python3 "$(dirname "$0")/make_hostile_pictures.py" "$CORPUS" >"$SESSION_DIR/manifest" ||
    { fail "the corpus could not be made"; e2e_finish; }
GOOD=$CORPUS/good.png
CASES=0 CRASHES=0 HANGS=0 OVER_MEMORY=0 WRONG=0 PEAK_KB=0

wrong() { WRONG=$((WRONG + 1)); fail "$*"; }
# measured KIND NAME STATUS RSS: counts a crash (killed by a signal), a hang (timeout's 124, or
# longer than the bound) and a peak over the bound.
measured() {
    CASES=$((CASES + 1))
    [ "${ELAPSED%.*}" -ge $HANG_PROCESS_S ] && { HANGS=$((HANGS + 1)); fail "$2: $1 took $ELAPSED s"; }
    [ "$4" -gt "$PEAK_KB" ] && PEAK_KB=$4
    [ "$4" -gt "$RSS_KB" ] && { OVER_MEMORY=$((OVER_MEMORY + 1)); fail "$2: $1 peaked at $4 KiB"; }
    case $3 in
    124) HANGS=$((HANGS + 1)); fail "$2: $1 did not finish (hang)" ;;
    12[5-9] | 1[3-9][0-9] | 2[0-9][0-9]) CRASHES=$((CRASHES + 1)); fail "$2: $1 ended with status $3 (crash)" ;;
    esac
}
# timed OUT COMMAND...: runs COMMAND with a hard time-out, its output in OUT; STATUS, RSS (peak
# resident KiB) and ELAPSED (seconds) set.
timed() {
    local out=$1
    shift
    /usr/bin/time -f '%M %e' -o "$SESSION_DIR/rss" timeout -k 5 30 "$@" >"$out" 2>>"$SESSION_DIR/stderr.log"
    STATUS=$?
    read -r RSS ELAPSED < <(tail -n1 "$SESSION_DIR/rss" | grep -E '^[0-9]+ [0-9.]+$' || echo "0 0")
}

# 1. In-process paths: copy, thumbnail, preview, root window.
while IFS=$'\t' read -r name kind; do
    file=$CORPUS/$name
    args=("$file" x11)
    [ "$kind" = vanish ] && args=(--vanish "$file" x11)
    timed "$SESSION_DIR/probe" "$PICTURE_PROBE" "${args[@]}"
    measured probe "$name" "$STATUS" "$RSS"
    declare -A got=()
    while read -r path rest; do
        got[$path]=${rest% *}
        [ "${rest##* }" -gt $HANG_MS ] && { HANGS=$((HANGS + 1)); fail "$name: $path took ${rest##* } ms"; }
    done <"$SESSION_DIR/probe"
    for path in copy thumbnail preview x11; do
        [ -n "${got[$path]:-}" ] || { wrong "$name: $path gave no answer"; continue; }
        [[ ${got[$path]} = *leftovers* ]] && wrong "$name: the copy left files behind"
    done
    outcome="${got[copy]:-}|${got[thumbnail]:-}|${got[preview]:-}|${got[x11]:-}"
    case $kind in
    good) want='copied|picture:*|shown|set' ;;
    bad) want='copied|no-picture|box:error @(481 : Invalid picture|7 : Out of memory)|failed' ;;
    special) want='refused|no-picture|box:error @(75 : Path/File access error|53 : File not found)|failed' ;;
    vanish) want='refused|*|*|*' ;;
    damaged) want='copied|@(no-picture|picture:*)|@(shown|box:error +([0-9]) : *)|@(set|failed)' ;;
    esac
    # shellcheck disable=SC2053
    [[ $outcome == $want ]] || wrong "$name ($kind): got [$outcome], expected [$want]"
    unset got
done <"$SESSION_DIR/manifest"

# 2. Each desktop backend on its real settings daemon: a sound picture first, then the file. A
# file that is no picture is refused (status 3) and the sound picture stays set.
gnome_has() { [ "$(uri_path "$(gget org.gnome.desktop.background picture-uri)")" = "file:$1" ]; }
cinnamon_has() { [ "$(uri_path "$(gget org.cinnamon.desktop.background picture-uri)")" = "file:$1" ]; }
mate_has() { [ "$(gget org.mate.background picture-filename)" = "$1" ]; }
xfce_has() {
    local g n=0
    for g in $(xq -l | sed -n 's|/last-image$||p'); do
        [ "$(xget "$g/last-image")" = "$1" ] || return 1
        n=$((n + 1))
    done
    [ $n -gt 0 ]
}
BACKENDS=(gnome cinnamon mate xfce)
if [ $FULL = 1 ] && command -v plasmashell >/dev/null 2>&1; then
    e2e_log "KDE: plasmashell is installed but its check is left to test_desktop_kde.sh"
fi
gsettings list-schemas | grep -qx org.mate.background || BACKENDS=(${BACKENDS[@]/mate/})
gsettings list-schemas | grep -qx org.cinnamon.desktop.background || BACKENDS=(${BACKENDS[@]/cinnamon/})
e2e_log "desktop backends: ${BACKENDS[*]}"
while IFS=$'\t' read -r name kind; do
    [ "$kind" = vanish ] && continue
    for backend in "${BACKENDS[@]}"; do
        drive "$backend" "$GOOD" 2 >/dev/null || wrong "$backend: the sound picture was not set"
        timed "$SESSION_DIR/drive" "$DESKTOP_DRIVER" "$backend" wall "$CORPUS/$name" 2
        measured "$backend" "$name" "$STATUS" "$RSS"
        case $kind in
        good) check_eq "$backend $name: status" 0 "$STATUS"
            "${backend}_has" "$CORPUS/$name" || wrong "$backend $name: not set" ;;
        bad | special) check_eq "$backend $name: status" 3 "$STATUS"
            "${backend}_has" "$GOOD" || wrong "$backend $name: the previous picture was replaced" ;;
        esac
    done
done <"$SESSION_DIR/manifest"

# swaybg on a headless sway (full budget): a refused file starts no swaybg.
if [ $FULL = 1 ] && command -v sway >/dev/null && command -v swaybg >/dev/null && id nobody >/dev/null 2>&1; then
    chmod 755 "$CORPUS"
    if sway_start; then
        while IFS=$'\t' read -r name kind; do
            [ "$kind" = vanish ] && continue
            rm -f "$SWAYBG_PIDFILE"
            timed "$SESSION_DIR/drive" env WAYLAND_DISPLAY="$SWAY_SOCKET" "$DESKTOP_DRIVER" sway wall "$CORPUS/$name" 2
            measured sway "$name" "$STATUS" "$RSS"
            case $kind in
            good) check_eq "sway $name: status" 0 "$STATUS" ;;
            bad | special) check_eq "sway $name: status" 3 "$STATUS"
                [ -s "$SWAYBG_PIDFILE" ] && wrong "sway $name: a swaybg was started" ;;
            esac
            p=$(cat "$SWAYBG_PIDFILE" 2>/dev/null) && [ -n "$p" ] && kill "$p" 2>/dev/null
        done <"$SESSION_DIR/manifest"
    fi
fi

# 3. The real program: every day names the file, `lumora --refresh` sets today's wallpaper on the
# root window once. A file that is no picture ends with status 1 and a line on stderr.
DAYS=(Monday Tuesday Wednesday Thursday Friday Saturday Sunday)
while IFS=$'\t' read -r name kind; do
    [ "$kind" = vanish ] && continue
    lines=()
    for d in "${DAYS[@]}"; do lines+=("\"$d\" = \"$CORPUS/$name\""); done
    profile '[HKEY_CURRENT_USER\Software\Corvane\Local Settings]' "${lines[@]}"
    timed "$SESSION_DIR/refresh" env LUMORA_DESKTOP=x11 "$LUMORA_BIN" --refresh
    measured lumora "$name" "$STATUS" "$RSS"
    case $kind in
    good) check_eq "lumora --refresh $name: status" 0 "$STATUS" ;;
    bad | special) check_eq "lumora --refresh $name: status" 1 "$STATUS" ;;
    esac
done <"$SESSION_DIR/manifest"

# 4. The settings window of the real program, seven files at a time (one a day), each thumbnail
# hovered; every file that is no picture shows the no-picture thumbnail.
need xdotool xwininfo import compare
screen_size
mapfile -t NONE < <(awk -F'\t' '$2 == "bad" || $2 == "special" {print $1}' "$SESSION_DIR/manifest")
[ $FULL = 1 ] || NONE=("${NONE[@]:0:14}")
# Thumbnail of day i (1 Sunday .. 7 Saturday): four in the first row, three in the second.
thumb_x() { echo $((6 + (($1 - 1) % 4) * 166)); }
thumb_y() { [ "$1" -le 4 ] && echo 30 || echo 174; }
# shows_no_picture X Y: the screen shows the no-picture thumbnail at X,Y.
shows_no_picture() {
    import -window root -crop "160x120+$1+$2" +repage "$SESSION_DIR/thumb.png" &&
        [ "$(compare -metric AE "$SESSION_DIR/thumb.png" "${LUMORA_SOURCE_DIR:?}/resources/nopicture.bmp" null: 2>&1)" = 0 ]
}
for ((first = 0; first < ${#NONE[@]}; first += 7)); do
    lines=()
    for i in 0 1 2 3 4 5 6; do
        name=${NONE[$(((first + i) % ${#NONE[@]}))]}
        lines+=("\"${DAYS[$(((i + 6) % 7))]}\" = \"$CORPUS/$name\"")
    done
    profile '[HKEY_CURRENT_USER\Software\Corvane\Local Settings]' "${lines[@]}"
    LUMORA_DESKTOP=none session_spawn "window-$first" "$LUMORA_BIN"
    pid=$SPAWNED
    CASES=$((CASES + 1))
    if ! wait_until 15 icon_embedded; then
        fail "round $first: the icon did not appear"
        kill "$pid" 2>/dev/null
        continue
    fi
    if ! icon_double_click settings_window_open; then
        HANGS=$((HANGS + 1))
        fail "round $first: the settings window did not open"
    else
        settled
        read -r WX WY _ < <(geometry "$(settings_window)")
        xdotool mousemove 0 0
        for d in 1 2 3 4 5 6 7; do
            tx=$((WX + $(thumb_x $d))) ty=$((WY + $(thumb_y $d)))
            wait_until 10 shows_no_picture $tx $ty ||
                wrong "round $first: day $d (${lines[$((d - 1))]}) does not show the no-picture thumbnail"
        done
        # Hovered one after another: the size and length of each are looked up, each before the
        # program answers on the bus.
        for d in 1 2 3 4 5 6 7; do
            xdotool mousemove $((WX + $(thumb_x $d) + 80)) $((WY + $(thumb_y $d) + 60))
            program_answers
        done
    fi
    alive "$pid" || { CRASHES=$((CRASHES + 1)); fail "round $first: the program ended: $(tail -n3 "$SESSION_DIR/window-$first.log")"; }
    peak=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    [ "${peak:-0}" -gt "$PEAK_KB" ] && PEAK_KB=$peak
    [ "${peak:-0}" -gt "$RSS_KB" ] && { OVER_MEMORY=$((OVER_MEMORY + 1)); fail "round $first: lumora peaked at $peak KiB"; }
    kill "$pid" 2>/dev/null
    wait_until 10 ended "$pid" || fail "round $first: the program did not end on SIGTERM"
done

e2e_log "hostile pictures: $(wc -l <"$SESSION_DIR/manifest") files, $CASES runs; crashes $CRASHES, hangs $HANGS, over memory $OVER_MEMORY, wrong outcomes $WRONG; peak resident $((PEAK_KB / 1024)) MiB"
e2e_finish
