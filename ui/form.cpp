#include "ui/form.h"

#include <commctrl.h>
#include <richedit.h>

#include "platform/win32/wide.h"
#include "ui/art.h"

namespace {
// ST_PLAINTEXTONLY, which older headers lack: the text is never read as RTF.
constexpr DWORD kPlainTextOnly = 0x20;
}  // namespace

namespace zk::ui {

using win::narrow;
using win::widen;

int systemDpi(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static auto fn = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (fn && hwnd) return static_cast<int>(fn(hwnd));
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

Form::~Form() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (font_) DeleteObject(font_);
  if (overlaySnapshot_) DeleteObject(overlaySnapshot_);
  if (smallFont_) DeleteObject(smallFont_);
  if (background_) DeleteObject(background_);
  if (white_) DeleteObject(white_);
}

HWND Form::create(const wchar_t* className, const std::string& title, int w, int h, DWORD style, DWORD exStyle,
                  const std::vector<ControlSpec>& controls, int backgroundW) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // Exact sizes: no scaling of a larger image when the window first shows.
    wc.hIcon = static_cast<HICON>(LoadImageW(wc.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                             GetSystemMetrics(SM_CYICON), 0));
    wc.hIconSm = static_cast<HICON>(LoadImageW(wc.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
  }
  specs_ = controls;
  logicalW_ = backgroundW > 0 ? backgroundW : w;
  logicalH_ = h;
  dpi_ = systemDpi(nullptr);
  int x = (GetSystemMetrics(SM_CXSCREEN) - s(w)) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - s(h)) / 2;
  hwnd_ = CreateWindowExW(exStyle, className, widen(title).c_str(), style, x, y, s(w), s(h), owner_, nullptr,
                          GetModuleHandleW(nullptr), this);
  dpi_ = systemDpi(hwnd_);
  white_ = CreateSolidBrush(RGB(255, 255, 255));
  makeFonts();
  makeControls();
  refreshBackground();
  return hwnd_;
}

void Form::makeFonts() {
  for (HFONT f : {font_, smallFont_})
    if (f) DeleteObject(f);
  auto make = [&](int px) {
    return CreateFontW(-s(px), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"微软雅黑");
  };
  font_ = make(12);
  smallFont_ = make(11);
}

// Group boxes are painted here: the window's background inside, a light frame, the caption.
LRESULT CALLBACK Form::groupProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<Form*>(data);
  if (msg == WM_ERASEBKGND) return 1;
  if (msg != WM_PAINT) return DefSubclassProc(h, msg, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT r;
  GetClientRect(h, &r);
  RECT inParent = r;
  MapWindowPoints(h, self->hwnd_, reinterpret_cast<POINT*>(&inParent), 2);
  SetBrushOrgEx(dc, -inParent.left, -inParent.top, nullptr);
  FillRect(dc, &r, self->background_);
  HGDIOBJ oldFont = SelectObject(dc, self->font_);
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  int top = tm.tmHeight / 2;
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(120, 150, 200));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, r.left, r.top + top, r.right, r.bottom, self->s(8), self->s(8));
  wchar_t caption[256] = {};
  GetWindowTextW(h, caption, 256);
  SIZE ext;
  GetTextExtentPoint32W(dc, caption, lstrlenW(caption), &ext);
  RECT band{self->s(6), 0, self->s(6) + ext.cx + self->s(6), tm.tmHeight};
  FillRect(dc, &band, self->background_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(230, 236, 255));
  TextOutW(dc, self->s(9), 0, caption, lstrlenW(caption));
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldFont);
  DeleteObject(pen);
  EndPaint(h, &ps);
  return 0;
}

