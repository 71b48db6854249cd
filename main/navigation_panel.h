// The navigation panel: the main window slides from 462 to 630 pixels wide and back.
#pragma once

#include "main/main_view.h"
#include "platform/runtime.h"

namespace zk {

class NavigationPanel {
 public:
  static constexpr int kClosed = 462;
  static constexpr int kOpen = 630;

  NavigationPanel(Runtime& rt, MainView& view);
  // As the "导航" label: an open panel is closed first, 600 ms, then it slides open.
  Task<> open();
  void close() { slide(-1); }
  bool sliding() const { return timer_.period() != 0; }
  // "导航" and the panel's closing label.
  bool onCommand(MainCommand command);

 private:
  void slide(int direction);
  void tick();
  Runtime& rt_;
  MainView& view_;
  Timer timer_;
  int direction_ = 1;
};

}  // namespace zk
