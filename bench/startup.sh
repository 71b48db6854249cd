#!/usr/bin/env bash
# Start-to-main-window time of Zelkora.exe under Wine against Wine's own notepad, measured the
# same way in the same run (the driver starts each program and polls for its visible window).
# Prints the medians and their ratio.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${ZK_IN_XVFB:-}" ]; then
  ZK_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
source "$ROOT/scripts/wine-env.sh"
"$ROOT/scripts/wine-prefix.sh"
wineserver -k >/dev/null 2>&1
wineserver -w
RUNS=${RUNS:-5}
WORK="$ROOT/build/bench"
mkdir -p "$WORK"
exe="$(winepath -w "$ROOT/build/win64/Zelkora.exe" | tr -d '\r')"
notepad_title='(未命名) - 记事本'

measure() {  # measure COMMAND TITLE -> ms
  printf 'launch|%s|%s\nclose|%s\ngone|%s\n' "$1" "$2" "$2" "$2" > "$WORK/steps.txt"
  wine "$ROOT/build/win64/zk_driver.exe" "$(winepath -w "$WORK/steps.txt" | tr -d '\r')" | tr -d '\r' |
    awk '/^launch-ms/ {print $2}'
}
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

measure "\"$exe\"" Zelkora >/dev/null  # warm-up: first start writes the data folder
measure notepad.exe "$notepad_title" >/dev/null
: > "$WORK/zelkora.txt"
: > "$WORK/notepad.txt"
for _ in $(seq "$RUNS"); do
  measure "\"$exe\"" Zelkora >> "$WORK/zelkora.txt"
  measure notepad.exe "$notepad_title" >> "$WORK/notepad.txt"
done
wineserver -w
z=$(median < "$WORK/zelkora.txt")
n=$(median < "$WORK/notepad.txt")
echo "Zelkora.exe start to main window: median ${z} ms over $RUNS runs ($(xargs < "$WORK/zelkora.txt"))"
echo "notepad.exe start to main window: median ${n} ms over $RUNS runs ($(xargs < "$WORK/notepad.txt"))"
awk -v z="$z" -v n="$n" 'BEGIN { printf "ratio Zelkora / notepad: %.2f\n", z / n }'
