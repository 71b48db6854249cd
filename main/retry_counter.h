// The retry counter box of the main window: the fetch's retry count, as last shown, with its rule.
#pragma once

#include <string>

#include "main/main_view.h"

namespace zk {

class RetryCounter {
 public:
  explicit RetryCounter(MainView& view) : view_(view) {}

  // The box shows the text; whenever its value is then exactly 3, the retry count goes back to 0.
  void setBox(int value);
  int box() const { return box_; }
  // The running count of automatic retries.
  int count() const { return count_; }
  void countUp() { ++count_; }

 private:
  MainView& view_;
  int box_ = 0;  // the box's design text is "0"
  int count_ = 0;
};

}  // namespace zk
