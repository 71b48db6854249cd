// The last stage of the fetch: unlock, compose, write the system hosts file, protect it, flush the
// DNS caches, refresh the status and show the result, narrated in the progress log.
#pragma once

#include <functional>

#include "main/main_view.h"
#include "main/navigation_panel.h"
#include "main/program_values.h"
#include "platform/files.h"
#include "platform/runtime.h"
#include "platform/system.h"
#include "settings/settings_store.h"
#include "sync/fetch.h"
#include "sync/hosts_file.h"
#include "sync/sync_view.h"

namespace zk {

struct WriterServices {
  Runtime& rt;
  FileSystem& fs;
  Processes& processes;
  Clock& clock;
};

class HostsWriter {
 public:
  HostsWriter(WriterServices s, SyncView& view, ProgramValues& values, SettingsStore& settings, FetchPipeline& fetch,
              ProgressLog& log, NavigationPanel& navigation);

  // The fetched texts come as a value: the writer composes them and lets them go.
  void start(Fetched texts);
  // Writes and runs Tem\Dnscache.bat with its wait.
  std::function<Task<>()> refreshDnsClient;
  std::function<void()> stopStatusReader, startStatusReader;
  // Pauses between write attempts on the worker (tests make them instant).
  std::function<void(int)> sleep;

  Task<> run(Fetched texts);

 private:
  WriterServices s_;
  SyncView& view_;
  ProgramValues& values_;
  SettingsStore& settings_;
  FetchPipeline& fetch_;
  ProgressLog& log_;
  NavigationPanel& navigation_;
};

}  // namespace zk
