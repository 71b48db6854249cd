// The welcome curtain over the main window and its slide-up animation.
#pragma once

#include <cstdint>

#include "main/main_view.h"
#include "platform/runtime.h"

namespace zk {

class WelcomeAnimation {
 public:
  WelcomeAnimation(Runtime& rt, MainView& view);
  // Puts the curtain under the title strip, as high as the start-up rule says.
  void layoutCurtain();
  // On: the animation runs (1 ms ticks). Off: stopped, and the curtain hidden.
  void run(bool on);
  bool running() const { return timer_.period() != 0; }

 private:
  int startHeight() const;
  void tick();

  Runtime& rt_;
  MainView& view_;
  Timer timer_;
  std::int64_t holdUntil_ = -1;
};

}  // namespace zk
