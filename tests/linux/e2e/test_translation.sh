#!/usr/bin/env bash
# The installed program speaks the user's language: with a German lumora_de.qm (the window tests'
# one) in <prefix>/share/lumora/translations and LANGUAGE=de, a first start's alert reaches the
# notification service as the German sentence, today's German name in it; the texts without a
# translation stay English.
source "$(dirname "$0")/lib/session.sh"
need dbus-monitor python3
: "${LUMORA_BINARY_DIR:?}"
QM=$LUMORA_BINARY_DIR/tests/linux/ui_translation/lumora_de.qm
[ -s "$QM" ] || skip "no test translation at $QM"
session_start || { fail "session did not start"; e2e_finish; }
prefix=$(mktemp -d "$LUMORA_BINARY_DIR/installed.XXXXXX")
cmake --install "$LUMORA_BINARY_DIR" --prefix "$prefix" >"$SESSION_DIR/install.log" 2>&1 ||
    { fail "cmake --install failed: $(tail -n3 "$SESSION_DIR/install.log")"; e2e_finish; }
cp "$QM" "$prefix/share/lumora/translations/lumora_de.qm"

monitor_alerts
profile
LANGUAGE=de LUMORA_DESKTOP=x11 session_spawn lumora "$prefix/bin/lumora"
wait_until 15 alerts_seen 2 || fail "fewer than two alerts reached the notification service"
declare -A GERMAN=([Sunday]=Sonntag [Monday]=Montag [Tuesday]=Dienstag [Wednesday]=Mittwoch
    [Thursday]=Donnerstag [Friday]=Freitag [Saturday]=Samstag)
check_eq "the alerts on the bus" "Lumora|dialog-information|Lumora|Für ${GERMAN[$(LC_ALL=C.UTF-8 date +%A)]} ist kein Bild gewählt.\\nDas Lumora-Standardbild ist gesetzt.|2000
$ADVICE" "$(alerts)"
rm -rf "$prefix"
e2e_finish
