#!/usr/bin/env bash
# End-to-end scenarios: the real Zelkora.exe under Wine + Xvfb, driven by zk_driver.exe, with the
# files it wrote checked byte for byte from this side. Screenshots land in build/e2e-shots.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
source "$ROOT/scripts/wine-env.sh"
"$ROOT/scripts/wine-prefix.sh"
# A wineserver left by a run without a display would keep windows off this one.
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1
BUILD="$ROOT/build/win64"
SHOTS="$ROOT/build/e2e-shots"
WORK="$ROOT/build/e2e-work"
mkdir -p "$SHOTS" "$WORK"
DATA="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Orvik/Nimbet"
DESKTOP="$WINEPREFIX/drive_c/users/$(whoami)/Desktop"
REGKEY='HKLM\System\CurrentControlSet\Services\Tcpip\Parameters'
passed=0 failed=0

check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "  ok   $1"; else echo "  FAIL $1"; scenario_ok=0; fi
}
bytes_are() { [ "$(od -An -tx1 -v "$1" | tr -d ' \n')" = "$(printf "$2" | od -An -tx1 -v | tr -d ' \n')" ]; }
has_line() { grep -qaF -- "$2" "$1"; }

run_scenario() {  # run_scenario NAME: start the program, drive it, wait for it to end
  local name=$1 script="$WORK/$1.txt"
  sed "s|@SHOTS@|$(winepath -w "$SHOTS" | tr -d '\r' | sed 's/\\/\\\\/g')|g" "$ROOT/tests/e2e/scenarios/$name.txt" > "$script"
  echo "scenario $name"
  scenario_ok=1
  wine "$BUILD/Zelkora.exe" &
  local app=$!
  if ! wine "$BUILD/zk_driver.exe" "$(winepath -w "$script" | tr -d '\r')" | tr -d '\r' | sed 's/^/  /'; then
    scenario_ok=0
  fi
  [ "${PIPESTATUS[0]}" = 0 ] || scenario_ok=0
  for _ in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
  if kill -0 $app 2>/dev/null; then
    echo "  FAIL the program did not end"
    scenario_ok=0
    wineserver -k
    wait $app
  fi
}

finish_scenario() {
  if [ $scenario_ok = 1 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

fresh() { rm -rf "$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Orvik"; rm -f "$DESKTOP"/*.reg; }

# 1. First start: data folder, installed copy, seeded settings, Tem with its read-me.
fresh
mkdir -p "$DATA/../../Orvik/Nimbet/Tem" && echo "user file" > "$DATA/Tem/left-over.txt"
run_scenario first_start
check "Nimbet.exe is a copy of the program" cmp -s "$BUILD/Zelkora.exe" "$DATA/Nimbet.exe"
check "read-me in Tem, GBK, no line break" cmp -s "$DATA/Tem/请勿随意删除本目录.txt" \
  <(printf '%s' "本目录专为Zelkora使用过程中产生的临时文件而准备的，请勿随意删除，系统会自动清理！" | iconv -f utf-8 -t gbk)
check "Tem rebuilt without the user's file" test ! -e "$DATA/Tem/left-over.txt"
check "System.btx seeded, then the two boxes and the backup server written" bytes_are "$DATA/System.btx" \
  '[System]\r\nXFWQ=2\r\nHYDH=1\r\nZFJH=0\r\nZURL=\r\nQBMJ=0\r\nZDDH=1\r\nAQSX=1\r\nADFW=1\r\nDHFW=1\r\n'
finish_scenario

# 2. Settings save: refusals, then a good address stored as typed.
run_scenario settings_save
check "custom server saved as typed" has_line "$DATA/System.btx" $'ZURL= HTTP://127.0.0.1:8080/hosts.txt\r'
check "custom server switched on" has_line "$DATA/System.btx" $'ZFJH=1\r'
check "welcome animation switched off" has_line "$DATA/System.btx" $'HYDH=0\r'
check "no customisation file for a plain installation" test ! -e "$DATA/Personal.ini"
finish_scenario

# 3. Restore defaults.
run_scenario restore_defaults
check "custom server off after restore" has_line "$DATA/System.btx" $'ZFJH=0\r'
check "address cleared" has_line "$DATA/System.btx" $'ZURL=\r'
check "welcome animation back on" has_line "$DATA/System.btx" $'HYDH=1\r'
check "server choice untouched by restore" has_line "$DATA/System.btx" $'XFWQ=3\r'
finish_scenario

# 4. The custom radio questions and the about window.
printf '[System]\r\nXFWQ=1\r\nHYDH=0\r\n' > "$DATA/System.btx"
run_scenario custom_radio
check "server choice kept official" has_line "$DATA/System.btx" $'XFWQ=1\r'
finish_scenario

printf '[System]\r\nXFWQ=1\r\nHYDH=0\r\nZFJH=1\r\n' > "$DATA/System.btx"
run_scenario custom_no_address
finish_scenario

# 5. A missing registry value is repaired at start.
wine reg delete "$REGKEY" /v DataBasePath /f >/dev/null 2>&1
run_scenario open_and_close
check "DataBasePath written back, expandable" \
  bash -c "wine reg query '$REGKEY' /v DataBasePath | tr -d '\r' | grep -q 'REG_EXPAND_SZ *%SystemRoot%.System32.drivers.etc'"
check "no warning files when the repair worked" test ! -e "$DATA/RegSp.txt"
finish_scenario

# 6. A value of an unexpected type does not stop start-up and is repaired like a missing one.
wine reg add "$REGKEY" /v DataBasePath /t REG_DWORD /d 5 /f >/dev/null 2>&1
run_scenario open_and_close
check "DWORD DataBasePath replaced by the expandable text" \
  bash -c "wine reg query '$REGKEY' /v DataBasePath | tr -d '\r' | grep -q 'REG_EXPAND_SZ *%SystemRoot%.System32.drivers.etc'"
finish_scenario

wineserver -w
echo "screenshots: $SHOTS"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
