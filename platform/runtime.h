// The task runtime: named task slots, message-pumping waits, offloaded blocking work, timers.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <type_traits>
#include <utility>

#include "platform/task.h"

namespace zk {

// One slot per kind of background activity. Starting a task in a slot stops the one in it.
enum class TaskSlot {
  Startup,
  TempRebuild,
  CloudConnection,
  Customisation,
  LoadSettings,
  SettingsOpen,
  SettingsSave,
  AddressBlink,
  MainCommand,
  Indicator,
  StatusReader,
  FetchStart,
  Sync,
  Writer,
  StatusRefresh,
  NavigationSlide,
  Reveal,
  EditorLoad,
  EditorCompare,
  EditorCommand,
  EditorClose,
  QuickSearch,
  SearchFind,
  HostsCommand,
  AddEntry,
  FlushDnsCache,
  RepairDnsClient,
  RestartAdapter,
  AutomaticAddressing,
  DnsApply,
  DnsTicker,
  Ping,
  ExternalIpLookup,
  SettingsWiden,
  SettingsPersonal,
  PersonalWindow,
  HostsPack,
  Help,
};

class Runtime;

// The one way back to the UI thread for work done on a worker. Workers hold it by shared_ptr, so
// it outlives the runtime: once the runtime is gone it is closed, and a result that arrives then
// is dropped (and freed) instead of reaching a runtime that no longer exists.
class Mailbox {
 public:
  explicit Mailbox(Runtime* rt) : rt_(rt) {}
  // Any thread. False when the runtime is gone.
  bool post(std::function<void()> job);
  // Called by the runtime as it ends; waits for a post under way to finish.
  void close();

 private:
  std::mutex m_;
  Runtime* rt_;
};

class Runtime {
 public:
  using Job = std::function<void()>;

  virtual ~Runtime();

  // Stops whatever runs in the slot, then runs the new task up to its first wait.
  void start(TaskSlot slot, Task<> task);
  // Cooperative stop: the task's frame is unwound at its current wait (or, when the task
  // stops itself, at its next one). No thread is ever killed.
  void stop(TaskSlot slot);
  bool isRunning(TaskSlot slot) const;
  void stopAll();

  // Milliseconds of a monotonic clock (virtual in tests).
  virtual std::int64_t nowMs() const = 0;

  // Backend, UI thread only: run a job after ms milliseconds, or cancel it.
  virtual std::uint64_t callAfter(int ms, Job job) = 0;
  virtual void cancel(std::uint64_t id) = 0;
  // Backend: run work on a worker thread. Work reaches the UI thread only through post().
  virtual void runInBackground(Job work) = 0;
  // Backend, any thread: run a job on the UI thread soon.
  virtual void post(Job job) = 0;

  struct WaitAwaiter {
    Runtime& rt;
    int ms;
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> h) { rt.suspendCurrent(ms, h); }
    void await_resume() const noexcept {}
  };
  // Waits while the interface keeps processing messages.
  WaitAwaiter pumpWait(int ms) { return WaitAwaiter{*this, ms < 0 ? 0 : ms}; }

  // The result of offloaded work: fn() or, for work that watches its task, fn(stop).
  template <class F>
  static auto runWork(F& fn, const std::stop_token& stop) {
    if constexpr (std::is_invocable_v<F&, std::stop_token>)
      return fn(stop);
    else
      return fn();
  }

  template <class F>
  struct OffloadAwaiter {
    using R = decltype(runWork(std::declval<F&>(), std::declval<const std::stop_token&>()));
    struct Box {
      std::optional<R> value;
    };
    Runtime& rt;
    F fn;
    std::shared_ptr<Box> box = std::make_shared<Box>();
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> h) {
      std::uint64_t id = rt.suspendForResult(h);
      Runtime* self = &rt;  // used only on the UI thread, by a job the mailbox delivered
      rt.runInBackground(
          [mailbox = rt.mailbox_, self, id, stop = rt.stopTokenOf(id), box = box, fn = std::move(fn)]() mutable {
            // The task was stopped before a worker took this up: nobody waits for it, so it never
            // starts (a queue of abandoned blocking jobs would hold up everything behind it).
            if (stop.stop_requested()) return;
            box->value.emplace(runWork(fn, stop));
            mailbox->post([self, id] { self->resumeFromResult(id); });
          });
    }
    R await_resume() { return std::move(*box->value); }
  };
  // Runs blocking work on a worker; the task resumes on the UI thread with its result. Work that
  // takes a std::stop_token is handed one that is set when the task is stopped, so a long wait
  // can end early; work whose task is stopped before it starts is dropped.
  // Await it as a named variable when fn captures anything: GCC 12 destroys a temporary
  // awaiter's captures twice.
  template <class F>
  OffloadAwaiter<F> offload(F fn) {
    return OffloadAwaiter<F>{*this, std::move(fn)};
  }

 protected:
  // Every backend calls this first in its destructor: no worker reaches it afterwards.
  void closeMailbox() { mailbox_->close(); }

 private:
  struct Record {
    std::coroutine_handle<> root;
    std::coroutine_handle<> waiting;
    std::uint64_t timer = 0;
    bool resuming = false;
    bool stopRequested = false;
    std::optional<TaskSlot> slot;
    std::stop_source stop;  // set when the task is stopped; its offloaded work sees it
  };

  void suspendCurrent(int ms, std::coroutine_handle<> h);
  std::uint64_t suspendForResult(std::coroutine_handle<> h);
  std::stop_token stopTokenOf(std::uint64_t id) { return tasks_[id].stop.get_token(); }
  void resumeFromResult(std::uint64_t id);
  void resume(std::uint64_t id, std::coroutine_handle<> h);
  void finish(std::uint64_t id);
  void destroy(std::uint64_t id);

  std::map<std::uint64_t, Record> tasks_;
  std::map<TaskSlot, std::uint64_t> slots_;
  std::uint64_t nextId_ = 1;
  std::uint64_t current_ = 0;
  std::shared_ptr<Mailbox> mailbox_ = std::make_shared<Mailbox>(this);
};

// A window-timer-like ticker: period 0 stops it; each tick is one unit whatever its length.
class Timer {
 public:
  Timer(Runtime& rt, std::function<void()> onTick);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void setPeriod(int ms);
  int period() const { return period_; }

 private:
  void arm();
  Runtime& rt_;
  std::function<void()> onTick_;
  int period_ = 0;
  std::uint64_t pending_ = 0;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace zk
