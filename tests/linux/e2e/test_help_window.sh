#!/usr/bin/env bash
# The help window on a real X server under openbox, shown by the aux_driver tool at a fixed time
# (faketime): the caption, size, only a close box, centring at every activation that comes
# from another of the program's windows (and not from another application), one window.
source "$(dirname "$0")/lib/session.sh"
need openbox xdotool xprop xwininfo faketime
DRIVER=${LUMORA_BINARY_DIR:?}/tests/linux/e2e/aux_driver
[ -x "$DRIVER" ] || skip "aux_driver is not built"
session_start --wm openbox --no-tray --no-notify || { fail "session did not start"; e2e_finish; }
screen_size
caption() { xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }
# frame WID -> "X Y W H" of the window manager's frame around WID; centred WID: on the screen.
frame() {
    local x y w h l r t b
    read -r x y w h < <(geometry "$1")
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    echo $((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))
}
centred() {
    local x y w h
    read -r x y w h < <(frame "$1")
    [ "$x $y" = "$(((SW - w) / 2)) $(((SH - h) / 2))" ]
}
move_away() { timeout 10 xdotool windowmove --sync "$1" 20 40 >/dev/null 2>&1; wm_caught_up; }
# activate_from FROM WID: FROM takes the focus, then WID takes it back.
activate_from() {
    activate "$1"
    wait_until 5 has_focus "$1" || fail "window $1 did not take the focus"
    activate "$2"
    wait_until 5 has_focus "$2" || fail "the help window did not take the focus back"
}

LOG=$SESSION_DIR/help.log
mkfifo "$SESSION_DIR/help.cmd"
exec {CMD}<>"$SESSION_DIR/help.cmd" # held open both ways: writing never blocks
LC_ALL=C.UTF-8 session_spawn help faketime -f '@2027-02-03 09:05:07' "$DRIVER" \
    --fifo "$SESSION_DIR/help.cmd" settings, help
wait_until 10 grep -q '^help-window ' "$LOG" || { fail "the driver did not show the help window"; e2e_finish; }
HID=$(window_of "$LOG" help)
SETTINGS=$(window_of "$LOG" settings)
wait_until 5 viewable "$HID" || fail "the help window is not mapped"

# The caption as the window manager sees it (its text and clock: help_window_test).
FIRST=$(caption "$HID")
[[ "$FIRST" =~ ^Lumora\ Help\ -\ v2\.2\.4\ -\ 03\ February\ 2027\ -\ 09:0[5-9]:[0-5][0-9]$ ]] ||
    fail "caption is \"$FIRST\""

# Size, decorations, staying on top.
check_eq "client area" "948 616" "$(geometry "$HID" | cut -d' ' -f3-)"
wait_until 5 centred "$HID" || fail "help window not centred: frame at $(frame "$HID")"
above "$HID" || fail "no _NET_WM_STATE_ABOVE"
read -r _ MFUNC MDECO _ < <(xprop -id "$HID" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')
(((MFUNC & 0x38) == 0x20 && (MDECO & 0x60) == 0)) ||
    fail "Motif hints allow more than a close box: functions $MFUNC, decorations $MDECO"
xprop -id "$HID" _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE && fail "the window manager may maximise it"
check_eq "fixed size hints" 2 "$(xprop -id "$HID" WM_NORMAL_HINTS | grep -c 'imum size: 948 by 616')"

# Dragged away, then back from the program's settings window: centred again.
move_away "$HID"
centred "$HID" && fail "the help window could not be moved away"
activate_from "$SETTINGS" "$HID"
wait_until 5 centred "$HID" || fail "coming back from the settings window did not centre it: $(frame "$HID")"

# Dragged away, then back from another application: stays where it was put.
session_spawn other "$DRIVER" settings
wait_until 10 grep -q '^settings-window ' "$SESSION_DIR/other.log" || fail "the other application did not start"
OTHER=$(window_of "$SESSION_DIR/other.log" settings)
wait_until 5 viewable "$OTHER"
move_away "$HID"
MOVED=$(frame "$HID")
activate_from "$OTHER" "$HID"
# A centring would come from the driver as it handles the activation, and reach the screen through
# openbox: the driver answers a command given after it (a SetTopMost probe, which takes no focus),
# then openbox has handled what the driver asked before.
echo topmost >&"$CMD"
wait_until 10 grep -q '^topmost-window ' "$LOG" || fail "the driver did not answer after the activation"
wm_caught_up
check_eq "frame after coming back from another application" "$MOVED" "$(frame "$HID")"

# A second "&Help": the same window, centred, and only one.
echo help >&"$CMD"
wait_until 10 reported "$LOG" 'help-window ' 2 || fail "the second help did not answer"
check_eq "the second help's window" "$HID" "$(window_of "$LOG" help)"
wait_until 5 centred "$HID" || fail "the second help did not centre the window"
check_eq "help windows shown" 1 "$(xdotool search --onlyvisible --name '^Lumora Help' 2>/dev/null | wc -l)"

# Closed with its close box (Alt+F4 in openbox), then opened again with a fresh caption.
# On a loaded machine the key can reach the window before openbox has given it the focus: the
# close is asked for again, up to three times.
close_help() {
    timeout 10 xdotool windowactivate --sync "$HID" key --clearmodifiers alt+F4 >/dev/null 2>&1
    wait_until 5 hidden "$HID"
}
close_help || close_help || close_help || fail "the help window did not close"
wm_caught_up # openbox is done with the closed window before it is shown again
echo help >&"$CMD"
wait_until 10 reported "$LOG" 'help-window ' 3 || fail "the help window did not open again"
HID=$(window_of "$LOG" help)
wait_until 5 viewable "$HID" || fail "the help window is not mapped again"
[[ "$(caption "$HID")" =~ ^Lumora\ Help\ -\ v2\.2\.4\ -\ 03\ February\ 2027\ -\ 09: ]] || fail "caption after reopening: $(caption "$HID")"
wait_until 10 centred "$HID" || fail "reopened help window not centred: frame at $(frame "$HID"), screen ${SW}x${SH}"
e2e_finish
