#include "ui/ping_window.h"

#include <richedit.h>

namespace zk::ui {

HWND PingWindow::open() {
  dragStrip_ = 36;
  std::vector<ControlSpec> c = {
      {IDB_PG_CLOSE, Kind::ClickLabel, "×", 650, 4, 26, 26},
      {IDT_PG_CAPTION, Kind::Label, "输入IP或域名：", 16, 52, 110, 22},
      {IDE_PG_TARGET, Kind::Edit, "127.0.0.1", 126, 46, 330, 30},
      {IDB_PG_PASTE, Kind::Button, "粘入", 466, 46, 90, 30},
      {IDB_PG_START, Kind::Button, "开始执行", 566, 46, 100, 30},
      {IDE_PG_OUTPUT, Kind::Log, "", 16, 88, 648, 304},
  };
  HWND h = create(L"ZelkoraPing", "IP/域名 Ping工具 （Beta）", 682, 403,
                  WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_APPWINDOW, c);
  SendMessageW(ctl(IDE_PG_OUTPUT), EM_SETTARGETDEVICE, 0, 0);  // lines wrap at the box's width
  using C = PingCommand;
  bindCommands({{IDB_PG_CLOSE, int(C::Close)}, {IDB_PG_PASTE, int(C::Paste)}, {IDB_PG_START, int(C::Start)}},
               int(C::Close));
  bindPress(IDE_PG_TARGET, int(C::TargetPressed));
  bindKey(IDE_PG_TARGET, VK_RETURN, int(C::Start));
  return h;
}

void PingWindow::setOutput(const std::string& t) {
  setText(IDE_PG_OUTPUT, t);
}

void PingWindow::paintBackground(HDC dc, int w, int h) {
  titledBackground(dc, w, h, RGB(30, 70, 90), RGB(14, 32, 44), L"IP/域名 Ping工具 （Beta）");
}

}  // namespace zk::ui
