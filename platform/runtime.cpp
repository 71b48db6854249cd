#include "platform/runtime.h"

#include <cassert>

namespace zk {

bool Mailbox::post(std::function<void()> job) {
  std::lock_guard lock(m_);
  if (!rt_) return false;
  rt_->post(std::move(job));
  return true;
}

void Mailbox::close() {
  std::lock_guard lock(m_);
  rt_ = nullptr;
}

Runtime::~Runtime() {
  closeMailbox();
}

void Runtime::start(TaskSlot slot, Task<> task) {
  stop(slot);
  if (!task.valid()) return;
  std::uint64_t id = nextId_++;
  Record rec;
  rec.root = task.release();
  rec.slot = slot;
  tasks_.emplace(id, rec);
  slots_[slot] = id;
  resume(id, tasks_[id].root);
}

void Runtime::stop(TaskSlot slot) {
  auto it = slots_.find(slot);
  if (it == slots_.end()) return;
  std::uint64_t id = it->second;
  slots_.erase(it);
  auto rec = tasks_.find(id);
  if (rec == tasks_.end()) return;
  rec->second.slot.reset();
  if (rec->second.resuming) {
    // The task is stopping itself (or a task it called): unwind at its next wait.
    rec->second.stopRequested = true;
    rec->second.stop.request_stop();
    return;
  }
  destroy(id);
}

bool Runtime::isRunning(TaskSlot slot) const {
  return slots_.count(slot) != 0;
}

void Runtime::stopAll() {
  while (!slots_.empty()) stop(slots_.begin()->first);
}

void Runtime::suspendCurrent(int ms, std::coroutine_handle<> h) {
  assert(current_ != 0 && "pumpWait outside of a task");
  std::uint64_t id = current_;
  Record& rec = tasks_[id];
  rec.waiting = h;
  if (rec.stopRequested) return;  // finish() unwinds it
  rec.timer = callAfter(ms, [this, id] {
    auto it = tasks_.find(id);
    if (it == tasks_.end()) return;
    it->second.timer = 0;
    resume(id, it->second.waiting);
  });
}

std::uint64_t Runtime::suspendForResult(std::coroutine_handle<> h) {
  assert(current_ != 0 && "offload outside of a task");
  tasks_[current_].waiting = h;
  return current_;
}

void Runtime::resumeFromResult(std::uint64_t id) {
  auto it = tasks_.find(id);
  if (it == tasks_.end() || it->second.stopRequested) return;  // stopped meanwhile
  resume(id, it->second.waiting);
}

void Runtime::resume(std::uint64_t id, std::coroutine_handle<> h) {
  std::uint64_t outer = current_;
  current_ = id;
  tasks_[id].resuming = true;
  h.resume();
  current_ = outer;
  finish(id);
}

void Runtime::finish(std::uint64_t id) {
  auto it = tasks_.find(id);
  if (it == tasks_.end()) return;
  it->second.resuming = false;
  if (it->second.root.done() || it->second.stopRequested) {
    if (it->second.slot) {
      auto s = slots_.find(*it->second.slot);
      if (s != slots_.end() && s->second == id) slots_.erase(s);
    }
    destroy(id);
  }
}

void Runtime::destroy(std::uint64_t id) {
  auto it = tasks_.find(id);
  if (it == tasks_.end()) return;
  Record rec = it->second;
  tasks_.erase(it);
  if (rec.timer) cancel(rec.timer);
  rec.stop.request_stop();
  // Destroying the root frame runs the destructors of every frame it awaits.
  rec.root.destroy();
}

Timer::Timer(Runtime& rt, std::function<void()> onTick) : rt_(rt), onTick_(std::move(onTick)) {}

Timer::~Timer() {
  *alive_ = false;
  if (pending_) rt_.cancel(pending_);
}

void Timer::setPeriod(int ms) {
  if (pending_) rt_.cancel(pending_);
  pending_ = 0;
  period_ = ms < 0 ? 0 : ms;
  if (period_ > 0) arm();
}

void Timer::arm() {
  std::weak_ptr<bool> alive = alive_;
  pending_ = rt_.callAfter(period_, [this, alive] {
    if (alive.expired() || !*alive.lock()) return;
    pending_ = 0;
    int before = period_;
    onTick_();
    // The handler may have changed the period (re-armed or stopped the timer).
    if (pending_ == 0 && period_ > 0 && period_ == before) arm();
  });
}

}  // namespace zk
