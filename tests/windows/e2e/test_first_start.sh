#!/usr/bin/env bash
# The first start on an empty profile, in a Wine virtual desktop: the default picture written
# byte for byte and shown centred, the desktop colour white, the icon in the notification area with its tip, the
# logo window, the first-run advice in a balloon, the start-at-logon value; a second start shows
# its box and ends while the first runs on.
set -uo pipefail
source "$(dirname "$0")/lib/session.sh"
win_session_start || exit 1

watch_balloons
start_lumora first
wait_until 60 icon_shown || fail "no icon in the notification area"
wait_until 30 window_shown Lumora || fail "no logo window"
wait_balloon 60 'Your must define the wallpapers for each day.\n\rYou can use the context menu of this icon in system tray\n\ror double-click on this icon to launch Lumora.'

wait_until 30 test -f "$PROGRAM_DATA/Default.bmp" || fail "no Default.bmp in $PROGRAM_DATA"
cmp -s "$PROGRAM_DATA/Default.bmp" "$LUMORA_SOURCE_DIR/resources/default.bmp" ||
    fail "Default.bmp is not the built-in picture byte for byte"
check_eq "wallpaper value" "$(wine_cmd winepath -w "$PROGRAM_DATA/Default.bmp")" "$(reg_value "$DESKTOP_KEY" Wallpaper)"
# The logo window closes by itself after five seconds; then the desktop is all in view.
wait_until 60 window_gone Lumora || fail "the logo window stayed"
check_eq "desktop colour" "255 255 255" "$(system_colour)"
wait_until 30 desktop_shows "$PROGRAM_DATA/Default.bmp" center "$(shell_colour)" || fail "the desktop does not show the default picture centred"
run=$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' Lumora || reg_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' Lumora)
check_eq "start-at-logon value" "$(wine_cmd winepath -w "$LUMORA_EXE")" "$run"

first=$LUMORA_PID
start_lumora second
second=$LUMORA_PID
wait_until 60 window_shown 'Lumora - v2.2.4' || fail "the second start showed no box"
box=$(window_of 'Lumora - v2.2.4')
check_eq "the second start's box" 'Lumora is already running on this computer.\n\r\n\rDouble-click on the Lumora icon in the system tray...\n\r...or right click on it to display the context menu.' \
    "$(control_texts "$box" Static | grep -v '^$')"
click_control "$box" OK
wait_until 30 ended "$second" || fail "the second start did not end after its box"
alive "$first" || fail "the first start ended"
icon_shown || fail "the icon went with the second start"
e2e_finish
