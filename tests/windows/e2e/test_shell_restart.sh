#!/usr/bin/env bash
# The shell restarted under a running program, in a Wine virtual desktop, as the program sees it:
# the shell forgets every icon (a shell that has just started knows none) and broadcasts
# "TaskbarCreated"; the program adds its icon again, with its tip, and the icon answers its
# clicks. A broadcast while the icon is still shown leaves one icon.
# (The shell process itself cannot be restarted under Wine 8 while a program runs on its
# desktop: the desktop outlives the killed explorer with the X window of the dead process, and
# a new `explorer /desktop=...` ends at once with BadWindow in X_CreateWindow.)
set -uo pipefail
source "$(dirname "$0")/lib/session.sh"
win_session_start || exit 1

reg_set "$OPTIONS_KEY" ShowSplsh False
start_lumora lumora
wait_until 60 icon_shown || fail "no icon in the notification area"
icons() { probe tray | awk -F'\t' '$6 == "Lumora"' | wc -l; }
icons_are() { [ "$(icons)" = "$1" ]; }

# A broadcast while the icon is there: still one icon.
probe broadcast TaskbarCreated || fail "the broadcast was not posted"
# The program has taken the broadcast when it answers a request posted after it.
wine_cmd "$LUMORA_EXE" --refresh || fail "lumora --refresh failed"
check_eq "icons after a broadcast with the icon shown" 1 "$(icons)"

# The shell forgets the icon (uID 1 of the program's notification window), then announces itself.
probe forget LumoraWindow 'Lumora notification icon' 1 || fail "the shell did not drop the icon"
wait_until 30 icon_gone || fail "the icon is still shown after the shell dropped it"
probe broadcast TaskbarCreated || fail "the broadcast was not posted"
wait_until 30 icon_shown || fail "the icon did not come back after TaskbarCreated"
check_eq "icons with the tip Lumora" 1 "$(icons)"
# The icon that came back is the program's: a double-click opens the settings window.
settings_shown() { probe windows | awk -F'\t' 'index($4, "Lumora - v2.2.4 - ") == 1 { f = 1 } END { exit !f }'; }
click_icon 1 2
wait_until 30 settings_shown || fail "a double-click on the icon that came back opened no settings window"
alive "$LUMORA_PID" || fail "lumora ended"
e2e_finish
