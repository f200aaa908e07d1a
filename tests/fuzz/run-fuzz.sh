#!/bin/bash
# Runs one fuzz target as a test:
#   run-fuzz.sh TARGET NAME STORED_DIR WORK_DIR MAX_LEN
# First every stored crash reproducer (STORED_DIR/crashes/NAME) and the stored
# corpus (STORED_DIR/corpus/NAME) are run once; then fresh inputs for
# FUZZ_SECONDS seconds (default 30). New corpus entries and any failing input
# go to WORK_DIR, never into the sources. The last line gives the executions.
set -u
target=$1 name=$2 stored=$3 work=$4 max_len=$5
seconds=${FUZZ_SECONDS:-30}
rm -rf "$work"
mkdir -p "$work/corpus"

crashes=("$stored/crashes/$name"/*)
if [ -e "${crashes[0]}" ]; then
  if ! "$target" "${crashes[@]}" >"$work/reproducers.log" 2>&1; then
    tail -n 40 "$work/reproducers.log"
    echo "fuzz $name: a stored reproducer fails"
    exit 1
  fi
fi

"$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work/corpus" "$stored/corpus/$name" >"$work/fuzz.log" 2>&1
status=$?
runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$work/fuzz.log")
if [ $status -ne 0 ]; then
  tail -n 60 "$work/fuzz.log"
  echo "fuzz $name: failed after ${runs:-?} executions; the input is in $work/"
  exit 1
fi
echo "fuzz $name: ${runs:-?} executions in $seconds s" | tee "$work/summary"
