#!/usr/bin/env bash
# Runs every fuzz target of the sanitizer build for SECONDS each (default 600), starting from its
# committed corpus. New inputs go to build/fuzz/corpus, findings to build/fuzz/findings (keep each
# one as a unit test when it is mended). Prints one line a target and a closing tally.
# ZK_FUZZ_ONLY="ini gbk" runs only those targets.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
work=build/fuzz
mkdir -p "$work/corpus" "$work/findings"
passed=0 failed=0
for target in build/sanitize/*_fuzz; do
  name=$(basename "$target" _fuzz)
  if [ -n "${ZK_FUZZ_ONLY:-}" ] && [[ " $ZK_FUZZ_ONLY " != *" $name "* ]]; then continue; fi
  corpus="$work/corpus/$name"
  mkdir -p "$corpus"
  log="$work/$name.log"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="$work/findings/$name-" "$corpus" "fuzz/corpus/$name" > "$log" 2>&1
  status=$?
  runs=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$' || echo 0)
  spent=$(grep -oE 'Done [0-9]+ runs in [0-9]+ second' "$log" | grep -oE 'in [0-9]+' | grep -oE '[0-9]+' || echo "$seconds")
  if [ "$status" = 0 ]; then
    passed=$((passed + 1))
    echo "fuzz $name: ${runs} runs in ${spent} s, no finding"
  else
    failed=$((failed + 1))
    echo "fuzz $name: FAILED after ${runs} runs (see $log and $work/findings)"
    grep -E 'ERROR|runtime error|SUMMARY|Test unit written' "$log" | head -n 5 | sed 's/^/  /'
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" = 0 ]
