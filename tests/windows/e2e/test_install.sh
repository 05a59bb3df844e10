#!/usr/bin/env bash
# The installer under Wine: tools/package_windows.sh's NSIS script built around this build's
# lumora.exe, installed silently for the user, the installed program started for the first time,
# uninstalled silently.
# Afterwards nothing of the program is left (its folder, its Start-menu entry, its Apps & features
# entry, its Run value) but the user's settings.
# Usage (from ctest, inside tools/test_windows.sh's Wine session):
#   test_install.sh LUMORA.exe WINE64 SOURCE_DIR
set -euo pipefail
exe=$1 wine=$2 top=$3
[ -n "${WINEPREFIX:-}" ] || { echo "SKIP: no Wine session (run through tools/test_windows.sh)"; exit 77; }
command -v makensis >/dev/null || { echo "SKIP: makensis is not installed (package nsis)"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/lumora-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
failed() { failures=$((failures + 1)); echo "FAIL: $*"; }
# wait_until SECONDS COMMAND...
source "$top/tests/lib/checks.sh"
reg_has() { "$wine" reg query "$1" /v "$2" >/dev/null 2>&1; }
key_exists() { "$wine" reg query "$1" >/dev/null 2>&1; }

version=$(sed -n 's/^project(Lumora VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
x86_64-w64-mingw32-strip -o "$work/lumora.exe" "$exe"
makensis -V2 -DVERSION="$version" -DPROGRAM="$work/lumora.exe" \
    -DICON="$top/resources/icons/lumora.ico" -DOUTFILE="$work/setup.exe" \
    "$top/packaging/windows/lumora.nsi"

local_app=$("$wine" cmd /c echo %LOCALAPPDATA% | tr -d '\r')
programs_unix="$WINEPREFIX/drive_c/${local_app#C:\\}"
programs_unix=${programs_unix//\\//}/Programs/Lumora
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumora'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
options_key='HKCU\Software\Vintrel\Options'

"$wine" "$work/setup.exe" /S
[ -f "$programs_unix/lumora.exe" ] || failed "no lumora.exe in $programs_unix"
[ -f "$programs_unix/uninstall.exe" ] || failed "no uninstaller"
cmp -s "$programs_unix/lumora.exe" "$work/lumora.exe" || failed "the installed program differs"
start_menu=$(find "$WINEPREFIX/drive_c/users" -path '*Start Menu/Programs/Lumora.lnk' | head -n1)
[ -n "$start_menu" ] || failed "no Start-menu entry"
for value in DisplayName DisplayVersion Publisher UninstallString QuietUninstallString InstallLocation; do
    reg_has "$uninstall_key" "$value" || failed "Apps & features entry without $value"
done
"$wine" reg query "$uninstall_key" /v DisplayVersion | grep -q "$version" ||
    failed "Apps & features shows another version"
installed_version=$("$wine" "$programs_unix/lumora.exe" --version | tr -d '\r')
[ "$installed_version" = "Lumora $version" ] || failed "the installed program says [$installed_version]"

# The installed program's first start: it registers itself to start at logon (in the machine's
# Run key, or the user's where the machine's is not open to it) and writes its default picture.
# It runs until it is ended as logging off would end it; the user leaves a setting behind.
installed=$(printf '%s' "${local_app}\\Programs\\Lumora\\lumora.exe")
"$wine" reg add "$options_key" /v ShowSplsh /d False /f >/dev/null
"$wine" "$programs_unix/lumora.exe" >"$work/first-start.log" 2>&1 &
program=$!
registered() { [ "$(run_value HKLM)" = "$installed" ] || [ "$(run_value HKCU)" = "$installed" ]; }
run_value() {
    "$wine" reg query "$1\\Software\\Microsoft\\Windows\\CurrentVersion\\Run" /v Lumora 2>/dev/null |
        tr -d '\r' | sed -n 's/^ *Lumora *REG_SZ *//p'
}
wait_until 60 registered || failed "the installed program's first start wrote no Run value for [$installed]"
wait_until 30 test -f "${programs_unix%/Programs/Lumora}/Lumora/Default.bmp" ||
    failed "the installed program's first start wrote no default picture"
kill "$program" 2>/dev/null
wait "$program" 2>/dev/null || true
"$wine" reg add "$options_key" /v DispMess /d False /f >/dev/null
"$wine" "$programs_unix/uninstall.exe" /S
# The uninstaller runs again from a copy in %TEMP% and returns at once: its work is done when
# the folder has gone.
wait_until 60 test ! -e "$programs_unix" || failed "the program's folder is still there"
wait_until 30 eval '! key_exists "$uninstall_key"' || failed "the Apps & features entry is still there"
[ ! -e "$start_menu" ] || failed "the Start-menu entry is still there"
! reg_has "$run_key" Lumora || failed "the user's Run value is still there"
! reg_has "${run_key/HKCU/HKLM}" Lumora || failed "the machine's Run value is still there"
reg_has "$options_key" DispMess || failed "the user's settings were removed"

echo "install under Wine: installed, run, uninstalled, settings kept; $failures failure(s)"
[ "$failures" -eq 0 ]
