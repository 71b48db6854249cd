#!/usr/bin/env bash
# The hosts file benchmarks of one run, as ratios against their reference commands:
#   compose + backup + atomic write of 50 MB / cp of the same bytes   (goal: at most 2.2)
#   "# Ti:" scan of the 50 MB file / grep -F -m1                      (goal: at most 1.0)
# and the peak memory of a 50 MB fetch.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
out=$("$ROOT/build/native/zk_bench" --benchmark_format=csv 2>/dev/null)
ms() { echo "$out" | awk -F, -v n="\"$1/" 'index($1, n) == 1 {print $3}'; }
write=$(ms BM_ComposeBackupAtomicWrite) cp=$(ms BM_CpReference) scan=$(ms BM_TiScan) grep=$(ms BM_GrepReference)
awk -v w="$write" -v c="$cp" -v s="$scan" -v g="$grep" 'BEGIN {
  printf "compose + backup + atomic write: %.1f ms, cp: %.1f ms, ratio %.2f (goal <= 2.2)\n", w, c, w / c
  printf "\"# Ti:\" scan: %.1f ms, grep -F -m1: %.1f ms, ratio %.2f (goal <= 1.0)\n", s, g, s / g
}'
"$ROOT/build/native/zk_fetch_memory"