void Form::makeControls() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  bool firstRadio = true;
  for (const ControlSpec& c : specs_) {
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD ex = 0;
    switch (c.kind) {
      case Kind::Label: style |= SS_LEFT | SS_NOPREFIX; break;
      case Kind::ClickLabel: style |= (c.small ? SS_CENTER : SS_LEFT) | SS_NOTIFY | SS_NOPREFIX; break;
      case Kind::Picture: style |= SS_OWNERDRAW | SS_NOTIFY; break;
      case Kind::Button:
        cls = L"BUTTON";
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
      case Kind::Check:
        cls = L"BUTTON";
        style |= BS_AUTOCHECKBOX | WS_TABSTOP;
        break;
      case Kind::Radio:
        cls = L"BUTTON";
        style |= BS_AUTORADIOBUTTON | (firstRadio ? WS_GROUP | WS_TABSTOP : 0);
        firstRadio = false;
        break;
      case Kind::Group:
        cls = L"BUTTON";
        style |= BS_GROUPBOX;
        break;
      case Kind::Edit:
        cls = L"EDIT";
        style |= ES_AUTOHSCROLL | WS_TABSTOP;
        ex = WS_EX_CLIENTEDGE;
        break;
      case Kind::HiddenEdit:
        cls = L"EDIT";
        style = WS_CHILD | ES_AUTOHSCROLL;
        break;
      case Kind::Log:
        cls = MSFTEDIT_CLASS;
        style |= ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL;
        break;
    }
    // A rich edit gets its text only once it is in plain-text mode (the mode can be set only
    // while it is empty).
    bool rich = c.kind == Kind::Log;
    HWND h = CreateWindowExW(ex, cls, rich ? L"" : widen(c.caption).c_str(), style, s(c.x), s(c.y), s(c.w), s(c.h),
                             hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), inst, nullptr);
    if (rich) {
      SendMessageW(h, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
      setRichText(h, c.caption);
    }
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (c.kind == Kind::Group) SetWindowSubclass(h, groupProc, 0, reinterpret_cast<DWORD_PTR>(this));
    if (c.tip) tipTexts_[c.id] = widen(c.tip);
    if (c.small) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(smallFont_), FALSE);
  }
  // A group box frames the controls inside it, so it lies beneath all of them.
  for (const ControlSpec& c : specs_)
    if (c.kind == Kind::Group)
      SetWindowPos(ctl(c.id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Hover hints are registered on the first mouse activity over the window: the tooltip window is
// a top-level window, costly to create, and not needed before the window is on screen.
void Form::makeTips() {
  if (tips_) return;
  tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, hwnd_, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  for (auto& [id, text] : tipTexts_) addTip(id, false);
}

void Form::addTip(int id, bool update) {
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(ctl(id));
  ti.lpszText = tipTexts_[id].data();
  SendMessageW(tips_, update ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Form::showOverlay(int id, bool shown) {
  if (shown && IsWindowVisible(hwnd())) {
    // Taken from the screen: the controls are child windows that a paint of this one leaves out.
    hideTip();
    // Only what is waiting to be painted is painted: a control invalidated here would be erased on
    // the screen at the moment it is read.
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    RECT rc;
    GetClientRect(hwnd(), &rc);
    POINT origin{0, 0};
    ClientToScreen(hwnd(), &origin);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    if (overlaySnapshot_) DeleteObject(overlaySnapshot_);
    overlaySnapshot_ = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    HGDIOBJ old = SelectObject(mem, overlaySnapshot_);
    BitBlt(mem, 0, 0, rc.right, rc.bottom, screen, origin.x, origin.y, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
  }
  setVisible(id, shown);
}

void Form::paintOverlaySnapshot(HDC dc, const RECT& r) const {
  if (!overlaySnapshot_) return;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, overlaySnapshot_);
  BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

void Form::hideTip() {
  if (tips_ && live()) SendMessageW(tips_, TTM_POP, 0, 0);
}

void Form::setTip(int id, const std::string& utf8) {
  if (!live()) return;
  bool known = tipTexts_.count(id) != 0;
  tipTexts_[id] = widen(utf8);
  if (tips_) addTip(id, known);
}

void Form::bindCommands(std::initializer_list<std::pair<int, int>> idToCommand, int closeCommand) {
  for (auto [id, command] : idToCommand) commands_[id] = command;
  closeCommand_ = closeCommand;
}

const ControlSpec* Form::spec(int id) const {
  for (const ControlSpec& c : specs_)
    if (c.id == id) return &c;
  return nullptr;
}

void Form::placeAll() {
  for (const ControlSpec& c : specs_) MoveWindow(ctl(c.id), s(c.x), s(c.y), s(c.w), s(c.h), FALSE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form::move(int id, int x, int y, int w, int h) {
  if (!live()) return;
  for (ControlSpec& c : specs_)
    if (c.id == id) c.x = x, c.y = y, c.w = w, c.h = h;  // kept for relayout at a new DPI
  MoveWindow(ctl(id), s(x), s(y), s(w), s(h), TRUE);
}

void Form::refreshBackground() {
  int w = s(logicalW_), h = s(logicalH_);
  HDC screen = GetDC(hwnd_);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  paintBackground(mem, w, h);
  SelectObject(mem, old);
  DeleteDC(mem);
  ReleaseDC(hwnd_, screen);
  if (background_) DeleteObject(background_);
  background_ = CreatePatternBrush(bmp);
  DeleteObject(bmp);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form::titledBackground(HDC dc, int w, int h, COLORREF top, COLORREF bottom, const wchar_t* title) {
  art::plainBackground(dc, w, h, top, bottom, s(dragStrip_));
  RECT r{s(12), 0, s(300), s(dragStrip_)};
  HFONT f = CreateFontW(-s(16), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"微软雅黑");
  HGDIOBJ old = SelectObject(dc, f);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  DrawTextW(dc, title, -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
  DeleteObject(f);
}

// Text from outside (a page, the cloud, a tool's output) goes into a rich edit as plain text:
// set as text, a page starting with "{\rtf" would be read as a document, with its objects and
// links, by an elevated program.
void Form::setRichText(HWND h, const std::string& utf8) {
  SETTEXTEX how{};
  how.flags = ST_DEFAULT | kPlainTextOnly;
  how.codepage = 1200;  // UTF-16
  std::wstring w = widen(utf8);
  // A rich edit too old for the flag refuses the message; its plain-text mode still holds.
  if (!SendMessageW(h, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(w.c_str())))
    SetWindowTextW(h, w.c_str());
}

void Form::setText(int id, const std::string& utf8) {
  if (!live()) return;
  wchar_t cls[32] = {};
  GetClassNameW(ctl(id), cls, 32);
  if (lstrcmpiW(cls, MSFTEDIT_CLASS) == 0)
    setRichText(ctl(id), utf8);
  else
    SetWindowTextW(ctl(id), widen(utf8).c_str());
  RECT r;
  GetWindowRect(ctl(id), &r);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
  InvalidateRect(hwnd_, &r, TRUE);
}

std::string Form::text(int id) const {
  if (!live()) return {};
  HWND h = ctl(id);
  int n = GetWindowTextLengthW(h);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(h, w.data(), n + 1);
  w.resize(static_cast<size_t>(n));
  return narrow(w);
}

void Form::setTextColour(int id, Rgb c) {
  if (!live()) return;
  colours_[id] = RGB(c.r, c.g, c.b);
  InvalidateRect(ctl(id), nullptr, TRUE);
}

void Form::setVisible(int id, bool visible) {
  ShowWindow(ctl(id), visible ? SW_SHOW : SW_HIDE);
}
bool Form::checked(int id) const {
  return SendMessageW(ctl(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
void Form::setChecked(int id, bool on) {
  SendMessageW(ctl(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

LRESULT Form::handle(UINT msg, WPARAM wp, LPARAM lp) {
  // Being destroyed: no command, no close question, nothing of the logic's any more.
  if (ending_ && (msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_CLOSE || msg == WM_SETCURSOR))
    return DefWindowProcW(hwnd_, msg, wp, lp);
  switch (msg) {
    case WM_SETCURSOR: makeTips(); break;
    case WM_NCHITTEST: {
      LRESULT hit = DefWindowProcW(hwnd_, msg, wp, lp);
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ScreenToClient(hwnd_, &pt);
      return hit == HTCLIENT && pt.y < s(dragStrip_) ? HTCAPTION : hit;
    }
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd_, &r);
      FillRect(reinterpret_cast<HDC>(wp), &r, background_ ? background_ : white_);
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wp);
      HWND child = reinterpret_cast<HWND>(lp);
      int id = GetDlgCtrlID(child);
      wchar_t cls[16] = {};
      GetClassNameW(child, cls, 16);
      if (lstrcmpiW(cls, L"Edit") == 0) return reinterpret_cast<LRESULT>(white_);  // read-only edits
      auto c = colours_.find(id);
      SetTextColor(dc, c != colours_.end() ? c->second : RGB(255, 255, 255));
      SetBkMode(dc, TRANSPARENT);
      // The window's own background continues under the control: labels look transparent.
      RECT r;
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
      SetBrushOrgEx(dc, -r.left, -r.top, nullptr);
      return reinterpret_cast<LRESULT>(background_);
    }
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      HDC dc = di->hDC;
      RECT r = di->rcItem;
      RECT inParent = r;
      MapWindowPoints(di->hwndItem, hwnd_, reinterpret_cast<POINT*>(&inParent), 2);
      SetBrushOrgEx(dc, -inParent.left, -inParent.top, nullptr);
      FillRect(dc, &r, background_);
      paintPicture(static_cast<int>(di->CtlID), dc, r);
      return TRUE;
    }
    case WM_COMMAND: {
      int id = LOWORD(wp);
      int code = HIWORD(wp);
      if (code == EN_CHANGE) {
        auto it = changes_.find(id);
        if (it != changes_.end()) runCommand(it->second);
        return 0;
      }
      if (code == BN_CLICKED || code == STN_CLICKED) {
        auto it = commands_.find(id);
        if (it != commands_.end() && onCommand) {
          auto fn = onCommand;  // the handler may replace itself
          fn(it->second);
        }
        return 0;
      }
      break;
    }
    case WM_CLOSE:
      if (closeCommand_ >= 0 && onCommand) {
        auto fn = onCommand;
        fn(closeCommand_);
        return 0;
      }
      break;
    case kDestroyLater: DestroyWindow(hwnd_); return 0;
    case WM_DESTROY: ending_ = true; break;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wp);
      auto* r = reinterpret_cast<RECT*>(lp);
      SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top, SWP_NOZORDER);
      makeFonts();
      for (const ControlSpec& c : specs_)
        SendMessageW(ctl(c.id), WM_SETFONT, reinterpret_cast<WPARAM>(c.small ? smallFont_ : font_), FALSE);
      placeAll();
      refreshBackground();
      return 0;
    }
    case WM_NCDESTROY: {
      hwnd_ = nullptr;
      if (onDestroyed) onDestroyed();
      return 0;
    }
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Form::runCommand(int command) {
  if (!onCommand || !live()) return;
  auto fn = onCommand;  // the handler may replace itself
  fn(command);
}

void Form::watchInput(int id) {
  SetWindowSubclass(ctl(id), inputProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void Form::bindKey(int id, UINT virtualKey, int command) {
  keys_[{id, virtualKey}] = command;
  watchInput(id);
}

void Form::bindPress(int id, int command) {
  presses_[id] = command;
  watchInput(id);
}

void Form::bindDoubleClick(int id, int command) {
  doubleClicks_[id] = command;
  watchInput(id);
}

LRESULT CALLBACK Form::inputProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<Form*>(data);
  int id = GetDlgCtrlID(h);
  switch (msg) {
    case WM_KEYDOWN: {
      auto it = self->keys_.find({id, static_cast<UINT>(wp)});
      if (it != self->keys_.end()) {
        self->runCommand(it->second);
        return 0;
      }
      break;
    }
    case WM_CHAR:  // the Enter or Tab that a bound key consumed is not typed (no beep in a one-line box)
      if ((wp == '\r' && self->keys_.count({id, VK_RETURN})) || (wp == '\t' && self->keys_.count({id, VK_TAB})))
        return 0;
      break;
    case WM_LBUTTONDOWN: {
      auto it = self->presses_.find(id);
      if (it != self->presses_.end()) {
        int command = it->second;
        LRESULT r = DefSubclassProc(h, msg, wp, lp);  // an edit box takes its focus first
        self->runCommand(command);
        return r;
      }
      break;
    }
    case WM_LBUTTONDBLCLK: {
      auto it = self->doubleClicks_.find(id);
      if (it != self->doubleClicks_.end()) {
        self->runCommand(it->second);
        return 0;
      }
      break;
    }
    case WM_NCDESTROY: RemoveWindowSubclass(h, inputProc, 1); break;
  }
  return DefSubclassProc(h, msg, wp, lp);
}

LRESULT CALLBACK Form::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    auto* self = static_cast<Form*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || self->hwnd_ != hwnd) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->handle(msg, wp, lp);
}

}  // namespace zk::ui
