#include "ui/add_entry_window.h"

#include "ui/art.h"

namespace zk::ui {

HWND AddEntryWindow::open(HWND owner) {
  owner_ = owner;
  std::vector<ControlSpec> c = {
      {IDT_AE_IP_CAP, Kind::Label, "IP：", 14, 18, 44, 20},
      {IDE_AE_IP, Kind::Edit, AddEntryLogic::kInitialIp, 60, 14, 300, 26},
      {IDT_AE_DOMAIN_CAP, Kind::Label, "域名：", 14, 54, 44, 20},
      {IDE_AE_DOMAIN, Kind::Edit, "", 60, 50, 300, 26},
      {IDT_AE_EXAMPLE, Kind::Label, AddEntryLogic::kExample, 14, 88, 440, 20, nullptr, true},
      {IDT_AE_HINT, Kind::Label, "快捷方法：双击文本框清空  还可以：", 14, 114, 190, 20, nullptr, true},
      {IDT_AE_CLEAR, Kind::ClickLabel, "一键清空、", 204, 114, 60, 20, nullptr, true},
      {IDT_AE_127, Kind::ClickLabel, "快速输入127", 266, 114, 76, 20, nullptr, true},
      {IDT_AE_SEARCH, Kind::ClickLabel, "快输谷歌、", 346, 114, 60, 20, nullptr, true},
      {IDT_AE_SOCIAL, Kind::ClickLabel, "快输脸书", 406, 114, 52, 20, nullptr, true},
      {IDB_AE_CONFIRM, Kind::Button, "确认", 372, 14, 80, 62},
  };
  HWND h =
      create(L"ZelkoraAddEntry", "增/改条目", 474, 180, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, c);
  for (int id : {IDT_AE_CLEAR, IDT_AE_127, IDT_AE_SEARCH, IDT_AE_SOCIAL}) setTextColour(id, {255, 255, 0});
  using C = AddEntryCommand;
  bindCommands({{IDB_AE_CONFIRM, int(C::Confirm)},
                {IDT_AE_CLEAR, int(C::ClearBoth)},
                {IDT_AE_127, int(C::Quick127)},
                {IDT_AE_SEARCH, int(C::QuickSearch)},
                {IDT_AE_SOCIAL, int(C::QuickSocial)}},
               int(C::Close));
  bindChange(IDE_AE_DOMAIN, int(C::DomainChanged));
  bindDoubleClick(IDE_AE_IP, int(C::EmptyIp));
  bindDoubleClick(IDE_AE_DOMAIN, int(C::EmptyDomain));
  return h;
}

void AddEntryWindow::setBox(int id, const std::string& t) {
  setText(id, t);
  auto end = static_cast<LPARAM>(GetWindowTextLengthW(ctl(id)));
  SendMessageW(ctl(id), EM_SETSEL, end, end);
}

void AddEntryWindow::putDomainCaretAtEnd() {
  auto end = static_cast<LPARAM>(GetWindowTextLengthW(ctl(IDE_AE_DOMAIN)));
  SendMessageW(ctl(IDE_AE_DOMAIN), EM_SETSEL, end, end);
}

void AddEntryWindow::paintBackground(HDC dc, int w, int h) {
  art::plainBackground(dc, w, h, RGB(36, 58, 96), RGB(24, 36, 60), 0);
}

}  // namespace zk::ui
