#include "ui/about_window.h"

#include "ui/art.h"

namespace zk::ui {

HWND AboutWindow::open() {
  dragStrip_ = 32;
  std::vector<ControlSpec> c = {
      {IDB_ABOUT_CLOSE, Kind::ClickLabel, "×", 330, 4, 24, 24, "关闭"},
      {IDP_ABOUT_LOGO, Kind::Picture, "", 24, 52, 64, 64},
      {IDT_ABOUT_VERSION, Kind::Label, "", 106, 52, 240, 20},
      {IDT_ABOUT_DATE, Kind::Label, "", 106, 78, 240, 20},
      {IDT_ABOUT_COPYRIGHT, Kind::Label, "", 24, 140, 330, 20},
      {IDT_ABOUT_HOME, Kind::ClickLabel, "官方主页", 106, 104, 80, 20},
  };
  HWND h =
      create(L"ZelkoraAbout", "关于Zelkora", 360, 200, WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU, WS_EX_APPWINDOW, c);
  setTextColour(IDT_ABOUT_HOME, {255, 255, 0});
  bindCommands({{IDB_ABOUT_CLOSE, int(AboutCommand::Close)}, {IDT_ABOUT_HOME, int(AboutCommand::Home)}},
               int(AboutCommand::Close));
  return h;
}

void AboutWindow::setTexts(const std::string& version, const std::string& released, const std::string& copyright) {
  setText(IDT_ABOUT_VERSION, version);
  setText(IDT_ABOUT_DATE, released);
  setText(IDT_ABOUT_COPYRIGHT, copyright);
}

void AboutWindow::paintBackground(HDC dc, int w, int h) {
  titledBackground(dc, w, h, RGB(28, 44, 74), RGB(12, 18, 32), L"关于 Zelkora");
}

void AboutWindow::paintPicture(int id, HDC dc, const RECT& r) {
  if (id == IDP_ABOUT_LOGO) art::logo(dc, r, {255, 61, 0});
}

}  // namespace zk::ui
