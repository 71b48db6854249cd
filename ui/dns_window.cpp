#include "ui/dns_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include "platform/win32/wide.h"
#include "ui/art.h"

namespace zk::ui {

namespace {

constexpr int kWidth = 724, kHeight = 490;
constexpr int kColumns[7] = {10, 111, 212, 313, 414, 515, 616};
constexpr int kRows[9] = {53, 102, 150, 198, 229, 260, 309, 358, 389};
constexpr int kGroupRow[6] = {0, 1, 2, 3, 6, 7};  // the first grid row of each group
constexpr UINT_PTR kSpinTimer = 1;

// The picture a preset button carries: its own, or its group's template button's.
int badgeOwner(int index) {
  const DnsPreset& p = kDnsPresets[index];
  std::string caption = p.caption;
  if (p.group == 2 || p.group == 3 || caption == "谷歌公司" || caption == "Open公司") return index;
  for (const char* owner : {"东北地区", "V2exDNS", "谷歌公司V6", "根A(美国)"})
    for (int i = 0; i < kDnsPresetCount; ++i)
      if (kDnsPresets[i].group == p.group && owner == std::string(kDnsPresets[i].caption)) return i;
  return index;
}

}  // namespace

void DnsWindow::setIcon(HICON icon) {
  if (!icon) return;
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

HWND DnsWindow::open() {
  dragStrip_ = 34;
  std::vector<ControlSpec> c = {
      {IDP_DNS_BUSY, Kind::Picture, "", 10, 8, 20, 20},
      {IDT_DNS_STATUS, Kind::Label, kDnsIdleText, 36, 9, 420, 20},
      {IDT_DNS_AUTOMATIC, Kind::ClickLabel, "一键改为自动获取", 500, 10, 110, 18, nullptr, true},
      {IDT_DNS_NOTES, Kind::ClickLabel, "相关说明", 620, 10, 60, 18, nullptr, true},
      {IDB_DNS_CLOSE, Kind::ClickLabel, "×", 692, 4, 26, 26},
      {IDT_DNS_CUSTOM_CAP, Kind::Label, "自定义填写DNS（本框填写的是首选DNS，备用DNSZelkora自动填写）：", 10, 424, 600,
       20},
      {IDT_DNS_IPV4_CAP, Kind::Label, "IPv4DNS：", 40, 453, 86, 22},
      {IDE_DNS_CUSTOM, Kind::Edit, "", 128, 447, 304, 32},
      {IDB_DNS_APPLY, Kind::Button, "应用", 440, 447, 100, 32},
      {IDT_DNS_SUGGEST, Kind::ClickLabel, "不知？点击在线自动建议", 552, 455, 160, 20, nullptr, true},
      {IDH_DNS_LINE1, Kind::HiddenEdit, "", 0, 0, 10, 10},
      {IDH_DNS_LINE2, Kind::HiddenEdit, "", 0, 0, 10, 10},
  };
  for (int g = 0; g < 6; ++g)
    c.push_back({IDT_DNS_GROUP + g, Kind::Label, kDnsGroupCaptions[g], 10, kRows[kGroupRow[g]] - 20, 420, 18});
  for (int i = 0; i < kDnsPresetCount; ++i)
    c.push_back({IDB_DNS_PRESET + i, Kind::Picture, kDnsPresets[i].caption, kColumns[i % 7], kRows[i / 7], 100, 30,
                 kDnsPresets[i].hoverText});
  c.push_back({IDP_DNS_OVERLAY, Kind::Picture, "", 0, 0, kWidth, kHeight});
  HWND h = create(L"ZelkoraDns", kDnsIdleText, kWidth, kHeight,
                  WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_APPWINDOW, c);
  SetWindowPos(ctl(IDP_DNS_OVERLAY), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  setVisible(IDP_DNS_OVERLAY, false);
  setVisible(IDP_DNS_BUSY, false);
  for (int id : {IDT_DNS_AUTOMATIC, IDT_DNS_NOTES, IDT_DNS_SUGGEST}) setTextColour(id, {255, 220, 90});
  using C = DnsCommand;
  bindCommands({}, int(C::Close));
  for (int i = 0; i < kDnsPresetCount; ++i)
    SetWindowSubclass(ctl(IDB_DNS_PRESET + i), presetProc, 2, reinterpret_cast<DWORD_PTR>(this));
  bindClick(IDB_DNS_APPLY, int(C::Apply));
  bindClick(IDB_DNS_CLOSE, int(C::Close));
  // The links act on the press of the mouse button.
  bindPress(IDT_DNS_AUTOMATIC, int(C::Automatic));
  bindPress(IDT_DNS_NOTES, int(C::Notes));
  bindPress(IDT_DNS_SUGGEST, int(C::Suggest));
  bindKey(IDE_DNS_CUSTOM, VK_RETURN, int(C::Apply));
  SetFocus(ctl(IDE_DNS_CUSTOM));
  return h;
}

LRESULT CALLBACK DnsWindow::presetProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<DnsWindow*>(data);
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // Not passed on: the picture control would report its click on the press.
      SetCapture(h);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == h) {
        ReleaseCapture();
        RECT r;
        GetClientRect(h, &r);
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        if (PtInRect(&r, p) && self->onCommand) {
          auto fn = self->onCommand;  // the handler may replace itself
          fn(GetDlgCtrlID(h) - IDB_DNS_PRESET);
        }
      }
      return 0;
    case WM_NCDESTROY: RemoveWindowSubclass(h, presetProc, 2); break;
  }
  return DefSubclassProc(h, msg, wp, lp);
}

