#!/usr/bin/env bash
# `cmake --install` into a fresh prefix: the program, the desktop entry and the AppStream metainfo
# (both validated), the hicolor icons, the manual page (listing every option of --help) and the
# translations in their places, and the installed program finds its built-in pictures:
# `--refresh` puts the default picture on the root window.
source "$(dirname "$0")/lib/session.sh"
need desktop-file-validate appstreamcli identify convert import compare
: "${LUMORA_BINARY_DIR:?}"
session_start --no-notify || { fail "session did not start"; e2e_finish; }
# Inside the build folder: what the installed program loads is the project's own build output.
prefix=$(mktemp -d "$LUMORA_BINARY_DIR/installed.XXXXXX")
cmake --install "$LUMORA_BINARY_DIR" --prefix "$prefix" >"$SESSION_DIR/install.log" 2>&1 ||
    { fail "cmake --install failed: $(tail -n3 "$SESSION_DIR/install.log")"; e2e_finish; }

share=$prefix/share
for f in bin/lumora share/applications/lumora.desktop share/metainfo/org.lumora.Lumora.metainfo.xml \
    share/icons/hicolor/{16x16,22x22,32x32,48x48}/apps/lumora.png \
    share/icons/hicolor/scalable/apps/lumora.svg share/man/man1/lumora.1 \
    share/lumora/translations/lumora_de.qm; do
    [ -s "$prefix/$f" ] || fail "not installed: $f"
done
for size in 16 22 32 48; do
    check_eq "the ${size}px icon's size" "${size}x$size" \
        "$(identify -format '%wx%h' "$share/icons/hicolor/${size}x$size/apps/lumora.png" 2>/dev/null)"
done
desktop-file-validate "$share/applications/lumora.desktop" >"$SESSION_DIR/dfv" 2>&1 ||
    fail "desktop-file-validate: $(cat "$SESSION_DIR/dfv")"
appstreamcli validate --no-net "$share/metainfo/org.lumora.Lumora.metainfo.xml" >"$SESSION_DIR/asv" 2>&1 ||
    fail "appstreamcli validate: $(cat "$SESSION_DIR/asv")"
# Every option --help names is in the manual page.
sed 's/\\-/-/g' "$share/man/man1/lumora.1" >"$SESSION_DIR/man.txt"
grep -q '^\.TH LUMORA 1 ' "$SESSION_DIR/man.txt" || fail "the manual page has no title line"
for opt in $("$prefix/bin/lumora" --help | grep -o -- '--[a-z]*' | sort -u); do
    grep -q -- "$opt" "$SESSION_DIR/man.txt" || fail "the manual page lacks $opt"
done

# The installed program, started from elsewhere.
profile
cd "$SESSION_DIR"
LUMORA_DESKTOP=x11 timeout 60 "$prefix/bin/lumora" --refresh >"$SESSION_DIR/out" 2>"$SESSION_DIR/err"
check_eq "the installed program's --refresh: status" 0 $?
default_shown || fail "the installed program did not put its default picture on the root window"
rm -rf "$prefix"
e2e_finish
