// The about window: version, release date, copyright.
#pragma once

#include "main/about.h"
#include "ui/form.h"

namespace zk::ui {

enum AboutId : int {
  IDB_ABOUT_CLOSE = 100,
  IDP_ABOUT_LOGO = 101,
  IDT_ABOUT_VERSION = 102,
  IDT_ABOUT_DATE = 103,
  IDT_ABOUT_COPYRIGHT = 104,
  IDT_ABOUT_HOME = 105,
};

class AboutWindow : public Form, public AboutView {
 public:
  HWND open();
  void setTexts(const std::string& version, const std::string& released, const std::string& copyright) override;
  void close() override { destroyLater(); }

 protected:
  void paintBackground(HDC dc, int w, int h) override;
  void paintPicture(int id, HDC dc, const RECT& r) override;
};

}  // namespace zk::ui
