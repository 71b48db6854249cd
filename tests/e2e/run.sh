#!/usr/bin/env bash
# End-to-end scenarios: the real Zelkora.exe under Wine + Xvfb, driven by zk_driver.exe, with the
# files it wrote checked byte for byte from this side. Screenshots land in build/e2e-shots.
# ZK_E2E_ONLY_FETCH=1 runs only the cloud scenarios (7 and 8), for work on the fetch;
# ZK_E2E_ONLY_EDITOR=1 only the editor's and the tools' (9 to 11), ZK_E2E_ONLY_NETWORK=1 only the
# network tools' (11 and 12), ZK_E2E_ONLY_PING=1 only the ping under load (12),
# ZK_E2E_ONLY_HOSTS=1 only the editor's, the add-entry dialog's and the hosts-file commands'
# (9 and 10), ZK_E2E_ONLY_PACKS=1 only the hosts pack's (13), ZK_E2E_ONLY_CUSTOMISE=1 only the
# private customisation's (14), ZK_E2E_ONLY_PERSONAL=1 only the customised starts (15),
# ZK_E2E_ONLY_SHARE=1 only the share window's and the web buttons' (16), ZK_E2E_ONLY_HELP=1 only
# the help file's and the shortcuts' (17), each on a prefix where the first start has run.
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

# A Unix path as the program sees it, through Wine's Z: drive. (winepath starts a Wine process of
# its own, which can fail while the wineserver of the last scenario is still ending.)
winpath() { printf 'Z:%s' "${1//\//\\}"; }

