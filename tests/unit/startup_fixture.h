// A whole program's logic wired to in-memory doubles and virtual time.
#pragma once

#include "app/startup.h"
#include "main/skins.h"
#include "main/temp_folder.h"
#include "main/welcome_animation.h"
#include "settings/settings_store.h"
#include "tests/support/fakes.h"
#include "tests/support/virtual_runtime.h"

namespace zk::test {

inline constexpr const char* kData = "C:\\Users\\张三\\AppData\\Roaming\\Orvik\\Nimbet";

struct Program {
  FakeFileSystem fs;
  FakeRegistry registry;
  FakeFolders folders;
  FakeShell shell;
  FakeProcesses processes;
  FakePrompter prompt;
  FakeMainView view;
  VirtualRuntime rt;
  ProgramValues values;
  WelcomeAnimation welcome{rt, view};
  RetryCounter retry{view};
  SettingsStore settings{fs, prompt, rt, view, values, welcome, retry};
  TempFolder temp{fs, processes, rt, values};
  SkinRotation skins{rt, view};
  int customisationStarts = 0;

  Program() {
    fs.addFolder(folders.appDataPath);
    fs.addFolder(folders.desktopPath);
    fs.addFolder("C:\\Windows\\System32\\drivers\\etc");
    fs.addFile(folders.ownFolderPath + "\\Zelkora.exe", "MZ-image-bytes");
    registry.values["system\\currentcontrolset\\services\\tcpip\\parameters\\databasepath"] =
        "C:\\Windows\\System32\\drivers\\etc";
  }

  Task<> customisation() {
    ++customisationStarts;
    co_return;
  }

  // Runs start-up until it has finished (it waits 200 ms while loading settings).
  void start() {
    Startup startup(StartupServices{fs, registry, folders, shell, prompt, rt}, values, view, settings, temp, skins,
                    welcome, StartupHooks{{}, [this] { return customisation(); }});
    rt.start(TaskSlot::Startup, startup.run());
    rt.advance(600);
    ASSERT_FALSE(rt.isRunning(TaskSlot::Startup));
  }

  std::string data(const std::string& name) { return std::string(kData) + "\\" + name; }
};

}  // namespace zk::test
