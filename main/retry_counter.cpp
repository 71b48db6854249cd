#include "main/retry_counter.h"

namespace zk {

void RetryCounter::setBox(int value) {
  box_ = value;
  view_.setRetryCounterText(std::to_string(value));
  if (value == 3) count_ = 0;
}

}  // namespace zk
