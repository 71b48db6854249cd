#include "ui/search_window.h"

#include "platform/win32/wide.h"
#include "ui/art.h"

namespace zk::ui {

HWND SearchWindow::open(HWND editor, HWND document) {
  document_ = document;
  owner_ = editor;
  // Both layouts' controls; the mode shows one set. Rows of the replace layout are 36 apart.
  std::vector<ControlSpec> c = {
      {IDT_SR_SEARCH_CAP, Kind::Label, "搜 索：", 10, 10, 52, 24},
      {IDE_SR_SEARCH, Kind::Edit, "", 64, 4, 300, 30},
      {IDB_SR_SEARCH, Kind::Button, "搜索", 372, 4, 70, 30},
      {IDT_SR_FIND_CAP, Kind::Label, "将文中：", 10, 8, 60, 24},
      {IDE_SR_FIND, Kind::Edit, "", 72, 2, 300, 30},
      {IDT_SR_REPLACE_CAP, Kind::Label, "替换为：", 10, 40, 60, 24},
      {IDE_SR_REPLACE, Kind::Edit, "", 72, 34, 300, 30},
      {IDB_SR_REPLACE_ALL, Kind::Button, "全部替换", 380, 18, 84, 30},
  };
  HWND h = create(L"ZelkoraSearch", "搜索替换", 466, 68, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, c);
  // The three boxes in the larger face of the window's own.
  boxFont_ = CreateFontW(-MulDiv(13, s(96), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"微软雅黑");
  for (int id : {IDE_SR_SEARCH, IDE_SR_FIND, IDE_SR_REPLACE})
    SendMessageW(ctl(id), WM_SETFONT, reinterpret_cast<WPARAM>(boxFont_), TRUE);
  // Over the editor's document, near its top right corner, where it hides little of the text.
  RECT e;
  GetWindowRect(editor, &e);
  SetWindowPos(h, nullptr, e.right - s(466 + 40), e.top + s(96), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  using C = SearchCommand;
  bindCommands({{IDB_SR_SEARCH, int(C::Find)}, {IDB_SR_REPLACE_ALL, int(C::ReplaceAll)}}, int(C::Close));
  bindKey(IDE_SR_SEARCH, VK_RETURN, int(C::FindByEnter));
  return h;
}

void SearchWindow::layOut(SearchMode mode) {
  if (!live()) return;
  bool search = mode == SearchMode::Search;
  setTitle(search ? "搜索" : "替换");
  // The sizes are the window's outer sizes, caption and borders included.
  SetWindowPos(hwnd(), nullptr, 0, 0, s(search ? 466 : 488), s(search ? 68 : 100), SWP_NOMOVE | SWP_NOZORDER);
  for (int id : {IDT_SR_SEARCH_CAP, IDE_SR_SEARCH, IDB_SR_SEARCH}) setVisible(id, search);
  for (int id : {IDT_SR_FIND_CAP, IDE_SR_FIND, IDT_SR_REPLACE_CAP, IDE_SR_REPLACE, IDB_SR_REPLACE_ALL})
    setVisible(id, !search);
}

void SearchWindow::setTitle(const std::string& title) {
  if (!live()) return;
  SetWindowTextW(hwnd(), win::widen(title).c_str());
}

// The editor becomes active with its document focused; this window, its own, stays above it.
void SearchWindow::focusDocument() {
  if (!live() || !IsWindow(document_)) return;
  SetFocus(document_);
  SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void SearchWindow::paintBackground(HDC dc, int w, int h) {
  art::plainBackground(dc, w, h, RGB(36, 58, 96), RGB(24, 36, 60), 0);
}

}  // namespace zk::ui
