#include "ui/bandwidth_window.h"

#include <richedit.h>

namespace zk::ui {

HWND BandwidthWindow::open() {
  dragStrip_ = 36;
  std::vector<ControlSpec> c = {
      {IDB_BW_CLOSE, Kind::ClickLabel, "×", 413, 4, 26, 26},
      {IDT_BW_CAPTION, Kind::Label, "我的宽带是：", 16, 62, 96, 24},
      {IDE_BW_INPUT, Kind::Edit, "", 112, 56, 176, 32},
      {IDT_BW_UNIT, Kind::Label, "M（兆），", 296, 62, 120, 24},
      {IDE_BW_OUTPUT, Kind::Log, "", 14, 104, 416, 113},
      {IDT_BW_COPIED, Kind::Label, "换算的内容已复制完毕！", 14, 230, 300, 24},
  };
  HWND h = create(L"ZelkoraBandwidth", "宽带换算", 445, 344, WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX,
                  WS_EX_APPWINDOW, c);
  setVisible(IDT_BW_COPIED, false);
  setTextColour(IDT_BW_COPIED, {255, 255, 0});
  SendMessageW(ctl(IDE_BW_OUTPUT), EM_SETREADONLY, FALSE, 0);  // the user may select and edit the sentence
  SendMessageW(ctl(IDE_BW_OUTPUT), EM_SETTARGETDEVICE, 0, 0);  // lines wrap at the box's width
  bindCommands({{IDB_BW_CLOSE, int(BandwidthCommand::Close)}}, int(BandwidthCommand::Close));
  bindChange(IDE_BW_INPUT, int(BandwidthCommand::InputChanged));
  return h;
}

void BandwidthWindow::paintBackground(HDC dc, int w, int h) {
  titledBackground(dc, w, h, RGB(36, 58, 96), RGB(18, 26, 44), L"宽带换算");
}

}  // namespace zk::ui
