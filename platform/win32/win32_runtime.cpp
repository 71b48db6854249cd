#include "platform/win32/win32_runtime.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace zk::win {

namespace {
constexpr UINT kPostedJob = WM_APP + 1;  // jobs are waiting in posted_
constexpr UINT kDueNow = WM_APP + 2;     // wParam: the id of a zero-delay job
// Every job that finds no idle worker gets a new one, so blocking work (a process that runs for a
// minute, a slow download) never queues the rest of the program behind it. Each task has at most
// one job at a time and a stopped task's job is dropped before it starts, so the count stays near
// the number of tasks; the cap only guards against a fault.
constexpr int kMaxWorkers = 64;
// Workers beyond these few end after a while without work.
constexpr int kKeptWorkers = 4;
constexpr auto kIdleEnd = std::chrono::seconds(30);
}  // namespace

// Worker threads are detached and share the queue by shared_ptr: the program never waits for
// (or kills) a worker that is blocked in a slow call when it exits. When the runtime ends, the
// jobs not yet started are freed and each worker ends after the job it is in.
struct Win32Runtime::Pool {
  std::mutex m;
  std::condition_variable cv;
  std::deque<Job> jobs;
  int threads = 0;
  int idle = 0;
  bool closed = false;
};

Win32Runtime::Win32Runtime() : pool_(std::make_shared<Pool>()) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ZelkoraRuntime";
  RegisterClassW(&wc);
  hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Runtime::~Win32Runtime() {
  closeMailbox();
  std::deque<Job> unstarted;
  {
    std::lock_guard lock(pool_->m);
    pool_->closed = true;
    unstarted.swap(pool_->jobs);
  }
  pool_->cv.notify_all();
  unstarted.clear();
  stopAll();
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

std::int64_t Win32Runtime::nowMs() const {
  return static_cast<std::int64_t>(GetTickCount64());
}

std::uint64_t Win32Runtime::callAfter(int ms, Job job) {
  std::uint64_t id = nextId_++;
  pending_.emplace(id, std::move(job));
  if (ms <= 0)
    PostMessageW(hwnd_, kDueNow, static_cast<WPARAM>(id), 0);
  else
    SetTimer(hwnd_, static_cast<UINT_PTR>(id), static_cast<UINT>(ms), nullptr);
  return id;
}

void Win32Runtime::cancel(std::uint64_t id) {
  if (pending_.erase(id)) KillTimer(hwnd_, static_cast<UINT_PTR>(id));
}

void Win32Runtime::fire(std::uint64_t id) {
  KillTimer(hwnd_, static_cast<UINT_PTR>(id));
  auto it = pending_.find(id);
  if (it == pending_.end()) return;
  Job job = std::move(it->second);
  pending_.erase(it);
  job();
}

void Win32Runtime::post(Job job) {
  {
    std::lock_guard lock(postedMutex_);
    posted_.push_back(std::move(job));
  }
  PostMessageW(hwnd_, kPostedJob, 0, 0);
}

void Win32Runtime::runPosted() {
  for (;;) {
    Job job;
    {
      std::lock_guard lock(postedMutex_);
      if (posted_.empty()) return;
      job = std::move(posted_.front());
      posted_.pop_front();
    }
    job();
  }
}

void Win32Runtime::runInBackground(Job work) {
  std::shared_ptr<Pool> pool = pool_;
  std::lock_guard lock(pool->m);
  pool->jobs.push_back(std::move(work));
  // Idle workers that have not yet taken a job each take one of those waiting.
  if (pool->idle >= static_cast<int>(pool->jobs.size()) || pool->threads >= kMaxWorkers) {
    pool->cv.notify_one();
    return;
  }
  ++pool->threads;
  std::thread([pool] {
    std::unique_lock lock(pool->m);
    for (;;) {
      ++pool->idle;
      bool woken = pool->cv.wait_for(lock, kIdleEnd, [&] { return pool->closed || !pool->jobs.empty(); });
      --pool->idle;
      if (pool->closed) return;
      if (!woken) {
        if (pool->threads > kKeptWorkers) {
          --pool->threads;
          return;
        }
        continue;
      }
      Job job = std::move(pool->jobs.front());
      pool->jobs.pop_front();
      lock.unlock();
      job();
      lock.lock();
    }
  }).detach();
}

LRESULT CALLBACK Win32Runtime::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Win32Runtime*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_TIMER:
    case kDueNow:
      if (self) self->fire(static_cast<std::uint64_t>(wp));
      return 0;
    case kPostedJob:
      if (self) self->runPosted();
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace zk::win
