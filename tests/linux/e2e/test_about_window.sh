#!/usr/bin/env bash
# The about window on a real X server under openbox (which honours "stay on top"), shown by the
# aux_driver tool: placement, size, border and picture, staying above another application's window,
# the click close and the return of the settings window; and SetTopMost on a hidden window. The
# logo's five-second close is read back at the real program's start in test_startup_first_run.sh.
source "$(dirname "$0")/lib/session.sh"
need openbox xdotool xprop xwininfo convert
DRIVER=${LUMORA_BINARY_DIR:?}/tests/linux/e2e/aux_driver
[ -x "$DRIVER" ] || skip "aux_driver is not built"
session_start --wm openbox --no-tray --no-notify || { fail "session did not start"; e2e_finish; }
screen_size
CX=$(((SW - 412) / 2)) CY=$(((SH - 312) / 2))
# The logo's own colour at a point away from the labels, to tell the picture from what is behind.
LOGO_RGB=$(convert "$LUMORA_SOURCE_DIR/resources/logo.bmp" -format \
    '%[fx:int(255*p{200,100}.r)] %[fx:int(255*p{200,100}.g)] %[fx:int(255*p{200,100}.b)]' info: 2>/dev/null)

# ---- "About...": StrtPrg(0, True), above another application's window until clicked -----------
LOG=$SESSION_DIR/about.log
mkfifo "$SESSION_DIR/about.cmd"
exec {CMD}<>"$SESSION_DIR/about.cmd" # held open both ways: writing never blocks
LC_ALL=C.UTF-8 session_spawn about "$DRIVER" --fifo "$SESSION_DIR/about.cmd" about 0 1
wait_until 10 grep -q '^about-window ' "$LOG" || { fail "the driver did not show the about window"; e2e_finish; }
WID=$(window_of "$LOG" about)
wait_until 5 viewable "$WID" || fail "the about window is not mapped"
check_eq "about window, 410 x 310 in a 1-pixel border, centred" "$CX $CY 412 312" "$(geometry "$WID")"
above "$WID" || fail "about window has no _NET_WM_STATE_ABOVE"
xprop -id "$WID" _MOTIF_WM_HINTS | grep -Eq '= 0x[0-9a-f]*[2367abef], 0x[0-9a-f]+, 0x0,' ||
    fail "about window asks for decorations: $(xprop -id "$WID" _MOTIF_WM_HINTS)"
check_eq "the window's border" "64 64 64" "$(root_pixel $CX $CY)"
check_eq "the logo picture" "$LOGO_RGB" "$(root_pixel $((CX + 201)) $((CY + 101)))"
session_spawn other "$DRIVER" settings
wait_until 10 grep -q '^settings-window ' "$SESSION_DIR/other.log" || fail "the other application did not start"
OTHER=$(window_of "$SESSION_DIR/other.log" settings)
wait_until 5 viewable "$OTHER"
timeout 10 xdotool windowmove --sync "$OTHER" $((CX - 100)) $((CY - 50)) >/dev/null 2>&1
activate "$OTHER"
wait_until 5 pixel_is $((CX - 90)) $((CY - 40)) "255 0 255" || fail "the other window is not drawn"
pixel_is $((CX + 201)) $((CY + 101)) "$LOGO_RGB" || fail "the about window went below the other window"
timeout 10 xdotool mousemove --sync $((CX + 1 + 38 + 50)) $((CY + 1 + 264 + 10)) click 1
wait_until 5 hidden "$WID" || fail "a click on the hot spot did not close the about window"
wait_until 3 grep -qx settings-shown "$LOG" || fail "the settings window did not come back"
# A close with OldStatus False, which leaves the settings window alone, and a click on each
# label: about_window_test.

# ---- SetTopMost on a hidden window: shown, on top, the focus stays where it was ----------------
echo settings >&"$CMD"
wait_until 10 grep -q '^settings-window ' "$LOG" || fail "no settings stand-in"
SETTINGS=$(window_of "$LOG" settings)
wait_until 5 viewable "$SETTINGS"
activate "$SETTINGS"
wait_until 5 has_focus "$SETTINGS" || fail "the settings stand-in has not the focus"
echo topmost >&"$CMD"
wait_until 10 grep -q '^topmost-window ' "$LOG" || fail "no SetTopMost probe"
PROBE=$(window_of "$LOG" topmost)
wait_until 5 viewable "$PROBE" || fail "SetTopMost did not show a hidden window"
check_eq "SetTopMost window size" "300 200" "$(geometry "$PROBE" | cut -d' ' -f3-)"
above "$PROBE" || fail "SetTopMost did not set _NET_WM_STATE_ABOVE"
wm_caught_up # a focus given to the probe on its map or at its request has been given by now
has_focus "$SETTINGS" || fail "SetTopMost took the keyboard focus"
e2e_finish
