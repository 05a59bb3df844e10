#!/usr/bin/env bash
# The real lumora.exe killed (SIGKILL of its Wine process, as TerminateProcess or a power cut
# would end it) in the middle of its writes, in a Wine virtual desktop:
# - during a day copy: Monday chosen from the tray menu, the open dialog preset with a 60 MB
#   BMP (Monday's last source), OK; killed at a random moment within a little more than a whole
#   copy's time (one copy left to finish first says how long that is). Afterwards Monday's copy
#   is one whole source (the new or the old), and Monday's value the old one or the copy's
#   path; the copy's part file a kill leaves is gone once the next start is up;
# - during option writes: "Show Logo at startup" toggled from the menu again and again, killed
#   at a random moment. Afterwards ShowSplsh is whole ("True" or "False") and the other values
#   are as they were.
# After every kill the next start comes up with its icon and no box. One summary line at the end.
set -uo pipefail
source "$(dirname "$0")/../e2e/lib/session.sh"
win_session_start || exit 1
copy_kills=${COPY_KILLS:-10}
option_kills=${OPTION_KILLS:-10}
kills=0 crashes=0 lost=0 half=0 failed_starts=0 copies_whole=0

DAYS='HKCU\Software\Corvane\Local Settings'
SOURCES='HKCU\Software\Corvane\Settings'
reg_set "$OPTIONS_KEY" ShowSplsh False
reg_set "$OPTIONS_KEY" DispMess False
reg_set "$OPTIONS_KEY" Styl2 2
# Two sources of 60 MB each, different throughout (the copy must be one or the other, whole).
big=$WIN_DIR/pictures
mkdir -p "$big"
convert -size 4500x4600 'plasma:red-blue' -seed 1 "BMP3:$big/a.bmp" 2>/dev/null ||
    convert -size 4500x4600 'xc:rgb(200,40,30)' +noise Random "BMP3:$big/a.bmp"
convert "$big/a.bmp" -negate "BMP3:$big/b.bmp"
e2e_log "sources: $(stat -c %s "$big/a.bmp") and $(stat -c %s "$big/b.bmp") bytes"

