#!/usr/bin/env bash
# A first start in a session that names its desktop (GNOME) picks that desktop's backend by
# itself and sets the default picture centred on white through the desktop's own settings, on a
# real dconf with an empty profile. Which backend each session name gets is the table of
# backend_factory_test; what each desktop's store is given, test_desktop_*.sh.
source "$(dirname "$0")/lib/session.sh"
source "$(dirname "$0")/lib/desktop_checks.sh"
need gsettings
[ -x /usr/libexec/dconf-service ] || skip "dconf-service is not installed"
: "${LUMORA_BIN:?}"
session_start --no-tray || { fail "session did not start"; e2e_finish; }
export GSETTINGS_BACKEND=dconf
DEFAULT=$XDG_DATA_HOME/lumora/Default.bmp
SCHEMA=org.gnome.desktop.background

# gnome_ok [-v]: the default picture, centred, on solid white (-v: tell what is there).
gnome_ok() {
    local have
    have="$(uri_path "$(gget $SCHEMA picture-uri)") $(gget $SCHEMA picture-options)"
    have+=" $(gget $SCHEMA primary-color | tr A-F a-f) $(gget $SCHEMA color-shading-type)"
    [ "${1:-}" = -v ] && echo "$have"
    [ "$have" = "file:$DEFAULT centered #ffffff solid" ]
}
XDG_CURRENT_DESKTOP=GNOME session_spawn lumora "$LUMORA_BIN"
wait_until 15 test -s "$DEFAULT" || fail "no Default.bmp"
wait_until 10 gnome_ok || fail "the default picture was not set: $(gnome_ok -v)"
kill "$SPAWNED" 2>/dev/null
wait "$SPAWNED"
grep -q "desktop backend: gnome" "$SESSION_DIR/lumora.log" ||
    fail "the start-up log does not name the gnome backend: $(head -n3 "$SESSION_DIR/lumora.log")"
e2e_finish
