// The Windows runtime and process waits under load: abandoned blocking work never holds the
// workers the rest of the program needs.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stop_token>

#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_runtime.h"

namespace zk {
namespace {

using namespace win;
using Clock = std::chrono::steady_clock;

// Dispatches messages until the condition holds or the time is up; true when it held.
bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  auto end = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() > end) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(5);
  }
  return true;
}

struct Counts {
  std::atomic<int> entered{0}, left{0};
};

Task<> waitsOnALongProcess(Runtime& rt, Processes& proc, const std::string& line, Counts& counts) {
  auto running = rt.offload([&proc, &counts, line](std::stop_token stop) {
    ++counts.entered;
    ProcessOutcome o = proc.runHiddenTreeAndWait(line, "", 60000, stop);
    ++counts.left;
    return o;
  });
  co_await running;
}

Task<> quickWork(Runtime& rt, bool& done) {
  auto work = rt.offload([] { return 1; });
  done = co_await work == 1;
}

std::string systemTool(const char* name) {
  wchar_t buf[MAX_PATH] = {};
  GetSystemDirectoryW(buf, MAX_PATH);
  std::string dir;
  for (wchar_t* p = buf; *p; ++p) dir += static_cast<char>(*p);
  return "\"" + dir + "\\" + name + "\"";
}

// Thirty starts of a long ping in one slot, as when Enter is held in the ping box: other work
// still gets a worker at once, and every ping process that was started is ended with its task.
TEST(Win32RuntimeLoad, ThirtyAbandonedPingsNeitherStarveOtherWorkNorKeepRunning) {
  Win32Runtime rt;
  Win32Processes proc;
  Counts counts;
  const std::string line = systemTool("cmd.exe") + " /d /c \"" + systemTool("ping.exe") + " -n 40 127.0.0.1 >nul\"";
  for (int i = 0; i < 30; ++i) {
    rt.start(TaskSlot::Ping, waitsOnALongProcess(rt, proc, line, counts));
    pumpUntil([] { return false; }, std::chrono::milliseconds(10));
  }
  ASSERT_GE(counts.entered.load(), 1);
  bool done = false;
  auto t0 = Clock::now();
  rt.start(TaskSlot::DnsApply, quickWork(rt, done));
  EXPECT_TRUE(pumpUntil([&] { return done; }, std::chrono::milliseconds(5000)));
  EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(1500));
  // The last ping too is ended when its task stops; none runs on for its forty seconds.
  rt.stop(TaskSlot::Ping);
  EXPECT_TRUE(pumpUntil([&] { return counts.left.load() == counts.entered.load(); }, std::chrono::milliseconds(8000)))
      << counts.left.load() << " of " << counts.entered.load() << " process waits ended";
}

Task<> blocksUntil(Runtime& rt, HANDLE release, std::atomic<int>& running) {
  auto blocked = rt.offload([release, &running] {
    ++running;
    WaitForSingleObject(release, 20000);
    --running;
    return 0;
  });
  co_await blocked;
}

// Eight tasks that each hold a worker in a long blocking call, none of them stopped: the ninth
// still gets a worker of its own at once.
TEST(Win32RuntimeLoad, BlockedWorkersNeverQueueTheNextJob) {
  Win32Runtime rt;
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> running{0};
  const TaskSlot slots[] = {TaskSlot::Startup,       TaskSlot::TempRebuild,  TaskSlot::CloudConnection,
                            TaskSlot::Customisation, TaskSlot::LoadSettings, TaskSlot::SettingsOpen,
                            TaskSlot::SettingsSave,  TaskSlot::AddressBlink};
  for (TaskSlot slot : slots) rt.start(slot, blocksUntil(rt, release, running));
  EXPECT_TRUE(pumpUntil([&] { return running.load() == 8; }, std::chrono::milliseconds(3000)));
  bool done = false;
  rt.start(TaskSlot::DnsApply, quickWork(rt, done));
  EXPECT_TRUE(pumpUntil([&] { return done; }, std::chrono::milliseconds(2000)));
  SetEvent(release);
  rt.stopAll();
  EXPECT_TRUE(pumpUntil([&] { return running.load() == 0; }, std::chrono::milliseconds(3000)));
  CloseHandle(release);
}

TEST(Win32RuntimeLoad, ATreeWaitGivesTheExitCodeAndEndsOnlyWhenStopped) {
  Win32Processes proc;
  std::stop_source never;
  ProcessOutcome three =
      proc.runHiddenTreeAndWait(systemTool("cmd.exe") + " /d /c exit 3", "", 10000, never.get_token());
  EXPECT_TRUE(three.started && three.ended);
  EXPECT_EQ(three.exitCode, 3u);
  std::stop_source early;
  early.request_stop();
  EXPECT_FALSE(
      proc.runHiddenTreeAndWait(systemTool("cmd.exe") + " /d /c exit 0", "", 10000, early.get_token()).started);
}

}  // namespace
}  // namespace zk
