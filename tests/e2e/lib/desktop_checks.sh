# Helpers shared by the desktop-backend end-to-end tests (test_desktop_*.sh, test_startup_desktops.sh).
# Source after session.sh.
need python3 convert
DESKTOP_DRIVER=${LUMORA_BINARY_DIR:-}/tests/e2e/desktop_driver
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
# xq ARGS...: xfconf-query on the xfce4-desktop channel.
xq() { xfconf-query -c xfce4-desktop "$@" 2>/dev/null; }
xget() { xq -p "$1"; }
# rgba PROPERTY: the four doubles of an xfconf colour on one line.
rgba() { xget "$1" | grep -E '^[0-9.]+$' | paste -sd' '; }
