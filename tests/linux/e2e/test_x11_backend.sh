#!/usr/bin/env bash
# The X11 root-window backend on a real Xvfb, driven by desktop_driver: every style, the colour, no
# wallpaper, odd and broken files, two RandR monitors, no pixmaps piling up (nor another setter's),
# and the styles again without MIT-SHM and at depths 16 and 15, all read back from the root
# window's pixels and the server's resources.
source "$(dirname "$0")/lib/session.sh"
need convert xrandr
DRIVER=${LUMORA_BINARY_DIR:?}/tests/linux/e2e/desktop_driver
[ -x "$DRIVER" ] || skip "desktop_driver is not built"
export QT_QPA_PLATFORM=offscreen # the backend talks to the X server itself, at any depth
session_start --no-tray --no-notify --screen 640x480x24 || { fail "session did not start"; e2e_finish; }
work=$SESSION_DIR/pictures
mkdir -p "$work"
# 80x40, four vertical stripes of 20 pixels: a wrong style or position shows in the pixels.
stripes=$work/stripes.png
convert -size 80x40 xc:red -fill lime -draw 'rectangle 20,0 39,39' -fill blue \
    -draw 'rectangle 40,0 59,39' -fill yellow -draw 'rectangle 60,0 79,39' "PNG24:$stripes" ||
    skip "convert cannot draw the test picture"
cyan=$work/cyan.png
convert -size 80x40 xc:cyan "PNG24:$cyan"
W=640 H=480
# Colours as the engine passes them (0x00BBGGRR in decimal), and as the root shows them.
MAGENTA=16711935 TEAL=8421376
declare -A RGB=([R]="255 0 0" [L]="0 255 0" [B]="0 0 255" [Y]="255 255 0" [M]="255 0 255"
    [T]="0 128 128" [C]="0 255 255")

