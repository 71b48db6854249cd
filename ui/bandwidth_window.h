// The bandwidth converter window.
#pragma once

#include "nettools/bandwidth.h"
#include "ui/form.h"

namespace zk::ui {

enum BandwidthId : int {
  IDB_BW_CLOSE = 500,
  IDT_BW_CAPTION = 501,
  IDE_BW_INPUT = 502,
  IDT_BW_UNIT = 503,
  IDE_BW_OUTPUT = 504,
  IDT_BW_COPIED = 505,
};

class BandwidthWindow : public Form, public BandwidthView {
 public:
  HWND open();
  std::string input() const override { return text(IDE_BW_INPUT); }
  void setOutput(const std::string& t) override { setText(IDE_BW_OUTPUT, t); }
  void showCopiedLabel() override { setVisible(IDT_BW_COPIED, true); }
  void close() override { destroyLater(); }

 protected:
  void paintBackground(HDC dc, int w, int h) override;
};

}  // namespace zk::ui
