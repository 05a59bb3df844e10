# A private desktop session for end-to-end tests. Source this file, then:
#   session_start [--no-tray] [--no-notify] [--wm openbox] [--screen WxHxD]
# It exports DISPLAY, DBUS_SESSION_BUS_ADDRESS and a fresh HOME, XDG_CONFIG_HOME, XDG_DATA_HOME,
# XDG_CACHE_HOME and XDG_RUNTIME_DIR under $SESSION_DIR, and stops everything it started, by PID,
# when the shell exits (session_stop). Below it: the helpers the test scripts share.

set -u
source "$(dirname "${BASH_SOURCE[0]}")/../../../lib/checks.sh"
SESSION_PIDS=()
SESSION_DIR=""
# Checked when a script ends: the program's own processes started Qt as they should.
e2e_final_checks() { check_qt_main_thread; }

# session_spawn NAME COMMAND...: a background process of the session, logged to NAME.log; its PID
# is left in SPAWNED (not printed: a command substitution would lose it from SESSION_PIDS). The
# logs of the program's own processes are remembered in LUMORA_LOGS.
LUMORA_LOGS=()
session_spawn() {
    local name=$1 arg
    shift
    for arg in "$@"; do
        [ "${arg##*/}" = lumora ] && LUMORA_LOGS+=("$SESSION_DIR/$name.log") && break
    done
    "$@" >"$SESSION_DIR/$name.log" 2>&1 &
    SPAWNED=$!
    SESSION_PIDS+=("$SPAWNED")
}
# check_qt_main_thread: a program whose QApplication was not made in the main thread later stops
# answering its menu; Qt says so on stderr at the start.
check_qt_main_thread() {
    local log
    for log in "${LUMORA_LOGS[@]}"; do
        grep -qs 'QApplication was not created in the main() thread' "$log" &&
            fail "${log##*/}: QApplication was not created in the main() thread"
    done
}

# start_xvfb ARGS...: one more X server of the session; its display is left in XVFB_DISPLAY.
start_xvfb() {
    local file=$SESSION_DIR/display.$RANDOM fd
    exec {fd}>"$file"
    Xvfb -displayfd "$fd" -noreset -nolisten tcp "$@" >"$file.log" 2>&1 &
    SESSION_PIDS+=($!)
    exec {fd}>&-
    wait_until 20 grep -q '^[0-9]' "$file" || { cat "$file.log" >&2; return 1; }
    XVFB_DISPLAY=":$(head -n1 "$file")"
}

bus_has_name() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}
selection_owned() { [ "$("$XPROBE" owner "$1" 2>/dev/null)" != "0x0" ]; }
start_trayer() {
    session_spawn trayer trayer --edge bottom --align right --widthtype request --height 24 \
        --SetDockType true --transparent false --tint 0x333333
    wait_until 10 selection_owned _NET_SYSTEM_TRAY_S0
}

session_start() {
    local tray=1 notify=1 wm="" screen="1280x800x24"
    while [ $# -gt 0 ]; do
        case $1 in
        --no-tray) tray=0 ;;
        --no-notify) notify=0 ;;
        --wm) wm=$2 && shift ;;
        --screen) screen=$2 && shift ;;
        *) e2e_log "session_start: unknown option $1"; return 2 ;;
        esac
        shift
    done
    need Xvfb dbus-daemon dbus-send
    : "${XPROBE:?XPROBE (the xprobe tool) must be set; run through ctest}"
    SESSION_DIR=$(mktemp -d /tmp/lumora-e2e.XXXXXX)
    export HOME=$SESSION_DIR/home XDG_CONFIG_HOME=$SESSION_DIR/home/.config \
        XDG_DATA_HOME=$SESSION_DIR/home/.local/share XDG_CACHE_HOME=$SESSION_DIR/home/.cache \
        XDG_RUNTIME_DIR=$SESSION_DIR/run
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset WAYLAND_DISPLAY XDG_CURRENT_DESKTOP DESKTOP_SESSION SESSION_MANAGER
    trap session_stop EXIT
    start_xvfb -screen 0 "$screen" +extension RANDR || { e2e_log "Xvfb did not start"; return 1; }
    export DISPLAY=$XVFB_DISPLAY
    local out
    out=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || return 1
    export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$out")
    SESSION_PIDS+=("$(sed -n 2p <<<"$out")")
    if [ -n "$wm" ]; then
        need "$wm" && session_spawn wm "$wm"
        wait_until 10 selection_owned WM_S0 || e2e_log "window manager $wm did not take WM_S0"
    fi
    [ $notify = 0 ] || { need dunst && session_spawn dunst dunst -config /dev/null; }
    [ $notify = 0 ] || wait_until 10 bus_has_name org.freedesktop.Notifications || { e2e_log "dunst did not start"; return 1; }
    [ $tray = 0 ] || { need trayer && start_trayer; } || { e2e_log "trayer did not start"; return 1; }
    e2e_log "session ready on $DISPLAY in $SESSION_DIR"
}

