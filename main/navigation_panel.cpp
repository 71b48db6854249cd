#include "main/navigation_panel.h"

namespace zk {

NavigationPanel::NavigationPanel(Runtime& rt, MainView& view) : rt_(rt), view_(view), timer_(rt, [this] { tick(); }) {}

Task<> NavigationPanel::open() {
  if (view_.windowWidth() > kClosed) {
    close();
    co_await rt_.pumpWait(600);
  }
  slide(1);
}

void NavigationPanel::slide(int direction) {
  direction_ = direction;
  timer_.setPeriod(1);
}

void NavigationPanel::tick() {
  int width = view_.windowWidth() + 30 * direction_;
  bool end = direction_ > 0 ? width >= kOpen : width <= kClosed;
  if (end) width = direction_ > 0 ? kOpen : kClosed;
  view_.setWindowWidth(width);
  if (!end) return;
  timer_.setPeriod(0);
  view_.layoutTopRight();
}

bool NavigationPanel::onCommand(MainCommand command) {
  if (command == MainCommand::OpenNavigation) rt_.start(TaskSlot::NavigationSlide, open());
  if (command == MainCommand::CloseNavigation) close();
  return command == MainCommand::OpenNavigation || command == MainCommand::CloseNavigation;
}

}  // namespace zk
