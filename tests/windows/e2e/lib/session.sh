# A Wine desktop session of a script's own for end-to-end tests of lumora.exe. Source this
# file, then:
#   win_session_start
# It starts a private X server, a Wine server and a fresh prefix (tools/wine_session.sh), then
# a Wine virtual desktop of 1280 x 800 with its taskbar and notification area, and stops
# everything it started, last started first, by PID, when the shell exits. Below it: the helpers
# the scripts share. ctest gives LUMORA_EXE, DESK_PROBE, WINE64 and LUMORA_SOURCE_DIR.

set -u
source "$(dirname "${BASH_SOURCE[0]}")/../../../lib/checks.sh"
WIN_PIDS=()
WIN_DIR=""
DESK_W=1280
DESK_H=800
# The Linux-side name of the prefix's %LOCALAPPDATA%, and the program's folder in it.
LOCAL_APPDATA=""
PROGRAM_DATA=""
OPTIONS_KEY='HKCU\Software\Vintrel\Options'
# The days' pictures (the paths of their copies); the program keeps no key named Days.
DAYS_KEY='HKCU\Software\Corvane\Local Settings'
DESKTOP_KEY='HKCU\Control Panel\Desktop'

# win_spawn NAME COMMAND...: a background process of the session, logged to NAME.log; its PID
# is left in SPAWNED.
win_spawn() {
    local name=$1
    shift
    "$@" >"$WIN_DIR/$name.log" 2>&1 &
    SPAWNED=$!
    WIN_PIDS+=("$SPAWNED")
}

# wine_cmd ARGS...: a Wine program run to its end, its output without carriage returns.
wine_cmd() { "$wine64" "$@" 2>/dev/null | tr -d '\r'; }
probe() { wine_cmd "$DESK_PROBE" "$@"; }

win_session_start() {
    need Xvfb xdotool import convert compare
    : "${LUMORA_EXE:?}" "${DESK_PROBE:?}" "${LUMORA_SOURCE_DIR:?}"
    wine64=${WINE64:-/usr/lib/wine/wine64}
    # A session of the script's own, whatever the caller's was.
    unset WINEPREFIX
    source "$LUMORA_SOURCE_DIR/tools/wine_session.sh"
    trap win_session_stop EXIT
    wine_session_start || { e2e_log "the Wine session did not start"; return 1; }
    WIN_DIR=$wine_run/e2e
    mkdir -p "$WIN_DIR"
    # The virtual desktop, named in the prefix's settings as Wine's own configuration would.
    wine_cmd reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Lumora /f >/dev/null
    wine_cmd reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Lumora /d "${DESK_W}x$DESK_H" /f >/dev/null
    start_shell || return 1
    LOCAL_APPDATA=$(windows_path_to_unix "$(wine_cmd cmd /c echo %LOCALAPPDATA%)")
    PROGRAM_DATA=$LOCAL_APPDATA/Lumora
    e2e_log "Wine desktop ready on $DISPLAY in $WINEPREFIX"
}

# start_shell: the virtual desktop's shell (explorer), ready when its taskbar has been made (it
# is shown with the first icon or program window).
start_shell() {
    win_spawn explorer "$wine64" explorer "/desktop=Lumora,${DESK_W}x$DESK_H"
    SHELL_PID=$SPAWNED
    wait_until 60 taskbar_shown || { e2e_log "the virtual desktop's taskbar did not appear"; return 1; }
}
taskbar_shown() { probe find Shell_TrayWnd; }

