# Helpers shared by the desktop-backend end-to-end tests (test_desktop_*.sh, test_startup_desktops.sh).
# Source after session.sh.
need python3 convert
DESKTOP_DRIVER=${LUMORA_BINARY_DIR:-}/tests/linux/e2e/desktop_driver
XFCONFD=/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd

# drive BACKEND PATH STYLE [COLOUR]: the colour, then the wallpaper (none for style "-"), as the
# engine sets them; the driver's stderr goes to driver.log.
drive() {
    local args=()
    [ $# -ge 4 ] && args+=(color "$4")
    [ "$3" != - ] && args+=(wall "$2" "$3")
    "$DESKTOP_DRIVER" "$1" "${args[@]}" 2>>"$SESSION_DIR/driver.log"
}
need_driver() { [ -x "$DESKTOP_DRIVER" ] || { fail "$DESKTOP_DRIVER is not built"; e2e_finish; }; }
# A GVariant text as gsettings prints it ('text' or "text"), unquoted.
gvariant_string() { python3 -c 'import ast, sys; print(ast.literal_eval(sys.stdin.read().strip()))'; }
gget() { gsettings get "$1" "$2" | gvariant_string; }
# The local path of a file URI, decoded.
uri_path() {
    python3 -c 'import sys, urllib.parse as u; p = u.urlparse(sys.argv[1]); print(p.scheme + ":" + u.unquote(p.path) + ("?" if p.query else "") + ("#" if p.fragment else ""))' "$1"
}
# make_bmp FILE WIDTH HEIGHT R G B: a plain 24-bit BMP of one colour.
make_bmp() { convert -size "$2x$3" "xc:rgb($4,$5,$6)" -type truecolor "BMP3:$1"; }
# test_picture: PIC, a 64 x 48 red BMP whose name has a quote, '#', '%', '$', spaces and
# non-ASCII: each breaks a URI, a script or a command line built by hand.
test_picture() {
    mkdir -p "$SESSION_DIR/pictures"
    chmod 755 "$SESSION_DIR/pictures"
    PIC="$SESSION_DIR/pictures/it's \"#1\" 100% \$(id) caf$(printf '\xc3\xa9').bmp"
    make_bmp "$PIC" 64 48 255 0 0
}
# sway_start: a headless sway of the session (software rendering, no input devices), as the user
# nobody when root (sway refuses root; the caller checks that there is one): SWAY_AS runs a
# command as that user, SWAY_RUNDIR is its runtime folder and SWAY_SOCKET its Wayland socket once
# it is up; SWAYBG_PIDFILE is where the sway backend records its swaybg, stopped when the test
# ends. Fails (and says so) when sway does not come up within 20 s.
sway_socket() { ls "$SWAY_RUNDIR"/wayland-* 2>/dev/null | grep -v lock | head -n1 | grep .; }
sway_start() {
    SWAY_RUNDIR=$SESSION_DIR/sway-run SWAY_AS=()
    mkdir -p "$SWAY_RUNDIR" && chmod 700 "$SWAY_RUNDIR" && : >"$SESSION_DIR/sway.config"
    if [ "$(id -u)" = 0 ]; then
        chown nobody "$SWAY_RUNDIR" "$SESSION_DIR/sway.config"
        chmod 755 "$SESSION_DIR"
        SWAY_AS=(runuser -u nobody --)
    fi
    session_spawn sway "${SWAY_AS[@]}" env -u DISPLAY XDG_RUNTIME_DIR="$SWAY_RUNDIR" \
        WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=1 WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        sway -c "$SESSION_DIR/sway.config"
    SWAYBG_PIDFILE=$XDG_RUNTIME_DIR/lumora-swaybg-$(id -u).pid
    trap 'p=$(cat "$SWAYBG_PIDFILE" 2>/dev/null); [ -n "$p" ] && kill "$p"; session_stop' EXIT
    wait_until 20 sway_socket || { fail "sway did not start: $(tail -5 "$SESSION_DIR/sway.log")"; return 1; }
    SWAY_SOCKET=$(sway_socket)
}
# xq ARGS...: xfconf-query on the xfce4-desktop channel.
xq() { xfconf-query -c xfce4-desktop "$@" 2>/dev/null; }
xget() { xq -p "$1"; }
# rgba PROPERTY: the four doubles of an xfconf colour on one line.
rgba() { xget "$1" | grep -E '^[0-9.]+$' | paste -sd' '; }
# Watchers of a settings store, told apart from what they report by markers: a marker value the
# test writes through the same store shows that the watcher listens (listening), and one written
# after the changes under test is reported after all of them (marked).
MARKS=0
# xfconf_monitor: `xfconf-query -m` on the xfce4-desktop channel, into xfconf-monitor.log, once
# it reports changes; its PID is left in WATCHER.
XMARK=/lumora-e2e/mark
# caught_up COUNT MARK MESSAGE: one more marker is written (MARK) and the watcher's count of them
# (COUNT) shows it; MESSAGE fails the test when it does not.
marks_reach() { [ "$("$1")" -ge "$2" ]; }
caught_up() {
    local n
    n=$(($($1) + 1))
    "$2"
    wait_until 10 marks_reach "$1" "$n" || fail "$3"
}
xfconf_marks() { grep -c "^set: $XMARK\$" "$SESSION_DIR/xfconf-monitor.log"; }
xfconf_mark() { MARKS=$((MARKS + 1)) && xq -p $XMARK -n -t int -s $MARKS; }
xfconf_marked() { [ "$(xfconf_marks)" -gt 0 ]; }
xfconf_monitor() {
    session_spawn xfconf-monitor xfconf-query -c xfce4-desktop -m
    WATCHER=$SPAWNED
    listening 20 xfconf_marked xfconf_mark || fail "xfconf-query -m reports no change"
}
# xfconf_caught_up: every change made before now is in xfconf-monitor.log.
xfconf_caught_up() { caught_up xfconf_marks xfconf_mark "xfconf-query -m did not report the marker"; }
# dconf_monitor NAME: the writes to dconf on the bus, recorded by dbus-monitor into NAME.log (its
# path left in DCONF_LOG) once it records them; its PID is left in WATCHER. (`dconf watch` is no
# use here: it reads a key's value when it prints the change, so a value written and replaced at
# once is never seen.) dconf_writes KEY: the values written to KEY (a full path), one per line,
# in the order of the writes. dconf_caught_up: every write made before now is in the log.
DCONF_MARK=/org/lumora/e2e/mark
dconf_writes() {
    python3 - "$DCONF_LOG" "$1" <<'PY'
import re, sys

def offsets(data):
    return 1 if len(data) < 0x100 else 2 if len(data) < 0x10000 else 4 if len(data) < 1 << 32 else 8

def offset(data, at, size):
    return int.from_bytes(data[at:at + size], 'little')

def align(at, to):
    return (at + to - 1) // to * to

def entries(data):
    """The {key: maybe variant} entries of a serialised a{smv}, as (key, text of the value)."""
    if not data:
        return
    size = offsets(data)
    end = offset(data, len(data) - size, size)
    count = (len(data) - end) // size
    start = 0
    for i in range(count):
        stop = offset(data, end + i * size, size)
        entry = data[align(start, 8):stop]
        start = stop
        esize = offsets(entry)
        key_end = offset(entry, len(entry) - esize, esize)
        key = entry[:key_end - 1].decode()
        value = entry[align(key_end, 8):len(entry) - esize]
        if not value:
            yield key, '(reset)'
            continue
        variant = value[:-1]  # a maybe's Just: the child and a zero byte
        sep = variant.rindex(0)
        kind, body = variant[sep + 1:].decode(), variant[:sep]
        yield key, body[:-1].decode('utf-8', 'replace') if kind == 's' else kind + ':' + body.hex()

text = open(sys.argv[1], encoding='utf-8', errors='replace').read()
for call in text.split('member=Change')[1:]:
    data = bytes.fromhex(' '.join(re.findall(r'^\s+((?:[0-9a-f]{2} ?)+)$', call.split(']')[0], re.M)))
    for key, value in entries(data):
        if key == sys.argv[2]:
            print(value)
PY
}
dconf_marks() { dconf_writes $DCONF_MARK | grep -c .; }
dconf_mark() { MARKS=$((MARKS + 1)) && dconf write $DCONF_MARK $MARKS; }
dconf_marked() { [ "$(dconf_marks)" -gt 0 ]; }
dconf_monitor() {
    DCONF_LOG=$SESSION_DIR/$1.log
    session_spawn "$1" dbus-monitor --session "interface='ca.desrt.dconf.Writer',member='Change'"
    WATCHER=$SPAWNED
    listening 20 dconf_marked dconf_mark || fail "dbus-monitor records no write to dconf"
}
dconf_caught_up() { caught_up dconf_marks dconf_mark "dbus-monitor did not record the marker"; }
