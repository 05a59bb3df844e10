#!/usr/bin/env bash
# Kills: SIGKILL at random moments while the program's own store writes settings, while its day
# copy (Transf) replaces a day file, and while the real program starts and runs. After each kill:
# the settings file parses with no skipped line and every value is the old or the new one; the
# day file under its own name is whole (one of the two sources, byte for byte); the default picture
# is whole; and the next start of the real program is never blocked (it takes its bus name).
#
# LUMORA_SUITE_BUDGET unset: 40 + 30 + 16 kills (under a minute); "full": 250 + 150 + 100 = 500.
source "${LUMORA_SOURCE_DIR:?}/tests/linux/e2e/lib/session.sh"
need cmp python3
: "${LUMORA_BIN:?}" "${STORE_DRIVER:?}"
if [ "${LUMORA_SUITE_BUDGET:-}" = full ]; then
    SETTINGS_KILLS=250 COPY_KILLS=150 PROGRAM_ROUNDS=50
else
    SETTINGS_KILLS=40 COPY_KILLS=30 PROGRAM_ROUNDS=8
fi
session_start --no-tray || { fail "session did not start"; e2e_finish; }
profile '"DispMess" = "False"'
PICDIR=$XDG_DATA_HOME/lumora
KILLS=0 CRASHES=0 HANGS=0 LOST=0 DAMAGED=0 BLOCKED=0 HALF=0 PARTS_SEEN=0
# A random pause of 0 to $1 milliseconds.
pause() { sleep "$(printf '0.%03d' $((RANDOM % $1)))"; }
last() { grep "^$1 " "$2" | tail -n1 | cut -d' ' -f2; }
# in_flight WHAT VALUE DONE WRITING: VALUE must have been written by a step from DONE (the last
# step logged as finished) to WRITING (the last one begun): a step may also have finished just
# before the kill cut its "D" line.
in_flight() {
    [ -z "$3" ] && [ "$2" = none ] && return 0
    [[ $2 =~ ^[0-9]+$ ]] && [ "$2" -ge "${3:-1}" ] && [ "$2" -le "$4" ] && return 0
    fail "$1 is [$2] after a kill; the last finished step was [${3:-none}], the last begun [$4]"
    LOST=$((LOST + 1))
}
# killed PID: one SIGKILL; a process that had ended by itself is a crash.
killed() {
    if alive "$1"; then
        kill -9 "$1" 2>/dev/null && KILLS=$((KILLS + 1))
    else
        CRASHES=$((CRASHES + 1)) && fail "process $1 ended before it was killed"
    fi
    wait "$1" 2>/dev/null
}
# step_log LOG: no step may have been refused (a lock left by a killed writer blocks none).
refused() { if grep -q '^F ' "$1"; then HANGS=$((HANGS + 1)); fail "a write was refused: $(grep -m1 '^F ' "$1")"; fi; }

# 1. Settings writes: "Counter" = n, then Monday's value, n = 1, 2, ...
LOG=$SESSION_DIR/settings.steps
: >"$LOG"
for ((k = 0; k < SETTINGS_KILLS; k++)); do
    "$STORE_DRIVER" settings "$LOG" "$(($(last W "$LOG") + 1))" 2>>"$SESSION_DIR/driver.err" &
    pid=$!
    pause 300
    killed $pid
    refused "$LOG"
    read -r _ bad < <("$STORE_DRIVER" read | grep '^bad ')
    [ "$bad" = 0 ] || { DAMAGED=$((DAMAGED + 1)); fail "the settings file has $bad unreadable line(s)"; }
    done=$(last D "$LOG") writing=$(last W "$LOG")
    in_flight Counter "$("$STORE_DRIVER" read | sed -n 's/^counter //p')" "$done" "$writing"
    in_flight "Monday's value" "$("$STORE_DRIVER" read | sed -n 's/^monday //p')" "$done" "$writing"
done
TEMPS=$(find "$XDG_CONFIG_HOME/lumora" -regex '.*/lumora\.conf\.[A-Za-z0-9]\{6\}' | wc -l)
e2e_log "settings: $SETTINGS_KILLS kills, $(last D "$LOG") steps done, $TEMPS unfinished new file(s) left beside it"

