#!/usr/bin/env bash
# sway (headless, software rendering) with the swaybg backend: the swaybg started with the
# picture, mode and colour stays up on the compositor, and each change replaces the one before.
# sway refuses to run as root, so as root it runs as the user "nobody". Read back on screen with
# grim. Skipped where sway, swaybg or grim is not installed.
source "$(dirname "$0")/lib/session.sh"
source "$(dirname "$0")/lib/desktop_checks.sh"
need sway swaybg grim
session_start --no-tray --no-notify || { fail "session did not start"; e2e_finish; }
need_driver
if [ "$(id -u)" = 0 ]; then
    id nobody >/dev/null 2>&1 || skip "running as root and there is no user nobody to run sway"
    need runuser
fi
sway_start || e2e_finish
export WAYLAND_DISPLAY=$SWAY_SOCKET XDG_CURRENT_DESKTOP=sway
test_picture

swaybg_pid() { cat "$SWAYBG_PIDFILE" 2>/dev/null; }
# The arguments a process was started with, without the program's name.
cmdline() { tr '\0' '\n' <"/proc/$1/cmdline" | tail -n +2; }
# The colour of the compositor's screen at 5,5 ("R G B"), read with grim.
screen_at_5_5() {
    "${SWAY_AS[@]}" env XDG_RUNTIME_DIR="$SWAY_RUNDIR" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" grim -g "5,5 1x1" -t ppm - 2>/dev/null |
        tail -c 3 | od -An -tu1 | xargs
}
screen_shows() { [ "$(screen_at_5_5)" = "$1" ]; }

check_eq "XDG_CURRENT_DESKTOP=sway" sway "$(drive auto "$PIC" 3 255)"
previous=$(swaybg_pid)
[ -n "$previous" ] || { fail "no swaybg was recorded"; e2e_finish; }
# Up on sway: its colour on the screen (the picture fitted between two bars), and still running.
wait_until 10 screen_shows "255 0 0" || fail "swaybg drew nothing: the screen shows [$(screen_at_5_5)]"
alive "$previous" || fail "swaybg did not stay up on sway"
check_eq "swaybg arguments" "$(printf '%s\n' -o '*' -c '#ff0000' -i "$PIC" -m fit)" "$(cmdline "$previous")"
MODES=(center tile stretch)
for style in 0 1 2; do
    drive sway "$PIC" "$style"
    now=$(swaybg_pid)
    [ "$now" != "$previous" ] || fail "style $style: no new swaybg"
    wait_until 5 ended "$previous" || fail "style $style: the swaybg before is still running"
    check_eq "style $style mode" "${MODES[$style]}" "$(cmdline "$now" | tail -n1)"
    previous=$now
done
drive sway "" 2 16711680
now=$(swaybg_pid)
check_eq "no wallpaper" "$(printf '%s\n' -o '*' -c '#0000ff' -m solid_color)" "$(cmdline "$now")"
wait_until 10 screen_shows "0 0 255" || fail "the colour-only swaybg drew nothing: the screen shows [$(screen_at_5_5)]"
alive "$now" || fail "the colour-only swaybg did not stay up"
# Only this session's swaybg processes count (another session on the machine may run its own).
ours() { tr '\0' '\n' <"/proc/$1/environ" 2>/dev/null | grep -qxF "WAYLAND_DISPLAY=$WAYLAND_DISPLAY"; }
live_swaybgs() { local n=0 p; for p in $(pgrep -x swaybg); do alive "$p" && ours "$p" && n=$((n + 1)); done; echo $n; }
one_swaybg() { [ "$(live_swaybgs)" = 1 ]; }
wait_until 5 one_swaybg || fail "swaybg processes running: expected 1, got $(live_swaybgs)"
check_eq "screen shows the colour" "0 0 255" "$(screen_at_5_5)"
e2e_finish
