// UI-automation driver for the end-to-end tests: runs a script of steps against another
// process's windows. One step a line, fields separated by '|':
//   window|TITLE                     wait until a visible top-level window has this title
//   gone|TITLE                       wait until it is gone or hidden
//   click|TITLE|CONTROL              CONTROL: its caption, or #ID; refused when disabled
//   type|TITLE|CONTROL|TEXT          set an edit box's text
//   text|TITLE|CONTROL|TEXT          wait until the control's text is TEXT
//   contains|TITLE|CONTROL|TEXT|S    wait at most S seconds until the control's text contains TEXT
//   print|TITLE|CONTROL              print the control's text
//   wide|TITLE|N                     wait until the window is at least N pixels wide (at 96 dpi)
//   width|TITLE|N                    wait until the window is exactly N pixels wide (at 96 dpi)
//   left|TITLE|CONTROL|N             wait until the control's left edge is N pixels right of the window's (96 dpi)
//   checked|TITLE|CONTROL|0 or 1     wait until a check box / radio button is so
//   enabled|TITLE|CONTROL|0 or 1
//   visible|TITLE|CONTROL|0 or 1
//   answer|TITLE|ok, yes or no|TEXT  wait for a message box, check its text starts with TEXT, answer
//   shot|TITLE|FILE.png              save a screenshot of the window
//   close|TITLE                      ask the window to close (WM_CLOSE, as the taskbar does)
//   altf4|TITLE                      the system menu's close, as Alt+F4 does
//   launch|COMMAND LINE|TITLE|S      start a program; print the ms until its window is visible (wait
//                                    at most S seconds, 15 when not given)
//   hover|TITLE|CONTROL              move the mouse pointer to the middle of a control
//   screen|FILE.png                  save a screenshot of the whole screen
//   tooltip|TEXT                     wait until a hover hint with this text is shown
//   attributes|PATH|N                the file's attribute bits (read-only, hidden, system, archive) are N
//   exists|PATH|0 or 1               wait until a file or folder is there (1) or not (0)
//   windowwith|TEXT|S                wait until a visible top-level window's title contains TEXT (at
//                                    most S seconds, 15 when not given)
//   closewith|TEXT                   ask that window to close
//   filedialog|TITLE|PATH            answer a common open or save dialog with PATH (Wine's and Windows')
//   clipboard|TEXT                   wait until the clipboard's text contains TEXT
//   setclipboard|TEXT                put TEXT on the clipboard, as another program would
//   chars|TITLE|CONTROL|TEXT         type TEXT into the control, one WM_CHAR a character
//   key|TITLE|CONTROL|VK             press and release a key in the control
//   dblclick|TITLE|CONTROL           double-click the control
//   send|TITLE|CONTROL|MSG|WP|LP     send a message with number arguments to the control
//   sendis|TITLE|CONTROL|MSG|WP|N    wait until sending the message returns N
//   timedclick|TITLE|CONTROL|TITLE2|CONTROL2|MSG|N
//                                    click, print the ms until TITLE2's CONTROL2 answers MSG with N
//   timedchars|TITLE|CONTROL|N       send N WM_CHAR keystrokes (each handled before the next); print ms
// Every wait polls for at most 15 s. Exit code 0 when every step passed.
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>  // needs objidl.h first

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/wide.h"

namespace {

using zk::win::narrow;
using zk::win::widen;

constexpr DWORD kTimeoutMs = 15000;

std::wstring windowText(HWND h) {
  wchar_t buf[8192] = {};
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &got)) return {};
  return std::wstring(buf, got);
}

struct Find {
  std::wstring title;
  bool dialog;
  HWND found = nullptr;
};

