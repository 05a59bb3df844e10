#!/usr/bin/env bash
# Midnight and a deleted day file, in a Wine virtual desktop. The program runs under faketime, its
# clock started at Monday 4 January 2027, 23:59:40 and running on at the real rate (the Wine
# server and the shell keep the real time: window timers are counted by the server in real
# time, which the faked clock follows, so the midnight timer and the clock agree). Monday and
# Tuesday each have a day copy, centred: at midnight Tuesday's picture becomes the wallpaper
# with the day-change balloon. Then Tuesday's copy is deleted while the program runs: Tuesday's
# value is emptied, the settings window comes up, and today's wallpaper is the default picture
# again with its report (the removal's own balloon comes just before that report, and Wine's
# shell shows only the later of the two).
set -uo pipefail
source "$(dirname "$0")/lib/session.sh"
need faketime
win_session_start || exit 1

mkdir -p "$PROGRAM_DATA"
convert -size 400x300 'xc:rgb(200,40,30)' "BMP3:$PROGRAM_DATA/Monday.bmp"
convert -size 360x240 'xc:rgb(30,90,210)' "BMP3:$PROGRAM_DATA/Tuesday.bmp"
DAYS='HKCU\Software\Corvane\Local Settings'
reg_set "$DAYS" Monday "$(wine_cmd winepath -w "$PROGRAM_DATA/Monday.bmp")"
reg_set "$DAYS" Tuesday "$(wine_cmd winepath -w "$PROGRAM_DATA/Tuesday.bmp")"
# Centred (style 2), as Wine draws it; no logo window over the desktop.
reg_set "$OPTIONS_KEY" Styl2 2
reg_set "$OPTIONS_KEY" Styl3 2
reg_set "$OPTIONS_KEY" ShowSplsh False
# centred PICTURE: the desktop shows PICTURE centred on the colour the shell paints.
centred() { desktop_shows "$1" center "$(shell_colour)"; }

watch_balloons
win_spawn lumora faketime -f '@2027-01-04 23:59:40' "$wine64" "$LUMORA_EXE"
LUMORA_PID=$SPAWNED
wait_until 60 icon_shown || fail "no icon in the notification area"
# The start-up report names Monday: the faked clock reached the program.
wait_balloon 30 "Your Monday's selected picture has been used matching your settings."
wait_until 30 centred "$PROGRAM_DATA/Monday.bmp" ||
    fail "the desktop does not show Monday's picture at start-up"
# Midnight, at most 20 s after the start.
wait_balloon 60 "Your wallpaper has been set for Tuesday"
check_eq "wallpaper value after midnight" "$(wine_cmd winepath -w "$PROGRAM_DATA/Tuesday.bmp")" \
    "$(reg_value "$DESKTOP_KEY" Wallpaper)"
wait_until 30 centred "$PROGRAM_DATA/Tuesday.bmp" ||
    fail "the desktop does not show Tuesday's picture after midnight"

# Tuesday's copy deleted while the program runs.
settings_window() { probe windows | awk -F'\t' 'index($4, "Lumora - v2.2.4 - ") == 1 { print $1; exit }'; }
settings_shown() { [ -n "$(settings_window)" ]; }
tuesday_emptied() { reg_is "$DAYS" Tuesday ""; }
rm "$PROGRAM_DATA/Tuesday.bmp"
wait_until 30 tuesday_emptied || fail "Tuesday's value was not emptied: [$(reg_value "$DAYS" Tuesday)]"
wait_until 30 settings_shown || fail "the settings window did not come up"
# The removal sends its balloon, then today's wallpaper is applied again with its own report;
# Wine's shell shows only the later of two balloons that close together, the report.
wait_balloon 30 'There is no picture selected for Tuesday.\n\rThe default Lumora wallpaper has been used.'
default_set() { reg_is "$DESKTOP_KEY" Wallpaper "$(wine_cmd winepath -w "$PROGRAM_DATA/Default.bmp")"; }
wait_until 30 default_set || fail "the default picture was not applied again: [$(reg_value "$DESKTOP_KEY" Wallpaper)]"
cmp -s "$PROGRAM_DATA/Default.bmp" "$LUMORA_SOURCE_DIR/resources/default.bmp" || fail "Default.bmp is not the built-in picture"
check_eq "Monday's value" "$(wine_cmd winepath -w "$PROGRAM_DATA/Monday.bmp")" "$(reg_value "$DAYS" Monday)"
check_eq "desktop colour" "255 255 255" "$(system_colour)"
alive "$LUMORA_PID" || fail "lumora ended"
e2e_finish
