#!/bin/sh
# Runs one fuzz target for a while and prints what it reached.
#   run-fuzzer.sh BINARY FUZZ_SOURCE_DIR SECONDS WORK_DIR
# The committed seeds (FUZZ_SOURCE_DIR/seeds/NAME) are read but never written:
# new inputs go to WORK_DIR/corpus, which starts empty unless KEEP_CORPUS=1.
# A crash, a sanitizer report or a broken invariant fails the run and leaves
# the input in WORK_DIR/crash-*; add it to the seeds once the fault is mended.
set -eu
binary=$1 source=$2 seconds=$3 work=$4
name=$(basename "$binary" _fuzz)
seeds="$source/seeds/$name"
[ -x "$binary" ] || { echo "missing $binary: build it with 'make sanitize'" >&2; exit 1; }
[ "${KEEP_CORPUS:-0}" = 1 ] || rm -rf "$work/corpus"
mkdir -p "$work/corpus"
dict=""
[ -f "$source/$name.dict" ] && dict="-dict=$source/$name.dict"
log="$work/last-run.log"
status=0
# shellcheck disable=SC2086
"$binary" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$work/" $dict "$work/corpus" "$seeds" >"$log" 2>&1 || status=$?
final=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true)
cov=$(echo "$final" | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
ft=$(echo "$final" | sed -n 's/.*ft: \([0-9]*\).*/\1/p')
speed=$(grep -E '^stat::average_exec_per_sec' "$log" | awk '{print $2}' || true)
runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}' || true)
if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "$name: FAILED (exit $status); input saved under $work/"
    exit 1
fi
echo "$name: ${seconds}s, ${runs:-?} runs, ${speed:-?} exec/s, cov ${cov:-?}, ft ${ft:-?}, corpus $(ls "$work/corpus" | wc -l) new inputs"
