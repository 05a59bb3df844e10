#!/usr/bin/env bash
# The about and logo window on a real X server under openbox (which honours "stay on top"),
# shown by the aux_driver tool: placement, size, staying above another application's window,
# the five-second close of the logo, the click close and the return of the settings window.
source "$(dirname "$0")/lib/session.sh"
need openbox xdotool xprop xwininfo
DRIVER=${LUMORA_BINARY_DIR:?}/tests/e2e/aux_driver
[ -x "$DRIVER" ] || skip "aux_driver is not built"
session_start --wm openbox --no-tray --no-notify || { fail "session did not start"; e2e_finish; }
SHOTS=${E2E_SHOTS:-/tmp}

# viewable WID: the window exists and is mapped.
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
gone() { ! viewable "$1"; }
# geometry WID -> "X Y W H" of the window itself (no frame)
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print x, y, w, h}'
}
# window_of LOG NAME: the id the driver reported for its NAME window
window_of() { sed -n "s/^$2-window //p" "$1" | tail -n1; }
logged() { grep -qx "$2" "$1"; }
pixel_is() { [ "$(root_pixel "$1" "$2")" = "$3" ]; }
# reported LOG TEXT N: the driver reported a line starting with TEXT at least N times
reported() { [ "$(grep -c "^$2" "$1")" -ge "$3" ]; }
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ]; }

read -r SW SH < <(xwininfo -root | awk '/^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print w, h}')
CX=$(((SW - 412) / 2))
CY=$(((SH - 312) / 2))

# The logo's own colour at a point away from the labels, to tell the picture from what is behind.
LOGO_RGB=""
if command -v convert >/dev/null && [ -f "$LUMORA_SOURCE_DIR/resources/logo.bmp" ]; then
    LOGO_RGB=$(convert "$LUMORA_SOURCE_DIR/resources/logo.bmp" -format '%[fx:int(255*p{200,100}.r)] %[fx:int(255*p{200,100}.g)] %[fx:int(255*p{200,100}.b)]' info:)
fi

# ---- 1. The start-up logo: StrtPrg(1, False) -----------------------------------------------
LOG=$SESSION_DIR/logo.log
LC_ALL=C.UTF-8 "$DRIVER" about 1 0 >"$LOG" 2>"$SESSION_DIR/logo.err" &
LOGO_PID=$!
SESSION_PIDS+=("$LOGO_PID")
wait_until 10 grep -q '^about-window ' "$LOG" || { fail "the driver did not show the logo"; e2e_finish; }
SHOWN_AT=$SECONDS
WID=$(window_of "$LOG" about)
wait_until 5 viewable "$WID" || fail "the logo window is not mapped"
read -r X Y W H < <(geometry "$WID")
[ "$W x $H" = "412 x 312" ] || fail "logo window is $W x $H, expected 412 x 312 (410 x 310 and a 1-pixel border)"
[ "$X,$Y" = "$CX,$CY" ] || fail "logo window at $X,$Y, expected centred at $CX,$CY"
xprop -id "$WID" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "logo window has no _NET_WM_STATE_ABOVE"
xprop -id "$WID" _MOTIF_WM_HINTS | grep -Eq '= 0x[0-9a-f]*[2367abef], 0x[0-9a-f]+, 0x0,' ||
    fail "logo window asks for decorations: $(xprop -id "$WID" _MOTIF_WM_HINTS)"
pixel_is "$X" "$Y" "64 64 64" || fail "no dark grey border at the logo's corner: $(root_pixel "$X" "$Y")"
if [ -n "$LOGO_RGB" ]; then
    pixel_is $((X + 1 + 200)) $((Y + 1 + 100)) "$LOGO_RGB" ||
        fail "logo picture not shown: $(root_pixel $((X + 201)) $((Y + 101))) instead of $LOGO_RGB"
fi

# Another application's window, activated over the same place, stays below the logo.
OTHER_LOG=$SESSION_DIR/other.log
"$DRIVER" settings >"$OTHER_LOG" 2>&1 &
SESSION_PIDS+=($!)
wait_until 10 grep -q '^settings-window ' "$OTHER_LOG" || fail "the other application did not start"
OTHER=$(window_of "$OTHER_LOG" settings)
wait_until 5 viewable "$OTHER"
timeout 10 xdotool windowmove --sync "$OTHER" $((CX - 100)) $((CY - 50)) >/dev/null 2>&1
timeout 10 xdotool windowactivate --sync "$OTHER" >/dev/null 2>&1
wait_until 5 pixel_is $((CX - 90)) $((CY - 40)) "255 0 255" || fail "the other window is not drawn"
[ "$(xdotool getactivewindow 2>/dev/null)" = "$((OTHER))" ] || e2e_log "note: the other window did not take the focus"
if [ -n "$LOGO_RGB" ]; then
    pixel_is $((CX + 201)) $((CY + 101)) "$LOGO_RGB" || fail "the logo went below the other window"
