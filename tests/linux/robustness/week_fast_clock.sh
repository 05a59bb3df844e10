#!/usr/bin/env bash
# A week on a fast clock: the real program in a real session (Xvfb, session bus, dunst, trayer),
# its clock faked to run from a Saturday evening on at several hundred times real speed, with a
# picture of its own colour for every day. Read back: the root window's colour, sampled while the
# clock runs; every root pixmap the program hands the X server (_XROOTPMAP_ID); the notifications
# on the bus; and the program's resident memory. Each day's picture must be applied exactly once,
# in order, each with its day-change report, and its anonymous memory (RssAnon) must stay within 2 MiB.
#
# LUMORA_SUITE_BUDGET unset: from Saturday 23:00 through two midnights at 1000x (about 90 s).
# LUMORA_SUITE_BUDGET=full: from Saturday 20:00 through the next Sunday's midnight at 500x (about
# 21 minutes).
source "${LUMORA_SOURCE_DIR:?}/tests/linux/e2e/lib/session.sh"
need faketime convert dbus-monitor python3 xprop
: "${LUMORA_BIN:?}"
export TZ=UTC
DAYS=(Sunday Monday Tuesday Wednesday Thursday Friday Saturday)
# Day colours, Sunday first: far apart, so no sample between two pictures is mistaken for a day.
COLOURS=("20 160 60" "200 30 40" "30 60 200" "220 200 30" "150 40 170" "30 190 190" "240 120 20")
if [ "${LUMORA_SUITE_BUDGET:-}" = full ]; then
    START='2027-01-02 20:00:00' SPEED=500 MIDNIGHTS=8
else
    START='2027-01-02 23:00:00' SPEED=1000 MIDNIGHTS=2
fi
# Faked seconds from the start to an hour past the last midnight, in real seconds (a few real
# seconds at these speeds, so a change of day that comes late is still seen).
RUN_REAL=$(python3 -c "import datetime as d; s=d.datetime.fromisoformat('$START'); e=s.replace(hour=0,minute=0,second=0)+d.timedelta(days=$MIDNIGHTS,minutes=60); print(int((e-s).total_seconds()/$SPEED)+1)")

session_start || { fail "session did not start"; e2e_finish; }
PICS="$SESSION_DIR/pictures"
mkdir -p "$PICS"
lines=()
for i in "${!DAYS[@]}"; do
    convert -size 32x24 "xc:rgb(${COLOURS[$i]// /,})" "$PICS/${DAYS[$i]}.png"
    lines+=("\"${DAYS[$i]}\" = \"$PICS/${DAYS[$i]}.png\"")
done
profile '[HKEY_CURRENT_USER\Software\Corvane\Local Settings]' "${lines[@]}"
monitor_alerts
session_spawn rootpmap xprop -root -spy _XROOTPMAP_ID
SPY=$SPAWNED

e2e_log "faked clock from $START at ${SPEED}x, $MIDNIGHTS midnight(s), about ${RUN_REAL}s"
LUMORA_DESKTOP=x11 session_spawn lumora faketime -f "@$START x$SPEED" "$LUMORA_BIN"
PID=$SPAWNED
wait_pixel 10 5 5 "${COLOURS[6]}" || { fail "Saturday's picture was not set at start-up"; e2e_finish; }
# faketime runs the program as its child: the memory is the child's.
PROG=$(pgrep -P "$PID" | head -n1)
[ -n "$PROG" ] || PROG=$PID
e2e_log "program pid $PROG: $(readlink "/proc/$PROG/exe")"
# The program's own memory (heap and other anonymous pages): code pages come and go as the program
# hands them back while idle and reads them again at a change of day, and are no leak.
rss() { awk '/^RssAnon:/ {print $2}' "/proc/$PROG/status" 2>/dev/null; }
RSS_START=$(rss)

# Sample the root's colour and the RSS until the run is over; note each colour change.
SEEN=("${COLOURS[6]}")
# The first day change sets things up once (a decoding thread, the first day-change report); the
# memory is judged from a few seconds after it to the end.
RSS_AFTER_FIRST="" FIRST_AT=""
RSS_MAX=0
deadline=$((SECONDS + RUN_REAL))
while [ $SECONDS -lt $deadline ] && alive "$PID"; do
    now=$(root_pixel 5 5)
    if [ "$now" != "${SEEN[-1]}" ]; then
        SEEN+=("$now")
        [ ${#SEEN[@]} = 2 ] && FIRST_AT=$SECONDS
    fi
    r=$(rss)
    [ -n "$FIRST_AT" ] && [ -z "$RSS_AFTER_FIRST" ] && [ $SECONDS -ge $((FIRST_AT + 5)) ] && RSS_AFTER_FIRST=$r
    [ -n "$r" ] && [ "$r" -gt "$RSS_MAX" ] && RSS_MAX=$r
    sleep 0.25
done
RSS_END=$(rss)
alive "$PID" || fail "lumora ended during the week"

# The expected sequence: Saturday at the start, then the day after each midnight.
want_colours=("${COLOURS[6]}") want_reports=()
for ((m = 0; m < MIDNIGHTS; m++)); do
    want_colours+=("${COLOURS[$((m % 7))]}")
    want_reports+=("Lumora|dialog-information|Lumora|Your wallpaper has been set for ${DAYS[$((m % 7))]}|2000")
done
check_eq "root colours in order" "$(printf '%s;' "${want_colours[@]}")" "$(printf '%s;' "${SEEN[@]}")"
REPORTS=$(alerts | grep -F 'Your wallpaper has been set for')
check_eq "day-change reports in order" "$(printf '%s\n' "${want_reports[@]}")" "$REPORTS"
kill "$SPY"
# The spy prints the property once when it starts (not there yet), then once per change: one per
# wallpaper set (a pixmap id may come again, as the server reuses the ids of ended clients).
APPLIED=$(grep -c 'pixmap id' "$SESSION_DIR/rootpmap.log")
check_eq "root pixmaps set (start-up + one per midnight)" "$((MIDNIGHTS + 1))" "$APPLIED"
[ -n "$RSS_START" ] && [ -n "$RSS_END" ] || fail "no RSS could be read"
GROWTH=$((RSS_END - RSS_START))
[ "$GROWTH" -le 2048 ] || fail "anonymous memory grew by ${GROWTH} KiB from the start (limit 2048 KiB)"
e2e_log "figures: midnights=$MIDNIGHTS speed=${SPEED}x colours_seen=${#SEEN[@]} reports=$(grep -c . <<<"$REPORTS")" \
    "pixmaps_set=$APPLIED rss_kib start=$RSS_START after_first_midnight=${RSS_AFTER_FIRST:-none}" \
    "end=$RSS_END max=$RSS_MAX growth=$GROWTH alerts_total=$(alerts | wc -l)"
e2e_finish
