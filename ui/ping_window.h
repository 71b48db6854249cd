// The ping window: the target box, its two buttons and the output box.
#pragma once

#include "nettools/ping.h"
#include "ui/form.h"

namespace zk::ui {

enum PingId : int {
  IDB_PG_CLOSE = 700,
  IDT_PG_CAPTION = 701,
  IDE_PG_TARGET = 702,
  IDB_PG_PASTE = 703,
  IDB_PG_START = 704,
  IDE_PG_OUTPUT = 705,
};

class PingWindow : public Form, public PingView {
 public:
  HWND open();
  std::string target() const override { return text(IDE_PG_TARGET); }
  void setTarget(const std::string& t) override { setText(IDE_PG_TARGET, t); }
  void setOutput(const std::string& t) override;
  void close() override { destroyLater(); }

 protected:
  void paintBackground(HDC dc, int w, int h) override;
};

}  // namespace zk::ui