void DnsWindow::setStatus(const std::string& text) {
  status_ = win::widen(text);
  setText(IDT_DNS_STATUS, text);
  if (IsWindowVisible(ctl(IDP_DNS_OVERLAY))) InvalidateRect(ctl(IDP_DNS_OVERLAY), nullptr, FALSE);
}

void DnsWindow::setBusy(bool shown) {
  setVisible(IDP_DNS_BUSY, shown);
  if (shown)
    SetTimer(hwnd(), kSpinTimer, 100, nullptr);
  else
    KillTimer(hwnd(), kSpinTimer);
}

void DnsWindow::setOverlay(bool shown) {
  showOverlay(IDP_DNS_OVERLAY, shown);
}

void DnsWindow::setCommandLines(const std::string& first, const std::string& second) {
  setText(IDH_DNS_LINE1, first);
  setText(IDH_DNS_LINE2, second);
}

LRESULT DnsWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == kSpinTimer) {
    ++frame_;
    InvalidateRect(ctl(IDP_DNS_BUSY), nullptr, FALSE);
    if (IsWindowVisible(ctl(IDP_DNS_OVERLAY))) InvalidateRect(ctl(IDP_DNS_OVERLAY), nullptr, FALSE);
    return 0;
  }
  return Form::handle(msg, wp, lp);
}

void DnsWindow::paintBackground(HDC dc, int w, int h) {
  titledBackground(dc, w, h, RGB(34, 64, 110), RGB(16, 30, 54), L"");
}

void DnsWindow::paintPicture(int id, HDC dc, const RECT& r) {
  double scale = s(1000) / 1000.0;
  if (id == IDP_DNS_BUSY) {
    art::spinner(dc, r, frame_);
  } else if (id == IDP_DNS_OVERLAY) {
    paintOverlaySnapshot(dc, r);
    art::veil(dc, r, status_.c_str(), scale);
  } else if (id >= IDB_DNS_PRESET && id < IDB_DNS_PRESET + kDnsPresetCount) {
    int index = id - IDB_DNS_PRESET;
    int owner = badgeOwner(index);
    const DnsPreset& p = kDnsPresets[owner];
    std::wstring caption = win::widen(kDnsPresets[index].caption);
    wchar_t badge = p.group == 6 ? 0 : win::widen(p.caption).front();
    if (p.group == 1) badge = L'电';
    // A button without servers (it does nothing) is drawn grey.
    art::dnsButton(dc, r, badge, owner, caption.c_str(), kDnsPresets[index].family != DnsFamily::None, scale);
  }
}

}  // namespace zk::ui
