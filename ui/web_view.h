// A browser control hosted in a child area of a window (the system's own HTML engine, in place,
// without scroll bars, border or context menu; script errors stay silent).
#pragma once

#include <windows.h>

#include <string>

struct IOleObject;
struct IWebBrowser2;

namespace zk::ui {

class WebView {
 public:
  WebView() = default;
  WebView(const WebView&) = delete;
  WebView& operator=(const WebView&) = delete;
  ~WebView() { destroy(); }

  // False where the HTML engine or the browser control cannot be created or activated; nothing
  // is left behind then, and the caller shows something else in its place.
  bool create(HWND parent, const RECT& area);
  bool created() const { return browser_ != nullptr; }
  void navigate(const std::wstring& url);
  void resize(const RECT& area);
  void destroy();

 private:
  class Site;
  Site* site_ = nullptr;
  IOleObject* object_ = nullptr;
  IWebBrowser2* browser_ = nullptr;
  bool ole_ = false;
};

}  // namespace zk::ui
