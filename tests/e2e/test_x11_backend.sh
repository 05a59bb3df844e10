#!/usr/bin/env bash
# The X11 root-window backend on a real Xvfb: every style, the colour, no wallpaper, two RandR
# monitors, a picture changed at the same path, and the previous setter's pixmap freed, all read
# back from the root window's pixels and the server's resources.
source "$(dirname "$0")/lib/session.sh"
need convert xrandr
: "${X11SET:?X11SET (the x11set driver) must be set; run through ctest}"
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

# Colours as the engine passes them, 0x00BBGGRR in decimal, and as the root shows them.
MAGENTA=16711935 MAGENTA_RGB="255 0 255"
TEAL=8421376 TEAL_RGB="0 128 128"
RED="255 0 0" LIME="0 255 0" BLUE="0 0 255" YELLOW="255 255 0" CYAN="0 255 255"
W=640 H=480

set_root() { "$X11SET" "$@" || fail "x11set $* exited with $?"; }

# expect_pixel LABEL X Y "R G B"
expect_pixel() {
    local got
    got=$(root_pixel "$2" "$3")
    [ "$got" = "$4" ] || fail "$1: pixel $2,$3 is '$got', expected '$4'"
}

# count_of "R G B" X Y W H: how many pixels of the region have that colour.
count_of() {
    "$XPROBE" region "$2" "$3" "$4" "$5" | awk -v c="$1" '$1" "$2" "$3 == c { n = $4 } END { print n + 0 }'
}

# expect_count LABEL "R G B" COUNT: pixels of that colour on the whole root.
expect_count() {
    local got
    got=$(count_of "$2" 0 0 $W $H)
    [ "$got" = "$3" ] || fail "$1: $got pixels of '$2' on the root, expected $3"
}

expect_root_properties() {
    local a b
    a=$("$XPROBE" prop _XROOTPMAP_ID) || fail "$1: no _XROOTPMAP_ID"
    b=$("$XPROBE" prop ESETROOT_PMAP_ID) || fail "$1: no ESETROOT_PMAP_ID"
    [ -n "$a" ] && [ "$a" != 0x0 ] && [ "$a" = "$b" ] ||
        fail "$1: _XROOTPMAP_ID '$a' and ESETROOT_PMAP_ID '$b' must name the same pixmap"
}

# --- one monitor, every style -------------------------------------------------------------------
# style_checks PREFIX: the four styles on a 640x480 root with one monitor, in pure colours only, so
# the same checks hold at depth 16.
style_checks() {
    local p=$1
    e2e_log "$p centre"
    set_root color $MAGENTA wall "$stripes" 0
    expect_pixel "$p centre" 290 240 "$RED"
    expect_pixel "$p centre" 310 240 "$LIME"
    expect_pixel "$p centre" 330 240 "$BLUE"
    expect_pixel "$p centre" 350 240 "$YELLOW"
    expect_pixel "$p centre" 280 220 "$RED"
    expect_pixel "$p centre" 359 259 "$YELLOW"
    expect_pixel "$p centre" 279 240 "$MAGENTA_RGB"
    expect_pixel "$p centre" 360 240 "$MAGENTA_RGB"
    expect_pixel "$p centre" 300 219 "$MAGENTA_RGB"
    expect_pixel "$p centre" 300 260 "$MAGENTA_RGB"
    expect_count "$p centre" "$MAGENTA_RGB" $((W * H - 80 * 40))
    expect_count "$p centre" "$RED" 800
    expect_root_properties "$p centre"

    e2e_log "$p tile"
    set_root color $MAGENTA wall "$stripes" 1
    expect_pixel "$p tile" 0 0 "$RED"
    expect_pixel "$p tile" 30 10 "$LIME"
    expect_pixel "$p tile" 50 10 "$BLUE"
    expect_pixel "$p tile" 70 10 "$YELLOW"
    expect_pixel "$p tile" 90 50 "$RED"
    expect_pixel "$p tile" 639 479 "$YELLOW"
    for c in "$RED" "$LIME" "$BLUE" "$YELLOW"; do
        expect_count "$p tile" "$c" $((W * H / 4))
    done
    expect_root_properties "$p tile"

    e2e_log "$p stretch"
    set_root color $MAGENTA wall "$stripes" 2
    expect_pixel "$p stretch" 80 240 "$RED"
    expect_pixel "$p stretch" 0 0 "$RED"
    expect_pixel "$p stretch" 240 240 "$LIME"
    expect_pixel "$p stretch" 400 240 "$BLUE"
    expect_pixel "$p stretch" 560 479 "$YELLOW"
    expect_pixel "$p stretch" 639 0 "$YELLOW"
    expect_count "$p stretch" "$MAGENTA_RGB" 0

    e2e_log "$p fit (style 3)"
    set_root color $MAGENTA wall "$stripes" 3
    # 80x40 in 640x480: 640x320, centred from y = 80 to 399.
    expect_pixel "$p fit" 80 79 "$MAGENTA_RGB"
    expect_pixel "$p fit" 80 80 "$RED"
    expect_pixel "$p fit" 80 240 "$RED"
    expect_pixel "$p fit" 560 399 "$YELLOW"
    expect_pixel "$p fit" 560 400 "$MAGENTA_RGB"
    expect_count "$p fit" "$MAGENTA_RGB" $((W * (H - 320)))
}

