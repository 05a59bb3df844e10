#!/usr/bin/env bash
# Odd picture names, each chosen for today: quotes, `$`, `%`, `#`, spaces, new lines, tabs,
# backslashes, a leading dash, glob characters, bytes that are no UTF-8 and non-ASCII letters,
# with shell commands that would leave a file behind if anything ran them. Each goes
#   - through the day copy (store_driver choose: the engine's Transf with the real settings
#     file): the copy is named <day><the name's last four characters>, holds the picture's
#     bytes, and the settings file gives its path back byte for byte;
#   - through the real program (`lumora --refresh`) reading that settings file, to every desktop
#     backend on its real daemon (GNOME, Cinnamon, MATE on dconf, XFCE on xfconfd, swaybg on a
#     headless sway where sway is installed, the root window; KDE is left to its own test): the desktop's store names exactly that file, or, where the store cannot hold the
#     bytes (a text key and bytes that are no UTF-8), the program says the wallpaper was not set;
#     it never reports success for another path;
#   - through the thumbnail and the preview window (picture_probe), which show it.
# Nothing anywhere runs the commands in the names.
source "$(dirname "$0")/../e2e/lib/session.sh"
source "$(dirname "$0")/../e2e/lib/desktop_checks.sh"
need python3 convert gsettings xfconf-query
: "${LUMORA_BIN:?}" "${STORE_DRIVER:?}" "${PICTURE_PROBE:?}"
[ -x /usr/libexec/dconf-service ] || skip "dconf-service is not installed"
[ -x "$XFCONFD" ] || skip "xfconfd is not installed ($XFCONFD)"
session_start --no-tray --no-notify || { fail "session did not start"; e2e_finish; }
export GSETTINGS_BACKEND=dconf
session_spawn xfconfd "$XFCONFD"
wait_until 10 bus_has_name org.xfce.Xfconf || { fail "xfconfd did not start"; e2e_finish; }
PICS=$SESSION_DIR/pictures CWD=$SESSION_DIR/cwd
mkdir -p "$PICS" "$CWD"
convert -size 64x48 'xc:rgb(200,30,40)' "$SESSION_DIR/red.png"
NAMES=(
    "it's \"quoted\" .png"
    '$(touch injected-1) `touch injected-2` ${HOME}.png'
    "'; touch injected-3; '\"; touch injected-4; \".png"
    '100% %s %n %x #1 #frag?q=1.png'
    '  leading and trailing spaces  .png'
    $'two\nlines\n.png'
    $'odd tail\n$\'"'
    $'caf\xe9 latin-1 \xff\xfe.png'
    $'raw tail \xe9\xff\x80\xc3'
    'Ünïcödé 日本語 Ελληνικά.png'
    'пятница'
    $'back\\slash\ttab.png'
    '-i --help.png'
    '~ * ? [a] {b,c} !x.png'
)
WEEKDAY=$(($(date +%u) % 7 + 1)) # 1 Sunday .. 7 Saturday
DAY=$(LC_ALL=C date +%A)
CASES=0 LOST=0 INJECTED=0 BACKENDS=(x11 gnome cinnamon mate xfce)
gsettings list-schemas | grep -qx org.mate.background || BACKENDS=(${BACKENDS[@]/mate/})
gsettings list-schemas | grep -qx org.cinnamon.desktop.background || BACKENDS=(${BACKENDS[@]/cinnamon/})

# swaybg on a headless sway (as the user nobody when root: sway refuses root).
if command -v sway >/dev/null && command -v swaybg >/dev/null && id nobody >/dev/null 2>&1; then
    sway_start && BACKENDS+=(sway)
else
    e2e_log "sway, swaybg or the user nobody is missing: swaybg is not checked"
fi
e2e_log "desktop backends: ${BACKENDS[*]}"

hex() { od -An -v -tx1 | tr -d ' \n'; }
# The day copy's path for a source name: <picture folder>/<day><the last four characters>, a
# character being a byte that is no UTF-8 continuation byte with those that follow it.
copy_path_hex() {
    python3 -c '
import os, sys
name, folder, day = os.fsencode(sys.argv[1]), os.fsencode(sys.argv[2]), os.fsencode(sys.argv[3])
start, found = len(name), 0
while start > 0 and found < 4:
    start -= 1
    found += (name[start] & 0xC0) != 0x80
print((folder + b"/" + day + name[start:].replace(b"/", b"_")).hex())' "$1" "$XDG_DATA_HOME/lumora" "$DAY"
}
# What each desktop's store names now, as hexadecimal bytes.
stored_hex() {
    case $1 in
    gnome | cinnamon)
        gsettings get "org.$1.desktop.background" picture-uri | python3 -c '
