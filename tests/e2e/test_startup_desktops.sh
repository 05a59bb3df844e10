#!/usr/bin/env bash
# A first start in a session that names a desktop sets the default picture centred on white
# through that desktop's own settings: GNOME, MATE and Cinnamon on a real dconf, XFCE on a real
# xfconfd, each with an empty profile.
source "$(dirname "$0")/lib/session.sh"
source "$(dirname "$0")/lib/desktop_checks.sh"
need gsettings python3 xfconf-query
[ -x /usr/libexec/dconf-service ] || skip "dconf-service is not installed"
XFCONFD=/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd
[ -x "$XFCONFD" ] || skip "xfconfd is not installed ($XFCONFD)"
: "${LUMORA_BIN:?}"
session_start --no-tray || { fail "session did not start"; e2e_finish; }
export GSETTINGS_BACKEND=dconf

# first_start DESKTOP: runs the program on an empty profile until the wallpaper is set, then ends it.
first_start() {
    rm -rf "$XDG_CONFIG_HOME/lumora" "$XDG_DATA_HOME/lumora"
    XDG_CURRENT_DESKTOP=$1 "$LUMORA_BIN" >"$SESSION_DIR/lumora-$1.log" 2>&1 &
    local pid=$!
    wait_until 15 test -s "$XDG_DATA_HOME/lumora/Default.bmp" || fail "$1: no Default.bmp"
    DEFAULT=$XDG_DATA_HOME/lumora/Default.bmp
    "$2" || true
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    grep -q "desktop backend: $3" "$SESSION_DIR/lumora-$1.log" ||
        fail "$1: the start-up log does not name the $3 backend: $(head -n3 "$SESSION_DIR/lumora-$1.log")"
}

get() { gsettings get "$1" "$2" | gvariant_string; }
gsettings_set() {
    local schema=$1 picture_key=$2
    if [ "$picture_key" = picture-filename ]; then
        wait_until 10 test "$(get "$schema" picture-filename)" = "$DEFAULT" ||
            fail "$schema picture-filename is [$(get "$schema" picture-filename)]"
    else
        wait_until 10 test "$(uri_path "$(get "$schema" picture-uri)")" = "file:$DEFAULT" ||
            fail "$schema picture-uri is [$(get "$schema" picture-uri)]"
    fi
    check_eq "$schema picture-options" centered "$(get "$schema" picture-options)"
    check_eq "$schema primary-color" "#ffffff" "$(get "$schema" primary-color | tr A-F a-f)"
    check_eq "$schema color-shading-type" solid "$(get "$schema" color-shading-type)"
}
gnome_ok() { gsettings_set org.gnome.desktop.background picture-uri; }
mate_ok() { gsettings_set org.mate.background picture-filename; }
cinnamon_ok() { gsettings_set org.cinnamon.desktop.background picture-uri; }

first_start GNOME gnome_ok gnome
gsettings list-schemas | grep -qx org.mate.background && first_start MATE mate_ok mate
gsettings list-schemas | grep -qx org.cinnamon.desktop.background && first_start X-Cinnamon cinnamon_ok cinnamon

session_spawn xfconfd "$XFCONFD" >/dev/null
wait_until 10 bus_has_name org.xfce.Xfconf || { fail "xfconfd did not start"; e2e_finish; }
xfce_ok() {
    local q="xfconf-query -c xfce4-desktop"
    wait_until 10 sh -c "$q -l | grep -q last-image" || { fail "XFCE: no backdrop was written"; return; }
    local p
    for p in $($q -l | grep '/last-image$'); do
        check_eq "XFCE $p" "$DEFAULT" "$($q -p "$p")"
        check_eq "XFCE ${p%/last-image}/image-style" 1 "$($q -p "${p%/last-image}/image-style")"
        check_eq "XFCE ${p%/last-image}/color-style" 0 "$($q -p "${p%/last-image}/color-style")"
        check_eq "XFCE ${p%/last-image}/rgba1" "1.000000 1.000000 1.000000 1.000000" \
            "$($q -p "${p%/last-image}/rgba1" | grep -E '^[0-9.]+$' | paste -sd' ')"
    done
}
first_start XFCE xfce_ok xfce
e2e_finish