# 2. Day copies: Monday's picture from A (odd steps) or B (even steps), two sizes.
head -c 300000 /dev/urandom >"$SESSION_DIR/a.png"
head -c 200003 /dev/urandom >"$SESSION_DIR/b.png"
source_of() { [ $(($1 % 2)) = 1 ] && echo "$SESSION_DIR/a.png" || echo "$SESSION_DIR/b.png"; }
VALUE_BEFORE=$("$STORE_DRIVER" read | sed -n 's/^monday //p')
LOG=$SESSION_DIR/copy.steps
: >"$LOG"
for ((k = 0; k < COPY_KILLS; k++)); do
    "$STORE_DRIVER" copy "$LOG" "$(($(last W "$LOG") + 1))" "$SESSION_DIR/a.png" "$SESSION_DIR/b.png" \
        2>>"$SESSION_DIR/driver.err" &
    pid=$!
    pause 300
    killed $pid
    refused "$LOG"
    done=$(last D "$LOG") writing=$(last W "$LOG")
    if [ -e "$PICDIR/Monday.png" ]; then
        whole=0
        for ((n = ${done:-1}; n <= writing; n++)); do
            cmp -s "$PICDIR/Monday.png" "$(source_of "$n")" && whole=1 && break
        done
        if [ $whole = 0 ]; then
            HALF=$((HALF + 1))
            fail "Monday.png is neither whole source after a kill in step $writing ($(stat -c %s "$PICDIR/Monday.png") bytes)"
        fi
    fi
    # The old value or the copy's path: a kill between the rename and the value's write leaves
    # the old one.
    value=$("$STORE_DRIVER" read | sed -n 's/^monday //p')
    [ "$value" = "$PICDIR/Monday.png" ] || [ "$value" = "$VALUE_BEFORE" ] ||
        { LOST=$((LOST + 1)) && fail "Monday's value is [$value] after a kill"; }
    PARTS_SEEN=$((PARTS_SEEN + $(find "$PICDIR" -name '.*.part-*' | wc -l)))
    find "$PICDIR" -name '.*.part-*' -delete # as the next start of the program does
done
e2e_log "copies: $COPY_KILLS kills, $(last D "$LOG") copies done, $PARTS_SEEN part file(s) left by kills"
MONDAY_BEFORE=$(md5sum <"$PICDIR/Monday.png")

# 3. The real program: killed at a random moment of its start-up, then started again (the start
#    must take the bus name: not blocked by the lock the killed one held), and killed again.
up() { bus_has_name org.lumora.Lumora; }
LUMORA_DESKTOP=none session_spawn lumora "$LUMORA_BIN"
wait_until 15 up || fail "the program did not start before any kill"
kill "$SPAWNED" && wait "$SPAWNED" 2>/dev/null
cp "$PICDIR/Default.bmp" "$SESSION_DIR/default.ref"
for ((k = 0; k < PROGRAM_ROUNDS; k++)); do
    LUMORA_DESKTOP=none session_spawn lumora "$LUMORA_BIN"
    pause 600
    killed "$SPAWNED"
    LUMORA_DESKTOP=none session_spawn lumora "$LUMORA_BIN"
    wait_until 15 up || { BLOCKED=$((BLOCKED + 1)); fail "a start after a kill did not come up: $(tail -n3 "$SESSION_DIR/lumora.log")"; }
    pause 500
    killed "$SPAWNED"
    wait_until 5 eval '! up'
    [ ! -e "$PICDIR/Default.bmp" ] || cmp -s "$PICDIR/Default.bmp" "$SESSION_DIR/default.ref" ||
        { HALF=$((HALF + 1)); fail "Default.bmp is not whole after a kill"; }
done
LUMORA_DESKTOP=none session_spawn lumora "$LUMORA_BIN"
wait_until 15 up || { BLOCKED=$((BLOCKED + 1)); fail "the last start did not come up"; }
cmp -s "$PICDIR/Default.bmp" "$SESSION_DIR/default.ref" || fail "Default.bmp differs after the last start"
check_eq "part files after a start" "" "$(find "$PICDIR" -name '.*.part-*')"
check_eq "Monday.png after the program's runs" "$MONDAY_BEFORE" "$(md5sum <"$PICDIR/Monday.png")"
kill "$SPAWNED"
e2e_log "figures: kills=$KILLS (settings $SETTINGS_KILLS, copies $COPY_KILLS, program $((2 * PROGRAM_ROUNDS)))" \
    "crashes=$CRASHES refused_writes=$HANGS values_lost=$LOST damaged_files=$DAMAGED" \
    "half_written_files=$HALF blocked_starts=$BLOCKED part_files_left_by_kills=$PARTS_SEEN"
e2e_finish
