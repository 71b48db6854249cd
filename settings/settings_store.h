// System.btx: the kept settings, load and apply, and the main window's server and blocking choices.
#pragma once

#include <string>

#include "platform/files.h"
#include "platform/ini_file.h"
#include "platform/prompt.h"
#include "platform/runtime.h"
#include "settings/main_view.h"
#include "settings/program_values.h"
#include "settings/welcome_animation.h"

namespace zk {

struct KeptSettings {
  std::string xfwq, hydh, zurl, qbmj, aqsx, zddh, adfw, dhfw;
};

class SettingsStore {
 public:
  SettingsStore(FileSystem& fs, Prompter& prompt, Runtime& rt, MainView& view, const ProgramValues& values,
                WelcomeAnimation& welcome);

  std::string read(const std::string& key) const;
  void write(const std::string& key, const std::string& value);
  IniFile personalIni() const;

  // Reads the settings, waits 200 ms, then shows them in the main window.
  Task<> loadAndApply();
  const KeptSettings& kept() const { return kept_; }
  Server serverChoice() const { return serverChoice_; }
  void setServerChoice(Server s) { serverChoice_ = s; }

  // Main-window commands.
  void onOfficialClicked();
  void onBackupClicked();
  void onCustomClicked();
  void onAdBlockingClicked();
  void onNavigationBlockingClicked();

  void setEmojiPointer(bool on) { view_.setEmojiPointerOnAll(on); }

 private:
  void choose(Server s, const char* value);

  FileSystem& fs_;
  Prompter& prompt_;
  Runtime& rt_;
  MainView& view_;
  const ProgramValues& values_;
  WelcomeAnimation& welcome_;
  KeptSettings kept_;
  Server serverChoice_ = Server::None;
};

}  // namespace zk
