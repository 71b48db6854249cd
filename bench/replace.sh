#!/usr/bin/env bash
# Replace-all on 50 MB of hosts text against Python's bytes.replace on the same bytes, in one run:
# a pattern on every line (by a text as long, and by a longer one) and one that is not there, on
# the GBK bytes and on the UTF-8 form.
# Goal: at most 1.0 each.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
out=$("$ROOT/build/native/zk_bench" --benchmark_filter=BM_Replace --benchmark_format=csv 2>/dev/null)
ms() { echo "$out" | awk -F, -v n="\"$1/" 'index($1, n) == 1 {print $3}'; }
dir=$(python3 -c 'import tempfile; print(tempfile.gettempdir())')/zelkora-bench
python3 - "$dir" > "$dir/python.txt" <<'PY'
import sys, time
d = sys.argv[1]
for form in ("gbk", "utf8"):
    data = open(f"{d}/replace-{form}.txt", "rb").read()
    for name, pattern, repl in (("Often", b"cdn.example.com", b"cdn.example.net"),
                                ("Longer", b"cdn.example.com", b"cdn.example.com.cn"),
                                ("Absent", b"zelkora-not-here", b"x")):
        times = []
        for _ in range(10):
            t0 = time.perf_counter()
            r = data.replace(pattern, repl)
            times.append(time.perf_counter() - t0)
            del r
        print(f"{name}{form.capitalize()} {sum(sorted(times)[:5]) / 5 * 1000:.2f}")
PY
for case in OftenGbk LongerGbk AbsentGbk OftenUtf8 LongerUtf8 AbsentUtf8; do
  ours=$(ms "BM_Replace$case")
  python=$(awk -v c="$case" '$1 == c {print $2}' "$dir/python.txt")
  awk -v c="$case" -v o="$ours" -v p="$python" 'BEGIN {
    printf "replace-all %-10s: %.2f ms, Python bytes.replace %.2f ms, ratio %.2f (goal <= 1.0)\n", c, o, p, o / p }'
done
