#!/usr/bin/env bash
# The session under a running program: its tray host, notification daemon and the desktop's
# settings daemon killed (SIGKILL, as a crash) and started again while Lumora runs. After each
# restart: the icon is back (embedded by trayer; registered with the StatusNotifierItem watcher
# and seen by its host), a refresh's alert reaches the new notification daemon (counted by dunst
# itself), and the wallpaper reaches the new xfconfd (or, in a third run, the new dconf-service).
# The tray runs: XEmbed (trayer) and StatusNotifierItem (status-notifier-watcher and
# gtk-sni-tray-standalone).
#
# LUMORA_SUITE_BUDGET unset: 2 rounds of restarts per run; "full": 10.
source "${LUMORA_SOURCE_DIR:?}/tests/linux/e2e/lib/session.sh"
source "$LUMORA_SOURCE_DIR/tests/linux/e2e/lib/desktop_checks.sh"
need trayer dunst dunstctl xfconf-query xwininfo xdotool dbus-monitor python3
[ -x "$XFCONFD" ] || skip "xfconfd is not installed ($XFCONFD)"
: "${LUMORA_BIN:?}"
ROUNDS=2
[ "${LUMORA_SUITE_BUDGET:-}" = full ] && ROUNDS=10
session_start --no-notify --no-tray || { fail "session did not start"; e2e_finish; }
PIC=$SESSION_DIR/pictures/day.png
mkdir -p "${PIC%/*}"
convert -size 32x24 'xc:rgb(200,30,40)' "$PIC"
lines=()
for day in Sunday Monday Tuesday Wednesday Thursday Friday Saturday; do lines+=("\"$day\" = \"$PIC\""); done
profile '[HKEY_CURRENT_USER\Software\Corvane\Local Settings]' "${lines[@]}"
monitor_alerts
RESTARTS=0 LOST_ICONS=0 LOST_ALERTS=0 LOST_WALLPAPERS=0 REFRESHES=0

# restart NAME PID_VAR COMMAND...: kills the service by its PID and starts it again.
restart() {
    local name=$1 var=$2
    shift 2
    kill -9 "${!var}" 2>/dev/null
    wait_until 5 ended "${!var}"
    session_spawn "$name" "$@"
    printf -v "$var" %s "$SPAWNED"
    RESTARTS=$((RESTARTS + 1))
}
start_dunst() {
    session_spawn dunst dunst -config /dev/null
    DUNST=$SPAWNED
    wait_until 10 bus_has_name org.freedesktop.Notifications || fail "dunst did not start"
}
start_xfconfd() {
    session_spawn xfconfd "$XFCONFD"
    XFCONF=$SPAWNED
    wait_until 10 bus_has_name org.xfce.Xfconf || fail "xfconfd did not start"
}
# The notification and settings daemons killed and started again, then a refresh through them.
restart_daemons_and_refresh() {
    restart dunst DUNST dunst -config /dev/null
    wait_until 10 bus_has_name org.freedesktop.Notifications || fail "dunst did not start again"
    restart xfconfd XFCONF "$XFCONFD"
    wait_until 10 bus_has_name org.xfce.Xfconf || fail "xfconfd did not start again"
    refreshed "$1"
}
# dunst's own count of the notifications it got.
dunst_count() {
    local n=0 what
    for what in displayed waiting history; do n=$((n + $(dunstctl count "$what" 2>/dev/null || echo 0))); done
    echo "$n"
}
# refreshed: `lumora --refresh` on the running program; its alert must reach dunst, and the
# wallpaper (cleared by hand before) must reach xfconfd.
refreshed() {
    local before
    before=$(dunst_count)
    for g in $(xq -l | grep '/last-image$'); do xq -p "$g" -s /nothing; done
    "$LUMORA_BIN" --refresh 2>>"$SESSION_DIR/refresh.log" || fail "lumora --refresh failed ($1)"
    REFRESHES=$((REFRESHES + 1))
    wait_until 10 eval '[ "$(dunst_count)" -gt "$before" ]' ||
        { LOST_ALERTS=$((LOST_ALERTS + 1)) && fail "$1: the alert did not reach dunst"; }
    for g in $(xq -l | grep '/last-image$'); do
        [ "$(xget "$g")" = "$PIC" ] || { LOST_WALLPAPERS=$((LOST_WALLPAPERS + 1)) && fail "$1: $g is [$(xget "$g")]"; }
    done
}
start_dunst
start_xfconfd

# 1. An XEmbed tray: trayer.
start_trayer || fail "trayer did not start"
TRAYER=$SPAWNED
LUMORA_DESKTOP=xfce session_spawn lumora "$LUMORA_BIN"
LUMORA=$SPAWNED
wait_until 15 icon_embedded || fail "the icon did not appear in trayer"
wait_until 10 eval '[ -n "$(xq -l | grep /last-image$)" ]' || fail "no wallpaper reached xfconfd at start-up"
for ((r = 1; r <= ROUNDS; r++)); do
    restart trayer TRAYER trayer --edge bottom --align right --widthtype request --height 24 \
        --SetDockType true --transparent false --tint 0x333333
    wait_until 10 icon_embedded || { LOST_ICONS=$((LOST_ICONS + 1)) && fail "round $r: the icon did not come back to trayer"; }
    restart_daemons_and_refresh "XEmbed round $r"
