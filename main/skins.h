// The main window's looks and the 10-second skin rotation.
#pragma once

#include "main/main_view.h"
#include "platform/runtime.h"

namespace zk {

// The start-up look (index 0) and the seven rotating skins.
const Skin& skinLook(int index);

class SkinRotation {
 public:
  SkinRotation(Runtime& rt, MainView& view);
  void start() { timer_.setPeriod(10'000); }
  int index() const { return index_; }

 private:
  void tick();
  MainView& view_;
  Timer timer_;
  int index_ = 0;
};

}  // namespace zk
