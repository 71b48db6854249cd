// The hosts pack as a command of its own: the editor hands over the document's bytes when its
// progress strip has run, and the build goes on even when "获取数据" replaces the editor; only
// the editor's close stops it.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "main/program_values.h"
#include "platform/files.h"
#include "platform/prompt.h"
#include "platform/runtime.h"
#include "platform/system.h"
#include "platform/zip.h"

namespace zk {

struct HostsPackServices {
  Runtime& rt;
  FileSystem& fs;
  ZipWriter& zip;
  SpecialFolders& folders;
  Clock& clock;
  Prompter& prompt;
  const ProgramValues& values;
};

class HostsPackTask {
 public:
  explicit HostsPackTask(HostsPackServices s) : s_(s) {}
  ~HostsPackTask();
  HostsPackTask(const HostsPackTask&) = delete;
  HostsPackTask& operator=(const HostsPackTask&) = delete;

  // Builds the pack of these bytes on a worker, then says how it went and calls onEnd (on the
  // UI thread, not when stopped). While an earlier build is still on a worker (a stopped one
  // too, until it has left the tree) nothing starts: two builds would share one folder.
  void start(std::string hostsBytes, std::function<void()> onEnd);
  // At once: the worker ends at its next piece and leaves any earlier archive as it was.
  void stop();
  bool busy() const { return running_->load(); }

 private:
  Task<> build(std::string hostsBytes, std::function<void()> onEnd);

  HostsPackServices s_;
  // True from the start of a build until its worker has let go of the tree.
  std::shared_ptr<std::atomic<bool>> running_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace zk
