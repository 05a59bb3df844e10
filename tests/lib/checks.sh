# The checks every end-to-end script shares, on Linux and under Wine: logging, counting failures,
# skipping, and waiting for a condition (never for a fixed time). Sourced by each edition's
# session library.

E2E_FAILURES=0

e2e_log() { printf '[e2e %s] %s\n' "$(date +%T)" "$*" >&2; }
fail() { e2e_log "FAIL: $*"; E2E_FAILURES=$((E2E_FAILURES + 1)); }
skip() { e2e_log "SKIP: $*"; exit 77; }
need() { for c in "$@"; do command -v "$c" >/dev/null 2>&1 || skip "$c is not installed"; done; }
# check_eq WHAT EXPECTED ACTUAL
check_eq() { [ "$2" = "$3" ] || fail "$1: expected [$2], got [$3]"; }
# e2e_finish: the script's verdict; a session library may add checks of its own to the end
# (e2e_final_checks).
e2e_finish() {
    if declare -F e2e_final_checks >/dev/null; then e2e_final_checks; fi
    [ "$E2E_FAILURES" -gt 0 ] && { e2e_log "$E2E_FAILURES check(s) failed"; exit 1; }
    e2e_log "all checks passed"
    exit 0
}

# wait_until SECONDS COMMAND...: polls every 0.1 s until COMMAND succeeds.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    while ! "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

# listening SECONDS SEEN WRITE...: a watcher started in the background shows that it listens by
# reporting a change made for it: WRITE, and again each second, until the command SEEN succeeds.
listening() {
    local deadline=$((SECONDS + $1)) seen=$2
    shift 2
    while :; do
        "$@" >/dev/null 2>&1
        wait_until 1 "$seen" && return 0
        [ $SECONDS -ge $deadline ] && return 1
    done
}

alive() { kill -0 "$1" 2>/dev/null && ! grep -qs '^State:.*Z' "/proc/$1/status"; }
ended() { ! alive "$1"; }
