#!/usr/bin/env bash
# Full disk and vanished sources: pictures chosen as a user does (tray menu, the real open dialog)
# while the settings and the picture folder live on a small tmpfs. A copy onto the full tmpfs, and
# a copy whose source is removed or cut short while it is copied, must leave the previous day file
# byte for byte, the day's picture value, the settings file (when the disk is full, as it is), the
# wallpaper on screen, no temporary file, and send no "wallpaper changed using" alert. A last
# choice with room to spare must still work and say so. Needs root to mount the tmpfs.
source "${LUMORA_SOURCE_DIR:?}/tests/linux/e2e/lib/session.sh"
need xwininfo xdotool faketime convert openbox dbus-monitor python3 md5sum mount umount strace
: "${LUMORA_BIN:?}"
MNT=$(mktemp -d /tmp/lumora-tmpfs.XXXXXX)
mount -t tmpfs -o size=64m,mode=755 lumora-test "$MNT" 2>/dev/null || { rmdir "$MNT"; skip "cannot mount a tmpfs (not root?)"; }
cleanup() { session_stop; umount "$MNT" && rmdir "$MNT"; }
session_start --wm openbox || { fail "session did not start"; e2e_finish; }
trap cleanup EXIT
export XDG_CONFIG_HOME=$MNT/config XDG_DATA_HOME=$MNT/data
PICDIR=$XDG_DATA_HOME/lumora CONF=$XDG_CONFIG_HOME/lumora/lumora.conf
mkdir -p "$PICDIR" "$SESSION_DIR/src"
convert -size 32x24 'xc:rgb(200,30,40)' "$PICDIR/Wednesday.png"
convert -size 32x24 'xc:rgb(30,60,200)' "$PICDIR/Friday.png"
profile '[HKEY_CURRENT_USER\Software\Corvane\Local Settings]' \
    "\"Wednesday\" = \"$PICDIR/Wednesday.png\"" "\"Friday\" = \"$PICDIR/Friday.png\""
convert -size 400x400 xc: +noise Random "$SESSION_DIR/src/noise.png" # about 480 KB
monitor_alerts

# Wednesday 3 February 2027, the clock running from 09:05.
LUMORA_DESKTOP=x11 session_spawn lumora faketime -f '@2027-02-03 09:05:00' "$LUMORA_BIN"
PID=$SPAWNED
wait_until 15 icon_embedded || fail "the icon did not appear"
wait_pixel 10 5 5 "200 30 40" || fail "Wednesday's picture was not set at start-up"

