// The web-ping window: eight service buttons over the hosted browser, laid out at every size.
#pragma once

#include "nettools/web_ping.h"
#include "ui/form.h"
#include "ui/web_view.h"

namespace zk::ui {

enum WebPingId : int {
  IDT_WP_HINT = 800,
  IDB_WP_SERVICE = 810,  // 810 to 817, left to right
};

class WebPingWindow : public Form, public WebPingView {
 public:
  HWND open();
  bool hasBrowser() const override { return browser_.created(); }
  void navigate(const std::string& url) override;
  void hideHint() override { setVisible(IDT_WP_HINT, false); }
  void maximise() override { ShowWindow(hwnd(), SW_MAXIMIZE); }
  void close() override { destroyLater(); }

 protected:
  void paintBackground(HDC dc, int w, int h) override;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void layOut();
  WebView browser_;
};

}  // namespace zk::ui
