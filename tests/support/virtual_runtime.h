// A deterministic runtime for tests: virtual milliseconds, work runs inline.
#pragma once

#include <map>
#include <utility>

#include "platform/runtime.h"

namespace zk::test {

class VirtualRuntime : public Runtime {
 public:
  ~VirtualRuntime() override {
    closeMailbox();
    stopAll();
  }

  std::int64_t nowMs() const override { return now_; }
  std::uint64_t callAfter(int ms, Job job) override {
    std::uint64_t id = nextId_++;
    queue_.emplace(std::make_pair(now_ + (ms < 0 ? 0 : ms), id), std::move(job));
    return id;
  }
  void cancel(std::uint64_t id) override {
    for (auto it = queue_.begin(); it != queue_.end(); ++it)
      if (it->first.second == id) {
        queue_.erase(it);
        return;
      }
  }
  // Work runs at once, or, while workDelayMs is set, that many virtual milliseconds later (a
  // download that takes its time).
  void runInBackground(Job work) override {
    if (workDelayMs > 0)
      callAfter(workDelayMs, std::move(work));
    else
      work();
  }
  int workDelayMs = 0;
  void post(Job job) override { callAfter(0, std::move(job)); }

  // Runs everything due within the next ms milliseconds, in time order.
  void advance(std::int64_t ms) {
    std::int64_t end = now_ + ms;
    while (!queue_.empty() && queue_.begin()->first.first <= end) {
      auto it = queue_.begin();
      now_ = it->first.first;
      Job job = std::move(it->second);
      queue_.erase(it);
      job();
    }
    now_ = end;
  }
  // Runs until nothing is scheduled (or a safety limit of virtual time passes).
  void runUntilIdle(std::int64_t limitMs = 3'600'000) {
    std::int64_t end = now_ + limitMs;
    while (!queue_.empty() && queue_.begin()->first.first <= end) advance(queue_.begin()->first.first - now_);
  }
  bool idle() const { return queue_.empty(); }

 private:
  std::int64_t now_ = 0;
  std::uint64_t nextId_ = 1;
  std::map<std::pair<std::int64_t, std::uint64_t>, Job> queue_;
};

}  // namespace zk::test
