#!/usr/bin/env bash
# A first start in a session that names a desktop sets the default picture centred on white
# through that desktop's own settings: GNOME, MATE and Cinnamon on a real dconf, XFCE on a real
# xfconfd, each with an empty profile.
source "$(dirname "$0")/lib/session.sh"
source "$(dirname "$0")/lib/desktop_checks.sh"
need gsettings xfconf-query
[ -x /usr/libexec/dconf-service ] || skip "dconf-service is not installed"
[ -x "$XFCONFD" ] || skip "xfconfd is not installed ($XFCONFD)"
: "${LUMORA_BIN:?}"
session_start --no-tray || { fail "session did not start"; e2e_finish; }
export GSETTINGS_BACKEND=dconf
DEFAULT=$XDG_DATA_HOME/lumora/Default.bmp

# first_start DESKTOP CHECK BACKEND: the program on an empty profile in that desktop until CHECK
# passes (or times out), then ended; its log names the backend.
first_start() {
    rm -rf "$XDG_CONFIG_HOME/lumora" "$XDG_DATA_HOME/lumora"
    XDG_CURRENT_DESKTOP=$1 session_spawn "lumora-$1" "$LUMORA_BIN"
    wait_until 15 test -s "$DEFAULT" || fail "$1: no Default.bmp"
    wait_until 10 "$2" || fail "$1: the default picture was not set: $("$2" -v 2>&1)"
    kill "$SPAWNED" 2>/dev/null
    wait "$SPAWNED"
    grep -q "desktop backend: $3" "$SESSION_DIR/lumora-$1.log" ||
        fail "$1: the start-up log does not name the $3 backend: $(head -n3 "$SESSION_DIR/lumora-$1.log")"
}
# gsettings_set SCHEMA PICTURE_KEY [-v]: the default picture, centred, on solid white (-v: tell).
gsettings_set() {
    local picture=$DEFAULT have
    [ "$2" = picture-uri ] && picture=file:$DEFAULT
    have="$(gget "$1" "$2") $(gget "$1" picture-options) $(gget "$1" primary-color | tr A-F a-f) $(gget "$1" color-shading-type)"
    [ "$2" = picture-uri ] && have="$(uri_path "${have%% *}") ${have#* }"
    [ "${3:-}" = -v ] && echo "$have"
    [ "$have" = "$picture centered #ffffff solid" ]
}
gnome_ok() { gsettings_set org.gnome.desktop.background picture-uri "$@"; }
mate_ok() { gsettings_set org.mate.background picture-filename "$@"; }
cinnamon_ok() { gsettings_set org.cinnamon.desktop.background picture-uri "$@"; }
first_start GNOME gnome_ok gnome
gsettings list-schemas | grep -qx org.mate.background && first_start MATE mate_ok mate
gsettings list-schemas | grep -qx org.cinnamon.desktop.background && first_start X-Cinnamon cinnamon_ok cinnamon

session_spawn xfconfd "$XFCONFD"
wait_until 10 bus_has_name org.xfce.Xfconf || { fail "xfconfd did not start"; e2e_finish; }
# xfce_ok [-v]: every backdrop shows the default picture centred on solid white.
xfce_ok() {
    local p have="" n=0
    for p in $(xq -l | sed -n 's|/last-image$||p'); do
        have+="$(xget "$p/last-image") $(xget "$p/image-style") $(xget "$p/color-style") $(rgba "$p/rgba1");"
        n=$((n + 1))
    done
    [ "${1:-}" = -v ] && echo "${have:-no backdrop}"
    [ $n -gt 0 ] && [ "$have" = "$(for ((; n > 0; n--)); do printf '%s;' "$DEFAULT 1 0 1.000000 1.000000 1.000000 1.000000"; done)" ]
}
first_start XFCE xfce_ok xfce
e2e_finish