win_session_stop() {
    local i
    for ((i = ${#WIN_PIDS[@]} - 1; i >= 0; i--)); do kill "${WIN_PIDS[$i]}" 2>/dev/null; done
    for i in "${WIN_PIDS[@]}"; do wait_until 5 ended "$i" || kill -9 "$i" 2>/dev/null; done
    WIN_PIDS=()
    if [ -n "${E2E_KEEP:-}" ] && [ -n "$WIN_DIR" ]; then
        cp -r "$WIN_DIR" "$E2E_KEEP" && e2e_log "logs and screenshots kept in $E2E_KEEP"
    fi
    wine_session_stop
}

# windows_path_to_unix PATH: where a C: path of the prefix is on this machine.
windows_path_to_unix() {
    local path=${1#[Cc]:}
    path=${path//\\//}
    printf '%s\n' "$WINEPREFIX/drive_c$path"
}
# unix_to_windows PATH: a file of this machine as Wine's Z: drive names it.
unix_to_windows() { printf 'Z:%s\n' "${1//\//\\}"; }

# reg_value KEY NAME: the data of one registry value (nothing when it is not there).
reg_value() {
    wine_cmd reg query "$1" /v "$2" | awk -v name="$2" '
        { line = $0; sub(/^ +/, "", line) }
        index(line, name " ") == 1 { sub(/^[^ ]+ +REG_[A-Z_]+ +/, "", line); print line; found = 1 }
        END { exit !found }'
}
reg_is() { [ "$(reg_value "$1" "$2")" = "$3" ]; }
reg_set() { wine_cmd reg add "$1" /v "$2" /d "$3" /f >/dev/null; }

# start_lumora NAME ARGS...: the program in the desktop, logged to NAME.log; its PID in LUMORA_PID.
start_lumora() {
    local name=$1
    shift
    win_spawn "$name" "$wine64" "$LUMORA_EXE" "$@"
    LUMORA_PID=$SPAWNED
}

# window_of TITLE: the handle of the first visible top-level window with exactly that title.
# (Texts reach awk through its environment: -v would read a title's backslashes as escapes.)
window_of() { probe windows | TITLE=$1 awk -F'\t' '$4 == ENVIRON["TITLE"] { print $1; exit }'; }
window_shown() { [ -n "$(window_of "$1")" ]; }
window_gone() { [ -z "$(window_of "$1")" ]; }
# window_rect HWND -> "X Y W H" on the desktop
window_rect() { probe windows | awk -F'\t' -v hwnd="$1" '$1 == hwnd { print $5, $6, $7, $8; exit }'; }
# control_text HWND CLASS: the texts of a window's child controls of one class, one per line.
control_texts() { probe children "$1" | awk -F'\t' -v class="$2" '$2 == class { print $4 }'; }
# control_rect HWND TEXT -> "X Y W H" of the child control with that text
control_rect() { probe children "$1" | TEXT=$2 awk -F'\t' '$4 == ENVIRON["TEXT"] { print $5, $6, $7, $8; exit }'; }
# click_control HWND TEXT: a left click in the middle of a window's control.
click_control() {
    local x y w h
    read -r x y w h < <(control_rect "$1" "$2") || { fail "no control [$2]"; return 1; }
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

# tray_icon -> "X Y W H" of the program's icon in the notification area (its tip is "Lumora").
# A removed icon leaves its tool in the shell's tooltip with an empty rectangle: that is no icon.
tray_icon() { probe tray | awk -F'\t' '$6 == "Lumora" && $4 > 0 && $5 > 0 { print $2, $3, $4, $5; exit }'; }
icon_shown() { [ -n "$(tray_icon)" ]; }
icon_gone() { ! icon_shown; }
# click_icon BUTTON [REPEAT]: clicks on the middle of the program's icon.
click_icon() {
    local x y w h
    read -r x y w h < <(tray_icon) || { fail "no icon to click"; return 1; }
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click --repeat "${2:-1}" --delay 80 "$1"
}

# watch_balloons: the shell's balloons, recorded from now on in balloons.log, one per line as
# "hwnd<TAB>text" with line breaks written \n and \r; balloon_seen TEXT: one showed that text.
watch_balloons() {
    win_spawn balloons "$wine64" "$DESK_PROBE" balloons
    wait_until 30 grep -q '^listening' "$WIN_DIR/balloons.log" || fail "the balloon watch did not start"
}
balloon_seen() { tr -d '\r' <"$WIN_DIR/balloons.log" | cut -f2- | grep -qxF "$1"; }
wait_balloon() {
    wait_until "$1" balloon_seen "$2" || fail "no balloon [$2]; seen: $(tr -d '\r' <"$WIN_DIR/balloons.log" | cut -f2- | tail -n +2 | paste -sd'|')"
}

# snapshot NAME: the X screen (the whole virtual desktop) into NAME.png; pixel NAME X Y -> "R G B".
snapshot() { import -window root "$WIN_DIR/$1.png"; }
pixel() {
    convert "$WIN_DIR/$1.png" -crop "1x1+$2+$3" -depth 8 txt:- |
        sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}
# system_colour -> "R G B": the desktop colour the system holds, as other programs read it. Wine's
# shell paints its background with the colour it started with, so the colour the program sets is
# read here and the pixels around a centred picture are compared with what the shell paints
# (shell_colour, the top-left pixel, as an ImageMagick colour).
system_colour() { probe colour; }
shell_colour() {
    snapshot corner && printf 'rgb(%s)\n' "$(pixel corner 0 0 | tr ' ' ',')"
}
# desktop_shows PICTURE STYLE [BACKGROUND]: the desktop above the taskbar is PICTURE laid out
# by STYLE (center, tile or stretch) on BACKGROUND (an ImageMagick colour, white by default),
# pixel for pixel.
desktop_shows() {
    local picture=$1 style=$2 background=${3:-white} area=${DESK_W}x$((DESK_H - 20))+0+0 layout
    case $style in
    center) layout=(-size "${DESK_W}x$DESK_H" "xc:$background" "$picture" -gravity center -composite +gravity) ;;
    tile) layout=(-size "${DESK_W}x$DESK_H" "tile:$picture") ;;
    stretch) layout=("$picture" -resize "${DESK_W}x$DESK_H!") ;;
    *) fail "desktop_shows: no style $style"; return 1 ;;
    esac
    convert "${layout[@]}" -crop "$area" +repage "$WIN_DIR/want.png" 2>/dev/null # warns on some BMPs
    import -window root "$WIN_DIR/screen.png" && convert "$WIN_DIR/screen.png" -crop "$area" +repage "$WIN_DIR/root.png" &&
        [ "$(compare -metric AE -fuzz "${FUZZ:-0}" "$WIN_DIR/want.png" "$WIN_DIR/root.png" null: 2>&1 | tail -n1)" = 0 ]
}

# control_rect_id HWND ID -> "X Y W H" of a window's child control with that control id (for
# controls whose text changes, such as a blinking caption); control_text_id HWND ID: its text.
control_rect_id() { probe children "$1" | awk -F'\t' -v id="$2" '$3 == id { print $5, $6, $7, $8; exit }'; }
control_text_id() { probe children "$1" | awk -F'\t' -v id="$2" '$3 == id { print $4; exit }'; }
control_shown_id() { probe children "$1" | awk -F'\t' -v id="$2" '$3 == id { found = $9 == 1 } END { exit !found }'; }
# click_id HWND ID [BUTTON]: a click in the middle of the control with that id.
click_id() {
    local x y w h
    read -r x y w h < <(control_rect_id "$1" "$2") || { fail "no control with id $2"; return 1; }
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click "${3:-1}"
}
# window_of_class CLASS -> the handle of the first visible top-level window of that class.
window_of_class() { probe windows | awk -F'\t' -v class="$1" '$3 == class { print $1; exit }'; }
menu_shown() { [ -n "$(window_of_class '#32768')" ]; }
# menu_choose DOWNS: the tray menu opened with a right click on the icon, then its item DOWNS
# steps down from the top (separators are skipped by the menu itself) chosen with Return. Keys
# reach the window under the pointer, so the pointer rests on the menu's top edge first, where it
# lights no item.
# keys_to_pointer: the X keyboard focus on the virtual desktop's X window, which holds the X
# windows of all the desktop's windows, so that keys go to the one under the pointer (as with the
# X server's first focus). Wine moves the focus to the X window of a dialog that takes it, and when
# that window goes the keys go nowhere.
keys_to_pointer() {
    xdotool windowfocus "$(xdotool search --maxdepth 1 --name "^Lumora - Wine desktop\$" 2>/dev/null | head -n1)"
}
# A menu shown is not yet a menu that reads the keys: the first Down is pressed, again each second,
# until the first item is lit (the highlight's colour, #3096FA here, across its row).
MENU_RECT=()
menu_choose() {
    click_icon 3 && wait_until 20 menu_shown || { fail "the tray menu did not open"; return 1; }
    read -r -a MENU_RECT < <(window_rect "$(window_of_class '#32768')")
    xdotool mousemove $((MENU_RECT[0] + MENU_RECT[2] / 2)) $((MENU_RECT[1] + 1))
    keys_to_pointer
    listening 20 menu_first_lit xdotool key Down || { fail "the tray menu took no key"; return 1; }
    if [ "$1" -gt 1 ]; then xdotool key --delay 60 $(printf 'Down %.0s' $(seq 2 "$1")); fi
    xdotool key Return
}
menu_first_lit() {
    snapshot menu
    [ "$(convert "$WIN_DIR/menu.png" -crop "$((MENU_RECT[2] - 10))x10+$((MENU_RECT[0] + 5))+$((MENU_RECT[1] + 5))" \
        +repage -depth 8 txt:- | grep -ci '#3096FA')" -gt 500 ]
}
# The keys of the days' pictures: the chosen files (sources) and their copies (the day's picture).
SOURCES_KEY='HKCU\Software\Corvane\Settings'
PICTURES_KEY=$DAYS_KEY
# settings_window -> the handle of the settings window (its caption names the version, the date
# and the time, so it changes every second).
settings_window() { probe windows | awk -F'\t' 'index($4, "Lumora - v2.2.4 - ") == 1 { print $1; exit }'; }
settings_shown() { [ -n "$(settings_window)" ]; }
settings_gone() { ! settings_shown; }
# type_into_edit HWND TEXT: TEXT typed over the first edit field of a window (a dialog's file
# name), with the pointer on it so that the keys reach it.
type_into_edit() {
    local x y w h
    read -r x y w h < <(probe children "$1" | awk -F'\t' '$2 == "Edit" { print $5, $6, $7, $8; exit }') ||
        { fail "no edit field in $1"; return 1; }
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
    keys_to_pointer
    xdotool key ctrl+a
    xdotool type --delay 20 "$2"
}
# today_number: today's weekday number as the program counts it, Sunday 1 to Saturday 7;
# today_name: its name.
today_number() { echo $(($(date +%w) + 1)); }
today_name() { LC_ALL=C date +%A; }
# balloons_of TEXT: how many balloons with that text were seen so far.
balloons_of() { tr -d '\r' <"$WIN_DIR/balloons.log" | cut -f2- | grep -cxF "$1"; }
