#!/usr/bin/env bash
# tools/check_texts.py on the sources as they are (passes), and on a copy with a planted fault
# (fails, naming it): a window showing a bare literal; a new marked text the .ts files lack; a
# known text that lost its marker.
# Usage: test_check_texts.sh LUPDATE [LUPDATE_OPTION...]   (ctest passes the project's options)
set -uo pipefail
top=$(cd "$(dirname "$0")/../../.." && pwd)
tmp=$(mktemp -d /tmp/lumora-texts.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

python3 "$top/tools/check_texts.py" "$1" "$top" "${@:2}" >"$tmp/real.out" 2>&1 ||
    fail "the sources as they are: $(cat "$tmp/real.out")"

# planted NAME FILE SED_SCRIPT EXPECTED: the check of a copy whose FILE was edited fails with EXPECTED.
planted() {
    local name=$1 file=$2 script=$3 expected=$4 copy=$tmp/$1
    shift 4
    mkdir "$copy" && cp -r "$top/src" "$top/translations" "$copy/"
    sed -i "$script" "$copy/$file"
    cmp -s "$top/$file" "$copy/$file" && { fail "$name: the plant did not change $file"; return; }
    if python3 "$top/tools/check_texts.py" "$1" "$copy" "${@:2}" >"$copy.out" 2>&1; then
        fail "$name: passed"
    elif ! grep -qF -- "$expected" "$copy.out"; then
        fail "$name: no [$expected] in: $(cat "$copy.out")"
    fi
}
lupdate_args=("$@")
plant() { planted "$1" "$2" "$3" "$4" "${lupdate_args[@]}"; }
plant bare_literal src/linux/ui/preview/frm_prev.cpp \
    's|setWindowTitle(QString::fromUtf8(lumora::kProductName));|setWindowTitle(QStringLiteral("Planted"));|' \
    'frm_prev.cpp'
plant new_text src/core/menu/tray_menu.cpp 's|"About..."|"About Lumora..."|' \
    "lumora_de.ts lacks 'About Lumora...'"
plant unmarked src/core/engine/engine_texts.cpp \
    's|LUMORA_TR("Lumora", "Your wallpaper has been set for %1")|"Your wallpaper has been set for %1"|' \
    "does not find a text of the alerts"
[ "$failures" = 0 ] && echo "the text check passes on the sources and finds each planted fault"
exit "$failures"
