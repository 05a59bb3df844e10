#!/usr/bin/env bash
# Hostile pictures through the Windows edition: the corpus the Linux suite generates
# (make_hostile_pictures.py: cut, corrupted, lying, huge and bomb pictures of every format, empty
# and random files, a folder, a pipe, devices, a dangling link, a file that vanishes while it is
# read), each file handed to windows_picture_probe under Wine: the day copy, the thumbnail, the
# preview's decoding and the desktop wallpaper. For each: no crash, no path over 5 s (a hang:
# Wine's decoders are slower than the native libraries the Linux suite allows 2 s),
# the peak resident size of the Wine process under 512 MiB, and what the edition gives for a bad
# picture: the copy made or refused as on Linux with nothing left behind, no thumbnail, no
# preview, and a wallpaper failure that leaves the previous wallpaper set.
# Usage (from ctest, inside tools/test_windows.sh's Wine session):
#   test_hostile_pictures.sh PROBE.exe WINE64
set -euo pipefail
probe=$1 wine=$2
here=$(cd "$(dirname "$0")" && pwd)
[ -n "${WINEPREFIX:-}" ] || { echo "SKIP: no Wine session (run through tools/test_windows.sh)"; exit 77; }
for tool in python3 convert /usr/bin/time timeout; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
shopt -s extglob
HANG_MS=5000 HANG_PROCESS_S=20 RSS_KB=$((512 * 1024))
work=$(mktemp -d "${TMPDIR:-/tmp}/lumora-hostile.XXXXXX")
trap 'rm -rf "$work"' EXIT
corpus=$work/corpus
python3 "$here/../../linux/robustness/make_hostile_pictures.py" "$corpus" >"$work/manifest"

cases=0 crashes=0 hangs=0 over_memory=0 wrong=0 peak_kb=0
failed() { echo "FAIL: $*"; }
bad() { wrong=$((wrong + 1)); failed "$*"; }
# The Windows name of a file of the Linux corpus (Wine's Z: drive is the root).
windows_name() { printf 'Z:%s' "${1//\//\\}"; }

while IFS=$'\t' read -r name kind; do
    args=("$(windows_name "$corpus/$name")")
    [ "$kind" = vanish ] && args=(--vanish "${args[0]}")
    cases=$((cases + 1))
    status=0
    /usr/bin/time -f '%M %e' -o "$work/rss" timeout -k 5 60 "$wine" "$probe" "${args[@]}" \
        >"$work/out" 2>>"$work/stderr" || status=$?
    read -r rss elapsed < <(tail -n1 "$work/rss" | grep -E '^[0-9]+ [0-9.]+$' || echo "0 0")
    [ "$rss" -gt "$peak_kb" ] && peak_kb=$rss
    [ "$rss" -gt "$RSS_KB" ] && { over_memory=$((over_memory + 1)); failed "$name: peaked at $rss KiB"; }
    [ "${elapsed%.*}" -ge $HANG_PROCESS_S ] && { hangs=$((hangs + 1)); failed "$name: took $elapsed s"; }
    case $status in
    0) ;;
    124) hangs=$((hangs + 1)); failed "$name: did not finish (hang)" ;;
    *) crashes=$((crashes + 1)); failed "$name: ended with status $status (crash)" ;;
    esac
    declare -A got=()
    while read -r path rest; do
        got[$path]=${rest% *}
        [ "${rest##* }" -gt $HANG_MS ] && { hangs=$((hangs + 1)); failed "$name: $path took ${rest##* } ms"; }
    done < <(tr -d '\r' <"$work/out")
    for path in copy thumbnail preview desktop; do
        [ -n "${got[$path]:-}" ] || { bad "$name: $path gave no answer"; continue; }
        [[ ${got[$path]} = *leftovers* ]] && bad "$name: the copy left files behind"
    done
    outcome="${got[copy]:-}|${got[thumbnail]:-}|${got[preview]:-}|${got[desktop]:-}"
    case $kind in
    good) want='copied|picture:*|shown|set' ;;
    bad) want='copied|no-picture|nothing|failed' ;;
    special) want='refused|no-picture|nothing|failed' ;;
    vanish) want='refused|*|*|*' ;;
    damaged) want='copied|@(no-picture|picture:*)|@(shown|nothing)|@(set|failed)' ;;
    esac
    # shellcheck disable=SC2053
    [[ $outcome == $want ]] || bad "$name ($kind): got [$outcome], expected [$want]"
    unset got
done <"$work/manifest"

echo "hostile pictures under Wine: $cases files, $crashes crashes, $hangs hangs," \
     "$over_memory over $((RSS_KB / 1024)) MiB (peak $((peak_kb / 1024)) MiB), $wrong wrong outcomes"
[ $((crashes + hangs + over_memory + wrong)) -eq 0 ]