session_stop() {
    local i
    for ((i = ${#SESSION_PIDS[@]} - 1; i >= 0; i--)); do kill "${SESSION_PIDS[$i]}" 2>/dev/null; done
    for i in "${SESSION_PIDS[@]}"; do wait_until 3 ended "$i" || kill -9 "$i" 2>/dev/null; done
    # A faketime wrapper that was killed leaves its shared clock behind, and a later wrapper
    # given the same process id would fail on it.
    for i in "${SESSION_PIDS[@]}"; do rm -f "/dev/shm/faketime_shm_$i" "/dev/shm/sem.faketime_sem_$i"; done
    SESSION_PIDS=()
    [ -n "$SESSION_DIR" ] && [ -z "${E2E_KEEP:-}" ] && rm -rf "$SESSION_DIR"
}

# root_pixel X Y -> "R G B"
root_pixel() { "$XPROBE" region "$1" "$2" 1 1 | cut -d' ' -f1-3; }
pixel_is() { [ "$(root_pixel "$1" "$2")" = "$3" ]; }
# wait_pixel SECONDS X Y "R G B": the screen shows that colour at X,Y within SECONDS.
wait_pixel() {
    wait_until "$1" pixel_is "$2" "$3" "$4" || { fail "pixel $2,$3: expected [$4], got [$(root_pixel "$2" "$3")]"; return 1; }
}
# screen_size: SW and SH, the root window's size.
screen_size() { read -r SW SH < <(xwininfo -root | awk '/^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print w, h}'); }

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
hidden() { ! viewable "$1"; }
# geometry WID -> "X Y W H" of the window itself (no frame); nothing for no window (xwininfo
# without one would wait for a click on the screen)
geometry() {
    [ -n "$1" ] || return 1
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print x, y, w, h}'
}
above() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ]; }
activate() { timeout 10 xdotool windowactivate --sync "$1" >/dev/null 2>&1; }
# The id the aux_driver reported for its NAME window in LOG, and how often it reported a line.
window_of() { sed -n "s/^$2-window //p" "$1" | tail -n1; }
reported() { [ "$(grep -c "^$2" "$1")" -ge "$3" ]; }

