#!/usr/bin/env bash
# Start-up with a settings file it cannot use as it is. One of 100,000 keys (hand-edited or
# damaged), with today's JPEG drawn ahead on the root window while the program comes up: every
# start answers its menu, and "E&xit" ends it. One it cannot read at all (a folder, a named pipe,
# a link loop, a file over 4 MiB): the program comes up and tells the user why in an alert, once,
# although the message switch it cannot read would be on.
source "$(dirname "$0")/lib/session.sh"
need xdotool xwininfo convert dbus-monitor python3
: "${LUMORA_BIN:?}"
session_start || { fail "session did not start"; e2e_finish; }
CONF=$XDG_CONFIG_HOME/lumora/lumora.conf
PICS=$SESSION_DIR/pictures
mkdir -p "$PICS" "$XDG_CONFIG_HOME/lumora"
convert -size 3000x2000 gradient:red-blue "$PICS/day.jpg"

# The settings: every day the same JPEG, and 100,000 keys the program does not know.
python3 - "$CONF" "$PICS/day.jpg" <<'PY'
import sys
conf, picture = sys.argv[1:]
days = ["Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"]
with open(conf, "w") as f:
    f.write('[Vintrel\\Options]\n"ShowSplsh" = "False"\n"DispMess" = "False"\n')
    f.write("[HKEY_CURRENT_USER\\Software\\Corvane\\Local Settings]\n")
    f.writelines(f'"{d}" = "{picture}"\n' for d in days)
    f.write("[HKEY_CURRENT_USER\\Software\\Corvane\\Unknown]\n")
    f.writelines(f'"Key{i:06d}" = "value {i}"\n' for i in range(100000))
PY

# exit_from_menu PID: "E&xit" from the icon's menu, by its access key, ends the process.
exit_from_menu() {
    icon_menu || return 1
    menu_key x ended "$1" || fail "the process did not end after E&xit"
}

STARTS=6
for ((i = 1; i <= STARTS; i++)); do
    LUMORA_DESKTOP=x11 session_spawn "large$i" "$LUMORA_BIN"
    PID=$SPAWNED
    wait_until 30 icon_embedded || { fail "start $i: no icon"; kill "$PID"; continue; }
    exit_from_menu "$PID" || kill "$PID" 2>/dev/null
    wait_until 10 ended "$PID" || kill -9 "$PID" 2>/dev/null
    if grep -q 'was not created in the main() thread' "$SESSION_DIR/large$i.log"; then
        fail "start $i: Qt took another thread for the main thread"
    fi
done

# A settings file that cannot be read: the alert says so and why, whatever the switch would say.
monitor_alerts
unreadable() {
    rm -rf "$CONF"
    case $1 in
    folder) mkdir "$CONF" ;;
    pipe) mkfifo "$CONF" ;;
    loop) ln -s "$(basename "$CONF")" "$CONF" ;;
    large) head -c $((4 * 1024 * 1024 + 1)) /dev/zero | tr '\0' '#' >"$CONF" ;;
    esac
}
told() { [ "$(alerts | grep -c "Lumora cannot read its settings file $CONF: $1")" -ge 1 ]; }
for row in "folder|it is a folder" "pipe|it is not a regular file" \
    "loop|Too many levels of symbolic links" "large|it is larger than 4 MiB"; do
    kind=${row%%|*} why=${row#*|}
    unreadable "$kind"
    LUMORA_DESKTOP=none session_spawn "unreadable-$kind" "$LUMORA_BIN"
    PID=$SPAWNED
    wait_until 15 told "$why" || fail "$kind: no alert that says \"$why\""
    kill "$PID"
    wait_until 10 ended "$PID" || fail "$kind: the program did not end on TERM"
done
check_eq "alerts about the settings file" 4 "$(alerts | grep -c 'Lumora cannot read its settings file')"
e2e_finish
