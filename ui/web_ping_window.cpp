#include "ui/web_ping_window.h"

#include "platform/win32/wide.h"
#include "ui/art.h"

namespace zk::ui {

HWND WebPingWindow::open() {
  std::vector<ControlSpec> c = {{IDT_WP_HINT, Kind::Label, "选择上方超级Ping工具", 0, 0, 160, 22}};
  for (int i = 0; i < kWebPingServiceCount; ++i)
    c.push_back({IDB_WP_SERVICE + i, Kind::Button, kWebPingServices[i].caption, i * 75, 0, 75, 40, nullptr, true});
  HWND h = create(L"ZelkoraWebPing", "超级Ping集合", 755, 481, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_APPWINDOW,
                  c, GetSystemMetrics(SM_CXSCREEN));
  for (int i = 0; i < kWebPingServiceCount; ++i) {
    HWND b = ctl(IDB_WP_SERVICE + i);
    SetWindowLongPtrW(b, GWL_STYLE, GetWindowLongPtrW(b, GWL_STYLE) | BS_MULTILINE);
    bindClick(IDB_WP_SERVICE + i, i);
  }
  bindCommands({}, int(WebPingCommand::Close));
  RECT area{0, s(40), s(755 - 14), s(481)};
  browser_.create(h, area);
  layOut();
  // The hint in the middle of the window until a service is chosen.
  RECT w;
  GetWindowRect(h, &w);
  RECT l;
  GetWindowRect(ctl(IDT_WP_HINT), &l);
  int lw = l.right - l.left;
  SetWindowPos(ctl(IDT_WP_HINT), nullptr, (w.right - w.left) / 2 - lw / 2, (w.bottom - w.top) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  return h;
}

void WebPingWindow::navigate(const std::string& url) {
  browser_.navigate(win::widen(url));
  layOut();
}

// The buttons side by side from the left, at the first one's top; the browser below them as wide
// as the window less 14 pixels and as high as the window.
void WebPingWindow::layOut() {
  RECT first;
  GetWindowRect(ctl(IDB_WP_SERVICE), &first);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&first), 2);
  int x = 0;
  for (int i = 0; i < kWebPingServiceCount; ++i) {
    HWND b = ctl(IDB_WP_SERVICE + i);
    RECT r;
    GetWindowRect(b, &r);
    SetWindowPos(b, nullptr, x, first.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    x += r.right - r.left;
  }
  if (!browser_.created()) return;
  RECT w;
  GetWindowRect(hwnd(), &w);
  browser_.resize(RECT{0, first.bottom, (w.right - w.left) - s(14), first.bottom + (w.bottom - w.top)});
}

LRESULT WebPingWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE) layOut();
  if (msg == WM_DESTROY) browser_.destroy();
  return Form::handle(msg, wp, lp);
}

void WebPingWindow::paintBackground(HDC dc, int w, int h) {
  art::plainBackground(dc, w, h, RGB(60, 80, 110), RGB(30, 40, 60), 0);
}

}  // namespace zk::ui
