#include "main/decorative_line.h"

#include <algorithm>
#include <memory>
#include <random>

namespace zk {

namespace {
std::function<int(int, int)> defaultRandom() {
  auto engine = std::make_shared<std::minstd_rand>(std::random_device{}());
  return [engine](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(*engine); };
}
}  // namespace

DecorativeLine::DecorativeLine(Runtime& rt, MainView& view, std::function<int(int, int)> random)
    : view_(view),
      random_(random ? std::move(random) : defaultRandom()),
      sweepTimer_(rt, [this] { sweepTick(); }),
      stepTimer_(rt, [this] { step_ = random_(1, 10); }) {}

void DecorativeLine::place() {
  geometry_ = {0, kTop, 0, kHeight};
  view_.setLineGeometry(geometry_);
}

void DecorativeLine::start() {
  view_.setLineVisible(true);
  sweepTimer_.setPeriod(1);
}

void DecorativeLine::stop() {
  sweepTimer_.setPeriod(0);
  view_.setLineVisible(false);
}

void DecorativeLine::startStepTimer(int periodMs) {
  stepTimer_.setPeriod(periodMs);
}

void DecorativeLine::sweepTick() {
  const int windowWidth = view_.windowWidth();
  if (geometry_.width < windowWidth) {
    // First the line grows until it spans the window...
    geometry_.width = std::min(geometry_.width + step_, windowWidth);
  } else {
    // ...then its left end runs after the right one until the line has left the window.
    geometry_.left += step_;
    if (geometry_.left > windowWidth) {
      restart();
      return;
    }
  }
  view_.setLineGeometry(geometry_);
}

void DecorativeLine::restart() {
  view_.setLineVisible(false);
  sweepTimer_.setPeriod(0);
  view_.setLineColour(Rgb{static_cast<std::uint8_t>(random_(0, 255)), static_cast<std::uint8_t>(random_(0, 255)),
                          static_cast<std::uint8_t>(random_(0, 255))});
  place();
  start();
}

}  // namespace zk
