#!/usr/bin/env bash
# Runs a Windows console program under the project's Wine prefix (ctest's emulator). Without a
# display it runs inside Xvfb, so that the program can make windows (the tests of the views do).
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
source "$(dirname "$0")/wine-env.sh"
"$(dirname "$0")/wine-prefix.sh" >/dev/null
# A wineserver started without a display would keep this program's windows off this one.
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1
wine "$@" | tr -d '\r'
status=${PIPESTATUS[0]}
wineserver -w >/dev/null 2>&1
exit "$status"
