#!/usr/bin/env bash
# Runs each fuzz program of a fuzzing build for a fixed time, starting from
# its seed corpus; fails when any program found an input that breaks a
# property (the input is kept under BUILD/fuzz-findings/<target>/).
# Usage: fuzz/run.sh BUILD SECONDS
set -uo pipefail
build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
targets=$(sed -n '/^set(VELTRANE_FUZZ_TARGETS/,/)/{s/set(VELTRANE_FUZZ_TARGETS//;s/)//;p}' \
  "$here/targets.cmake")

failed=()
for name in $targets; do
  program=$build/fuzz/fuzz_$name
  case $name in
    sql_translation) options=(-dict="$here/sql.dict" -max_len=32768) ;;
    amount_round_trip | whole_number | value_conversion) options=(-dict="$here/amount.dict") ;;
    delimited_list | paycheck) options=(-dict="$here/list.dict") ;;
    *) options=() ;;
  esac
  work=$build/fuzz-corpus/$name
  findings=$build/fuzz-findings/$name
  log=$build/fuzz-logs/$name.log
  mkdir -p "$work" "$findings" "$(dirname "$log")"
  # New inputs go to the work corpus; the committed seeds are only read.
  "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${options[@]}" "$work" "$here/corpus/$name" >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if [ $status -eq 0 ]; then
    echo "fuzz $name: ${runs:-?} inputs in ${seconds}s, no finding"
  else
    echo "fuzz $name: FINDING (exit $status); log $log, input under $findings/"
    tail -n 40 "$log"
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]}"
  exit 1
fi
echo "fuzz: no finding in $(echo $targets | wc -w) targets"
