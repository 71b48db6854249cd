// The status area: the local file's "# Ti:" stamp against the cloud's filetime.css.
#pragma once

#include <string>

#include "platform/files.h"
#include "platform/runtime.h"
#include "settings/main_view.h"
#include "settings/program_values.h"
#include "sync/cloud.h"
#include "sync/sync_view.h"

namespace zk {

inline constexpr const char* kStatusMatch = "本地与云端文件一致，内容已最新！";

class StatusReader {
 public:
  StatusReader(Runtime& rt, FileSystem& fs, MainView& main, SyncView& view, Cloud& cloud, ProgramValues& values);

  void start();
  void stop();
  // A click on the local or the cloud label.
  void onRefreshClicked();

  const std::string& localHover() const { return localHover_; }
  const std::string& cloudHover() const { return cloudHover_; }

 private:
  Task<> run();
  Task<> refresh();
  Task<> blink();
  void hover(std::string local, std::string cloud);

  Runtime& rt_;
  FileSystem& fs_;
  MainView& main_;
  SyncView& view_;
  Cloud& cloud_;
  ProgramValues& values_;
  std::string localHover_, cloudHover_;
};

// The leading decimal number of a text; 0 when it does not begin with one.
double leadingNumber(const std::string& text);

}  // namespace zk
