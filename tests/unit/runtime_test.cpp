#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/virtual_runtime.h"

namespace zk {
namespace {

using test::VirtualRuntime;

// Records when a task passes each point, and whether its locals were unwound.
struct Trace {
  std::vector<std::string> events;
  int alive = 0;
};
struct Guard {
  Trace& t;
  explicit Guard(Trace& tr) : t(tr) { ++t.alive; }
  ~Guard() { --t.alive; }
};

Task<int> inner(Runtime& rt, Trace& t) {
  Guard g(t);
  co_await rt.pumpWait(100);
  t.events.push_back("inner@" + std::to_string(rt.nowMs()));
  co_return 7;
}

Task<> outer(Runtime& rt, Trace& t) {
  Guard g(t);
  t.events.push_back("start@" + std::to_string(rt.nowMs()));
  int v = co_await inner(rt, t);
  co_await rt.pumpWait(50);
  t.events.push_back("end " + std::to_string(v) + "@" + std::to_string(rt.nowMs()));
}

TEST(Runtime, TaskRunsToFirstWaitAtOnceAndResumesOnVirtualTime) {
  VirtualRuntime rt;
  Trace t;
  rt.start(TaskSlot::MainCommand, outer(rt, t));
  EXPECT_EQ(t.events, std::vector<std::string>{"start@0"});
  rt.advance(99);
  EXPECT_EQ(t.events.size(), 1u);
  rt.runUntilIdle();
  EXPECT_EQ(t.events, (std::vector<std::string>{"start@0", "inner@100", "end 7@150"}));
  EXPECT_FALSE(rt.isRunning(TaskSlot::MainCommand));
  EXPECT_EQ(t.alive, 0);
}

TEST(Runtime, StartingASlotStopsItsTaskAndUnwindsNestedFrames) {
  VirtualRuntime rt;
  Trace first, second;
  rt.start(TaskSlot::MainCommand, outer(rt, first));
  rt.advance(30);
  EXPECT_EQ(first.alive, 2);  // outer and inner frames hold their locals
  rt.start(TaskSlot::MainCommand, outer(rt, second));
  EXPECT_EQ(first.alive, 0);
  rt.runUntilIdle();
  EXPECT_EQ(first.events, std::vector<std::string>{"start@0"});
  EXPECT_EQ(second.events.back(), "end 7@180");
}

TEST(Runtime, SlotsAreIndependentAndStopAllEndsEverything) {
  VirtualRuntime rt;
  Trace a, b;
  rt.start(TaskSlot::MainCommand, outer(rt, a));
  rt.start(TaskSlot::TempRebuild, outer(rt, b));
  rt.stop(TaskSlot::TempRebuild);
  rt.runUntilIdle();
  EXPECT_EQ(a.events.size(), 3u);
  EXPECT_EQ(b.events.size(), 1u);
  rt.start(TaskSlot::MainCommand, outer(rt, a));
  rt.stopAll();
  EXPECT_EQ(a.alive, 0);
  EXPECT_TRUE(rt.idle());
}

Task<> stopsItself(Runtime& rt, Trace& t) {
  Guard g(t);
  rt.stop(TaskSlot::MainCommand);
  t.events.push_back("after stop");
  co_await rt.pumpWait(10);
  t.events.push_back("never");
}

TEST(Runtime, ATaskThatStopsItsOwnSlotEndsAtItsNextWait) {
  VirtualRuntime rt;
  Trace t;
  rt.start(TaskSlot::MainCommand, stopsItself(rt, t));
  rt.runUntilIdle();
  EXPECT_EQ(t.events, std::vector<std::string>{"after stop"});
  EXPECT_EQ(t.alive, 0);
  EXPECT_FALSE(rt.isRunning(TaskSlot::MainCommand));
}

Task<> restartsItself(Runtime& rt, Trace& t, int round);
Task<> restartsItself(Runtime& rt, Trace& t, int round) {
  Guard g(t);
  t.events.push_back("round " + std::to_string(round));
  co_await rt.pumpWait(10);
  if (round < 3) rt.start(TaskSlot::MainCommand, restartsItself(rt, t, round + 1));
  co_await rt.pumpWait(10);
  t.events.push_back("tail " + std::to_string(round));
}

TEST(Runtime, ATaskCanRestartItsOwnSlot) {
  VirtualRuntime rt;
  Trace t;
  rt.start(TaskSlot::MainCommand, restartsItself(rt, t, 1));
  rt.runUntilIdle();
  EXPECT_EQ(t.events, (std::vector<std::string>{"round 1", "round 2", "round 3", "tail 3"}));
  EXPECT_EQ(t.alive, 0);
}

Task<> offloads(Runtime& rt, std::vector<int>& got) {
  int v = co_await rt.offload([] { return 41; });
  got.push_back(v + 1);
  std::string s = co_await rt.offload([] { return std::string("worker"); });
  got.push_back(static_cast<int>(s.size()));
}

TEST(Runtime, OffloadedWorkResumesTheTaskWithItsResult) {
  VirtualRuntime rt;
  std::vector<int> got;
  rt.start(TaskSlot::MainCommand, offloads(rt, got));
  EXPECT_TRUE(got.empty());  // the result comes back through the UI queue
  rt.runUntilIdle();
  EXPECT_EQ(got, (std::vector<int>{42, 6}));
}

TEST(Runtime, AResultArrivingForAStoppedTaskIsDropped) {
  VirtualRuntime rt;
  std::vector<int> got;
  rt.start(TaskSlot::MainCommand, offloads(rt, got));
  rt.stop(TaskSlot::MainCommand);
  rt.runUntilIdle();
  EXPECT_TRUE(got.empty());
}

// Workers on real threads; everything else in virtual time.
class ThreadedRuntime : public VirtualRuntime {
 public:
  ~ThreadedRuntime() override { closeMailbox(); }
  void runInBackground(Job work) override { threads.emplace_back(std::move(work)); }
  std::vector<std::thread> threads;
};

Task<> waitsForSlowWork(Runtime& rt, std::shared_future<void> release, std::vector<int>& got) {
  auto slow = rt.offload([release] {
    release.wait();
    return 5;
  });
  got.push_back(co_await slow);
}

// The program ends while a worker is still in a slow call: when it finishes, its result must not
// reach the runtime that is gone.
TEST(Runtime, AWorkerFinishingAfterTheRuntimeIsGoneReachesNothing) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::vector<int> got;
  auto rt = std::make_unique<ThreadedRuntime>();
  rt->start(TaskSlot::MainCommand, waitsForSlowWork(*rt, released, got));
  std::vector<std::thread> workers = std::move(rt->threads);
  rt.reset();
  release.set_value();
  for (std::thread& t : workers) t.join();
  EXPECT_TRUE(got.empty());
}

Task<> offloadsCounted(Runtime& rt, int& ran, std::vector<int>& got) {
  auto work = rt.offload([&ran] { return ++ran; });
  got.push_back(co_await work);
}

// Work handed to a worker that has not started when its task is stopped never runs: a stopped
// task's blocking job must not hold a worker (nor run its side effects) for nobody.
TEST(Runtime, AStoppedTasksQueuedWorkNeverStartsButRunningTasksWorkDoes) {
  VirtualRuntime rt;
  rt.workDelayMs = 100;  // the work waits for a free worker
  int ran = 0;
  std::vector<int> got;
  for (int i = 0; i < 30; ++i) {
    rt.start(TaskSlot::Ping, offloadsCounted(rt, ran, got));
    rt.advance(10);
  }
  rt.start(TaskSlot::MainCommand, offloadsCounted(rt, ran, got));
  rt.stop(TaskSlot::MainCommand);
  rt.runUntilIdle();
  EXPECT_EQ(ran, 1);  // only the last task of the slot
  EXPECT_EQ(got, std::vector<int>{1});
  EXPECT_FALSE(rt.isRunning(TaskSlot::Ping));
}

Task<> watchesItsStop(Runtime& rt, std::vector<std::stop_token>& seen) {
  auto work = rt.offload([&seen](std::stop_token stop) {
    seen.push_back(stop);
    return 0;
  });
  co_await work;
  co_await rt.pumpWait(1000);
}

TEST(Runtime, WorkThatTakesAStopTokenSeesItsTaskStopped) {
  VirtualRuntime rt;
  std::vector<std::stop_token> seen;
  rt.start(TaskSlot::Ping, watchesItsStop(rt, seen));
  rt.advance(10);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_FALSE(seen[0].stop_requested());
  rt.start(TaskSlot::Ping, watchesItsStop(rt, seen));  // the restart stops the first
  rt.advance(10);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_TRUE(seen[0].stop_requested());
  EXPECT_FALSE(seen[1].stop_requested());
  rt.advance(2000);  // a task that ends by itself stops nothing a worker could still hold
  EXPECT_FALSE(rt.isRunning(TaskSlot::Ping));
  rt.start(TaskSlot::Ping, watchesItsStop(rt, seen));
  rt.stopAll();
  EXPECT_TRUE(seen[2].stop_requested());
}

Task<> waitsUntilStopped(Runtime& rt, std::atomic<bool>& sawStop) {
  auto work = rt.offload([&sawStop](std::stop_token stop) {
    for (int i = 0; i < 5000 && !stop.stop_requested(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    sawStop = stop.stop_requested();
    return 0;
  });
  co_await work;
}

// A worker blocked in a long wait is released when its task is stopped on the UI thread.
TEST(Runtime, AStopReachesAWorkerThatIsAlreadyWaiting) {
  ThreadedRuntime rt;
  std::atomic<bool> sawStop{false};
  rt.start(TaskSlot::Ping, waitsUntilStopped(rt, sawStop));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  rt.stop(TaskSlot::Ping);
  for (std::thread& t : rt.threads) t.join();
  EXPECT_TRUE(sawStop);
}

TEST(Timer, TicksAtItsPeriodAndPeriodZeroStopsIt) {
  VirtualRuntime rt;
  int ticks = 0;
  Timer timer(rt, [&] { ++ticks; });
  timer.setPeriod(10);
  rt.advance(95);
  EXPECT_EQ(ticks, 9);
  timer.setPeriod(0);
  rt.advance(100);
  EXPECT_EQ(ticks, 9);
  timer.setPeriod(1);
  rt.advance(500);
  EXPECT_EQ(ticks, 509);  // 1 ms ticks: one unit each
}

TEST(Timer, AHandlerCanStopOrRetimeItsOwnTimer) {
  VirtualRuntime rt;
  int ticks = 0;
  Timer* self = nullptr;
  Timer stopsOnThird(rt, [&] {
    if (++ticks == 3) self->setPeriod(0);
  });
  self = &stopsOnThird;
  stopsOnThird.setPeriod(5);
  rt.advance(100);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(stopsOnThird.period(), 0);

  std::vector<std::int64_t> at;
  Timer* slow = nullptr;
  Timer slowsDown(rt, [&] {
    at.push_back(rt.nowMs());
    slow->setPeriod(20);  // the new period counts from this tick, and only one tick is pending
  });
  slow = &slowsDown;
  std::int64_t start = rt.nowMs();
  slowsDown.setPeriod(5);
  rt.advance(50);
  EXPECT_EQ(at, (std::vector<std::int64_t>{start + 5, start + 25, start + 45}));
}

}  // namespace
}  // namespace zk
