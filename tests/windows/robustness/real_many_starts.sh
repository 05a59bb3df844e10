#!/usr/bin/env bash
# Twenty starts of the real lumora.exe at once in one Wine virtual desktop: exactly one runs on
# with one icon; each of the nineteen others shows the "already running" box and ends, without a
# crash, once its box is closed (OK clicked).
set -uo pipefail
source "$(dirname "$0")/../e2e/lib/session.sh"
win_session_start || exit 1
starts=${STARTS:-20}
BOX='Lumora - v2.2.4'

reg_set "$OPTIONS_KEY" ShowSplsh False
pids=()
for ((i = 1; i <= starts; i++)); do
    start_lumora "start$i"
    pids+=("$LUMORA_PID")
done
boxes() { probe windows | awk -F'\t' -v title="$BOX" '$4 == title' | wc -l; }
boxes_are() { [ "$(boxes)" = "$1" ]; }
icons() { probe tray | awk -F'\t' '$6 == "Lumora"' | wc -l; }
wait_until 180 boxes_are $((starts - 1)) || fail "expected $((starts - 1)) boxes, saw $(boxes)"
wait_until 60 icon_shown || fail "no icon in the notification area"
check_eq "icons" 1 "$(icons)"

# Each box closed by its OK button; the boxes may lie on top of each other, so each click
# closes the one on top and the count goes down by one.
closed=0 crashes=0
while [ "$(boxes)" -gt 0 ]; do
    before=$(boxes)
    box=$(window_of "$BOX")
    [ -n "$box" ] || break
    control_texts "$box" Static | grep -q '^Lumora is already running on this computer\.' ||
        fail "a box titled $BOX says [$(control_texts "$box" Static | paste -sd'|')]"
    click_control "$box" OK
    wait_until 30 test "$(boxes)" -lt "$before" || { fail "a box did not close on OK"; break; }
    closed=$((closed + before - $(boxes)))
done
running=()
for pid in "${pids[@]}"; do
    if wait_until 30 ended "$pid"; then
        wait "$pid"
        status=$?
        [ "$status" = 0 ] || { crashes=$((crashes + 1)); fail "a start (PID $pid) ended with status $status"; }
    else
        running+=("$pid")
    fi
done
check_eq "starts running on" 1 "${#running[@]}"
check_eq "icons at the end" 1 "$(icons)"
# A crash in Wine shows its own box (winedbg's); none may be there.
crash_boxes=$(probe windows | awk -F'\t' '$4 ~ /[Pp]rogram [Ee]rror|winedbg/' | wc -l)
check_eq "crash boxes" 0 "$crash_boxes"
echo "many starts: $starts starts, ${#running[@]} running, $closed boxes closed, $crashes crashes, $crash_boxes crash boxes"
e2e_finish
