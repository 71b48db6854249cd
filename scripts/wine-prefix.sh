#!/usr/bin/env bash
# Makes the project's Wine prefix once: zh_CN, no Mono/Gecko prompts, unmanaged windows
# (no 2-second stall per window under Xvfb), CJK fonts for the program's font names, and nothing
# of the prefix reaching out of it: the user folders are real folders inside the prefix (Wine
# links them to the home folder of whoever runs it) and the menu builder is off.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
stamp="$WINEPREFIX/.zelkora-ready-3"
[ -f "$stamp" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null 2>&1
for folder in "$WINEPREFIX/drive_c/users/$(whoami)"/*; do
  if [ -L "$folder" ]; then
    rm -f "$folder"
    mkdir -p "$folder"
  fi
done
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
for face in "微软雅黑" "Microsoft YaHei" "宋体" "SimSun" "新宋体" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Segoe UI"; do
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$face" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
done
# Wine's own Marlett (Debian's fonts-wine) draws the caption buttons of windows with a system
# caption; Debian's Wine does not load it from its data folder, so it goes into the prefix's fonts.
if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
fi
wineserver -w
touch "$stamp"
echo "wine prefix ready: $WINEPREFIX"
