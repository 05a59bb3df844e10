# Helpers shared by the desktop-backend end-to-end tests (test_desktop_*.sh). Source after
# session.sh.

DESKTOP_DRIVER=${DESKTOP_DRIVER:-${LUMORA_BINARY_DIR:-}/tests/e2e/desktop_driver}

# drive BACKEND PATH STYLE [COLOUR]: runs the driver, logging its stderr into the session dir.
drive() {
    "$DESKTOP_DRIVER" "$@" >/dev/null 2>>"$SESSION_DIR/driver.log"
}

need_driver() {
    if [ ! -x "$DESKTOP_DRIVER" ]; then
        fail "the desktop driver $DESKTOP_DRIVER is not built (cmake --build ... --target desktop_driver)"
        e2e_finish
    fi
}

# check_eq WHAT EXPECTED ACTUAL
check_eq() {
    if [ "$2" != "$3" ]; then
        fail "$1: expected [$2], got [$3]"
    fi
}

# A GVariant text as gsettings prints it ('text' or "text"), unquoted.
gvariant_string() {
    python3 -c 'import ast, sys; print(ast.literal_eval(sys.stdin.read().strip()))'
}

# The local path of a file URI, decoded.
uri_path() {
    python3 -c 'import sys, urllib.parse as u; p = u.urlparse(sys.argv[1]); print(p.scheme + ":" + u.unquote(p.path) + ("?" if p.query else "") + ("#" if p.fragment else ""))' "$1"
}

# make_bmp FILE WIDTH HEIGHT R G B: a plain 24-bit BMP of one colour.
make_bmp() {
    python3 - "$@" <<'EOF'
import struct, sys
path, w, h, r, g, b = sys.argv[1], *map(int, sys.argv[2:])
row = bytes([b, g, r]) * w
row += b"\0" * ((4 - len(row) % 4) % 4)
data = row * h
header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
with open(path, "wb") as f:
    f.write(header + info + data)
EOF
}

# wait_pixel SECONDS X Y "R G B": the screen shows that colour at X,Y within SECONDS.
pixel_is() { [ "$(root_pixel "$1" "$2")" = "$3" ]; }
wait_pixel() {
    local limit=$1 x=$2 y=$3 want=$4
    if ! wait_until "$limit" pixel_is "$x" "$y" "$want"; then
        fail "pixel $x,$y: expected [$want], got [$(root_pixel "$x" "$y")]"
        return 1
    fi
}