style_checks "depth 24:"

# --- the colour ---------------------------------------------------------------------------------
e2e_log "colour without wallpaper"
set_root color $TEAL wall "" 2
expect_count "colour only" "$TEAL_RGB" $((W * H))
expect_root_properties "colour only"

e2e_log "the colour alone redraws the current wallpaper on the new colour"
set_root color $MAGENTA wall "$stripes" 0 color $TEAL
expect_pixel "colour change" 290 240 "$RED"
expect_pixel "colour change" 10 10 "$TEAL_RGB"
expect_count "colour change" "$TEAL_RGB" $((W * H - 80 * 40))

e2e_log "a new wallpaper keeps the last colour"
set_root color $TEAL wall "$stripes" 3
expect_pixel "last colour" 80 40 "$TEAL_RGB"
expect_pixel "last colour" 80 240 "$RED"

e2e_log "no wallpaper after a picture"
set_root color $MAGENTA wall "$stripes" 2 wall "" 2
expect_count "no wallpaper" "$MAGENTA_RGB" $((W * H))

e2e_log "a missing or damaged file leaves the plain colour"
set_root color $TEAL wall "$work/missing.png" 2
expect_count "missing file" "$TEAL_RGB" $((W * H))
printf 'not a picture\n' >"$work/damaged.png"
set_root color $MAGENTA wall "$work/damaged.png" 1
expect_count "damaged file" "$MAGENTA_RGB" $((W * H))

e2e_log "a path that a shell would expand is used as it is"
odd="$work/a b#%'\$(touch pwned);"
mkdir -p "$odd"
cp "$stripes" "$odd/\$HOME *.png"
(cd "$work" && set_root color $TEAL wall "$odd/\$HOME *.png" 2)
expect_pixel "odd path" 80 240 "$RED"
[ ! -e "$work/pwned" ] && [ ! -e "$odd/pwned" ] || fail "odd path: something ran a shell"

e2e_log "a file changed at the same path shows the new picture"
changing=$work/changing.png
cp "$stripes" "$changing"
set_root color $MAGENTA wall "$changing" 2 copy "$cyan" "$changing" wall "$changing" 2
expect_count "changed file" "$CYAN" $((W * H))

# --- two monitors -------------------------------------------------------------------------------
# A left monitor of 300 pixels and a right one of 340: the seam is not on a tile boundary.
if xrandr --setmonitor lumora-left 300/80x480/120+0+0 screen >/dev/null 2>&1 &&
    xrandr --setmonitor lumora-right 340/90x480/120+300+0 none >/dev/null 2>&1 &&
    [ "$(xrandr --listmonitors | head -n1)" = "Monitors: 2" ]; then
    e2e_log "two monitors: stretch"
    set_root color $MAGENTA wall "$stripes" 2
    expect_pixel "two stretch" 37 240 "$RED"
    expect_pixel "two stretch" 262 240 "$YELLOW"
    expect_pixel "two stretch" 342 240 "$RED"
    expect_pixel "two stretch" 427 240 "$LIME"
    expect_pixel "two stretch" 597 240 "$YELLOW"
    expect_count "two stretch" "$MAGENTA_RGB" 0

    e2e_log "two monitors: centre"
    set_root color $MAGENTA wall "$stripes" 0
    expect_pixel "two centre" 110 220 "$RED"
    expect_pixel "two centre" 189 259 "$YELLOW"
    expect_pixel "two centre" 430 220 "$RED"
    expect_pixel "two centre" 509 259 "$YELLOW"
    expect_pixel "two centre" 300 240 "$MAGENTA_RGB"
    expect_count "two centre" "$MAGENTA_RGB" $((W * H - 2 * 80 * 40))

    e2e_log "two monitors: fit"
    set_root color $MAGENTA wall "$stripes" 3
    # Left: 300x150 from y = 165; right: 340x170 from y = 155.
    expect_pixel "two fit" 20 164 "$MAGENTA_RGB"
    expect_pixel "two fit" 20 165 "$RED"
    expect_pixel "two fit" 280 314 "$YELLOW"
    expect_pixel "two fit" 280 315 "$MAGENTA_RGB"
    expect_pixel "two fit" 320 154 "$MAGENTA_RGB"
    expect_pixel "two fit" 320 155 "$RED"
    expect_pixel "two fit" 630 324 "$YELLOW"
    expect_count "two fit" "$MAGENTA_RGB" $((W * H - 300 * 150 - 340 * 170))

    e2e_log "two monitors: tile runs across the whole root"
    set_root color $MAGENTA wall "$stripes" 1
    expect_pixel "two tile" 310 10 "$YELLOW"
    expect_pixel "two tile" 330 10 "$RED"
    expect_count "two tile" "$RED" $((W * H / 4))

    xrandr --delmonitor lumora-right >/dev/null 2>&1
    xrandr --delmonitor lumora-left >/dev/null 2>&1