# settings_window: the id of the program's settings window when shown (its caption names the
# version, then the date).
settings_window() { xdotool search --onlyvisible --name '^Lumora - v2\.2\.4 - [0-9]' 2>/dev/null | head -n1; }
settings_window_open() { [ -n "$(settings_window)" ]; }
# tray_icon: the window id of the program's icon in the tray host's panel, printed when embedded.
tray_icon() {
    local panel
    panel=$(xdotool search --name '^panel$' 2>/dev/null | head -n1)
    [ -n "$panel" ] && xwininfo -tree -id "$panel" 2>/dev/null | awk '/"Lumora": \("lumora" "Lumora"\)/ {print $1; exit}'
}
icon_embedded() { [ -n "$(tray_icon)" ]; }
# default_shown: the root window, but for the tray host's strip at the bottom, shows the default
# picture centred on white.
default_shown() {
    local crop
    screen_size
    crop=${SW}x$((SH - 30))+0+0
    convert -size "${SW}x$SH" xc:white "${LUMORA_SOURCE_DIR:?}/resources/default.bmp" -gravity center \
        -composite +gravity -crop "$crop" +repage "$SESSION_DIR/want.png" 2>/dev/null # warns on the BMP
    import -window root -crop "$crop" +repage "$SESSION_DIR/root.png" &&
        [ "$(compare -metric AE "$SESSION_DIR/want.png" "$SESSION_DIR/root.png" null: 2>&1 | tail -n1)" = 0 ]
}
# profile LINE...: the program's settings file with "ShowSplsh" = "False" and the given lines.
profile() {
    mkdir -p "$XDG_CONFIG_HOME/lumora"
    printf '%s\n' '[Vintrel\Options]' '"ShowSplsh" = "False"' "$@" >"$XDG_CONFIG_HOME/lumora/lumora.conf"
}
# monitor_alerts: records the Notify calls on the bus; alerts prints one per line,
# "app|icon|summary|body|timeout" with line breaks as \n; alerts_seen N: at least N were made.
# The monitor also records the test's own GetServerInformation calls: alerts_caught_up makes one
# and waits until it is logged, after every alert sent before it.
monitor_alerts() {
    session_spawn monitor dbus-monitor --session "interface='org.freedesktop.Notifications',member='Notify'" \
        "interface='org.freedesktop.Notifications',member='GetServerInformation'"
    wait_until 10 grep -q NameAcquired "$SESSION_DIR/monitor.log" || fail "dbus-monitor did not start"
}
alerts_seen() { [ "$(grep -c 'member=Notify' "$SESSION_DIR/monitor.log")" -ge "$1" ]; }
information_asked() { [ "$(grep -c 'member=GetServerInformation' "$SESSION_DIR/monitor.log")" -ge "$1" ]; }
alerts_caught_up() {
    local n
    n=$(($(grep -c 'member=GetServerInformation' "$SESSION_DIR/monitor.log") + 1))
    dbus-send --session --type=method_call --dest=org.freedesktop.Notifications /org/freedesktop/Notifications \
        org.freedesktop.Notifications.GetServerInformation
    wait_until 10 information_asked "$n" || fail "the bus monitor did not log a call of the test's own"
}
# program_answers: the running program has dealt with what it was given before now: it answers a
# call on the session bus from its event loop.
program_answers() {
    wait_until 20 bus_has_name org.lumora.Lumora || { fail "the program is not on the session bus"; return 1; }
    timeout 30 dbus-send --session --print-reply --dest=org.lumora.Lumora /org/lumora/Lumora \
        org.freedesktop.DBus.Introspectable.Introspect >/dev/null 2>&1 || fail "the program does not answer on the bus"
}
# wm_caught_up: the window manager has handled every request made before now (a map, a move, an
# activation): a change of the number of desktops asked of it after them, and back, shows on the
# root window.
desktops_are() { [ "$(xdotool get_num_desktops 2>/dev/null)" = "$1" ]; }
wm_caught_up() {
    local n
    n=$(xdotool get_num_desktops 2>/dev/null) && [ -n "$n" ] || { fail "the window manager names no desktops"; return 1; }
    xdotool set_num_desktops $((n + 1)) && wait_until 10 desktops_are $((n + 1)) &&
        xdotool set_num_desktops "$n" && wait_until 10 desktops_are "$n" ||
        { fail "the window manager did not change the number of desktops"; return 1; }
}
# settled: the program has dealt with what it was given before now, and the window manager with
# what the program asked of it then (a window shown, placed or moved is where it stays).
settled() { program_answers && wm_caught_up; }
# icon_double_click DONE...: a double-click on the tray icon, once the program's start-up is over,
# until the command DONE succeeds. It is made again (up to three times) when DONE does not follow:
# on a loaded machine a pause inside xdotool can part the two clicks by more than the double-click
# time, and a tray host may still be moving an icon it has just embedded.
icon_double_click() {
    local x y try
    program_answers
    for try in 1 2 3; do
        read -r x y _ < <(geometry "$(tray_icon)")
        xdotool mousemove $((x + 8)) $((y + 8)) click --repeat 2 --delay 80 1
        wait_until 10 "$@" && return 0
        e2e_log "a double-click on the icon (try $try) was not answered"
    done
    return 1
}
# popups: how many override-redirect windows (menus) of the program are shown. open_menu X Y: a
# right click at X,Y shows one more. menu_key KEY DONE...: KEY for the open menu until the command
# DONE succeeds; a menu that has just been mapped may not hold the keyboard yet, so a key is sent
# again (up to three times) while the menu is still open.
popups() {
    local n=0 w
    for w in $(xdotool search --onlyvisible --class lumora 2>/dev/null); do
        xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' && n=$((n + 1))
    done
    echo $n
}
menu_shown() { [ "$(popups)" -gt "$MENU_BASE" ]; }
open_menu() {
    MENU_BASE=$(popups)
    xdotool mousemove "$1" "$2" click 3
    wait_until 10 menu_shown || { fail "no menu opened on the right click"; return 1; }
}
menu_key() {
    local key=$1 _
    shift
    for _ in 1 2 3; do
        xdotool key "$key"
        wait_until 5 "$@" && return 0
        menu_shown || break
    done
    wait_until 10 "$@"
}
alerts() {
    python3 - "$SESSION_DIR/monitor.log" <<'PY'
import re, sys
for call in open(sys.argv[1]).read().split('member=Notify')[1:]:
    s = re.findall(r'string "((?:[^"\\]|\\.)*)"', call, re.S)[:4]
    print('|'.join(s + re.findall(r'(?<!u)int32 (-?\d+)', call)[:1]).replace('\n', '\\n'))
PY
}
# The first-run advice as alerts prints it.
ADVICE='Lumora|dialog-information|Lumora|Your must define the wallpapers for each day.\nYou can use the context menu of this icon in system tray\nor double-click on this icon to launch Lumora.|2000'
# icon_menu: a right click on the program's icon opens its menu (open_menu).
icon_menu() {
    local x y
    read -r x y _ < <(geometry "$(tray_icon)") || { fail "no icon to click"; return 1; }
    open_menu $((x + 8)) $((y + 8))
}
