// The status area: the local file's "# Ti:" stamp against the cloud's filetime.css.
#pragma once

#include <string>

#include "main/program_values.h"
#include "platform/files.h"
#include "platform/runtime.h"
#include "settings/settings_store.h"
#include "sync/cloud.h"
#include "sync/sync_view.h"

namespace zk {

inline constexpr const char* kStatusMatch = "本地与云端文件一致，内容已最新！";

class StatusReader {
 public:
  StatusReader(Runtime& rt, FileSystem& fs, SyncView& view, Cloud& cloud, SettingsStore& settings,
               ProgramValues& values);

  void start();
  void stop();
  // The local and the cloud label.
  bool onCommand(MainCommand command);
  // A click on the local or the cloud label.
  void onRefreshClicked();

  const std::string& localHover() const { return localHover_; }
  const std::string& cloudHover() const { return cloudHover_; }

 private:
  Task<> run();
  Task<> refresh();
  Task<> blink();
  void hover(std::string local, std::string cloud);
  void setLocal(const std::string& text, Rgb colour);
  void setStatusLine(const std::string& text);

  Runtime& rt_;
  FileSystem& fs_;
  SyncView& view_;
  Cloud& cloud_;
  SettingsStore& settings_;
  ProgramValues& values_;
  std::string localHover_, cloudHover_;
  // What the labels show, kept here: the comparison and the blink work on these.
  std::string localLabel_, statusLine_ = "服务正在运行！";
};

}  // namespace zk
