#!/usr/bin/env bash
# The help window on a real X server under openbox, shown by the aux_driver tool at a fixed time
# (faketime): caption and clock, size, only a close box, centring at every activation that comes
# from another of the program's windows (and not from another application), one window.
source "$(dirname "$0")/lib/session.sh"
need openbox xdotool xprop xwininfo faketime
DRIVER=${LUMORA_BINARY_DIR:?}/tests/e2e/aux_driver
[ -x "$DRIVER" ] || skip "aux_driver is not built"
session_start --wm openbox --no-tray --no-notify || { fail "session did not start"; e2e_finish; }
SHOTS=${E2E_SHOTS:-/tmp}

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print x, y, w, h}'
}
window_of() { sed -n "s/^$2-window //p" "$1" | tail -n1; }
reported() { [ "$(grep -c "^$2" "$1")" -ge "$3" ]; }
caption() { xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }
caption_differs() { [ "$(caption "$1")" != "$2" ]; }
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ]; }
# frame_origin WID -> "X Y" of the window manager's frame around WID
frame_origin() {
    local x y w h l r t b
    read -r x y w h < <(geometry "$1")
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    echo $((x - l)) $((y - t))
}
# centred WID: the frame is centred on the screen, to the pixel
centred() {
    local x y w h l r t b fx fy
    read -r x y w h < <(geometry "$1")
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    fx=$((x - l)); fy=$((y - t))
    local ex=$(((SW - (w + l + r)) / 2)) ey=$(((SH - (h + t + b)) / 2))
    [ "$fx" = "$ex" ] && [ "$fy" = "$ey" ]
}
read -r SW SH < <(xwininfo -root | awk '/^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print w, h}')

LOG=$SESSION_DIR/help.log
FIFO=$SESSION_DIR/help.cmd
mkfifo "$FIFO"
exec {CMD}<>"$FIFO" # held open both ways: writing never blocks, even after the driver ended
LC_ALL=C.UTF-8 faketime -f '@2027-02-03 09:05:07' "$DRIVER" --fifo "$FIFO" settings, help \
    >"$LOG" 2>"$SESSION_DIR/help.err" &
SESSION_PIDS+=($!)
wait_until 10 grep -q '^help-window ' "$LOG" || { fail "the driver did not show the help window"; e2e_finish; }
HID=$(window_of "$LOG" help)
SETTINGS=$(window_of "$LOG" settings)
wait_until 5 viewable "$HID" || fail "the help window is not mapped"

# Caption: version, date without weekday, running clock.
FIRST=$(caption "$HID")
[[ "$FIRST" =~ ^Lumora\ Help\ -\ v2\.2\.4\ -\ 03\ February\ 2027\ -\ 09:0[5-9]:[0-5][0-9]$ ]] ||
    fail "caption is \"$FIRST\""
[ "$(xprop -id "$HID" WM_NAME | sed 's/.*= "\(.*\)"$/\1/')" = "$FIRST" ] || fail "WM_NAME differs from _NET_WM_NAME"
wait_until 5 caption_differs "$HID" "$FIRST" || fail "the caption's clock does not run"

# Size, decorations, staying on top.
read -r X Y W H < <(geometry "$HID")
[ "$W x $H" = "948 x 616" ] || fail "client area is $W x $H, expected 948 x 616"
wait_until 5 centred "$HID" || fail "help window not centred: frame at $(frame_origin "$HID")"
xprop -id "$HID" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "no _NET_WM_STATE_ABOVE"
read -r MF MFUNC MDECO _ < <(xprop -id "$HID" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')
(((MFUNC & 0x18) == 0)) || fail "minimise or maximise allowed by the Motif functions $MFUNC"
(((MDECO & 0x60) == 0)) || fail "minimise or maximise button asked for by the Motif decorations $MDECO"
(((MFUNC & 0x20) != 0)) || fail "no close function in $MFUNC"
! xprop -id "$HID" _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE || fail "the window manager may maximise it"
xprop -id "$HID" WM_NORMAL_HINTS | grep -q 'minimum size: 948 by 616' || fail "no fixed minimum size"
xprop -id "$HID" WM_NORMAL_HINTS | grep -q 'maximum size: 948 by 616' || fail "no fixed maximum size"
import -window root "$SHOTS/lumora-e2e-help.png" 2>/dev/null

# Dragged away, then back from the program's settings window: centred again.
timeout 10 xdotool windowmove --sync "$HID" 20 40 >/dev/null 2>&1
sleep 0.3
centred "$HID" && fail "the help window could not be moved away"
timeout 10 xdotool windowactivate --sync "$SETTINGS" >/dev/null 2>&1
wait_until 5 has_focus "$SETTINGS" || fail "the settings stand-in did not take the focus"
timeout 10 xdotool windowactivate --sync "$HID" >/dev/null 2>&1
wait_until 5 has_focus "$HID" || fail "the help window did not take the focus back"
wait_until 5 centred "$HID" || fail "coming back from the settings window did not centre it: $(frame_origin "$HID")"

# Dragged away, then back from another application: stays where it was put.
OTHER_LOG=$SESSION_DIR/other.log
"$DRIVER" settings >"$OTHER_LOG" 2>&1 &
SESSION_PIDS+=($!)
wait_until 10 grep -q '^settings-window ' "$OTHER_LOG" || fail "the other application did not start"
OTHER=$(window_of "$OTHER_LOG" settings)
wait_until 5 viewable "$OTHER"
timeout 10 xdotool windowmove --sync "$HID" 20 40 >/dev/null 2>&1
sleep 0.3
MOVED=$(frame_origin "$HID")
timeout 10 xdotool windowactivate --sync "$OTHER" >/dev/null 2>&1
wait_until 5 has_focus "$OTHER" || fail "the other application did not take the focus"
timeout 10 xdotool windowactivate --sync "$HID" >/dev/null 2>&1
wait_until 5 has_focus "$HID" || fail "the help window did not take the focus back"
sleep 1
[ "$(frame_origin "$HID")" = "$MOVED" ] || fail "coming back from another application moved it: $(frame_origin "$HID") instead of $MOVED"

# A second "&Help": the same window, centred, and only one.
echo "help" >&"$CMD"
wait_until 10 reported "$LOG" 'help-window ' 2 || fail "the second help did not answer"
[ "$(window_of "$LOG" help)" = "$HID" ] || fail "a second help window was made"
wait_until 5 centred "$HID" || fail "the second help did not centre the window"
[ "$(xdotool search --onlyvisible --name '^Lumora Help' 2>/dev/null | wc -l)" = 1 ] || fail "more than one help window is shown"

# Closed with its close box (Alt+F4 in openbox), then opened again with a fresh caption.
timeout 10 xdotool windowactivate --sync "$HID" key --clearmodifiers alt+F4 >/dev/null 2>&1
wait_until 5 grep -q '^help-closed$' "$LOG" || fail "the help window did not close"
echo "help" >&"$CMD"
wait_until 10 reported "$LOG" 'help-window ' 3 || fail "the help window did not open again"
HID=$(window_of "$LOG" help)
wait_until 5 viewable "$HID" || fail "the help window is not mapped again"
[[ "$(caption "$HID")" =~ ^Lumora\ Help\ -\ v2\.2\.4\ -\ 03\ February\ 2027\ -\ 09: ]] || fail "caption after reopening: $(caption "$HID")"
wait_until 5 centred "$HID" || fail "reopened help window not centred"
echo "quit" >&"$CMD"

e2e_finish
