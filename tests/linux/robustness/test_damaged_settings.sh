#!/usr/bin/env bash
# Damaged settings files, one case a row: cut short, random bytes, 100 MB, a folder, a named pipe,
# a link loop, a value of every wrong type, texts that are no number or Boolean, and more. For
# each, the real program:
#   - `lumora --refresh` on the root window ends with status 0 within the hang bound, the default
#     picture centred on white on screen (the defaults), the file untouched;
#   - a normal start shows the icon and keeps running, the file still untouched (start-up
#     writes nothing), except where a day's value names no file that opens: the start's check of
#     the day files removes such a day, as a file deleted later would be;
# then one option written through the settings store (settings_probe, the store's own code):
# where the file is a regular file it is replaced by a whole file holding the new option and
# every value the damaged one held (values lost: 0), the damaged original kept byte for byte as
# lumora.conf.damaged when it had unreadable lines; where it is not (too large, a folder, a pipe,
# a loop), nothing is written and it stays as it was. No part file is ever left.
source "$(dirname "$0")/../e2e/lib/session.sh"
need python3 convert import compare xwininfo
: "${LUMORA_BIN:?}" "${SETTINGS_PROBE:?}"
session_start --no-notify || { fail "session did not start"; e2e_finish; }
CONF_DIR=$XDG_CONFIG_HOME/lumora CONF=$XDG_CONFIG_HOME/lumora/lumora.conf
HEAD='[HKEY_CURRENT_USER\Software\Corvane\Local Settings]'
OPTS='[Vintrel\Options]'
DAYS=(Monday Tuesday Wednesday Thursday Friday Saturday Sunday)
PIC=$SESSION_DIR/red.png
convert -size 64x48 'xc:rgb(200,30,40)' "$PIC"
CASES=0 CRASHES=0 HANGS=0 LOST=0 HALF=0

# make CASE: writes the damaged settings of that case in $CONF's place; DAMAGED=1 when the file
# has unreadable lines (a copy is kept), REGULAR=0 when no write can replace it.
make() {
    rm -rf "$CONF_DIR"
    mkdir -p "$CONF_DIR"
    DAMAGED=1 REGULAR=1 REFUSED="" REMOVED=0
    case $1 in
    cut-in-a-value) printf '%s\n"Monday" = "%s' "$HEAD" "${PIC:0:12}" >"$CONF" ;;
    cut-in-a-header) printf '[HKEY_CURRENT_USER\\Software\\Corv' >"$CONF" ;;
    random-bytes) python3 -c 'import random,sys; r=random.Random(5); sys.stdout.buffer.write(bytes(r.randrange(256) for _ in range(65536)))' >"$CONF" ;;
    nul-bytes) head -c 4096 /dev/zero >"$CONF" ;;
    utf16) printf '%s\n"DispMess" = "False"\n' "$OPTS" | iconv -t UTF-16 >"$CONF" ;;
    one-long-line) python3 -c 'print("\"" + "x" * 3000000)' >"$CONF" ;;
    100-mb) REGULAR=0 && head -c 100000000 /dev/urandom >"$CONF" ;;
    folder) REGULAR=0 && mkdir "$CONF" ;;
    named-pipe) REGULAR=0 && mkfifo "$CONF" ;;
    link-loop) REGULAR=0 && ln -s lumora.conf "$CONF" ;;
    days-as-numbers)
        # A number reads as its decimal text: no absolute path, so no desktop is handed it.
        DAMAGED=0 REMOVED=7 REFUSED='not an absolute path: "77"'
        { echo "$HEAD"; for d in "${DAYS[@]}"; do echo "\"$d\" = dword:77"; done; } >"$CONF" ;;
    wrong-types)
        REMOVED=1 # Thursday's three-byte number reads as a number, which names no file
        {
            # Days of the binary types read as no picture.
            echo "$HEAD"
            # (type 4 with three bytes: a number that is not 4 bytes long; type 1, a text
            # without its terminator, keeps its characters and is no "wrong type").
            types=(0 2 3 4 7 8 11)
            for i in "${!DAYS[@]}"; do echo "\"${DAYS[$i]}\" = hex(${types[$i]}):2f,74,6d"; done
            echo '[HKEY_CURRENT_USER\Software\Corvane\Settings]'
            for d in "${DAYS[@]}"; do echo "\"$d\" = hex(3):2f,74,6d,70"; done
            # Option values are always texts: every other type is an unreadable line.
            echo "$OPTS"
            for k in DirectWall SelectWall DispMess ShowSplsh BackColor AddToReg Styl1 Styl3; do
                echo "\"$k\" = dword:2"
                echo "\"$k\" = hex(1):32,00"
            done
        } >"$CONF" ;;
    not-numbers-or-booleans)
        DAMAGED=0
        {
            echo "$HEAD"
            for d in "${DAYS[@]}"; do echo "\"$d\" = \"\""; done
            echo "$OPTS"
            printf '"%s" = "%s"\n' DirectWall two SelectWall 3.0e0 DispMess yes ShowSplsh no \
                BackColor blue AddToReg 0x1 Styl1 1e3 Styl2 '--1' Styl3 '1.2.3' Styl4 ' ' \
                Styl5 NaN Styl6 inf Styl7 '+-2' ColorWall true
        } >"$CONF" ;;
    esac
    [ -e "$CONF" ] || [ -L "$CONF" ]
}
# what_is: the settings path's type and content checksum, to tell that nothing touched it.
what_is() { stat -c '%F %s' "$CONF" 2>&1; [ -f "$CONF" ] && md5sum <"$CONF"; }
count() {
    CASES=$((CASES + 1))
    case $1 in
    124) HANGS=$((HANGS + 1)); fail "$2: lumora did not finish (hang)" ;;
    12[5-9] | 1[3-9][0-9] | 2[0-9][0-9]) CRASHES=$((CRASHES + 1)); fail "$2: lumora ended with status $1 (crash)" ;;
    esac
}
parts_left() { find "$CONF_DIR" -maxdepth 1 -name '*lumora.conf*' ! -name lumora.conf ! -name 'lumora.conf.damaged*' ! -name lumora.conf.lock | grep -q .; }