# local_value DAY: the day's picture value as the settings file holds it.
local_value() {
    awk -v day="\"$1\"" '/^\[/ {in_local = ($0 ~ /Local Settings\]$/)} in_local && $1 == day {print $3}' "$CONF"
}
parts() { find "$PICDIR" "$XDG_CONFIG_HOME" -name '.*.part-*' -o -regex '.*\.conf\.[A-Za-z0-9]\{6\}' | wc -l; }
dialog() { xdotool search --onlyvisible --name "^Lumora - Choose wallpaper to use for $1\$" 2>/dev/null | head -n1; }
# choose DAY KEY PATH: the day from the tray menu (its access key), PATH typed into the dialog.
choose() {
    local x y which=$1 win
    read -r x y _ < <(geometry "$(tray_icon)")
    open_menu $((x + 8)) $((y + 8)) || return 1
    dialog_open() { [ -n "$(dialog "$which")" ]; }
    menu_key "$2" dialog_open || { fail "the open dialog for $1 did not appear"; return 1; }
    win=$(dialog "$1")
    activate "$win"
    wait_until 5 has_focus "$win" || fail "the open dialog for $1 did not take the focus"
    xdotool key --clearmodifiers ctrl+a type --delay 5 "$3"
    xdotool key Return
}
ROWS=0 FALSE_REPORTS=0 CHANGED=0
# row NAME DAY KEY COLOUR PATH FULL [ACTION]: ACTION runs as soon as the copy's temporary file shows.
row() {
    local name=$1 day=$2 key=$3 colour=$4 path=$5 full=$6 action=${7:-}
    local file="$PICDIR/$day.png" before_sum before_value before_conf seen
    ROWS=$((ROWS + 1))
    before_sum=$(md5sum <"$file") before_value=$(local_value "$day") before_conf=$(md5sum <"$CONF")
    seen=$(alerts | wc -l)
    # A copy is over in a blink: to act while it is under way, every write(2) of the program is
    # held 20 ms (strace's fault injection; the copy writes 256 KiB at a time).
    local slow=""
    if [ -n "$action" ]; then
        strace -qq -f -p "$(program_pid)" -e trace=write -e inject=write:delay_enter=20000 -o /dev/null &
        slow=$!
        wait_until 20 traced "$(program_pid)" "$slow" || fail "$name: strace did not attach to the program"
    fi
    choose "$day" "$key" "$path" || { [ -z "$slow" ] || kill "$slow"; return; }
    if [ -n "$action" ]; then
        wait_until 10 eval '[ -n "$(find "$PICDIR" -name ".$day.png.part-*")" ]' || fail "$name: no copy was seen under way"
        $action "$path"
        kill "$slow"
        wait "$slow" 2>/dev/null
    fi
    wait_until 20 eval '[ -z "$(dialog "$day")" ]' || fail "$name: the dialog did not close"
    wait_until 20 eval '[ "$(parts)" = 0 ]' || fail "$name: temporary files are left: $(find "$PICDIR" "$XDG_CONFIG_HOME" -name '.*')"
    # The alerts of the choice, if any, come before the program's answer on the bus, and reach
    # the bus monitor before a call of the test's own.
    program_answers
    alerts_caught_up
    alive "$PID" || { fail "$name: lumora ended"; return; }
    local said
    said=$(alerts | tail -n +$((seen + 1)))
    e2e_log "$name: alerts: ${said:-none}"
    if grep -q "changed using" <<<"$said"; then
        FALSE_REPORTS=$((FALSE_REPORTS + 1))
        fail "$name: a change was reported although the copy failed"
    fi
    check_eq "$name: $day.png" "$before_sum" "$(md5sum <"$file")"
    check_eq "$name: $day's picture value" "$before_value" "$(local_value "$day")"
    [ "$full" = 0 ] || check_eq "$name: the settings file on the full disk" "$before_conf" "$(md5sum <"$CONF")"
    [ "$day" != Wednesday ] || wait_pixel 5 5 5 "$colour" || fail "$name: today's wallpaper changed"
}
# traced PID TRACER: every thread of PID is traced by TRACER (strace -f attaches to each).
traced() {
    local task
    for task in /proc/"$1"/task/*; do
        [ "$(awk '/^TracerPid:/ {print $2}' "$task/status" 2>/dev/null)" = "$2" ] || return 1
    done
}
# The program itself: faketime runs it as its child.
program_pid() { pgrep -P "$PID" | head -n1 | grep . || echo "$PID"; }
remove_source() { rm -f "$1"; }
cut_source() { truncate -s 1000 "$1"; }

# 1. The tmpfs filled up to its last byte.
head -c 100M /dev/zero >"$MNT/filler" 2>/dev/null
e2e_log "tmpfs: $(df --output=avail -B1 "$MNT" | tail -n1) bytes free"
row "full disk, today" Wednesday w "200 30 40" "$SESSION_DIR/src/noise.png" 1
row "full disk, another day" Friday f "" "$SESSION_DIR/src/noise.png" 1
rm "$MNT/filler"

# 2. Room to spare, but the source goes or shrinks while it is copied (a 40 MB file, its copy
#    slowed down as above).
big() { head -c 40M /dev/zero >"$SESSION_DIR/src/$1" && echo "$SESSION_DIR/src/$1"; }
row "source removed, today" Wednesday w "200 30 40" "$(big removed1.png)" 0 remove_source
row "source removed, another day" Friday f "" "$(big removed2.png)" 0 remove_source
row "source cut short, today" Wednesday w "200 30 40" "$(big cut.png)" 0 cut_source

# 3. With room and a source that stays, the choice goes through and says so.
seen=$(alerts | wc -l)
choose Friday f "$SESSION_DIR/src/noise.png"
wait_until 20 eval 'alerts | tail -n +$((seen + 1)) | grep -q "changed using"' || fail "a good copy was not reported"
cmp -s "$SESSION_DIR/src/noise.png" "$PICDIR/Friday.png" || fail "a good copy did not replace Friday.png"
e2e_log "figures: rows=$ROWS false_reports=$FALSE_REPORTS"
e2e_finish