import ast, sys, urllib.parse as u
uri = ast.literal_eval(sys.stdin.read().strip())
print(u.unquote_to_bytes(uri[len("file://"):]).hex() if uri.startswith("file://") else "")' ;;
    mate) gsettings get org.mate.background picture-filename | python3 -c '
import ast, sys; print(ast.literal_eval(sys.stdin.read().strip()).encode("utf-8", "surrogateescape").hex())' ;;
    xfce)
        local g
        g=$(xq -l | sed -n 's|/last-image$||p' | head -n1)
        [ -n "$g" ] && xq -p "$g/last-image" | head -c -1 | hex ;;
    sway) # the argument after -i of the swaybg now running
        python3 -c '
import sys
args = open("/proc/%s/cmdline" % open(sys.argv[1]).read().strip(), "rb").read().split(b"\0")
print(args[args.index(b"-i") + 1].hex() if b"-i" in args else "")' "$SWAYBG_PIDFILE" 2>/dev/null ;;
    esac
}
utf8() { python3 -c 'import os, sys; os.fsencode(sys.argv[1]).decode("utf-8")' "$1" 2>/dev/null; }

for name in "${NAMES[@]}"; do
    src=$PICS/$name
    cp "$SESSION_DIR/red.png" "$src"
    want=$(copy_path_hex "$name")
    got=$(cd "$CWD" && timeout 30 "$STORE_DRIVER" choose "$src" "$WEEKDAY" 2>>"$SESSION_DIR/probe.log")
    CASES=$((CASES + 1))
    shown=$(printf '%q' "$name")
    if [ "$got" != "$want" ]; then
        LOST=$((LOST + 1))
        fail "$shown: the settings file gives back [$got], expected [$want]"
        continue
    fi
    copy=$(python3 -c 'import os, sys; sys.stdout.buffer.write(bytes.fromhex(sys.argv[1]))' "$want")
    cmp -s "$src" "$copy" || fail "$shown: the day copy does not hold the picture's bytes"
    CASES=$((CASES + 1))
    seen=$(cd "$CWD" && timeout 30 "$PICTURE_PROBE" "$copy" 2>/dev/null | cut -d' ' -f1-2 | paste -sd' ')
    check_eq "$shown: copy, thumbnail and preview" "copy copied thumbnail picture:64x48 preview shown" "$seen"
    for backend in "${BACKENDS[@]}"; do
        CASES=$((CASES + 1))
        wayland=()
        [ "$backend" = sway ] && wayland=(WAYLAND_DISPLAY="$SWAY_SOCKET" QT_QPA_PLATFORM=xcb)
        (cd "$CWD" && env "${wayland[@]}" LUMORA_DESKTOP=$backend timeout 30 "$LUMORA_BIN" --refresh) >/dev/null 2>"$SESSION_DIR/err"
        status=$?
        grep -q 'is damaged' "$SESSION_DIR/err" && fail "$shown: the settings file did not read whole"
        [ "$backend" = x11 ] && { check_eq "$shown x11: status ($(head -c 200 "$SESSION_DIR/err"))" 0 "$status"; continue; }
        if [ $status = 0 ]; then
            have=$(stored_hex "$backend")
            [ "$have" = "$want" ] || { LOST=$((LOST + 1)); fail "$shown $backend: reported set, but the store names [$have]"; }
        elif utf8 "$name"; then
            fail "$shown $backend: not set ($status): $(head -c 300 "$SESSION_DIR/err")"
        else
            grep -q "^lumora: today's wallpaper was not set" "$SESSION_DIR/err" ||
                fail "$shown $backend: status $status without the reason: $(head -c 300 "$SESSION_DIR/err")"
            e2e_log "$shown $backend: refused, its store cannot hold bytes that are no UTF-8"
        fi
    done
done
INJECTED=$(find "$SESSION_DIR" "$CWD" -name 'injected-*' | wc -l)
check_eq "files the names' commands would have made" 0 "$INJECTED"
e2e_log "odd paths: ${#NAMES[@]} names, $CASES round trips; values lost $LOST, commands run $INJECTED"
e2e_finish