else
    ! pixel_is $((CX + 201)) $((CY + 101)) "255 0 255" || fail "the logo went below the other window"
fi
import -window root "$SHOTS/lumora-e2e-logo.png" 2>/dev/null
# Still there three seconds after it appeared, gone a few seconds later.
while [ $((SECONDS - SHOWN_AT)) -lt 3 ]; do sleep 0.2; done
viewable "$WID" || fail "the logo closed before three seconds"
wait_until 9 gone "$WID" || fail "the logo did not close by itself"
wait_until 3 logged "$LOG" about-unloaded || fail "the logo was not unloaded"
! logged "$LOG" settings-shown || fail "the settings window came back after the logo"
kill "$LOGO_PID" 2>/dev/null

# ---- 2. "About...": StrtPrg(0, True), closed by a click ------------------------------------
LOG=$SESSION_DIR/about.log
FIFO=$SESSION_DIR/about.cmd
mkfifo "$FIFO"
exec {CMD}<>"$FIFO" # held open both ways: writing never blocks, even after the driver ended
LC_ALL=C.UTF-8 "$DRIVER" --fifo "$FIFO" about 0 1 >"$LOG" 2>"$SESSION_DIR/about.err" &
SESSION_PIDS+=($!)
wait_until 10 grep -q '^about-window ' "$LOG" || { fail "the driver did not show the about window"; e2e_finish; }
WID=$(window_of "$LOG" about)
wait_until 5 viewable "$WID" || fail "the about window is not mapped"
read -r X Y W H < <(geometry "$WID")
[ "$X,$Y,$W,$H" = "$CX,$CY,412,312" ] || fail "about window at $X,$Y size $W x $H"
xprop -id "$WID" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "about window has no _NET_WM_STATE_ABOVE"
sleep 6
viewable "$WID" || fail "the about window closed by itself"
import -window root "$SHOTS/lumora-e2e-about.png" 2>/dev/null
# A click on the hot spot over the contact address.
timeout 10 xdotool mousemove --sync $((X + 1 + 38 + 50)) $((Y + 1 + 264 + 10)) click 1
wait_until 5 gone "$WID" || fail "a click did not close the about window"
wait_until 3 logged "$LOG" settings-shown || fail "the settings window did not come back"
[ "$(grep -c '^settings-shown$' "$LOG")" = 1 ] || fail "the settings window was brought back more than once"

# The same window again, clicked on the date label: it loads anew and closes again.
echo "about 0 0" >&"$CMD"
wait_until 10 reported "$LOG" 'about-window ' 2 || fail "the about window did not come back"
WID=$(window_of "$LOG" about)
wait_until 5 viewable "$WID" || fail "the about window is not mapped again"
read -r X Y W H < <(geometry "$WID")
[ "$X,$Y" = "$CX,$CY" ] || fail "about window not centred again: $X,$Y"
timeout 10 xdotool mousemove --sync $((X + 1 + 300)) $((Y + 1 + 298)) click 1
wait_until 5 gone "$WID" || fail "a click on the date did not close the about window"
sleep 0.5
[ "$(grep -c '^settings-shown$' "$LOG")" = 1 ] || fail "OldStatus False brought the settings window back"

# ---- 3. SetTopMost on a hidden window: shown, on top, the focus stays ----------------------
echo "settings" >&"$CMD"
wait_until 10 grep -q '^settings-window ' "$LOG" || fail "no settings stand-in"
SETTINGS=$(window_of "$LOG" settings)
wait_until 5 viewable "$SETTINGS"
timeout 10 xdotool windowactivate --sync "$SETTINGS" >/dev/null 2>&1
wait_until 5 has_focus "$SETTINGS" || fail "the settings stand-in has not the focus"
echo "topmost" >&"$CMD"
wait_until 10 grep -q '^topmost-window ' "$LOG" || fail "no SetTopMost probe"
PROBE=$(window_of "$LOG" topmost)
wait_until 5 viewable "$PROBE" || fail "SetTopMost did not show a hidden window"
read -r X Y W H < <(geometry "$PROBE")
[ "$W x $H" = "300 x 200" ] || fail "SetTopMost resized the window: $W x $H"
xprop -id "$PROBE" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "SetTopMost did not set _NET_WM_STATE_ABOVE"
sleep 0.5
has_focus "$SETTINGS" || fail "SetTopMost took the keyboard focus"
echo "quit" >&"$CMD"

e2e_finish