# started NAME: the program started, up with its icon and no box of any kind.
started() {
    start_lumora "$1"
    if ! wait_until 60 icon_shown; then
        failed_starts=$((failed_starts + 1))
        fail "start $1 showed no icon"
        return 1
    fi
    if [ -n "$(probe windows | awk -F'\t' '$4 ~ /^Lumora/')" ]; then
        failed_starts=$((failed_starts + 1))
        fail "start $1 showed a window: $(probe windows | awk -F'\t' '$4 ~ /^Lumora/ { print $4 }')"
    fi
}
# killed: the running program's Wine process killed; a program that had already ended crashed.
killed() {
    if alive "$LUMORA_PID"; then
        kill -9 "$LUMORA_PID" && kills=$((kills + 1))
    else
        crashes=$((crashes + 1))
        fail "the program had ended before it was killed"
    fi
    wait "$LUMORA_PID" 2>/dev/null
    # The icon goes when the shell finds its window gone.
    wait_until 30 icon_gone || fail "the icon outlived the killed program"
}
menu_shown() { probe windows | awk -F'\t' '$3 == "#32768" { f = 1 } END { exit !f }'; }
# menu DOWNS: the tray menu opened with a right click on the icon, then its item DOWNS steps
# down from the top chosen with Return. Keys reach the window under the pointer: it rests on the
# menu's top edge, where it lights no item. A menu still open afterwards took none of the keys
# (they came before it listened): it is closed and opened once again.
menu() {
    local x y w h try
    for try in 1 2; do
        click_icon 3 || return 1
        wait_until 10 menu_shown || { fail "no tray menu"; return 1; }
        read -r x y w h < <(window_rect "$(probe windows | awk -F'\t' '$3 == "#32768" { print $1; exit }')")
        xdotool mousemove $((x + w / 2)) $((y + 1))
        xdotool key --delay 60 $(printf 'Down %.0s' $(seq "$1")) Return
        wait_until 5 menu_gone && return 0
        xdotool key Escape
        wait_until 5 menu_gone || break
    done
    fail "the tray menu took no keys"
    return 1
}
menu_gone() { ! menu_shown; }
pause_ms() { sleep "$(printf '0.%03d' $((RANDOM % $1)))"; }

copy=$PROGRAM_DATA/Monday.bmp
parts() { find "$PROGRAM_DATA" -maxdepth 1 -name '.*.part-*' | wc -l; }
# choose_monday SOURCE: Monday chosen from the tray menu, the open dialog (preset with SOURCE,
# Monday's last choice) accepted with Return; the copy starts as the dialog goes.
choose_monday() {
    reg_set "$SOURCES" Monday "$(unix_to_windows "$1")"
    menu 4 # Refresh, Exit, Sunday, Monday
    local dialog='Lumora - Choose wallpaper to use for Monday' x y w h
    wait_until 30 window_shown "$dialog" || { fail "no open dialog"; return 1; }
    read -r x y w h < <(window_rect "$(window_of "$dialog")")
    xdotool mousemove $((x + w / 2)) $((y + h / 2))
    xdotool key Return
    wait_until 30 window_gone "$dialog" || { fail "the open dialog stayed"; return 1; }
}
now_ms() { date +%s%3N; }
# One copy left to finish: how long a whole copy takes here, the span the kills fall in.
started measure && choose_monday "$big/b.bmp" && {
    t0=$(now_ms)
    wait_until 300 reg_is "$DAYS" Monday "$(wine_cmd winepath -w "$copy")" || fail "the first copy did not finish"
    copy_ms=$(($(now_ms) - t0))
    cmp -s "$copy" "$big/b.bmp" || fail "the finished copy is not its source"
    e2e_log "a whole copy took about $copy_ms ms"
}
kill -9 "$LUMORA_PID"
wait "$LUMORA_PID" 2>/dev/null
wait_until 30 icon_gone || fail "the icon outlived the program"
monday_was=$(reg_value "$DAYS" Monday)
span_ms=$((${copy_ms:-1000} * 5 / 4 + 1))
in_flight=0 parts_left=0
for ((k = 1; k <= copy_kills; k++)); do
    source=$big/a.bmp
    [ $((k % 2)) = 0 ] && source=$big/b.bmp
    started "copy$k" || continue
    # The part file of the last kill goes at the start (with the default picture's write).
    wait_until 30 test "$(parts)" = 0 || { parts_left=$((parts_left + $(parts))); fail "a part file outlived the start"; }
    choose_monday "$source" || { killed; continue; }
    sleep "$(awk -v ms=$(((RANDOM * 32768 + RANDOM) % span_ms)) 'BEGIN { printf "%.3f", ms / 1000 }')"
    killed
    [ "$(parts)" -gt 0 ] && in_flight=$((in_flight + 1))
    if [ -e "$copy" ]; then
        if cmp -s "$copy" "$big/a.bmp" || cmp -s "$copy" "$big/b.bmp"; then
            copies_whole=$((copies_whole + 1))
        else
            half=$((half + 1))
            fail "Monday's copy is neither whole source after kill $k ($(stat -c %s "$copy") bytes)"
        fi
    fi
    value=$(reg_value "$DAYS" Monday)
    case $value in
    "$monday_was" | "$(wine_cmd winepath -w "$copy")") monday_was=$value ;;
    *) lost=$((lost + 1)); fail "Monday's value is [$value] after kill $k" ;;
    esac
done

# Option writes: the other values must stay as they are.
styl_before=$(reg_value "$OPTIONS_KEY" Styl2)
disp_before=$(reg_value "$OPTIONS_KEY" DispMess)
logo_item=12 # Refresh, Exit, the seven days, start at logon, alerts, the logo
for ((k = 1; k <= option_kills; k++)); do
    started "options$k" || continue
    toggles=$((1 + RANDOM % 4))
    for ((t = 1; t < toggles; t++)); do
        before=$(reg_value "$OPTIONS_KEY" ShowSplsh)
        menu $logo_item
        wait_until 10 test "$(reg_value "$OPTIONS_KEY" ShowSplsh)" != "$before" || fail "ShowSplsh did not change from [$before]"
    done
    menu $logo_item
    pause_ms 200
    killed
    value=$(reg_value "$OPTIONS_KEY" ShowSplsh)
    case $value in
    True | False) ;;
    *) lost=$((lost + 1)); fail "ShowSplsh is [$value] after kill $k" ;;
    esac
    [ "$(reg_value "$OPTIONS_KEY" Styl2)" = "$styl_before" ] || { lost=$((lost + 1)); fail "Styl2 changed after kill $k"; }
    [ "$(reg_value "$OPTIONS_KEY" DispMess)" = "$disp_before" ] || { lost=$((lost + 1)); fail "DispMess changed after kill $k"; }
    [ "$(reg_value "$DAYS" Monday)" = "$monday_was" ] || { lost=$((lost + 1)); fail "Monday's value changed after kill $k"; }
    # The next start is to show no window: the logo is switched off again.
    reg_set "$OPTIONS_KEY" ShowSplsh False
done
started last
echo "kills of the real program: $kills kills, $crashes crashes, $lost values lost, $half half-written copies," \
    "$copies_whole whole copies after $copy_kills copy kills, $in_flight kills during a copy, $parts_left part files left after a start, $failed_starts failed starts"
e2e_finish