run_scenario() {  # run_scenario NAME [SCRIPT] [SED-EXPRESSIONS...]: start the program, drive it, wait for its end
  local name=$1 script="$WORK/$1.txt" source=${2:-$1}
  sed "s|@SHOTS@|$(winpath "$SHOTS" | sed 's/\\/\\\\/g')|g; s|@NAME@|$name|g; s|@VERSION@|$(head -n1 "$BUILD/version.txt")|g${3:+; $3}" \
    "$ROOT/tests/e2e/scenarios/$source.txt" > "$script"
  echo "scenario $name"
  scenario_ok=1
  wine "${PROGRAM:-$BUILD/Zelkora.exe}" 2> "$WORK/$name.stderr" &
  local app=$!
  if ! wine "$BUILD/zk_driver.exe" "$(winpath "$script")" | tr -d '\r' | sed 's/^/  /'; then
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

serve_in_background() {  # serve_in_background LOG COMMAND...: sets $server once it listens
  "${@:2}" > "$1" 2>&1 &
  server=$!
  for _ in $(seq 50); do grep -q serving "$1" && return; sleep 0.1; done
}
fresh() { rm -rf "$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Orvik"; rm -f "$DESKTOP"/*.reg; }

# 12. Ping under load (ZK_E2E_ONLY_PING=1 runs only this, on a prefix where the first start has
# run): thirty starts of a ping, then the external-IP lookup from the cloud's own page, which must
# not wait behind them; no ping is left running once the window has gone.
ping_load() {
  local site="$WORK/site-ping"
  rm -rf "$site"
  "$ROOT/build/native/zelkora-cloud" publish "$ROOT/cloud/demo/site.ini" "$site" --origin http://127.0.0.1:18185 >/dev/null
  serve_in_background "$WORK/ping-cloud.log" "$ROOT/build/native/zelkora-cloud" serve "$site" --port 18185
  local pingcloud=$server
  mkdir -p "$DATA"
  printf '[System]\r\nXFWQ=1\r\nHYDH=0\r\nZFJH=0\r\nZURL=\r\nQBMJ=0\r\nZDDH=1\r\nAQSX=1\r\nYDSY=http://127.0.0.1:18185/kpr.css\r\n' > "$DATA/System.btx"
  run_scenario ping_load
  check "the lookup page was the cloud's own, under its base" grep -q 'GET /z/ip/ -> 200' "$WORK/ping-cloud.log"
  # (The pattern does not match its own command line.)
  check "no ping left running" bash -c "! pgrep -f 'system32.ping[.]exe' >/dev/null"
  check "the pasted Chinese domain went into Ping.bat trimmed, by its ASCII name" bash -c "iconv -f gbk -t utf-8 '$DATA/Tem/Ping.bat' | grep -qF 'ping.exe\" xn--fiq228c.com >\"'"
  kill $pingcloud 2>/dev/null; wait $pingcloud 2>/dev/null
  finish_scenario
}
if [ -n "${ZK_E2E_ONLY_PING:-}" ]; then
  ping_load
  wineserver -w
  echo "$passed passed, $failed failed"
  [ "$failed" = 0 ]
  exit
fi

# 14. Private customisation (ZK_E2E_ONLY_CUSTOMISE=1 runs only this, on a prefix where the first
# start has run): the settings window's group for one's own customisation, then the personal pack
# built through the customisation window and read back.
customise() {
  mkdir -p "$DATA"
  printf '[System]\r\nXFWQ=1\r\nHYDH=0\r\nZFJH=0\r\nZURL=\r\nQBMJ=0\r\nZDDH=1\r\nAQSX=1\r\nYDSY=http://127.0.0.1:1/kpr.css\r\nNCFW=http://127.0.0.1:1\r\nTXFW=http://127.0.0.1:1/\r\n' > "$DATA/System.btx"
  # Switched on but empty: the cancel box is in use, nothing is shown at start.
  printf '[Personal]\r\nSRDZ=1\r\n' > "$DATA/Personal.ini"
  run_scenario customise_settings
  check "Personal.ini written whole" bytes_are "$DATA/Personal.ini" \
    '[Personal]\r\nSRDZ=1\r\nNAME=20002\r\nQQTX=10001\r\nHYTS=1\r\nQQNC=1\r\nTHYS=1\r\n'
  check "the widened settings window is 696 pixels wide" python3 -c \
    "import struct,sys; sys.exit(struct.unpack('>I', open(sys.argv[1],'rb').read(24)[16:20])[0] != 696)" \
    "$SHOTS/settings-customisation.png"
  finish_scenario

  local pack="$DESKTOP/Zelkora私人订制包.zip"
  rm -f "$pack" "$DATA/Personal.ini"
  run_scenario customise_pack
  check "the personal pack on the desktop" test -f "$pack"
  check "pack entries, Personal.ini bytes, program copy" python3 "$ROOT/tests/e2e/personal_zip.py" "$pack" \
    "$BUILD/Zelkora.exe" 小明同学 "$(printf '[Personal]\r\nSRDZ=1\r\nNAME=小明同学\r\nQQTX=10001\r\nHYTS=1\r\nQQNC=0\r\nTHYS=0\r\n' | iconv -f utf-8 -t gbk | od -An -tx1 -v | tr -d ' \n')"
  check "no pack tree left in the data folder" test ! -e "$DATA/ZipPersonal"
  finish_scenario

  # Closed while the pack is made: the earlier archive stays whole.
  cp "$pack" "$WORK/pack-before.zip"
  run_scenario customise_pack_closed
  check "the earlier pack is left as it was" cmp -s "$pack" "$WORK/pack-before.zip"
  finish_scenario

  # The pack unpacked into a folder of its own and started from there: its Personal.ini replaces
  # the data folder's, and the copy greets the friend it was made for (the QQ services answered by
  # the local stand-ins).
  if [ -d "$ROOT/cloud/demo/qq" ]; then
    local unpacked="$WORK/unpacked" qq="$WORK/qq-site-pack" log="$WORK/qq-pack.log"
    rm -rf "$unpacked" "$qq" && mkdir -p "$unpacked" "$qq" && cp -r "$ROOT/cloud/demo/qq" "$qq/"
    python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1], metadata_encoding="gbk").extractall(sys.argv[2])' \
      "$pack" "$unpacked"
    serve_in_background "$log" "$ROOT/build/native/zelkora-cloud" serve "$qq" --port 18196
    local services=$server
    printf '[System]\r\nXFWQ=1\r\nHYDH=0\r\nZFJH=0\r\nZURL=\r\nQBMJ=0\r\nZDDH=1\r\nAQSX=1\r\nYDSY=http://127.0.0.1:1/kpr.css\r\nNCFW=http://127.0.0.1:18196\r\nTXFW=http://127.0.0.1:18196/\r\n' > "$DATA/System.btx"
    rm -f "$DATA/Personal.ini"
    PROGRAM="$unpacked/Zelkora/TessalyZelkora.exe" run_scenario customise_unpacked
    check "the pack's Personal.ini copied into the data folder" cmp -s "$unpacked/Zelkora/Personal.ini" "$DATA/Personal.ini"
    check "the avatar asked of the local stand-in" grep -qF 'dst_uin=10001&spec=100&img_type=jpg' "$log"
    finish_scenario
    kill $services; wait $services 2>/dev/null
  else
    echo "  SKIP the unpacked pack's start: the QQ services' stand-ins are not in this tree yet"
  fi
  rm -f "$DATA/Personal.ini"  # later starts are plain ones
}
if [ -n "${ZK_E2E_ONLY_CUSTOMISE:-}" ]; then
  customise
  wineserver -w
  echo "screenshots: $SHOTS"
  echo "$passed passed, $failed failed"
  [ "$failed" = 0 ]
  exit
fi

# 15. Customised starts (ZK_E2E_ONLY_PERSONAL=1 runs only these): Personal.ini in the data folder,
# both QQ services pointed at zelkora-cloud's stand-ins (System.btx NCFW and TXFW), never at the
# public ones.
personal_ini() {  # personal_ini NAME QQTX HYTS QQNC THYS: the file as the settings window writes it
  printf '[Personal]\r\nSRDZ=1\r\nNAME=%s\r\nQQTX=%s\r\nHYTS=%s\r\nQQNC=%s\r\nTHYS=%s\r\n' "$@" | iconv -f utf-8 -t gbk > "$DATA/Personal.ini"
}
personal_settings() {  # personal_settings NICKNAME-PORT AVATAR-PORT
  printf '[System]\r\nXFWQ=1\r\nHYDH=0\r\nZFJH=0\r\nZURL=\r\nQBMJ=0\r\nZDDH=1\r\nAQSX=1\r\nYDSY=http://127.0.0.1:%s/kpr.css\r\nNCFW=http://127.0.0.1:%s\r\nTXFW=http://127.0.0.1:%s/\r\n' "$2" "$1" "$2" > "$DATA/System.btx"
}
# Pixels of the nickname label (42,2 170x18) in the gold RGB(211,168,9) or near it (anti-aliasing).
gold_pixels() {
  convert "$1" -crop 170x18+42+2 +repage txt:- | grep -oE 'srgb\([0-9]+,[0-9]+,[0-9]+\)' | tr -d 'srgb()' |
    awk -F, '$1>=190 && $1<=230 && $2>=145 && $2<=190 && $3<=60 {n++} END {print n+0}'
}
personal_starts() {
  local qq="$WORK/qq-site" log="$WORK/qq-services.log"
  rm -rf "$qq" && mkdir -p "$qq" && cp -r "$ROOT/cloud/demo/qq" "$qq/"
  serve_in_background "$log" "$ROOT/build/native/zelkora-cloud" serve "$qq" --port 18194
  local services=$server
  mkdir -p "$DATA"
  personal_settings 18194 18194

  personal_ini 小明 12345 1 0 1
  run_scenario personal_start
  check "the avatar came from the local avatar service" grep -qF 'GET /headimg_dl?dst_uin=12345&spec=100&img_type=jpg -> 200' "$log"
  check "no nickname lookup for a typed nickname" bash -c "! grep -q cgi_get_portrait '$log'"
  check "the nickname is gold" test "$(gold_pixels "$SHOTS/personal-main-window.png")" -ge 10
  finish_scenario

  personal_ini 12345 10003 0 1 0
  run_scenario personal_qq personal_qq 's|@NICK@|小红|g; s|@AVATAR@|1|g'
  check "the QQ nickname was looked up locally" grep -q 'GET /fcg-bin/cgi_get_portrait.fcg?uins=12345 -> 200' "$log"
  check "an HTML avatar answer was asked for (the built-in avatar shows)" grep -q 'dst_uin=10003&spec=100&img_type=jpg -> 200' "$log"
  check "the nickname keeps the design colour (white)" test "$(gold_pixels "$SHOTS/personal_qq.png")" -eq 0
  finish_scenario

  local before; before=$(grep -c headimg_dl "$log")
  personal_ini 10001 1 0 1 0
  run_scenario personal_qq_cut personal_qq 's|@NICK@|一二三四五六七八九十|g; s|@AVATAR@|0|g'
  check "a 24-byte QQ nickname was served" grep -q 'uins=10001 -> 200' "$log"
  check "QQTX=1 asks for no avatar" test "$(grep -c headimg_dl "$log")" = "$before"
  finish_scenario

  # A nickname service that accepts and never answers.
  python3 -c 'import socket,time; s=socket.socket(); s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1); s.bind(("127.0.0.1", 18195)); s.listen(8); print("serving", flush=True); time.sleep(300)' > "$WORK/qq-hang.log" 2>&1 &
  local hang=$!
  personal_settings 18195 18194
  personal_ini 12345 1 0 1 0
  run_scenario personal_hang
  finish_scenario
  kill $hang $services 2>/dev/null; wait $hang $services 2>/dev/null
  rm -f "$DATA/Personal.ini" "$DATA/System.btx"
}
if [ -n "${ZK_E2E_ONLY_PERSONAL:-}" ]; then
  personal_starts
  wineserver -w
  echo "screenshots: $SHOTS"
  echo "$passed passed, $failed failed"
  [ "$failed" = 0 ]
  exit
fi

# 16. The share window and the navigation panel's web buttons (ZK_E2E_ONLY_SHARE=1 runs only
# these): the browser and the picture viewer are the recorder, the share text goes to the
# clipboard, the QR picture lands on the desktop as the program carries it.
share_window() {
  local recorded="$WINEPREFIX/drive_c/zk-recorded.txt" qr="$DESKTOP/分享二维码.jpg"
  local page=http%3A%2F%2Fwww.zelkora.example%2FUnder%2FKpr%2Findex.html
  cp "$BUILD/zk_recorder.exe" "$WINEPREFIX/drive_c/windows/zk_browser.exe"
  for scheme in http https; do
    wine reg add "HKLM\\Software\\Classes\\$scheme\\shell\\open\\command" /ve /d '"C:\windows\zk_browser.exe" "%1"' /f >/dev/null 2>&1
  done
  for root in HKLM HKCU; do
    wine reg add "$root\\Software\\Classes\\.jpg" /ve /d zk.jpgfile /f >/dev/null 2>&1
    wine reg add "$root\\Software\\Classes\\zk.jpgfile\\shell\\open\\command" /ve /d '"C:\windows\zk_browser.exe" "%1"' /f >/dev/null 2>&1
  done
  mkdir -p "$DATA" "$DESKTOP"
  printf '[System]\r\nXFWQ=1\r\nHYDH=0\r\nZFJH=0\r\nZURL=\r\nQBMJ=0\r\nZDDH=1\r\nAQSX=1\r\nYDSY=http://127.0.0.1:1/kpr.css\r\n' > "$DATA/System.btx"
  rm -f "$recorded" "$qr"
  printf 'an older picture' > "$qr"
  run_scenario share
  opened() { has_line "$recorded" "$1"; }
  echo "  recorded command lines:"; tr -d '\r' < "$recorded" 2>/dev/null | sed 's/^/    /'
  check "QQ空间 with the page" opened "\"http://sns.qzone.qq.com/cgi-bin/qzshare/cgi_qzshare_onekey?url=$page\""
  check "新浪微博 with the share text in UTF-8" opened '"http://service.weibo.com/share/share.php?title=Zelkora%EF%BC%8C%E4%B8%80%E9%94%AE'
  check "百度贴吧 with the page and the short text" opened "\"http://tieba.baidu.com/f/commit/share/openShareApi?url=$page&title=Zelkora%EF%BC%8C"
  check "腾讯微博 with the share text" opened '"http://share.v.t.qq.com/index.php?c=share&a=index&title=Zelkora%EF%BC%8C'
  check "Twitter with the share text, ending with the page" opened "%EF%BC%9A$page\""
  check "the QR picture on the desktop is the program's, byte for byte" cmp -s "$qr" "$BUILD/share_qr.jpg"
  check "the QR picture was opened" opened '分享二维码.jpg"'
  finish_scenario

  rm -f "$recorded"
  run_scenario web_buttons
  echo "  recorded command lines:"; tr -d '\r' < "$recorded" 2>/dev/null | sed 's/^/    /'
  check "Google" opened "\"https://www.google.com/webhp?cr=countryUS&gws_rd=ssl?url=$page\""
  check "YouTube" opened "\"https://www.youtube.com/?url=$page\""
  check "Wikipedia" opened "\"https://www.wikipedia.org/?url=$page\""
  check "Facebook" opened "\"https://www.facebook.com/?url=$page\""
  check "Twitter" opened "\"https://twitter.com/?lang=zh-cn#?url=$page\""
  check "Google Drive" opened "\"https://drive.google.com/?url=$page\""
  check "Gmail" opened "\"https://mail.google.com/?url=$page\""
  finish_scenario
  rm -f "$DATA/System.btx"
}
if [ -n "${ZK_E2E_ONLY_SHARE:-}" ]; then
  share_window
  wineserver -w
  echo "screenshots: $SHOTS"
  echo "$passed passed, $failed failed"
  [ "$failed" = 0 ]
  exit
fi

# 17. Help and shortcuts (ZK_E2E_ONLY_HELP=1 runs only these, on a prefix where the first start has
# run). A recorder opens .txt files: the help file it is handed is named in C:\zk-recorded.txt.
help_and_shortcuts() {
  local recorded="$WINEPREFIX/drive_c/zk-recorded.txt" user
  user=$(whoami)
  mkdir -p "$DATA"
  printf '[System]\r\nXFWQ=1\r\nHYDH=0\r\nZFJH=0\r\nZURL=\r\nQBMJ=0\r\nZDDH=1\r\nAQSX=1\r\nYDSY=http://127.0.0.1:1/kpr.css\r\n' > "$DATA/System.btx"
  cp "$BUILD/zk_recorder.exe" "$WINEPREFIX/drive_c/windows/zk_textviewer.exe"
  # Wine reads file types from the machine's classes only: the .txt key is kept and put back after.
  local saved_txt="$WORK/txt-class.reg"
  rm -f "$saved_txt"
  wine reg export 'HKLM\Software\Classes\.txt' "$(winpath "$saved_txt")" /y >/dev/null 2>&1
  wine reg add 'HKLM\Software\Classes\.txt' /ve /d zk_textfile /f >/dev/null 2>&1
  wine reg add 'HKLM\Software\Classes\zk_textfile\shell\open\command' /ve /d '"C:\windows\zk_textviewer.exe" "%1"' /f >/dev/null 2>&1
  rm -f "$recorded"
  run_scenario help_file help_file "s|@HELP@|C:\\\\users\\\\$user\\\\AppData\\\\Roaming\\\\Orvik\\\\Nimbet\\\\Tem\\\\Help.txt|g"
  for _ in $(seq 100); do [ "$(grep -caF 'Tem\Help.txt' "$recorded" 2>/dev/null)" = 2 ] && break; sleep 0.1; done
  echo "  recorded:"; tr -d '\r' < "$recorded" 2>/dev/null | sed 's/^/    /'
  check "each click opened Tem\\Help.txt through the .txt handler" test "$(grep -caF 'Tem\Help.txt' "$recorded")" = 2
  local golden="$ROOT/tests/data/help_text.txt" help="$DATA/Tem/Help.txt"
  check "Help.txt starts with the help text's bytes" cmp -s -n "$(stat -c %s "$golden")" "$golden" "$help"
  check "then the opening time and the code, GBK, nothing more" python3 -c '
import re, sys
golden = open(sys.argv[1], "rb").read(); data = open(sys.argv[2], "rb").read()
tail = data[len(golden):].decode("gbk")
sys.exit(re.fullmatch(r"\r\n打开时间：\d{4}年\d{1,2}月\d{1,2}日(\d{1,2}时(\d{1,2}分(\d{1,2}秒)?)?)?\r\n唯一代码：[1-9]\d*", tail) is None)' "$golden" "$help"
  finish_scenario

  local start="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu"
  local quick="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Internet Explorer/Quick Launch"
  rm -f "$DESKTOP/Zelkora.lnk" "$start/Zelkora.lnk"
  rm -rf "$quick"
  local lines_before
  lines_before=$(cat "$recorded" 2>/dev/null | wc -l)
  run_scenario shortcuts
  for link in "$DESKTOP/Zelkora.lnk" "$start/Zelkora.lnk"; do
    check "${link#"$WINEPREFIX"/}: the installed copy, its description and folder" \
      python3 "$ROOT/tests/e2e/read_lnk.py" "$link" 'Orvik\Nimbet\Nimbet.exe' "一键解析，极速互联！" 'Orvik\Nimbet'
  done
  check "no Quick Launch folder made" test ! -e "$quick"
  check "no verb run" test "$(cat "$recorded" 2>/dev/null | wc -l)" = "$lines_before"
  finish_scenario
  # Where the Quick Launch folder is there (an older profile), it gets its link too.
  mkdir -p "$quick"
  run_scenario shortcuts_quick_launch shortcuts
  check "Quick Launch: the installed copy" \
    python3 "$ROOT/tests/e2e/read_lnk.py" "$quick/Zelkora.lnk" 'Orvik\Nimbet\Nimbet.exe' "一键解析，极速互联！"
  finish_scenario
  rm -rf "$quick"
  rm -f "$DESKTOP/Zelkora.lnk" "$start/Zelkora.lnk"
  wine reg delete 'HKLM\Software\Classes\zk_textfile' /f >/dev/null 2>&1
  wine reg delete 'HKLM\Software\Classes\.txt' /f >/dev/null 2>&1
  [ -s "$saved_txt" ] && wine reg import "$(winpath "$saved_txt")" >/dev/null 2>&1
}
if [ -n "${ZK_E2E_ONLY_HELP:-}" ]; then
  help_and_shortcuts
  wineserver -w
  echo "$passed passed, $failed failed"
  [ "$failed" = 0 ]
  exit
fi

if [ -z "${ZK_E2E_ONLY_FETCH:-}${ZK_E2E_ONLY_EDITOR:-}${ZK_E2E_ONLY_NETWORK:-}${ZK_E2E_ONLY_HOSTS:-}${ZK_E2E_ONLY_PACKS:-}" ]; then
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
# What the scenarios write to the desktop stays in the prefix, and Wine writes no menus anywhere.
check "the desktop is a folder of the prefix, not a link out of it" bash -c "test -d '$DESKTOP' && test ! -L '$DESKTOP'"
check "Wine's menu builder is switched off" \
  bash -c "wine reg query 'HKCU\\Software\\Wine\\DllOverrides' /v winemenubuilder.exe | tr -d '\r' | grep -q 'winemenubuilder.exe *REG_SZ *$'"
finish_scenario

# Every way a tool window can end shows the main window again.
run_scenario close_paths
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

fi

HOSTS="$WINEPREFIX/drive_c/windows/system32/drivers/etc/hosts"
gbk() { printf "$1" | iconv -f utf-8 -t gbk; }
is_gbk() { cmp -s "$1" <(gbk "$2"); }  # is_gbk FILE TEXT: the file holds TEXT in GBK, nothing more
plain_hosts() {  # plain_hosts TEXT: an unprotected system hosts file holding TEXT in GBK
  # A new file: Wine keeps the attributes of the old one beside it, and its attrib does not clear
  # hidden and system together.
  rm -f "$HOSTS"
  gbk "$1" > "$HOSTS"
}

# 13. The hosts pack through the editor's "打包" (ZK_E2E_ONLY_PACKS=1 runs only this): the archive
# read back with Python's zipfile (GBK names, entries in order, the four hosts files equal to the
# file, the tutorial, the program copy); then a big document whose build the editor's close stops:
# the archive already there stays as it was.
hosts_packs() {
  local archive="$DESKTOP/Quor_Hosts.zip" md5
  mkdir -p "$DATA" "$DESKTOP"
  md5() { md5sum "$1" | cut -d' ' -f1; }
  printf '[System]\r\nXFWQ=1\r\nHYDH=0\r\nYDSY=http://127.0.0.1:1/kpr.css\r\n' > "$DATA/System.btx"
  rm -f "$HOSTS"
  printf '127.0.0.1 localhost\r\n# 中文注释\r\n' | iconv -f utf-8 -t gbk > "$HOSTS"
  echo "an older archive" > "$archive"
  run_scenario hosts_pack hosts_pack "s|@ARCHIVE@|$(winpath "$archive" | sed 's/\\/\\\\/g')|g"
  local h t e
  h=$(md5 "$HOSTS"); t=$(md5 "$ROOT/tests/data/hosts_pack_tutorial.txt"); e=$(md5 "$BUILD/Zelkora.exe")
  cat > "$WORK/pack-expected.txt" <<EOT
TessalyZelkora.exe|file|$e
使用教程.txt|file|$t
安卓、iPhone版/|folder|-
安卓、iPhone版/iPhone/|folder|-
安卓、iPhone版/iPhone/hosts|file|$h
安卓、iPhone版/iPhone/越狱后，把这里头的hosts文件，复制粘贴到iPhone系统的etc目录中|file|93b885adfe0da089cdf634904fd59f71
安卓、iPhone版/安卓/|folder|-
安卓、iPhone版/安卓/方便包/|folder|-
安卓、iPhone版/安卓/方便包/Root后，直接将上面的system文件夹复制粘贴到安卓根目录即可|file|93b885adfe0da089cdf634904fd59f71
安卓、iPhone版/安卓/方便包/system/|folder|-
安卓、iPhone版/安卓/方便包/system/etc/|folder|-
安卓、iPhone版/安卓/方便包/system/etc/hosts|file|$h
安卓、iPhone版/安卓/繁琐包/|folder|-
安卓、iPhone版/安卓/繁琐包/Root后，把这里头的hosts文件，复制粘贴到安卓根目录-system-etc中|file|93b885adfe0da089cdf634904fd59f71
安卓、iPhone版/安卓/繁琐包/hosts|file|$h
文件创建于：DATE|file|93b885adfe0da089cdf634904fd59f71
由：Zelkora生成|file|93b885adfe0da089cdf634904fd59f71
电脑版/|folder|-
电脑版/hosts|file|$h
EOT
  python3 "$ROOT/tests/e2e/read_pack.py" "$archive" > "$WORK/pack-listing.txt" 2> "$WORK/pack-listing.err"
  check "the archive reads back with GBK names and their UTF-8 field" test -s "$WORK/pack-listing.txt" -a ! -s "$WORK/pack-listing.err"
  check "entries in order: the hosts four times, the tutorial, the program copy, the markers" \
    diff <(sed 's/^文件创建于：[0-9年月日时分秒]*|/文件创建于：DATE|/' "$WORK/pack-listing.txt") "$WORK/pack-expected.txt"
  check "no temporary archive and no tree left" bash -c "test ! -e '$archive.part' && test ! -e '$DATA/ZipPack'"
  finish_scenario

  # About 40 MB: the build takes long enough for the close to land in it.
  cp "$archive" "$WORK/pack-before.zip"
  rm -f "$HOSTS"
  python3 -c "import sys; sys.stdout.write(''.join('0.0.0.0 host%d.example\r\n' % i for i in range(1600000)))" > "$HOSTS"
  run_scenario hosts_pack_close hosts_pack_close \
    "s|@LENGTH@|$(stat -c %s "$HOSTS")|g; s|@PACKDIR@|$(winpath "$DATA/ZipPack" | sed 's/\\/\\\\/g')|g"
  check "the archive on the desktop is the one made before" cmp -s "$WORK/pack-before.zip" "$archive"
  check "no temporary archive left" test ! -e "$archive.part"
  finish_scenario
  plain_hosts '127.0.0.1 localhost\r\n'
}
if [ -n "${ZK_E2E_ONLY_PACKS:-}" ]; then
  hosts_packs
  wineserver -w
  echo "$passed passed, $failed failed"
  [ "$failed" = 0 ]
  exit
fi

if [ -z "${ZK_E2E_ONLY_FETCH:-}${ZK_E2E_ONLY_NETWORK:-}" ]; then
# 9. The hosts editor, the add-entry dialog and the row of hosts-file commands. The cloud address
# points where nothing listens: "获取数据" starts a fetch that finds no cloud.
printf '[System]\r\nXFWQ=1\r\nHYDH=0\r\nYDSY=http://127.0.0.1:1/kpr.css\r\n' > "$DATA/System.btx"
plain_hosts '127.0.0.1 localhost\r\n# 中文注释\r\n'
run_scenario editor
check "saved once, with the typed line, in GBK" is_gbk "$HOSTS" '127.0.0.1 localhost\r\n# 中文注释\r\n10.1.1.1 新增.test'
check "the loaded file kept as backup" is_gbk "$DATA/Backup/hosts.1.bak" '127.0.0.1 localhost\r\n# 中文注释\r\n'
finish_scenario

# A status text is never written; a failed save asked for by the close keeps the editor open.
plain_hosts ''
run_scenario editor_status
check "the blank file stays blank" test "$(stat -c %s "$HOSTS")" = 0
finish_scenario
plain_hosts '1.1.1.1 keep.test\r\n'
wine attrib +r 'C:\windows\system32\drivers\etc\hosts' >/dev/null 2>&1
run_scenario editor_failed_save
check "the read-only file kept its text" is_gbk "$HOSTS" '1.1.1.1 keep.test\r\n'
finish_scenario
wine attrib -r 'C:\windows\system32\drivers\etc\hosts' >/dev/null 2>&1
# A UTF-8 file with LF line ends goes back as UTF-8, one line changed and every other byte kept.
rm -f "$HOSTS"
printf '# 中文注释\n127.0.0.1 localhost\n# 广告 ad\n' > "$HOSTS"
run_scenario editor_utf8
check "UTF-8 kept, only the typed byte added" bytes_are "$HOSTS" '## 中文注释\n127.0.0.1 localhost\n# 广告 ad\n'
finish_scenario

plain_hosts '1.1.1.1 old.test\r\n'
run_scenario add_entry
check "the line on top, the old text below" bytes_are "$HOSTS" '10.0.0.1   www.zelkora-test.com\r\n1.1.1.1 old.test\r\n'
finish_scenario

rm -f "$HOSTS"
printf '\xff\xfe1\x002\x007\x00.\x000\x00.\x000\x00.\x001\x00 \x00a\x00\r\x00\n\x00' > "$HOSTS"
cp "$HOSTS" "$WORK/hosts-unicode-before"
run_scenario add_entry_unicode
check "the UTF-16 file unchanged byte for byte" cmp -s "$WORK/hosts-unicode-before" "$HOSTS"
finish_scenario

plain_hosts '127.0.0.1 localhost\r\n# 中文注释\r\n'
cp "$HOSTS" "$WORK/hosts-commands-before"
rm -f "$DESKTOP/hosts" "$WORK/saved-as.txt"
printf '0.0.0.0 imported.test\r\n' > "$WORK/import.txt"
run_scenario hosts_commands hosts_commands "s|@IMPORT@|$(winpath "$WORK/import.txt" | sed 's/\\/\\\\/g')|g; s|@SAVEAS@|$(winpath "$WORK/saved-as.txt" | sed 's/\\/\\\\/g')|g"
check "the desktop copy is the file byte for byte" cmp -s "$WORK/hosts-commands-before" "$DESKTOP/hosts"
check "the file was deleted at the end" test ! -e "$HOSTS"
check "backups: the restored default before the delete, the imported file, the file before the import" bash -c "test \$(stat -c %s '$DATA/Backup/hosts.1.bak') = 824 && cmp -s '$WORK/import.txt' '$DATA/Backup/hosts.2.bak' && cmp -s '$WORK/hosts-commands-before' '$DATA/Backup/hosts.3.bak'"
check "save-as wrote the Windows default, 824 bytes" test "$(stat -c %s "$WORK/saved-as.txt" 2>/dev/null)" = 824
finish_scenario
plain_hosts '127.0.0.1 localhost\r\n'

# 10. The bandwidth converter of the tool set.
run_scenario bandwidth
finish_scenario
hosts_packs
fi
if [ -z "${ZK_E2E_ONLY_FETCH:-}${ZK_E2E_ONLY_HOSTS:-}" ]; then

# 11. The rest of the tool set. netsh, ipconfig, net and sc are recorders here (Wine's own do
# nothing useful), and so is the browser; ping is Wine's own. The connection the commands act on
# is the one Wine reports as up with a default gateway: this machine's default route, if any.
RECORDED="$WINEPREFIX/drive_c/zk-recorded.txt"
for tool in netsh ipconfig net sc; do
  cp "$BUILD/zk_recorder.exe" "$WINEPREFIX/drive_c/windows/system32/$tool.exe"
  wine reg add 'HKCU\Software\Wine\DllOverrides' /v "$tool.exe" /d native /f >/dev/null 2>&1
done
cp "$BUILD/zk_recorder.exe" "$WINEPREFIX/drive_c/windows/zk_browser.exe"
for scheme in http https; do
  wine reg add "HKLM\\Software\\Classes\\$scheme\\shell\\open\\command" /ve /d '"C:\windows\zk_browser.exe" "%1"' /f >/dev/null 2>&1
done
CLOUD="$ROOT/build/native/zelkora-cloud"
rm -rf "$WORK/site-net"
"$CLOUD" publish "$ROOT/cloud/demo/site.ini" "$WORK/site-net" --origin http://127.0.0.1:18183 >/dev/null
serve_in_background "$WORK/lookup.log" "$CLOUD" serve "$WORK/site-net" --port 18183
lookup=$server
mkdir -p "$DATA"
printf '[System]\r\nXFWQ=1\r\nHYDH=0\r\nZFJH=0\r\nZURL=\r\nQBMJ=0\r\nZDDH=1\r\nAQSX=1\r\nYDSY=http://127.0.0.1:18183/kpr.css\r\nWWIP=http://127.0.0.1:18183/ip/\r\n' > "$DATA/System.btx"
rm -f "$RECORDED" "$WINEPREFIX/drive_c/zk-injected.txt"
# The recorders refuse the address switch (as on a connection already on DHCP), the release of the
# lease, the disable of the adapter and 114DNS's secondary server: every other line still runs.
printf 'set address name=\r\n/release\r\n" disabled\r\n114.114.115.115\r\n' > "$WINEPREFIX/drive_c/zk-refuse.txt"
# The interface of the default route (destination 0), from the kernel's table: no iproute2 needed.
CONN=$(awk 'NR > 1 && $2 == "00000000" { print $1; exit }' /proc/net/route 2>/dev/null)
if [ -n "$CONN" ]; then
  # Wine's adapter keeps its own DNS servers whatever the recorders were asked (not in effect), and
  # Wine reports it without DHCP (the switch to automatic did not take).
  subst="s|@V4TITLE@|抱歉！|g; s|@V6TITLE@|抱歉！|g; s|@AUTOTITLE@|抱歉|g; s|@RESTARTTITLE@|抱歉|g"
  subst+="; s|@V4TEXT@|DNS设置没有成功，DNS未生效。|g; s|@V6TEXT@|DNS设置没有成功，DNS未生效。|g; s|@V4CUSTOM@|DNS设置没有成功，DNS未生效。|g"
  subst+="; s|@AUTOTEXT@|配置为自动获取没有成功，请稍后再试！|g; s|@RESTARTTEXT@|网卡没有重启：禁用网卡的命令没有成功，网卡一直在工作。|g"
else
  subst="s|@V4TITLE@|抱歉！|g; s|@V6TITLE@|抱歉！|g; s|@AUTOTITLE@|抱歉|g; s|@RESTARTTITLE@|抱歉|g"
  subst+="; s|@V4TEXT@|本机没有已启用的|g; s|@V6TEXT@|本机没有已启用的|g; s|@V4CUSTOM@|本机没有已启用的|g"
  subst+="; s|@AUTOTEXT@|本机没有已启用的|g; s|@RESTARTTEXT@|本机没有已启用的|g"
fi
run_scenario network_tools network_tools "$subst"
recorded() { has_line "$RECORDED" "$1"; }
SYS='"C:\windows\system32\'
echo "  recorded command lines:"; tr -d '\r' < "$RECORDED" | sed 's/^/    /'
check "ipconfig /flushdns started by its full path" recorded "${SYS}ipconfig.exe\" /flushdns @ "
check "the repair script started net and sc by their full paths" bash -c "grep -qaiF '${SYS}net.exe\" stop Dnscache @ ' '$RECORDED' && grep -qaiF '${SYS}sc.exe\" config Dnscache' '$RECORDED'"
check "DNS优选 opened the cloud's Dns.html in the browser" grep -qaF "Dns.html" "$RECORDED"
check "the suggestion link opened it too" test "$(grep -caF "Dns.html" "$RECORDED")" = 2
check "a web ping service opened in the browser" recorded "http://www.webkaka.com/Ping.aspx"
check "the injected command did not run" test ! -e "$WINEPREFIX/drive_c/zk-injected.txt"
check "Ping.bat names the system's ping, the target and the quoted output" bash -c "iconv -f gbk -t utf-8 '$DATA/Tem/Ping.bat' | grep -qF '\"C:\\windows\\system32\\ping.exe\" 127.0.0.1 >\"'"
if [ -n "$CONN" ]; then
  check "114DNS: primary then secondary on $CONN" recorded "${SYS}netsh.exe\" interface IP Set dns \"$CONN\" static 114.114.114.114 primary @"
  refused() { grep -aF -- "$1" "$RECORDED" | grep -q ' refused'; }
  check "114DNS secondary, refused" refused "${SYS}netsh.exe\" interface IP add dns \"$CONN\" 114.114.115.115 @"
  check "谷歌公司V6: both servers, the second with index=2" recorded "${SYS}netsh.exe\" interface ipv6 add dnsserver \"$CONN\" 2001:4860:4860::8844 index=2 @"
  check "the custom server with the fixed secondary" recorded "${SYS}netsh.exe\" interface IP add dns \"$CONN\" 74.82.42.42 @"
  # A line that must follow a refused one does (its last time after the other's first).
  at() { grep -naF -- "$1" "$RECORDED" | "$2" -1 | cut -d: -f1; }
  follows() { local a b; a=$(at "$1" head); b=$(at "$2" tail); [ -n "$a" ] && [ -n "$b" ] && [ "$b" -gt "$a" ]; }
  check "the address switch was refused" refused "address name=\"$CONN\" source=dhcp @"
  check "the DNS reset ran after the refused address switch" follows "set address name=\"$CONN\"" "set dns name=\"$CONN\" source=dhcp @"
  check "/renew ran after the refused /release" follows '/release @' '/renew @'
  check "the lease steps and the flush ran to the end" follows '/renew @' '/flushdns @'
  check "the adapter's disable was refused" refused "interface set interface \"$CONN\" disabled @"
  check "its enable ran all the same" follows "interface set interface \"$CONN\" disabled" "interface set interface \"$CONN\" enabled @"
fi
rm -f "$WINEPREFIX/drive_c/zk-refuse.txt"
kill $lookup 2>/dev/null; wait $lookup 2>/dev/null
finish_scenario
fi
if [ -z "${ZK_E2E_ONLY_FETCH:-}${ZK_E2E_ONLY_EDITOR:-}${ZK_E2E_ONLY_HOSTS:-}" ]; then
ping_load
fi

if [ -z "${ZK_E2E_ONLY_EDITOR:-}${ZK_E2E_ONLY_NETWORK:-}${ZK_E2E_ONLY_HOSTS:-}" ]; then
# 7. The one-click fetch against the real local cloud, then against a misbehaving one.
CLOUD="$ROOT/build/native/zelkora-cloud"
FAULTS="$ROOT/build/native/zk_fault_server"
settings_for() {  # settings_for PORT [EXTRA-LINES]: defaults, and the cloud's index on PORT
  printf '[System]\r\nXFWQ=1\r\nHYDH=0\r\nZFJH=0\r\nZURL=\r\nQBMJ=0\r\nZDDH=1\r\nAQSX=1\r\nYDSY=http://127.0.0.1:%s/kpr.css\r\n%s' \
    "$1" "${2:-}" > "$DATA/System.btx"
}
wine attrib -h -s -r 'C:\windows\system32\drivers\etc\hosts' >/dev/null 2>&1
printf '127.0.0.1 localhost\r\n' > "$HOSTS"
rm -rf "$DATA/Backup" "$WORK/site"
"$CLOUD" publish "$ROOT/cloud/demo/site.ini" "$WORK/site" --origin http://127.0.0.1:18181 >/dev/null
serve_in_background "$WORK/cloud.log" "$CLOUD" serve "$WORK/site" --port 18181
cloud=$server
settings_for 18181
cp "$HOSTS" "$WORK/hosts-before"
run_scenario fetch_ok fetch_ok "s|@STAMP@|$(cat "$WORK/site/z/filetime.css")|g"
expected_start=$(printf '# 本文件由Zelkora生成，感谢使用：\r\n# 生成时间：' | iconv -f utf-8 -t gbk | od -An -tx1 | tr -d ' \n')
check "hosts file starts with the header" test "$(head -c 200 "$HOSTS" | od -An -tx1 | tr -d ' \n' | head -c ${#expected_start})" = "$expected_start"
check "hosts file holds the main text as served" bash -c "python3 -c \"import sys; a=open(sys.argv[1],'rb').read(); b=open(sys.argv[2],'rb').read(); sys.exit(0 if b in a and a.endswith(b'\\r\\n\\r\\n') else 1)\" '$HOSTS' '$WORK/site/z/hosts/main.txt'"
check "previous hosts file kept as backup" cmp -s "$WORK/hosts-before" "$DATA/Backup/hosts.1.bak"
check "no temporary file left beside the hosts file" bash -c "! ls '$(dirname "$HOSTS")' | grep -q zelkora-new"
check "Server.txt removed" test ! -e "$DATA/Server.txt"
# Debian's Wine has no HTML engine: the news view must not even ask for it (no download dialog).
check "no HTML engine asked for where Wine has none" bash -c "! grep -qi gecko '$WORK/fetch_ok.stderr'"
finish_scenario

# A second fetch over the file the first one protected (no attribute reset between them), with
# both blocking lists: main text, CR LF, ad list, CR LF, navigation list, as served.
cp "$HOSTS" "$WORK/hosts-first"
settings_for 18181 $'ADFW=1\r\nDHFW=1\r\n'
run_scenario fetch_lists
check "main text, ad list and navigation list joined by CR LF" bash -c "python3 -c \"import sys; a=open(sys.argv[1],'rb').read(); m,d,n=(open(f,'rb').read() for f in sys.argv[2:]); sys.exit(0 if m+b'\\r\\n'+d+b'\\r\\n'+n+b'\\r\\n# ' in a else 1)\" '$HOSTS' '$WORK/site/z/hosts/main.txt' '$WORK/site/z/hosts/ad.txt' '$WORK/site/z/hosts/navigation.txt'"
check "the first fetch's file kept as backup" cmp -s "$WORK/hosts-first" "$DATA/Backup/hosts.1.bak"
finish_scenario
kill $cloud; wait $cloud 2>/dev/null

fault_server() {  # fault_server FAULTS SERVER1 SERVER2: a misbehaving cloud on port 18182
  rm -rf "$WORK/fault-site"
  "$CLOUD" publish "$ROOT/cloud/demo/site.ini" "$WORK/fault-site" --origin http://127.0.0.1:18182 >/dev/null
  printf '[Server]\r\nServer1=%s\r\nServer2=%s\r\n' "$2" "$3" > "$WORK/fault-site/z/hostsserverurl.css"
  serve_in_background "$WORK/faults.log" "$FAULTS" 18182 "$WORK/fault-site" "$1"
  faults=$server
  fault_log="$WORK/faults-$1.log"
}
good=http://127.0.0.1:18182/z/hosts/main.txt
fault=http://127.0.0.1:18182/fault
protected_hosts() {
  wine attrib -h -s -r 'C:\windows\system32\drivers\etc\hosts' >/dev/null 2>&1
  cp "$WORK/hosts-before" "$HOSTS"
}

protected_hosts
fault_server 404,500,html,empty "$fault" "$good"
settings_for 18182
run_scenario fetch_gives_up_official fetch_gives_up "s|@GIVEUP@|【实时】服多次失败，请排查相应问题。|g"
check "four attempts, one fault each" test "$(grep -c '^fault ' "$WORK/faults.log")" = 4
check "no bad body reached the hosts file" cmp -s "$WORK/hosts-before" "$HOSTS"
finish_scenario
kill $faults; wait $faults 2>/dev/null; cp "$WORK/faults.log" "$fault_log"

fault_server truncated,overcap,binary "$good" "$fault"
settings_for 18182
sed -i 's/XFWQ=1/XFWQ=2/' "$DATA/System.btx"
run_scenario fetch_gives_up_backup fetch_gives_up "s|@GIVEUP@|【备用】服多次失败，请排查相应问题。|g"
check "three attempts, one fault each" test "$(grep -c '^fault ' "$WORK/faults.log")" = 3
check "no bad body reached the hosts file" cmp -s "$WORK/hosts-before" "$HOSTS"
finish_scenario
kill $faults; wait $faults 2>/dev/null; cp "$WORK/faults.log" "$fault_log"

fault_server hang,ok "$fault" "$good"
settings_for 18182
# Each key once: the first of a name is the one that counts, as on Windows.
sed -i 's/XFWQ=1/XFWQ=3/; s/ZFJH=0/ZFJH=1/; s|ZURL=\r|ZURL=http://127.0.0.1:1/refused.txt\r|' "$DATA/System.btx"
run_scenario fetch_falls_back
check "the official server's text after a hang and a retry" grep -qa 'fault-server-ok' "$HOSTS"
finish_scenario
kill $faults; wait $faults 2>/dev/null; cp "$WORK/faults.log" "$fault_log"

# 8. A newer version on the cloud: the update prompt, and the program ends.
rm -rf "$WORK/new-site" "$WORK/new-demo"
cp -r "$ROOT/cloud/demo" "$WORK/new-demo"
sed -i 's/^Version=.*/Version=1.7/' "$WORK/new-demo/site.ini"
"$CLOUD" publish "$WORK/new-demo/site.ini" "$WORK/new-site" --origin http://127.0.0.1:18183 >/dev/null
serve_in_background "$WORK/new-cloud.log" "$CLOUD" serve "$WORK/new-site" --port 18183
cloud=$server
settings_for 18183
run_scenario update_prompt
check "the cloud's version was read" grep -q 'GET /z/bb.css -> 200' "$WORK/new-cloud.log"
finish_scenario
kill $cloud; wait $cloud 2>/dev/null

fi

if [ -z "${ZK_E2E_ONLY_FETCH:-}${ZK_E2E_ONLY_EDITOR:-}${ZK_E2E_ONLY_NETWORK:-}${ZK_E2E_ONLY_HOSTS:-}" ]; then
  customise
fi
[ -z "${ZK_E2E_ONLY_FETCH:-}${ZK_E2E_ONLY_EDITOR:-}${ZK_E2E_ONLY_NETWORK:-}${ZK_E2E_ONLY_HOSTS:-}" ] && personal_starts
[ -z "${ZK_E2E_ONLY_FETCH:-}${ZK_E2E_ONLY_EDITOR:-}${ZK_E2E_ONLY_NETWORK:-}${ZK_E2E_ONLY_HOSTS:-}" ] && share_window
[ -z "${ZK_E2E_ONLY_FETCH:-}${ZK_E2E_ONLY_EDITOR:-}${ZK_E2E_ONLY_NETWORK:-}${ZK_E2E_ONLY_HOSTS:-}" ] && help_and_shortcuts

wineserver -w
echo "screenshots: $SHOTS"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
