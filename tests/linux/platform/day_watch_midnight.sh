#!/usr/bin/env bash
# The day check runs within a second after local midnight: lumora_idle_watch under faketime, at
# normal speed and sped up, in UTC and on Berlin's spring-forward night. Exit 77 skips.
#
#   DAY_WATCH_BIN=build/bench/idle_watch/lumora_idle_watch tests/linux/platform/day_watch_midnight.sh
set -u
bin=${DAY_WATCH_BIN:?DAY_WATCH_BIN names the lumora_idle_watch program}
command -v faketime >/dev/null 2>&1 || { echo "faketime is not installed"; exit 77; }

failed=0
# zone | faked start | the first day check must fall in [day 00:00:00.000, day 00:00:01.000)
rows=(
    "UTC|@2027-01-02 23:59:58|2027-01-03"
    "UTC|@2027-01-02 23:59:50 x10|2027-01-03"
    "Europe/Berlin|@2027-03-27 23:59:57 x3|2027-03-28"
)
for row in "${rows[@]}"; do
    IFS='|' read -r zone start day <<<"$row"
    # The real-time limit is generous; only the faked times printed are judged.
    out=$(TZ=$zone timeout 60 faketime -f "$start" "$bin" --exit-after-day-checks 1 2>&1)
    rc=$?
    first=$(grep -m1 '^day check ' <<<"$out" | cut -d' ' -f3-)
    if [ $rc -eq 0 ] && [[ "$first" > "$day 00:00:00.000" ]] && [[ "$first" < "$day 00:00:01.000" ]]; then
        echo "ok: TZ=$zone faketime '$start': day check at $first"
    else
        echo "FAILED: TZ=$zone faketime '$start' (exit $rc): expected a first day check on $day" \
            "within a second after midnight; output:"
        echo "$out"
        failed=1
    fi
done
exit $failed
