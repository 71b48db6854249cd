// The network tools on fakes: a data folder with its Tem, the system tools, the connections.
#pragma once

#include "nettools/dns.h"
#include "nettools/network_repair.h"
#include "tests/support/fakes.h"
#include "tests/support/virtual_runtime.h"

namespace zk::test {

inline constexpr const char* kNetData = "C:\\Users\\张 三\\AppData\\Roaming\\Orvik\\Nimbet";

struct NetworkBench {
  VirtualRuntime rt;
  FakeFileSystem fs;
  FakeProcesses processes;
  FakeNetworkInfo network;
  FakePrompter prompt;
  FakeMainView main;
  ProgramValues values;
  TempFolder temp{fs, processes, rt, values};
  NetworkRepair repair{RepairServices{rt, processes, network, prompt, temp, values}};

  NetworkBench() {
    values.dataFolder = kNetData;
    values.systemFolder = "C:\\Windows\\system32\\";
    fs.addFolder(tem());
  }
  static std::string tem() { return std::string(kNetData) + "\\Tem"; }
  static std::string script(const std::string& name) {
    return "\"C:\\Windows\\system32\\cmd.exe\" /c \"\"" + tem() + "\\" + name + "\"\"";
  }
  static std::string tool(const std::string& name, const std::string& arguments) {
    return "\"C:\\Windows\\system32\\" + name + ".exe\" " + arguments;
  }
  const FakePrompter::Shown& lastBox() const { return prompt.shown.back(); }
  void run(TaskSlot slot, Task<> task) {
    rt.start(slot, std::move(task));
    rt.runUntilIdle();
  }
};

}  // namespace zk::test
