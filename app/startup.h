// Everything between the main window's creation and the program being ready for the user.
#pragma once

#include <functional>

#include "main/main_view.h"
#include "main/program_values.h"
#include "main/skins.h"
#include "main/temp_folder.h"
#include "main/welcome_animation.h"
#include "platform/files.h"
#include "platform/prompt.h"
#include "platform/runtime.h"
#include "platform/system.h"
#include "settings/settings_store.h"

namespace zk {

inline constexpr const char* kHostsRegistryKey = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
inline constexpr const char* kHostsRegistryName = "DataBasePath";
inline constexpr const char* kHostsRegistryDefault = "%SystemRoot%\\System32\\drivers\\etc";

struct StartupServices {
  FileSystem& fs;
  Registry& registry;
  SpecialFolders& folders;
  Shell& shell;
  Prompter& prompt;
  Runtime& rt;
};

// The background activities that later subsystems hang on start-up.
struct StartupHooks {
  std::function<Task<>()> cloudConnection;
  std::function<Task<>()> customisation;
};

class Startup {
 public:
  Startup(StartupServices services, ProgramValues& values, MainView& view, SettingsStore& settings, TempFolder& temp,
          SkinRotation& skins, WelcomeAnimation& welcome, StartupHooks hooks);

  // Steps 1 to 13, in order.
  Task<> run();

 private:
  void seedDefaultSettings();
  void installSelfCopy();
  void repairRegistryValue();

  StartupServices s_;
  ProgramValues& values_;
  MainView& view_;
  SettingsStore& settings_;
  TempFolder& temp_;
  SkinRotation& skins_;
  WelcomeAnimation& welcome_;
  StartupHooks hooks_;
};

}  // namespace zk
