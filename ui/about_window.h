// The about window: version, release date, copyright.
#pragma once

#include "app/about.h"
#include "ui/form.h"

namespace zk::ui {

enum AboutId : int {
  IDB_ABOUT_CLOSE = 100,
  IDP_ABOUT_LOGO,
  IDT_ABOUT_VERSION,
  IDT_ABOUT_DATE,
  IDT_ABOUT_COPYRIGHT,
  IDT_ABOUT_HOME
};

class AboutWindow : public Form, public AboutView {
 public:
  HWND open();
  void setTexts(const std::string& version, const std::string& released, const std::string& copyright) override;
  void close() override { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

 protected:
  void paintBackground(HDC dc, int w, int h) override;
  void paintPicture(int id, HDC dc, const RECT& r) override;
};

}  // namespace zk::ui
