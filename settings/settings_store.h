// System.btx: the loaded settings, load and apply, and the main window's server and blocking
// choices, which this object owns (the window's buttons mirror them).
#pragma once

#include <string>

#include "main/main_view.h"
#include "main/program_values.h"
#include "main/retry_counter.h"
#include "main/welcome_animation.h"
#include "platform/files.h"
#include "platform/ini_file.h"
#include "platform/prompt.h"
#include "platform/runtime.h"
#include "settings/settings_keys.h"

namespace zk {

// The values of the last load. Switches are on only when their value was exactly "1".
struct LoadedSettings {
  std::string server;  // as stored: "1", "2", "3", empty or anything else
  std::string customAddress;
  bool welcomeAnimation = false;
  bool emojiPointer = false;
  bool protectHostsFile = false;
  bool openNavigation = false;
  bool adBlocking = false;
  bool navigationBlocking = false;
};

class SettingsStore {
 public:
  SettingsStore(FileSystem& fs, Prompter& prompt, Runtime& rt, MainView& view, const ProgramValues& values,
                WelcomeAnimation& welcome, RetryCounter& retry);

  std::string read(Key key) const;
  // False when the file could not be written (the old value stays).
  bool write(Key key, const std::string& value);
  IniFile personalIni() const;

  // Reads the settings, waits 200 ms, then shows them in the main window.
  Task<> loadAndApply();
  const LoadedSettings& loaded() const { return loaded_; }

  // The server whose radio button is ticked (None: no button is), and the server chosen for the
  // fetch, which the fetch start takes from the ticked button.
  Server ticked() const { return ticked_; }
  void tick(Server server);
  Server serverChoice() const { return serverChoice_; }
  void setServerChoice(Server s) { serverChoice_ = s; }
  bool adBlocking() const { return adBlocking_; }
  bool navigationBlocking() const { return navigationBlocking_; }

  // The server buttons and the blocking boxes of the main window.
  bool onCommand(MainCommand command);
  // Main-window commands: a radio button was clicked (and so is ticked), a box was clicked.
  void onOfficialClicked();
  void onBackupClicked();
  void onCustomClicked();
  void onAdBlockingClicked();
  void onNavigationBlockingClicked();

  void setEmojiPointer(bool on) { view_.setEmojiPointerOnAll(on); }

 private:
  void choose(Server s, const char* value);
  void setAdBlocking(bool on);
  void setNavigationBlocking(bool on);

  FileSystem& fs_;
  Prompter& prompt_;
  Runtime& rt_;
  MainView& view_;
  const ProgramValues& values_;
  WelcomeAnimation& welcome_;
  RetryCounter& retry_;
  LoadedSettings loaded_;
  Server ticked_ = Server::None;
  Server serverChoice_ = Server::None;
  bool adBlocking_ = false, navigationBlocking_ = false;
};

}  // namespace zk
