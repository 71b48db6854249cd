#!/usr/bin/env bash
# Makes the project's Wine prefix once: zh_CN, no Mono/Gecko prompts, unmanaged windows
# (no 2-second stall per window under Xvfb), CJK fonts for the program's font names.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
stamp="$WINEPREFIX/.zelkora-ready"
[ -f "$stamp" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
for face in "微软雅黑" "Microsoft YaHei" "宋体" "SimSun" "新宋体" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Segoe UI"; do
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$face" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
done
wineserver -w
touch "$stamp"
echo "wine prefix ready: $WINEPREFIX"
