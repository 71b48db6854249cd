#include "main/welcome_animation.h"

namespace zk {

namespace {
constexpr int kCurtainTop = 37;
constexpr int kHoldMs = 2000;
constexpr int kStep = 10;
}  // namespace

WelcomeAnimation::WelcomeAnimation(Runtime& rt, MainView& view)
    : rt_(rt), view_(view), timer_(rt, [this] { tick(); }) {}

int WelcomeAnimation::startHeight() const {
  Rect w = view_.windowRect();
  return w.top + w.height - 200;
}

void WelcomeAnimation::layoutCurtain() {
  view_.setCurtain(Rect{0, kCurtainTop, view_.windowRect().width, startHeight()});
}

void WelcomeAnimation::run(bool on) {
  if (on) {
    timer_.setPeriod(1);
    return;
  }
  timer_.setPeriod(0);
  view_.setCurtainVisible(false);
}

void WelcomeAnimation::tick() {
  Rect c = view_.curtain();
  // The curtain rests for two seconds before it slides. This is a hold between ticks rather
  // than a sleep, so the window keeps painting meanwhile.
  if (c.height == startHeight()) {
    if (holdUntil_ < 0) holdUntil_ = rt_.nowMs() + kHoldMs;
    if (rt_.nowMs() < holdUntil_) return;
  }
  c.height -= kStep;
  if (c.height < 0) {
    c.height = 0;
    view_.setCurtain(c);
    view_.setCurtainVisible(false);
    timer_.setPeriod(0);  // nothing more to show; further ticks would change nothing
    return;
  }
  view_.setCurtain(c);
}

}  // namespace zk