else
    fail "xrandr --setmonitor does not work on this Xvfb"
fi

# --- pixmaps do not pile up ---------------------------------------------------------------------
if before=$("$XPROBE" resources 2>/dev/null); then
    read -r clients_before pixmaps_before <<<"$before"
    e2e_log "50 changes in one process (clients $clients_before, pixmaps $pixmaps_before)"
    args=()
    for i in $(seq 25); do
        args+=(wall "$stripes" $((i % 4)) color $((i * 1000)))
    done
    set_root "${args[@]}"
    read -r clients_after pixmaps_after <<<"$("$XPROBE" resources)"
    [ "$pixmaps_after" -le "$pixmaps_before" ] ||
        fail "one process: pixmaps went from $pixmaps_before to $pixmaps_after over 50 changes"
    [ "$clients_after" -le "$clients_before" ] ||
        fail "one process: clients went from $clients_before to $clients_after over 50 changes"

    e2e_log "50 changes in separate processes"
    for i in $(seq 50); do
        "$X11SET" wall "$stripes" $((i % 4)) || fail "x11set run $i failed"
    done
    read -r clients_after pixmaps_after <<<"$("$XPROBE" resources)"
    [ "$pixmaps_after" -le "$pixmaps_before" ] ||
        fail "separate processes: pixmaps went from $pixmaps_before to $pixmaps_after"
    [ "$clients_after" -le "$clients_before" ] ||
        fail "separate processes: clients went from $clients_before to $clients_after"

    # Another setter before and after us: each frees the other's pixmap.
    if command -v xwallpaper >/dev/null 2>&1; then
        e2e_log "alternating with xwallpaper"
        for i in $(seq 10); do
            xwallpaper --tile "$cyan" || fail "xwallpaper failed"
            "$X11SET" color $TEAL wall "$stripes" 0 || fail "x11set failed after xwallpaper"
        done
        expect_pixel "after xwallpaper" 10 10 "$TEAL_RGB"
        read -r clients_after pixmaps_after <<<"$("$XPROBE" resources)"
        [ "$pixmaps_after" -le "$pixmaps_before" ] ||
            fail "with xwallpaper: pixmaps went from $pixmaps_before to $pixmaps_after"
    fi
    expect_root_properties "after many changes"
else
    fail "xprobe cannot count the server's pixmaps (X-Resource extension or libxres missing)"
fi

# --- other servers: no MIT-SHM (as over a network), depth 16, and depth 15 (packed by hand) ---
# extra_server ARGS...: a further Xvfb of this session (stopped with it, by PID); prints its display.
extra_server() {
    local file=$SESSION_DIR/display.$RANDOM
    exec {efd}>"$file"
    Xvfb -displayfd "$efd" -noreset -nolisten tcp "$@" >"$file.log" 2>&1 &
    SESSION_PIDS+=($!)
    exec {efd}>&-
    wait_until 20 grep -q '^[0-9]' "$file" || return 1
    echo ":$(head -n1 "$file")"
}

for server in "no MIT-SHM:-screen 0 640x480x24 -extension MIT-SHM" "depth 16:-screen 0 640x480x16" \
    "depth 15:-screen 0 640x480x15"; do
    label=${server%%:*}
    read -r -a server_args <<<"${server#*:}"
    if display=$(extra_server "${server_args[@]}"); then
        (
            export DISPLAY=$display
            style_checks "$label:"
            exit "$E2E_FAILURES"
        ) || E2E_FAILURES=$((E2E_FAILURES + $?))
    else
        fail "$label: Xvfb ${server_args[*]} did not start"
    fi
done

e2e_finish
