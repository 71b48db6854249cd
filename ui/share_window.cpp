#include "ui/share_window.h"

#include <richedit.h>

#include "platform/win32/wide.h"
#include "ui/art.h"

namespace zk::ui {
namespace {

struct Tile {
  int id;
  ShareCommand command;
  const char* caption;
  const wchar_t* mark;
  Rgb colour;
};
constexpr Tile kTiles[] = {
    {IDP_SH_QZONE, ShareCommand::QZone, "QQ空间", L"Q", {240, 170, 20}},
    {IDP_SH_WEIBO, ShareCommand::Weibo, "新浪微博", L"微", {230, 40, 40}},
    {IDP_SH_QR, ShareCommand::QrCode, "二维码", L"码", {70, 70, 70}},
    {IDP_SH_TIEBA, ShareCommand::Tieba, "百度贴吧", L"贴", {45, 100, 220}},
    {IDP_SH_TENCENT, ShareCommand::TencentWeibo, "腾讯微博", L"腾", {30, 150, 210}},
    {IDP_SH_TWITTER, ShareCommand::Twitter, "Twitter", L"t", {29, 161, 242}},
};

}  // namespace

HWND ShareWindow::open() {
  dragStrip_ = 36;
  std::vector<ControlSpec> c = {
      {IDB_SH_CLOSE, Kind::ClickLabel, "×", 433, 4, 26, 26},
      {IDT_SH_INTRO, Kind::Label, "Zelkora是Tessaly主打家族成员，永久免费。您可以通过以下方式来支持我们：", 16, 46, 432,
       40},
  };
  for (int i = 0; i < 6; ++i) c.push_back({kTiles[i].id, Kind::Picture, kTiles[i].caption, 16 + i * 73, 92, 66, 74});
  c.push_back({IDB_SH_COPY, Kind::Button, "复制", 16, 178, 80, 28});
  c.push_back({IDE_SH_TEXT, Kind::Log, "", 16, 214, 432, 84});
  HWND h = create(L"ZelkoraShare", "分享发布", 465, 314, WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX,
                  WS_EX_APPWINDOW, c);
  SendMessageW(ctl(IDE_SH_TEXT), EM_SETTARGETDEVICE, 0, 0);  // lines wrap at the box's width
  setTextColour(IDT_SH_INTRO, {255, 255, 255});
  for (const Tile& t : kTiles) bindClick(t.id, int(t.command));
  bindCommands({{IDB_SH_CLOSE, int(ShareCommand::Close)}, {IDB_SH_COPY, int(ShareCommand::Copy)}},
               int(ShareCommand::Close));
  return h;
}

void ShareWindow::paintPicture(int id, HDC dc, const RECT& r) {
  for (const Tile& t : kTiles)
    if (t.id == id) art::shareTile(dc, r, t.colour, t.mark, win::widen(t.caption).c_str(), s(1000) / 1000.0);
}

void ShareWindow::paintBackground(HDC dc, int w, int h) {
  titledBackground(dc, w, h, RGB(36, 58, 96), RGB(18, 26, 44), L"分享发布");
}

}  // namespace zk::ui
