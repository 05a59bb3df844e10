#!/usr/bin/env bash
# Kills under Wine: the Windows edition's settings writes (the option store and the registry
# routines) and its day copies, each in a loop in windows_store_driver, killed with SIGKILL at
# random moments (as TerminateProcess or a power cut would end it). After every kill: no value
# lost or half-written (each is the last finished step's or the one in flight), the day copy
# either one whole source or the other, and the copy's part file the only thing a kill leaves.
# Usage (from ctest, inside tools/test_windows.sh's Wine session):
#   kills.sh DRIVER.exe WINE64
set -euo pipefail
driver=$1 wine=$2
[ -n "${WINEPREFIX:-}" ] || { echo "SKIP: no Wine session (run through tools/test_windows.sh)"; exit 77; }
if [ "${LUMORA_SUITE_BUDGET:-}" = full ]; then
    settings_kills=200 copy_kills=120
else
    settings_kills=25 copy_kills=20
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/lumora-kills.XXXXXX")
trap 'rm -rf "$work"' EXIT
kills=0 crashes=0 lost=0 half=0 refusals=0 parts_seen=0
failed() { echo "FAIL: $*"; }
windows_name() { printf 'Z:%s' "${1//\//\\}"; }
# A moment up to $1 ms after the driver has logged its first step.
pause() { sleep "$(printf '0.%03d' $((RANDOM % $1)))"; }
last() { { grep "^$1 " "$2" || true; } | tail -n1 | cut -d' ' -f2 | tr -d '\r'; }
read_back() { "$wine" "$driver" read | tr -d '\r' | sed -n "s/^$1 //p"; }
started() {
    local log=$1 before=$2 pid=$3
    while [ "$(grep -c '^W ' "$log")" -le "$before" ]; do
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.01
    done
}
killed() {
    if kill -0 "$1" 2>/dev/null; then
        kill -9 "$1" 2>/dev/null && kills=$((kills + 1))
    else
        crashes=$((crashes + 1)) && failed "process $1 ended before it was killed"
    fi
    wait "$1" 2>/dev/null || true
}
in_flight() {
    [ -z "$3" ] && [ "$2" = none ] && return 0
    [[ $2 =~ ^[0-9]+$ ]] && [ "$2" -ge "${3:-1}" ] && [ "$2" -le "$4" ] && return 0
    failed "$1 is [$2] after a kill; the last finished step was [${3:-none}], the last begun [$4]"
    lost=$((lost + 1))
}
refused() { if grep -q '^F ' "$1"; then refusals=$((refusals + 1)); failed "a write was refused: $(grep -m1 '^F ' "$1")"; fi; }
# run_until_killed MODE LOG ARGS...: one driver run from the step after the log's last, killed
# at a random moment once it has begun a step.
run_until_killed() {
    local mode=$1 log=$2
    shift 2
    local before first
    before=$(grep -c '^W ' "$log" || true)
    first=$(($(last W "$log") + 1))
    "$wine" "$driver" "$mode" "$(windows_name "$log")" "$first" "$@" 2>>"$work/driver.err" &
    local pid=$!
    started "$log" "$before" "$pid" || { crashes=$((crashes + 1)); failed "the driver ended at once"; }
    pause 300
    killed "$pid"
    refused "$log"
}

log=$work/settings.steps
: >"$log"
for ((k = 0; k < settings_kills; k++)); do
    run_until_killed settings "$log"
    done_step=$(last D "$log") writing=$(last W "$log")
    in_flight Counter "$(read_back counter)" "$done_step" "$writing"
    in_flight "Monday's value" "$(read_back monday)" "$done_step" "$writing"
done
echo "settings: $settings_kills kills, $(last D "$log") steps done"

folder=$(read_back folder)
folder=$WINEPREFIX/drive_c/${folder#C:\\}
folder=${folder//\\//}
head -c 300000 /dev/urandom >"$work/a.png"
head -c 200003 /dev/urandom >"$work/b.png"
source_of() { [ $(($1 % 2)) = 1 ] && echo "$work/a.png" || echo "$work/b.png"; }
value_before=$(read_back monday)
log=$work/copy.steps
: >"$log"
for ((k = 0; k < copy_kills; k++)); do
    run_until_killed copy "$log" "$(windows_name "$work/a.png")" "$(windows_name "$work/b.png")"
    done_step=$(last D "$log") writing=$(last W "$log")
    if [ -e "$folder/Monday.png" ]; then
        whole=0
        for ((n = ${done_step:-1}; n <= writing; n++)); do
            cmp -s "$folder/Monday.png" "$(source_of "$n")" && whole=1 && break
        done
        [ $whole = 1 ] || { half=$((half + 1)); failed "Monday.png is neither whole source after a kill in step $writing"; }
    fi
    value=$(read_back monday)
    case $value in
    "$value_before" | *Monday.png) ;;
    *) lost=$((lost + 1)); failed "Monday's value is [$value] after a kill" ;;
    esac
    parts_seen=$((parts_seen + $(find "$folder" -name '.*.part-*' | wc -l)))
    find "$folder" -name '.*.part-*' -delete # as the next start of the program does
done
echo "copies: $copy_kills kills, $(last D "$log") copies done, $parts_seen part file(s) left by kills"
echo "kills under Wine: $kills kills, $crashes crashes, $lost values lost, $half half-written" \
     "copies, $refusals refused writes"
[ $((crashes + lost + half + refusals)) -eq 0 ]