set_root() { "$DRIVER" x11 "$@" 2>/dev/null || fail "desktop_driver x11 $* exited with $?"; }
# px LABEL X,Y,C...: the root shows the colour RGB[C] at X,Y.
px() {
    local label=$1 p x y c
    shift
    for p in "$@"; do
        IFS=, read -r x y c <<<"$p"
        pixel_is "$x" "$y" "${RGB[$c]}" || fail "$label: pixel $x,$y is [$(root_pixel "$x" "$y")], expected [${RGB[$c]}]"
    done
}
# count LABEL C N...: the whole root has N pixels of the colour RGB[C].
count() {
    local label=$1 got
    shift
    while [ $# -gt 1 ]; do
        got=$("$XPROBE" region 0 0 $W $H | awk -v c="${RGB[$1]}" '$1" "$2" "$3 == c { n = $4 } END { print n + 0 }')
        [ "$got" = "$2" ] || fail "$label: $got pixels of [${RGB[$1]}] on the root, expected $2"
        shift 2
    done
}
root_properties() {
    local a b
    a=$("$XPROBE" prop _XROOTPMAP_ID) b=$("$XPROBE" prop ESETROOT_PMAP_ID)
    [ -n "$a" ] && [ "$a" != 0x0 ] && [ "$a" = "$b" ] ||
        fail "$1: _XROOTPMAP_ID '$a' and ESETROOT_PMAP_ID '$b' must name the same pixmap"
}

# style_checks PREFIX: the four styles on one 640x480 monitor, in pure colours only, so that the
# same checks hold at depths 16 and 15.
style_checks() {
    set_root color $MAGENTA wall "$stripes" 0
    px "$1 centre" 290,240,R 310,240,L 330,240,B 350,240,Y 280,220,R 359,259,Y \
        279,240,M 360,240,M 300,219,M 300,260,M
    count "$1 centre" M $((W * H - 80 * 40)) R 800
    root_properties "$1 centre"
    set_root color $MAGENTA wall "$stripes" 1
    px "$1 tile" 0,0,R 30,10,L 50,10,B 70,10,Y 90,50,R 639,479,Y
    count "$1 tile" R $((W * H / 4)) L $((W * H / 4)) B $((W * H / 4)) Y $((W * H / 4))
    root_properties "$1 tile"
    set_root color $MAGENTA wall "$stripes" 2
    px "$1 stretch" 0,0,R 80,240,R 240,240,L 400,240,B 560,479,Y 639,0,Y
    count "$1 stretch" M 0
    # Fit: 80x40 in 640x480 is 640x320, centred from y = 80 to 399.
    set_root color $MAGENTA wall "$stripes" 3
    px "$1 fit" 80,79,M 80,80,R 80,240,R 560,399,Y 560,400,M
    count "$1 fit" M $((W * (H - 320)))
}
style_checks "depth 24:"

set_root color $TEAL wall "" 2
count "colour without wallpaper" T $((W * H))
root_properties "colour without wallpaper"
# The colour alone redraws the current wallpaper on the new colour; a new wallpaper keeps it.
set_root color $MAGENTA wall "$stripes" 0 color $TEAL
px "colour change" 290,240,R 10,10,T
count "colour change" T $((W * H - 80 * 40))
set_root color $TEAL wall "$stripes" 3
px "last colour" 80,40,T 80,240,R
set_root color $MAGENTA wall "$stripes" 2 wall "" 2
count "no wallpaper after a picture" M $((W * H))
# A missing or damaged file, or a named pipe, leaves the plain colour, and the change is reported
# failed (the driver exits with 3); the pipe is never waited on.
set_root_fails() {
    local rc=0
    timeout 20 "$DRIVER" x11 "$@" 2>/dev/null || rc=$?
    check_eq "desktop_driver x11 $*: exit status" 3 "$rc"
}
set_root_fails color $TEAL wall "$work/missing.png" 2
count "missing file" T $((W * H))
printf 'not a picture\n' >"$work/damaged.png"
set_root_fails color $MAGENTA wall "$work/damaged.png" 1
count "damaged file" M $((W * H))
mkfifo "$work/pipe.png"
set_root_fails color $TEAL wall "$work/pipe.png" 2
count "named pipe" T $((W * H))
# A path that a shell would expand is used as it is.
odd="$work/a b#%'\$(touch pwned);"
mkdir -p "$odd"
cp "$stripes" "$odd/\$HOME *.png"
(cd "$work" && exec "$DRIVER" x11 color $TEAL wall "$odd/\$HOME *.png" 2) || fail "odd path: the driver failed"
px "odd path" 80,240,R
[ ! -e "$work/pwned" ] && [ ! -e "$odd/pwned" ] || fail "odd path: something ran a shell"
# A file changed at the same path shows the new picture.
cp "$stripes" "$work/changing.png"
set_root color $MAGENTA wall "$work/changing.png" 2 copy "$cyan" "$work/changing.png" wall "$work/changing.png" 2
count "changed file" C $((W * H))

# Two monitors read from the server, a left one of 300 pixels and a right one of 340: a picture
# for each (where each style puts it on a monitor, and tile across the root, is the table of
# x11_geometry_test).
if xrandr --setmonitor lumora-left 300/80x480/120+0+0 screen >/dev/null 2>&1 &&
    xrandr --setmonitor lumora-right 340/90x480/120+300+0 none >/dev/null 2>&1 &&
    [ "$(xrandr --listmonitors | head -n1)" = "Monitors: 2" ]; then
    set_root color $MAGENTA wall "$stripes" 2
    px "two stretch" 37,240,R 262,240,Y 342,240,R 427,240,L 597,240,Y
    count "two stretch" M 0
    xrandr --delmonitor lumora-right >/dev/null 2>&1
    xrandr --delmonitor lumora-left >/dev/null 2>&1
else
    fail "xrandr --setmonitor does not work on this Xvfb"
fi

# no_pile_up LABEL: no more clients and pixmaps on the server than before the changes.
no_pile_up() {
    local clients pixmaps
    read -r clients pixmaps <<<"$("$XPROBE" resources)"
    [ "$pixmaps" -le "$PIXMAPS" ] && [ "$clients" -le "$CLIENTS" ] ||
        fail "$1: clients $CLIENTS -> $clients, pixmaps $PIXMAPS -> $pixmaps"
}
if read -r CLIENTS PIXMAPS < <("$XPROBE" resources); then
    args=()
    for i in $(seq 25); do args+=(wall "$stripes" $((i % 4)) color $((i * 1000))); done
    set_root "${args[@]}"
    no_pile_up "50 changes in one process"
    for i in $(seq 50); do set_root wall "$stripes" $((i % 4)); done
    no_pile_up "50 changes in separate processes"
    # Another setter before and after us: each frees the other's pixmap.
    if command -v xwallpaper >/dev/null 2>&1; then
        for i in $(seq 10); do
            xwallpaper --tile "$cyan" || fail "xwallpaper failed"
            set_root color $TEAL wall "$stripes" 0
        done
        px "after xwallpaper" 10,10,T
        no_pile_up "alternating with xwallpaper"
    fi
    root_properties "after many changes"
else
    fail "xprobe cannot count the server's pixmaps (X-Resource extension or libxres missing)"
fi

for server in "no MIT-SHM:-screen 0 640x480x24 -extension MIT-SHM" "depth 16:-screen 0 640x480x16" \
    "depth 15:-screen 0 640x480x15"; do
    read -r -a server_args <<<"${server#*:}"
    if start_xvfb "${server_args[@]}"; then
        DISPLAY=$XVFB_DISPLAY style_checks "${server%%:*}:"
    else
        fail "${server%%:*}: Xvfb ${server_args[*]} did not start"
    fi
done
e2e_finish
