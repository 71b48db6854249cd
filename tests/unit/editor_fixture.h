// The editor, its search window, the add-entry dialog and the hosts-file commands on fakes.
#pragma once

#include "editor/add_entry.h"
#include "editor/editor.h"
#include "editor/hosts_commands.h"
#include "editor/search.h"
#include "tests/support/editor_fakes.h"
#include "tests/support/fakes.h"
#include "tests/support/virtual_runtime.h"

namespace zk::test {

struct EditorBench {
  static constexpr const char* kHosts = "C:\\Windows\\System32\\drivers\\etc\\hosts";
  static constexpr const char* kDesktopCopy = "C:\\Users\\张三\\Desktop\\hosts";

  VirtualRuntime rt;
  FakeFileSystem fs;
  ProgramValues values;
  HostsAccess hosts{rt, fs, values};
  FakePrompter prompt;
  FakeClipboard clipboard;
  FakeFolders folders;
  FakeRandom random;
  FakeFileDialogs dialogs;
  SharedFileDialog dialog{dialogs};
  FakeProcesses processes;
  FakeShell shell;
  FakeMainView main;

  EditorBench() {
    values.systemHostsPath = kHosts;
    values.dataFolder = "C:\\Users\\张三\\AppData\\Roaming\\Orvik\\Nimbet";
    values.systemFolder = "C:\\Windows\\system32\\";
    fs.addFolder("C:\\Windows\\System32\\drivers\\etc");
    fs.addFolder(values.dataFolder);
    fs.addFolder(folders.desktopPath);
  }
  std::string hostsBytes() { return fs.bytes(kHosts); }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (auto& s : prompt.shown) out.push_back(s.text);
    return out;
  }
  const FakePrompter::Shown& lastBox() const { return prompt.shown.back(); }
};

}  // namespace zk::test
