#include "personal/hosts_pack_task.h"

#include "personal/packs.h"

namespace zk {

HostsPackTask::~HostsPackTask() {
  stop();
}

void HostsPackTask::start(std::string hostsBytes, std::function<void()> onEnd) {
  if (running_->load()) {
    s_.prompt.show("上一个打包尚未结束，请稍候再试。", "抱歉！", box::Ok);
    if (onEnd) onEnd();
    return;
  }
  running_->store(true);
  s_.rt.start(TaskSlot::HostsPack, build(std::move(hostsBytes), std::move(onEnd)));
}

void HostsPackTask::stop() {
  s_.rt.stop(TaskSlot::HostsPack);
}

Task<> HostsPackTask::build(std::string hostsBytes, std::function<void()> onEnd) {
  PackPlaces places{s_.values.dataFolder, s_.folders.desktop(),
                    s_.folders.ownFolder() + "\\" + s_.folders.ownFileName()};
  LocalTime now = s_.clock.now();
  // The flag is let go when the work is done or dropped unstarted, whichever way the task ends.
  auto release = std::shared_ptr<void>(nullptr, [running = running_](void*) { running->store(false); });
  auto building =
      s_.rt.offload([&fs = s_.fs, &zip = s_.zip, places, now, bytes = std::move(hostsBytes),
                     release](std::stop_token stop) { return buildHostsPack(fs, zip, places, bytes, now, stop); });
  release.reset();
  PackOutcome outcome = co_await building;
  if (outcome == PackOutcome::Done)
    s_.prompt.show("已打包到桌面上！", "恭喜！", box::Ok);
  else if (outcome == PackOutcome::Failed)
    s_.prompt.show("打包没有完成，桌面上的压缩包未能生成。", "抱歉！", box::Ok);
  if (onEnd) onEnd();
}

}  // namespace zk