for case in cut-in-a-value cut-in-a-header random-bytes nul-bytes utf16 one-long-line 100-mb folder \
    named-pipe link-loop days-as-numbers wrong-types not-numbers-or-booleans; do
    make "$case" || { fail "$case: could not be made"; continue; }
    rm -rf "$SESSION_DIR/original"
    cp -a "$CONF" "$SESSION_DIR/original" 2>/dev/null
    was=$(what_is)
    # The defaults, one shot: the default picture centred on white. The hang bound is generous:
    # a pipe that blocked the read would never end.
    timeout -k 5 30 env LUMORA_DESKTOP=x11 "$LUMORA_BIN" --refresh >"$SESSION_DIR/out" 2>"$SESSION_DIR/err"
    status=$?
    count "$status" "$case"
    if [ $REGULAR = 0 ]; then
        # No value can be read: no wallpaper call, status 1 and the reason on stderr.
        check_eq "$case: --refresh status" 1 "$status"
        grep -q '^lumora: cannot read the settings file' "$SESSION_DIR/err" ||
            fail "$case: --refresh does not say why: $(head -c 300 "$SESSION_DIR/err")"
    elif [ -n "$REFUSED" ]; then
        check_eq "$case: --refresh status" 1 "$status"
        grep -qF "$REFUSED" "$SESSION_DIR/err" || fail "$case: --refresh does not say [$REFUSED]: $(head -c 300 "$SESSION_DIR/err")"
    else
        check_eq "$case: --refresh status ($(head -c 300 "$SESSION_DIR/err"))" 0 "$status"
        default_shown || fail "$case: the defaults are not in effect (the default picture on white)"
    fi
    check_eq "$case: the file after --refresh" "$was" "$(what_is)"

    # A normal start: the icon, and still running once the start-up is over.
    LUMORA_DESKTOP=x11 session_spawn "lumora-$case" "$LUMORA_BIN"
    pid=$SPAWNED
    wait_until 15 icon_embedded || fail "$case: the icon did not appear"
    program_answers # the start-up is over: what it read has been dealt with
    alive "$pid" || { CRASHES=$((CRASHES + 1)); fail "$case: the program ended: $(tail -n3 "$SESSION_DIR/lumora-$case.log")"; }
    kill "$pid" 2>/dev/null
    wait_until 10 ended "$pid" || fail "$case: the program did not end on SIGTERM"
    if [ $REMOVED != 0 ]; then
        # The days whose value opens no file were removed; the original goes back for the write
        # below.
        check_eq "$case: the days removed at the start" $REMOVED "$(grep -c '^"[A-Za-z]*day" = ""$' "$CONF")"
        cp -a "$SESSION_DIR/original" "$CONF"
        was=$(what_is)
    else
        check_eq "$case: the file after a start" "$was" "$(what_is)"
    fi

    # One option written through the store.
    read -r _ stored _ before _ kept _ copy < <(timeout 30 "$SETTINGS_PROBE" "$CONF" DispMess False 2>"$SESSION_DIR/probe.err")
    LOST=$((LOST + ${before:-0} - ${kept:-0}))
    [ "${before:-0}" = "${kept:-0}" ] || fail "$case: values lost: held ${before:-?}, kept ${kept:-?}"
    parts_left && { HALF=$((HALF + 1)); fail "$case: a part file was left: $(ls -a "$CONF_DIR")"; }
    if [ $REGULAR = 1 ]; then
        check_eq "$case: the option stored" yes "$stored"
        if [ $DAMAGED = 1 ]; then
            check_eq "$case: the damaged original kept" "$CONF.damaged" "$copy"
            cmp -s "$SESSION_DIR/original" "$CONF.damaged" || fail "$case: lumora.conf.damaged differs from the original"
        else
            check_eq "$case: no damaged copy for a file that reads whole" - "$copy"
        fi
        # What was written is one whole file: it reads back without a skipped line.
        grep -q 'is damaged' <(timeout 30 "$SETTINGS_PROBE" "$CONF" DispMess True 2>&1) &&
            { HALF=$((HALF + 1)); fail "$case: the written file does not read whole"; }
    else
        check_eq "$case: the option stored" no "$stored"
        check_eq "$case: the file after a write" "$was" "$(what_is)"
        grep -q '^lumora: settings not saved' "$SESSION_DIR/probe.err" ||
            fail "$case: the failed write was not logged: $(head -c 300 "$SESSION_DIR/probe.err")"
    fi
    e2e_log "$case: checked"
done
e2e_log "damaged settings: $CASES cases; crashes $CRASHES, hangs $HANGS, values lost $LOST, half-written files $HALF"
e2e_finish
