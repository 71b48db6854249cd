// The share window: the service tiles, the QR code, the copy button and the share text.
#pragma once

#include "personal/share.h"
#include "ui/form.h"

namespace zk::ui {

enum ShareId : int {
  IDB_SH_CLOSE = 900,
  IDT_SH_INTRO = 901,
  IDB_SH_COPY = 902,
  IDE_SH_TEXT = 903,
  IDP_SH_QZONE = 911,  // the pictures keep their numbers: 911 to 917 for pictures 1 to 7
  IDP_SH_WEIBO = 912,
  IDP_SH_QR = 913,
  IDP_SH_TIEBA = 914,
  IDP_SH_TENCENT = 916,
  IDP_SH_TWITTER = 917,
};

class ShareWindow : public Form, public ShareView {
 public:
  HWND open();
  void setShareText(const std::string& text) override { setText(IDE_SH_TEXT, text); }
  void close() override { destroyLater(); }

 protected:
  void paintBackground(HDC dc, int w, int h) override;
  void paintPicture(int id, HDC dc, const RECT& r) override;
};

}  // namespace zk::ui