BOOL CALLBACK findTop(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<Find*>(lp);
  if (!IsWindowVisible(h)) return TRUE;
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  bool isDialog = std::wstring(cls) == L"#32770";
  if (f->dialog != isDialog) return TRUE;
  if (windowText(h) == f->title) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

HWND topWindow(const std::wstring& title, bool dialog = false) {
  Find f{title, dialog};
  EnumWindows(findTop, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

BOOL CALLBACK findTopWith(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<Find*>(lp);
  if (IsWindowVisible(h) && windowText(h).find(f->title) != std::wstring::npos) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

HWND topWindowWith(const std::wstring& text) {
  Find f{text, false};
  EnumWindows(findTopWith, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

std::wstring clipboardText() {
  std::wstring out;
  if (!OpenClipboard(nullptr)) return out;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
      out = p;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return out;
}

bool setClipboardText(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  bool done = false;
  EmptyClipboard();
  if (HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
    if (auto* p = static_cast<wchar_t*>(GlobalLock(h))) {
      std::copy(text.c_str(), text.c_str() + text.size() + 1, p);
      GlobalUnlock(h);
      done = SetClipboardData(CF_UNICODETEXT, h) != nullptr;
    }
    if (!done) GlobalFree(h);
  }
  CloseClipboard();
  return done;
}

double msSince(const LARGE_INTEGER& t0) {
  LARGE_INTEGER freq, t1;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&t1);
  return (t1.QuadPart - t0.QuadPart) * 1000.0 / freq.QuadPart;
}

struct FindTip {
  std::wstring text;
  bool found = false;
};

BOOL CALLBACK findTip(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<FindTip*>(lp);
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  if (IsWindowVisible(h) && lstrcmpiW(cls, L"tooltips_class32") == 0 && windowText(h) == f->text) {
    f->found = true;
    return FALSE;
  }
  return TRUE;
}

struct FindChild {
  std::wstring caption;
  HWND found = nullptr;
};

BOOL CALLBACK findChild(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<FindChild*>(lp);
  if (windowText(h) == f->caption) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

HWND control(HWND top, const std::wstring& which) {
  if (!top) return nullptr;
  if (!which.empty() && which[0] == L'#') return GetDlgItem(top, std::stoi(which.substr(1)));
  FindChild f{which};
  EnumChildWindows(top, findChild, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// Screen pixels as logical pixels at 96 dpi, the unit the program lays its windows out in.
int at96dpi(int pixels) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return MulDiv(pixels, 96, dpi);
}

template <class Pred>
bool poll(Pred pred, DWORD timeoutMs = kTimeoutMs) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    if (pred()) return true;
    Sleep(25);
  }
  return pred();
}

bool saveShot(HWND h, const std::wstring& file) {
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (h) {
    // Let the window finish painting before it is captured.
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    DWORD_PTR ignored;
    SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    GdiFlush();
    GetWindowRect(h, &r);
  }
  int w = r.right - r.left, hgt = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, hgt);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, hgt, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  CLSID png;
  CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &png);
  Gdiplus::Bitmap image(bmp, nullptr);
  bool ok = image.Save(file.c_str(), &png, nullptr) == Gdiplus::Ok;
  DeleteObject(bmp);
  return ok;
}

std::vector<std::wstring> split(const std::wstring& line) {
  std::vector<std::wstring> out;
  std::wstringstream ss(line);
  std::wstring part;
  while (std::getline(ss, part, L'|')) out.push_back(part);
  return out;
}

// Runs one step; returns an error text, empty on success.
std::wstring step(const std::vector<std::wstring>& f) {
  const std::wstring& cmd = f[0];
  auto arg = [&](size_t i) { return i < f.size() ? f[i] : std::wstring(); };
  if (cmd == L"window") return poll([&] { return topWindow(arg(1)) != nullptr; }) ? L"" : L"no such window";
  if (cmd == L"gone") return poll([&] { return topWindow(arg(1)) == nullptr; }) ? L"" : L"window still there";
  if (cmd == L"close") {
    HWND h = topWindow(arg(1));
    return h && PostMessageW(h, WM_CLOSE, 0, 0) ? L"" : L"no such window";
  }
  if (cmd == L"altf4") {
    HWND h = topWindow(arg(1));
    return h && PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0) ? L"" : L"no such window";
  }
  // A message box of that title is open (and stays so: answer it later).
  if (cmd == L"boxopen") return poll([&] { return topWindow(arg(1), true) != nullptr; }) ? L"" : L"no message box";
  if (cmd == L"answer") {
    HWND box = nullptr;
    if (!poll([&] { return (box = topWindow(arg(1), true)) != nullptr; })) return L"no message box";
    std::wstring text = windowText(GetDlgItem(box, 0xFFFF));
    if (text.compare(0, arg(3).size(), arg(3)) != 0) return L"message box says: " + text;
    int id = arg(2) == L"yes" ? IDYES : arg(2) == L"no" ? IDNO : IDOK;
    HWND button = GetDlgItem(box, id);
    if (!button) return L"message box has no such button";
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return poll([&] { return !IsWindow(box) || !IsWindowVisible(box); }) ? L"" : L"message box stayed open";
  }
  if (cmd == L"launch") {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring line = arg(1);
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return L"could not start";
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    DWORD start = GetTickCount();
    DWORD limit = f.size() > 3 ? static_cast<DWORD>(std::stoi(arg(3))) * 1000 : kTimeoutMs;
    while (!topWindow(arg(2)) && GetTickCount() - start < limit) Sleep(1);
    QueryPerformanceCounter(&t1);
    if (!topWindow(arg(2))) return L"no window";
    std::printf("launch-ms %.1f\n", (t1.QuadPart - t0.QuadPart) * 1000.0 / freq.QuadPart);
    return L"";
  }
  if (cmd == L"tooltip") {
    return poll([&] {
      FindTip f{arg(1)};
      EnumWindows(findTip, reinterpret_cast<LPARAM>(&f));
      return f.found;
    })
               ? L""
               : L"no such hover hint";
  }
  if (cmd == L"attributes") {
    DWORD a = GetFileAttributesW(arg(1).c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return L"no such file";
    DWORD bits = a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    return bits == static_cast<DWORD>(std::stoul(arg(2))) ? L"" : L"attributes are " + std::to_wstring(bits);
  }
  if (cmd == L"exists") {
    bool wanted = arg(2) == L"1";
    return poll([&] { return (GetFileAttributesW(arg(1).c_str()) != INVALID_FILE_ATTRIBUTES) == wanted; }) ? L""
                                                                                                           : L"not so";
  }
  if (cmd == L"screen") return saveShot(nullptr, arg(1)) ? L"" : L"screenshot failed";
  if (cmd == L"windowwith") {
    DWORD limit = f.size() > 2 ? static_cast<DWORD>(std::stoi(arg(2))) * 1000 : kTimeoutMs;
    return poll([&] { return topWindowWith(arg(1)) != nullptr; }, limit) ? L"" : L"no such window";
  }
  if (cmd == L"closewith") {
    HWND h = topWindowWith(arg(1));
    return h && PostMessageW(h, WM_CLOSE, 0, 0) ? L"" : L"no such window";
  }
  if (cmd == L"clipboard") {
    if (poll([&] { return clipboardText().find(arg(1)) != std::wstring::npos; })) return L"";
    return L"clipboard holds: " + clipboardText().substr(0, 200);
  }
  if (cmd == L"setclipboard") return setClipboardText(arg(1)) ? L"" : L"the clipboard did not take the text";
  if (cmd == L"filedialog") {
    // The file name box is control 0x47C (a combo box) in the dialogs of Windows and of Wine.
    HWND dlg = nullptr;
    if (!poll([&] { return (dlg = topWindow(arg(1), true)) != nullptr; })) return L"no file dialog";
    HWND name = nullptr;
    if (!poll([&] { return (name = GetDlgItem(dlg, 0x47C)) != nullptr; })) return L"no file name box";
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg(2).c_str()));
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
    return poll([&] { return !IsWindow(dlg) || !IsWindowVisible(dlg); }) ? L"" : L"file dialog stayed open";
  }
  HWND top = nullptr;
  if (!poll([&] { return (top = topWindow(arg(1))) != nullptr; })) return L"no such window";
  if (cmd == L"shot") return saveShot(top, arg(2)) ? L"" : L"screenshot failed";
  if (cmd == L"wide" || cmd == L"width") {
    const int want = std::stoi(arg(2));
    int seen = 0;
    return poll([&] {
      RECT r;
      GetWindowRect(top, &r);
      seen = at96dpi(r.right - r.left);
      return cmd == L"wide" ? seen >= want : seen == want;
    })
               ? L""
               : L"window is " + std::to_wstring(seen) + L" wide";
  }
  HWND c = nullptr;
  if (!poll([&] { return (c = control(top, arg(2))) != nullptr; })) return L"no such control";
  if (cmd == L"left") {
    int want = std::stoi(arg(3));
    int seen = 0;
    return poll([&] {
      RECT w, r;
      GetWindowRect(top, &w);
      GetWindowRect(c, &r);
      seen = at96dpi(r.left - w.left);
      return seen == want;
    })
               ? L""
               : L"control's left is " + std::to_wstring(seen);
  }
  if (cmd == L"click") {
    if (!IsWindowEnabled(c)) return L"control is disabled";
    wchar_t cls[32] = {};
    GetClassNameW(c, cls, 32);
    if (lstrcmpiW(cls, L"Button") == 0)
      PostMessageW(c, BM_CLICK, 0, 0);
    else
      PostMessageW(top, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), STN_CLICKED), reinterpret_cast<LPARAM>(c));
    return L"";
  }
  if (cmd == L"chars") {
    for (wchar_t ch : arg(3)) {
      DWORD_PTR r;
      if (!SendMessageTimeoutW(c, WM_CHAR, ch, 1, SMTO_ABORTIFHUNG, 5000, &r)) return L"could not type";
    }
    return L"";
  }
  if (cmd == L"key") {
    UINT vk = static_cast<UINT>(std::stoul(arg(3)));
    PostMessageW(c, WM_KEYDOWN, vk, 1);
    PostMessageW(c, WM_KEYUP, vk, 0xC0000001);
    return L"";
  }
  if (cmd == L"press") {  // the mouse button down and up on the control
    if (!IsWindowEnabled(c)) return L"control is disabled";
    PostMessageW(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(c, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    return L"";
  }
  if (cmd == L"dblclick") {
    PostMessageW(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(c, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    PostMessageW(c, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(c, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    return L"";
  }
  if (cmd == L"send") {
    DWORD_PTR r;
    return SendMessageTimeoutW(c, static_cast<UINT>(std::stoul(arg(3))), std::stoull(arg(4)), std::stoll(arg(5)),
                               SMTO_ABORTIFHUNG, 5000, &r)
               ? L""
               : L"no answer";
  }
  if (cmd == L"sendis") {
    DWORD_PTR r = 0;
    auto ask = [&] {
      return SendMessageTimeoutW(c, static_cast<UINT>(std::stoul(arg(3))), std::stoull(arg(4)), 0, SMTO_ABORTIFHUNG,
                                 5000, &r) &&
             static_cast<long long>(r) == std::stoll(arg(5));
    };
    return poll(ask) ? L"" : L"answer is " + std::to_wstring(static_cast<long long>(r));
  }
  if (cmd == L"timedclick") {
    LARGE_INTEGER t0;
    QueryPerformanceCounter(&t0);
    PostMessageW(top, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), STN_CLICKED), reinterpret_cast<LPARAM>(c));
    const long long want = std::stoll(arg(6));
    bool seen = poll(
        [&] {
          HWND t2 = topWindow(arg(3));
          HWND c2 = t2 ? control(t2, arg(4)) : nullptr;
          DWORD_PTR r = 0;
          return c2 &&
                 SendMessageTimeoutW(c2, static_cast<UINT>(std::stoul(arg(5))), 0, 0, SMTO_ABORTIFHUNG, 5000, &r) &&
                 static_cast<long long>(r) == want;
        },
        120000);
    if (!seen) return L"never answered";
    std::printf("timed-ms %.1f\n", msSince(t0));
    return L"";
  }
  if (cmd == L"timedchars") {
    int n = std::stoi(arg(3));
    LARGE_INTEGER t0;
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < n; ++i) {
      DWORD_PTR r;
      if (!SendMessageTimeoutW(c, WM_CHAR, L'a' + i % 26, 1, SMTO_ABORTIFHUNG, 5000, &r)) return L"could not type";
    }
    std::printf("chars-ms %.1f\n", msSince(t0));
    return L"";
  }
  if (cmd == L"hover") {
    RECT r;
    GetWindowRect(c, &r);
    // Twice: the window registers its hover hints on the first mouse activity, and a hint shows
    // on a move over a control that is registered by then.
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Sleep(200);
    SetCursorPos((r.left + r.right) / 2 + 1, (r.top + r.bottom) / 2);
    return L"";
  }
  if (cmd == L"type") {
    DWORD_PTR r;
    return SendMessageTimeoutW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg(3).c_str()), SMTO_ABORTIFHUNG, 2000, &r)
               ? L""
               : L"could not type";
  }
  if (cmd == L"contains") {
    DWORD seconds = f.size() > 4 ? static_cast<DWORD>(std::stoi(arg(4))) : kTimeoutMs / 1000;
    if (poll([&] { return windowText(c).find(arg(3)) != std::wstring::npos; }, seconds * 1000)) return L"";
    return L"text is: " + windowText(c);
  }
  if (cmd == L"print") {
    std::string t = narrow(windowText(c));
    std::printf("%s\n", t.c_str());
    return L"";
  }
  if (cmd == L"text") {
    if (poll([&] { return windowText(c) == arg(3); })) return L"";
    return L"text is: " + windowText(c);
  }
  auto flag = [&](auto get) { return poll([&] { return get() == (arg(3) == L"1"); }) ? L"" : L"state differs"; };
  if (cmd == L"checked") return flag([&] { return SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED; });
  if (cmd == L"enabled") return flag([&] { return IsWindowEnabled(c) != 0; });
  if (cmd == L"visible") return flag([&] { return IsWindowVisible(c) != 0; });
  return L"unknown step";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: zk_driver SCRIPT\n", stderr);
    return 2;
  }
  Gdiplus::GdiplusStartupInput in;
  ULONG_PTR token;
  Gdiplus::GdiplusStartup(&token, &in, nullptr);
  std::ifstream file(argv[1], std::ios::binary);
  if (!file) {
    std::printf("FAIL cannot open the script %s\n", narrow(argv[1]).c_str());
    return 2;
  }
  std::string line;
  int n = 0;
  while (std::getline(file, line)) {
    ++n;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::wstring error = step(split(widen(line)));
    std::printf("%s step %d: %s%s%s\n", error.empty() ? "ok  " : "FAIL", n, line.c_str(), error.empty() ? "" : " -> ",
                narrow(error).c_str());
    std::fflush(stdout);
    if (!error.empty()) return 1;
  }
  return 0;
}
