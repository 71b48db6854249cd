// The task runtime on Windows: a message-only window for timers and posts, a small worker pool.
#pragma once

#include <windows.h>

#include <deque>
#include <map>
#include <memory>
#include <mutex>

#include "platform/runtime.h"

namespace zk::win {

class Win32Runtime : public Runtime {
 public:
  Win32Runtime();
  ~Win32Runtime() override;

  std::int64_t nowMs() const override;
  std::uint64_t callAfter(int ms, Job job) override;
  void cancel(std::uint64_t id) override;
  void runInBackground(Job work) override;
  void post(Job job) override;

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void fire(std::uint64_t id);
  void runPosted();

  struct Pool;
  HWND hwnd_ = nullptr;
  std::map<std::uint64_t, Job> pending_;
  std::uint64_t nextId_ = 1;
  std::shared_ptr<Pool> pool_;
  // Jobs posted from any thread wait here for the UI thread; a message only wakes it. What is
  // still here when the runtime ends is freed with it.
  std::mutex postedMutex_;
  std::deque<Job> posted_;
};

}  // namespace zk::win
