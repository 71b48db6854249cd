#include "ui/external_ip_window.h"

#include <richedit.h>

namespace zk::ui {

HWND ExternalIpWindow::open() {
  dragStrip_ = 36;
  std::vector<ControlSpec> c = {
      {IDB_IP_CLOSE, Kind::ClickLabel, "×", 438, 4, 26, 26},
      {IDT_IP_CAPTION, Kind::Label, "外网IP：", 40, 74, 80, 24},
      {IDT_IP_VALUE, Kind::Label, kFetchingText, 130, 74, 279, 24},
      {IDT_IP_PLACE_CAPTION, Kind::Label, "地理位置：", 40, 118, 80, 24},
      {IDE_IP_PLACE, Kind::Log, kFetchingText, 130, 114, 280, 72},
      {IDT_IP_REFETCH, Kind::ClickLabel, "重新获取", 130, 214, 80, 22},
      {IDT_IP_COPY, Kind::ClickLabel, "复制信息", 240, 214, 80, 22},
      {IDH_IP_RED, Kind::HiddenEdit, "<span class=\"red\">", 0, 0, 10, 10},
  };
  HWND h = create(L"ZelkoraExternalIp", "显外网IP", 470, 347, WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX,
                  WS_EX_APPWINDOW, c);
  SendMessageW(ctl(IDE_IP_PLACE), EM_SETTARGETDEVICE, 0, 0);
  setLocation(kFetchingText);
  setTextColour(IDT_IP_VALUE, {255, 230, 120});
  for (int id : {IDT_IP_REFETCH, IDT_IP_COPY}) setTextColour(id, {120, 200, 255});
  using C = ExternalIpCommand;
  bindCommands({{IDB_IP_CLOSE, int(C::Close)}}, int(C::Close));
  bindPress(IDT_IP_REFETCH, int(C::Refetch));
  bindPress(IDT_IP_COPY, int(C::Copy));
  return h;
}

// Setting a rich edit's text resets its format: the place's face, size and colour follow each change.
void ExternalIpWindow::setLocation(const std::string& t) {
  setText(IDE_IP_PLACE, t);
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_COLOR | CFM_FACE | CFM_SIZE;
  cf.crTextColor = RGB(0, 136, 255);
  cf.yHeight = 15 * 20 * 3 / 4;  // 15 pixels at 96 dpi, in twips
  lstrcpyW(cf.szFaceName, L"微软雅黑");
  SendMessageW(ctl(IDE_IP_PLACE), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
}

void ExternalIpWindow::paintBackground(HDC dc, int w, int h) {
  titledBackground(dc, w, h, RGB(40, 60, 100), RGB(20, 28, 52), L"显外网IP");
}

}  // namespace zk::ui
