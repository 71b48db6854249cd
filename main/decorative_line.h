// The decorative line: a 2-pixel coloured bar under the title strip that grows across the main
// window, slides out to the right and starts again in a new random colour.
#pragma once

#include <functional>

#include "main/main_view.h"
#include "platform/runtime.h"

namespace zk {

class DecorativeLine {
 public:
  static constexpr int kTop = 39;
  static constexpr int kHeight = 2;

  // random(lo, hi): a whole number from lo to hi inclusive.
  DecorativeLine(Runtime& rt, MainView& view, std::function<int(int, int)> random = {});

  // Left 0, top 39, width 0, height 2.
  void place();
  // Shown, sweeping at 1 ms ticks.
  void start();
  // Stopped and hidden.
  void stop();
  // The second timer: a new step of 1 to 10 pixels at each tick.
  void startStepTimer(int periodMs);

  int step() const { return step_; }
  bool sweeping() const { return sweepTimer_.period() != 0; }

 private:
  void sweepTick();
  void restart();

  MainView& view_;
  std::function<int(int, int)> random_;
  Timer sweepTimer_, stepTimer_;
  Rect geometry_{0, kTop, 0, kHeight};
  int step_ = 1;
};

}  // namespace zk
