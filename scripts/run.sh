#!/usr/bin/env bash
# The program's main job on a local default: Zelkora.exe under Wine, in a window on this
# desktop; without a display, under Xvfb with a screenshot of the main window.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/wine-env.sh"
"$ROOT/scripts/wine-prefix.sh"
# A wineserver left by a run without a display would keep windows off this one.
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1
BUILD="$ROOT/build/win64"

if [ -n "${DISPLAY:-}" ] && [ -z "${ZK_HEADLESS:-}" ] && [ -z "${ZK_IN_XVFB:-}" ]; then
  echo "Zelkora is starting under Wine; close its window to end."
  wine "$BUILD/Zelkora.exe"
  wineserver -w
  exit 0
fi

if [ -z "${ZK_IN_XVFB:-}" ]; then
  ZK_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
shots="$ROOT/build/run"
mkdir -p "$shots"
script="$shots/run-steps.txt"
shot_w="$(winepath -w "$shots/main-window.png" | tr -d '\r')"
cat > "$script" <<STEPS
window|Zelkora
visible|Zelkora|#230|0
shot|Zelkora|$shot_w
click|Zelkora|#102
gone|Zelkora
STEPS
wine "$BUILD/Zelkora.exe" &
app=$!
wine "$BUILD/zk_driver.exe" "$(winepath -w "$script" | tr -d '\r')" | tr -d '\r' | sed 's/^/  /'
ok=${PIPESTATUS[0]}
[ "$ok" = 0 ] || wineserver -k  # never wait on a program the driver could not close
wait $app
wineserver -w
if [ "$ok" = 0 ]; then
  echo "main window screenshot: $shots/main-window.png"
else
  echo "the main window did not come up as expected" >&2
  exit 1
fi
