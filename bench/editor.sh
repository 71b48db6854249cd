#!/usr/bin/env bash
# The editor on a 20 MB hosts file under Wine, against Wine's notepad on the same file, in one run:
#   click on "编 辑 器" to the whole text in the document / notepad's start to its window (goal 0.05)
#   1,000 keystrokes into the 20 MB document / into an empty one                    (goal 1.5)
#   resident memory with the 20 MB document open / notepad's with the file open      (goal 1.0)
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${ZK_IN_XVFB:-}" ]; then
  ZK_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
source "$ROOT/scripts/wine-env.sh"
"$ROOT/scripts/wine-prefix.sh"
wineserver -k >/dev/null 2>&1
wineserver -w
WORK="$ROOT/build/bench"
mkdir -p "$WORK"
HOSTS="$WINEPREFIX/drive_c/windows/system32/drivers/etc/hosts"
cp "$HOSTS" "$WORK/hosts-saved" 2>/dev/null
rm -f "$HOSTS"
# 20 MB of GBK hosts text, with Chinese remarks; its length in UTF-8 is what the document holds.
utf8_length=$(python3 - "$HOSTS" <<'PY'
import sys
lines = []
size = i = 0
while size < 20 << 20:
    line = f"203.0.113.{i % 254 + 1}\thost-{i:07d}.cdn.example.com  # 演示 {i}\r\n"
    lines.append(line)
    size += len(line.encode("gbk"))
    i += 1
text = "".join(lines)
open(sys.argv[1], "wb").write(text.encode("gbk"))
print(len(text.encode("utf-8")))
PY
)
printf '[System]\r\nXFWQ=1\r\nHYDH=0\r\nYDSY=http://127.0.0.1:1/kpr.css\r\n' > \
  "$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Orvik/Nimbet/System.btx"
drive() {  # drive STEPS...: one driver run, its output
  printf '%s\n' "$@" > "$WORK/steps.txt"
  wine "$ROOT/build/win64/zk_driver.exe" "$(winepath -w "$WORK/steps.txt" | tr -d '\r')" | tr -d '\r'
}
# The largest resident set of the processes of that name (Wine starts a loader beside the program).
rss_of() { for p in $(pgrep -f "$1"); do awk '/^VmRSS/ {print $2}' "/proc/$p/status"; done | sort -n | tail -1; }

wine "$ROOT/build/win64/Zelkora.exe" 2>/dev/null &
app=$!
open_ms=$(drive 'window|Zelkora' "timedclick|Zelkora|编 辑 器|Hosts编辑器|#330|2006|$utf8_length" | awk '/^timed-ms/ {print $2}')
sleep 2
zelkora_kb=$(rss_of 'Zelkora.exe')
big_ms=$(drive 'timedchars|Hosts编辑器|#330|1000' | awk '/^chars-ms/ {print $2}')
empty_ms=$(drive 'send|Hosts编辑器|#330|2004|0|0' 'sendis|Hosts编辑器|#330|2006|0|0' 'timedchars|Hosts编辑器|#330|1000' |
  awk '/^chars-ms/ {print $2}')
drive 'click|Hosts编辑器|×' 'answer|询问|no|' 'window|Zelkora' 'altf4|Zelkora' >/dev/null
wait $app
echo "editor: open ${open_ms} ms, ${zelkora_kb} kB resident; 1,000 keystrokes ${big_ms} ms at 20 MB, ${empty_ms} ms empty"

# Notepad on a copy of the same bytes outside the system folder, started as a user starts it
# (started by the driver, Wine's notepad stalls on a file this size), timed to its titled window.
cp "$HOSTS" "$WORK/big-hosts"
t0=$(date +%s%N)
wine notepad.exe "$(winepath -w "$WORK/big-hosts" | tr -d '\r')" 2>/dev/null &
drive 'windowwith|big-hosts - 记事本|600' >/dev/null
notepad_ms=$(( ($(date +%s%N) - t0) / 1000000 ))
sleep 2
notepad_kb=$(rss_of 'notepad.exe')
drive 'closewith|big-hosts - 记事本' >/dev/null
rm -f "$WORK/big-hosts"
wineserver -w
cp "$WORK/hosts-saved" "$HOSTS" 2>/dev/null

awk -v o="$open_ms" -v n="$notepad_ms" -v b="$big_ms" -v e="$empty_ms" -v zm="$zelkora_kb" -v nm="$notepad_kb" 'BEGIN {
  printf "open 20 MB: editor %.0f ms, notepad %.0f ms, ratio %.3f (goal <= 0.05)\n", o, n, o / n
  printf "1,000 keystrokes: 20 MB document %.0f ms, empty document %.0f ms, ratio %.2f (goal <= 1.5)\n", b, e, b / e
  printf "resident memory with the file open: Zelkora %.0f MB, notepad %.0f MB, ratio %.2f (goal <= 1.0)\n", zm / 1024, nm / 1024, zm / nm
}'
