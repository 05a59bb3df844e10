#!/usr/bin/env bash
# valgrind.sh BUILD_DIR: every GoogleTest executable of the core, platform and window tests once
# under Valgrind's memcheck (all its cases in one process, niced), with the suppressions beside
# this script; prints one line per executable (errors, definitely lost bytes, failed cases) and
# exits 1 when memcheck reported an error. The logs stay in BUILD_DIR/valgrind/.
set -u
build=${1:?usage: valgrind.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$build/valgrind"
status=0
printf '%-28s %8s %14s %8s %8s\n' executable errors "lost (bytes)" failed seconds
for t in test_core_text test_core_settings test_core_engine test_core_tray test_core_settings_window \
    test_core_viewer test_platform_linux test_platform_desktop test_ui; do
    exe=$build/tests/$t
    [ -x "$exe" ] || continue
    log=$build/valgrind/$t.log
    start=$SECONDS
    QT_QPA_PLATFORM=offscreen nice -n 10 valgrind --tool=memcheck --leak-check=full \
        --errors-for-leak-kinds=definite --show-leak-kinds=definite --num-callers=30 \
        --suppressions="$here/valgrind.supp" --error-exitcode=99 --child-silent-after-fork=yes \
        --log-file="$log" "$exe" >"$build/valgrind/$t.out" 2>&1
    code=$?
    errors=$(sed -n 's/.*ERROR SUMMARY: \([0-9]*\) errors.*/\1/p' "$log" | head -n1)
    lost=$(sed -n 's/.*definitely lost: \([0-9,]*\) bytes.*/\1/p' "$log" | head -n1)
    failed=$(grep -c '^\[  FAILED  \] [A-Za-z]' "$build/valgrind/$t.out")
    printf '%-28s %8s %14s %8s %8s\n' "$t" "${errors:-?}" "${lost:-0}" "$((failed / 2))" $((SECONDS - start))
    [ "$code" = 99 ] && status=1
done
exit $status
