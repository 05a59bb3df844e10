#!/usr/bin/env bash
# run_fuzz.sh FUZZER CORPUS: one libFuzzer process, niced, for 50 s (LUMORA_SUITE_BUDGET unset)
# or 600 s (`full`), starting from the committed corpus; what it learns goes to a scratch folder,
# so the committed corpus stays small. A crash, leak or timeout fails the test and leaves the
# input that caused it in the working folder.
set -euo pipefail
fuzzer=$1 corpus=$2
seconds=50
[ "${LUMORA_SUITE_BUDGET:-}" = full ] && seconds=600
work=$(mktemp -d /tmp/lumora-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
nice -n 10 "$fuzzer" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 -max_len=8192 \
    -print_final_stats=1 "$work" "$corpus"
