#!/usr/bin/env bash
# Every test: native unit tests, the Windows-side platform tests under Wine, the end-to-end
# scenarios under Wine + Xvfb. Prints one closing tally.
set -uo pipefail
cd "$(dirname "$0")/.."
status=0
start=$(date +%s)

echo "== layers"
scripts/check-layers.sh | tee build/layers.txt
[ "${PIPESTATUS[0]}" = 0 ] || status=1

echo "== native unit tests"
ctest --test-dir build/native --output-on-failure -j2 | tail -n 4 | tee build/native-tests.txt
[ "${PIPESTATUS[0]}" = 0 ] || status=1

echo "== native unit tests again, under AddressSanitizer + UndefinedBehaviorSanitizer"
ctest --test-dir build/sanitize --output-on-failure -j2 | tail -n 4 | tee build/sanitize-tests.txt
[ "${PIPESTATUS[0]}" = 0 ] || status=1

echo "== fuzzing, ${ZK_FUZZ_SECONDS:-15} s a target over its committed corpus"
scripts/fuzz.sh "${ZK_FUZZ_SECONDS:-15}" | tee build/fuzz-tests.txt
[ "${PIPESTATUS[0]}" = 0 ] || status=1

echo "== Windows platform tests (Wine)"
scripts/wine-prefix.sh
scripts/wine-run.sh build/win64/zk_win_tests.exe > build/win-tests.txt 2>&1
[ $? = 0 ] || status=1
grep -E '^\[  (PASSED|FAILED) ' build/win-tests.txt
win_cases=$(grep -oE '^\[==========\] [0-9]+ tests' build/win-tests.txt | grep -oE '[0-9]+' || echo 0)

echo "== end-to-end (Wine + Xvfb)"
tests/e2e/run.sh | tee build/e2e.txt
[ "${PIPESTATUS[0]}" = 0 ] || status=1

echo "== release (make dist twice, the zip's files, Zelkora.exe made again)"
scripts/release-test.sh | tee build/release-tests.txt
[ "${PIPESTATUS[0]}" = 0 ] || status=1

# One tally over the three suites.
unit_total=$(grep -oE 'out of [0-9]+' build/native-tests.txt | grep -oE '[0-9]+' || echo 0)
unit_failed=$(grep -oE '[0-9]+ tests failed' build/native-tests.txt | grep -oE '^[0-9]+' || echo 0)
san_total=$(grep -oE 'out of [0-9]+' build/sanitize-tests.txt | grep -oE '[0-9]+' || echo 0)
san_failed=$(grep -oE '[0-9]+ tests failed' build/sanitize-tests.txt | grep -oE '^[0-9]+' || echo 0)
read -r layers_passed layers_failed < <(grep -E '^layers: [0-9]+ passed, [0-9]+ failed$' build/layers.txt | grep -oE '[0-9]+' | xargs)
read -r fuzz_passed fuzz_failed < <(grep -E '^fuzz: [0-9]+ passed, [0-9]+ failed$' build/fuzz-tests.txt | grep -oE '[0-9]+' | xargs)
win_failed=$(grep -oE '[0-9]+ FAILED TESTS?' build/win-tests.txt | grep -oE '^[0-9]+' || echo 0)
read -r e2e_passed e2e_failed < <(grep -E '^[0-9]+ passed, [0-9]+ failed$' build/e2e.txt | tail -n1 | grep -oE '[0-9]+' | xargs)
read -r release_passed release_failed < <(grep -E '^release: [0-9]+ passed, [0-9]+ failed$' build/release-tests.txt | grep -oE '[0-9]+' | xargs)
passed=$((${release_passed:-0} + ${layers_passed:-0} + unit_total - unit_failed + san_total - san_failed + ${fuzz_passed:-0} + win_cases - win_failed + ${e2e_passed:-0}))
failed=$((${release_failed:-1} + ${layers_failed:-1} + unit_failed + san_failed + ${fuzz_failed:-1} + win_failed + ${e2e_failed:-1}))
[ "$san_total" -gt 0 ] || failed=$((failed + 1))
echo "== native $unit_total, under sanitizers $san_total, fuzz targets $(( ${fuzz_passed:-0} + ${fuzz_failed:-0} )), Windows-side $win_cases, end-to-end scenarios $(( ${e2e_passed:-0} + ${e2e_failed:-0} )), release checks $(( ${release_passed:-0} + ${release_failed:-0} )); $(( $(date +%s) - start )) s"
echo "tests: $passed passed, $failed failed"
[ "$failed" = 0 ] || status=1
exit $status
