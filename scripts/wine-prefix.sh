#!/usr/bin/env bash
# Makes the project's Wine prefix once: zh_CN, no Mono/Gecko prompts or HTML engine, unmanaged windows
# (no 2-second stall per window under Xvfb), CJK fonts for the program's font names.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
stamp="$WINEPREFIX/.zelkora-ready-2"
[ -f "$stamp" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# Debian ships no HTML engine for Wine: keep its loader switched off, so that a program asking for
# one gets "not available" (as on a system without it) instead of Wine's download dialog.
wine reg add 'HKCU\Software\Wine\DllOverrides' /v mshtml /d "" /f >/dev/null 2>&1
for face in "微软雅黑" "Microsoft YaHei" "宋体" "SimSun" "新宋体" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Segoe UI"; do
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$face" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
done
wineserver -w
touch "$stamp"
echo "wine prefix ready: $WINEPREFIX"