done
alive "$LUMORA" || fail "lumora ended in the XEmbed run"
kill "$LUMORA" "$TRAYER"
wait_until 10 ended "$LUMORA"

# 2. A StatusNotifierItem tray: a watcher and a host, both started before the program.
if command -v status-notifier-watcher >/dev/null && command -v gtk-sni-tray-standalone >/dev/null; then
    SNI_RUN=1
    watcher_get() {
        dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
            org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher "string:$1" 2>/dev/null
    }
    # item_registered: the watcher lists an item whose bus name belongs to the program's process.
    item_registered() {
        local item
        for item in $(watcher_get RegisteredStatusNotifierItems | sed -n 's/.*string "\([^"/]*\).*/\1/p'); do
            dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
                org.freedesktop.DBus.GetConnectionUnixProcessID "string:$item" 2>/dev/null |
                grep -q "uint32 $LUMORA\$" && return 0
        done
        return 1
    }
    host_registered() { watcher_get IsStatusNotifierHostRegistered | grep -q 'boolean true'; }
    session_spawn watcher status-notifier-watcher
    WATCHER=$SPAWNED
    wait_until 10 bus_has_name org.kde.StatusNotifierWatcher || fail "status-notifier-watcher did not start"
    session_spawn host gtk-sni-tray-standalone
    HOST=$SPAWNED
    wait_until 10 host_registered || fail "gtk-sni-tray-standalone did not register as a host"
    LUMORA_DESKTOP=xfce session_spawn lumora "$LUMORA_BIN"
    LUMORA=$SPAWNED
    wait_until 15 item_registered || fail "the icon was not registered as a StatusNotifierItem"
    for ((r = 1; r <= ROUNDS; r++)); do
        restart watcher WATCHER status-notifier-watcher
        wait_until 10 bus_has_name org.kde.StatusNotifierWatcher || fail "the watcher did not start again"
        restart host HOST gtk-sni-tray-standalone
        wait_until 10 host_registered || fail "the host did not register again"
        wait_until 10 item_registered ||
            { LOST_ICONS=$((LOST_ICONS + 1)) && fail "round $r: the icon is not registered with the new watcher"; }
        restart_daemons_and_refresh "StatusNotifierItem round $r"
    done
    alive "$LUMORA" || fail "lumora ended in the StatusNotifierItem run"
    kill "$HOST" "$WATCHER"
    wait_until 10 eval '! bus_has_name org.kde.StatusNotifierWatcher'
else
    SNI_RUN=0
    e2e_log "no StatusNotifierItem run: status-notifier-watcher or gtk-sni-tray-standalone is missing"
fi
kill "$LUMORA" 2>/dev/null
wait_until 10 ended "$LUMORA"

# 3. GNOME's settings store: dconf-service (started by the bus on demand) killed between refreshes;
#    the program's next wallpaper must reach the new one. The tray host here is trayer again.
if [ -x /usr/libexec/dconf-service ] && command -v gsettings >/dev/null; then
    DCONF_RUN=1
    export GSETTINGS_BACKEND=dconf
    SCHEMA=org.gnome.desktop.background
    dconf_pid() {
        dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
            org.freedesktop.DBus.GetConnectionUnixProcessID string:ca.desrt.dconf 2>/dev/null | sed -n 's/.*uint32 //p'
    }
    start_trayer || fail "trayer did not start"
    LUMORA_DESKTOP=gnome session_spawn lumora "$LUMORA_BIN"
    LUMORA=$SPAWNED
    wait_until 15 icon_embedded || fail "the icon did not appear for the GNOME run"
    wait_until 10 eval '[ "$(gget $SCHEMA picture-uri)" = "file://$PIC" ]' || fail "no wallpaper reached dconf at start-up"
    for ((r = 1; r <= ROUNDS; r++)); do
        pid=$(dconf_pid)
        [ -n "$pid" ] && kill -9 "$pid" && wait_until 5 eval '[ -z "$(dconf_pid)" ]' && RESTARTS=$((RESTARTS + 1))
        gsettings set $SCHEMA picture-uri 'file:///nothing' # starts a new dconf-service
        "$LUMORA_BIN" --refresh 2>>"$SESSION_DIR/refresh.log" || fail "lumora --refresh failed (GNOME round $r)"
        REFRESHES=$((REFRESHES + 1))
        wait_until 10 eval '[ "$(gget $SCHEMA picture-uri)" = "file://$PIC" ]' ||
            { LOST_WALLPAPERS=$((LOST_WALLPAPERS + 1)) && fail "GNOME round $r: picture-uri is [$(gget $SCHEMA picture-uri)]"; }
    done
    alive "$LUMORA" || fail "lumora ended in the GNOME run"
    kill "$LUMORA"
    wait_until 10 ended "$LUMORA"
    pid=$(dconf_pid)
    [ -n "$pid" ] && kill "$pid" && wait_until 5 eval '[ -z "$(dconf_pid)" ]' # the bus started it for us
else
    DCONF_RUN=0
    e2e_log "no GNOME run: dconf-service or gsettings is missing"
fi
e2e_log "figures: rounds=$ROUNDS dconf_run=$DCONF_RUN sni_run=$SNI_RUN restarts=$RESTARTS refreshes=$REFRESHES" \
    "icons_lost=$LOST_ICONS alerts_lost=$LOST_ALERTS wallpapers_lost=$LOST_WALLPAPERS alerts_on_bus=$(alerts | wc -l)"
e2e_finish
