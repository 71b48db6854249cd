#!/usr/bin/env bash
# The program's main job on a local default: a one-click fetch of the demo cloud. Publishes the
# demo site, serves it on loopback, points the Wine installation's Zelkora at it and starts
# Zelkora.exe. On a desktop you click the fetch picture yourself; without a display the driver
# clicks, waits for the result, prints the progress log and the hosts file it wrote, and saves
# screenshots. The local cloud is stopped at the end.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/wine-env.sh"
"$ROOT/scripts/wine-prefix.sh"
BUILD="$ROOT/build/win64"
OUT="$ROOT/build/run"
PORT=${ZK_CLOUD_PORT:-18080}
headless=1
[ -n "${DISPLAY:-}" ] && [ -z "${ZK_HEADLESS:-}" ] && [ -z "${ZK_IN_XVFB:-}" ] && headless=0
if [ $headless = 1 ] && [ -z "${ZK_IN_XVFB:-}" ]; then
  ZK_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
# A wineserver left by a run without a display would keep windows off this one.
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1
mkdir -p "$OUT"

# The local cloud.
rm -rf "$OUT/site"
"$ROOT/build/native/zelkora-cloud" publish "$ROOT/cloud/demo/site.ini" "$OUT/site" --origin "http://127.0.0.1:$PORT" || exit 1
"$ROOT/build/native/zelkora-cloud" serve "$OUT/site" --port "$PORT" > "$OUT/cloud.log" 2>&1 &
cloud=$!
trap 'kill $cloud 2>/dev/null; wait $cloud 2>/dev/null' EXIT
for _ in $(seq 50); do grep -q serving "$OUT/cloud.log" && break; sleep 0.1; done

# This installation's settings: the defaults and the local cloud's index.
DATA="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Orvik/Nimbet"
HOSTS="$WINEPREFIX/drive_c/windows/system32/drivers/etc/hosts"
mkdir -p "$DATA"
printf '[System]\r\nXFWQ=1\r\nHYDH=1\r\nZFJH=0\r\nZURL=\r\nQBMJ=0\r\nZDDH=1\r\nAQSX=1\r\nYDSY=http://127.0.0.1:%s/kpr.css\r\n' \
  "$PORT" > "$DATA/System.btx"

if [ $headless = 0 ]; then
  echo "Zelkora is starting under Wine against the local cloud http://127.0.0.1:$PORT/; click 一键获取, close the window to end."
  wine "$BUILD/Zelkora.exe"
  wineserver -w
  exit 0
fi

win() { printf 'Z:%s' "${1//\//\\}"; }  # through Wine's Z: drive
cat > "$OUT/run-steps.txt" <<STEPS
window|Zelkora
visible|Zelkora|#230|0
shot|Zelkora|$(win "$OUT/main-window.png")
click|Zelkora|#111
contains|Zelkora|#171|★ 好消息，春天到了！★|180
contains|Zelkora|#156|本地与云端文件一致，内容已最新！|30
wide|Zelkora|630
shot|Zelkora|$(win "$OUT/after-fetch.png")
print|Zelkora|#171
click|Zelkora|#102
gone|Zelkora
STEPS
echo "one-click fetch against the local cloud (about half a minute)..."
wine "$BUILD/Zelkora.exe" &
app=$!
wine "$BUILD/zk_driver.exe" "$(win "$OUT/run-steps.txt")" | tr -d '\r' | sed 's/^/  /'
ok=${PIPESTATUS[0]}
[ "$ok" = 0 ] || wineserver -k  # never wait on a program the driver could not close
wait $app
wineserver -w
echo "---- hosts file written ($HOSTS, $(stat -c %s "$HOSTS") bytes), first lines:"
head -n 12 "$HOSTS" | iconv -f gbk -t utf-8 | tr -d '\r'
echo "..."
tail -n 3 "$HOSTS" | iconv -f gbk -t utf-8 | tr -d '\r'
echo "---- requests served by the local cloud:"
sed 's/^/  /' "$OUT/cloud.log"
echo "screenshots: $OUT/main-window.png $OUT/after-fetch.png"
[ "$ok" = 0 ]
