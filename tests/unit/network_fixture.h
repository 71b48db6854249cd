// The network tools on fakes: a data folder with its Tem, the system tools, the connections. The
// system tools act on the fake connections as netsh and ipconfig would, so a read-back sees what
// the commands that ran did (and a command refuses where the real one does).
#pragma once

#include <algorithm>
#include <fstream>
#include <sstream>

#include "nettools/dns.h"
#include "nettools/network_repair.h"
#include "tests/support/fakes.h"
#include "tests/support/virtual_runtime.h"

namespace zk::test {

inline constexpr const char* kNetData = "C:\\Users\\张 三\\AppData\\Roaming\\Orvik\\Nimbet";

// A scripted outcome that is not a clean end means the tool was refused before it did anything;
// a clean one does what the command says, or ends with 1 where the tool would refuse.
class SimulatedTools : public FakeProcesses {
 public:
  explicit SimulatedTools(FakeNetworkInfo& network) : network_(network) {}
  ProcessOutcome runHiddenAndWait(const std::string& line, const std::string& folder, int capMs) override {
    ProcessOutcome o = FakeProcesses::runHiddenAndWait(line, folder, capMs);
    if (o.succeeded() && !act(line)) o.exitCode = 1;
    if (after) after();
    return o;
  }
  std::function<void()> after;  // once a command has acted: what else changed meanwhile

 private:
  bool act(const std::string& line) {
    if (line.find("Restartnetwork.bat") != std::string::npos)
      return setUp("本地连接", false), setUp("本地连接", true), true;
    if (line.find("ZDipdns.bat") != std::string::npos) {
      if (ConnectionState* s = state("本地连接")) s->dhcp = true, s->dnsV4 = {"192.168.1.1"}, s->dnsV6.clear();
      return true;
    }
    if (line.find("netsh.exe") == std::string::npos) return true;  // ipconfig, a script: nothing to act on
    std::size_t q1 = line.find('"', line.find(".exe\" ") + 6), q2 = line.find('"', q1 + 1);
    std::string name = q1 == std::string::npos ? "" : line.substr(q1 + 1, q2 - q1 - 1);
    std::string tail = q2 == std::string::npos ? "" : line.substr(q2 + 1);
    if (tail.rfind(" static ", 0) == 0) tail = tail.substr(7);
    std::string address = tail.substr(tail.find_first_not_of(' '));
    address = address.substr(0, address.find(' '));
    auto has = [&](const char* what) { return line.find(what) != std::string::npos; };
    if (has("\" disabled")) return setUp(name, false);
    if (has("\" enabled")) return setUp(name, true);
    ConnectionState* s = state(name);
    if (has("privacy")) return true;
    if (!s) return false;  // "The interface is not known"
    auto listed = [](const std::vector<std::string>& l, const std::string& a) {
      return std::find(l.begin(), l.end(), a) != l.end();
    };
    if (has("set address")) {
      if (s->dhcp) return false;  // "DHCP is already enabled on this interface."
      return s->dhcp = true;
    }
    if (has("set dns name=")) return s->dnsV4 = {"192.168.1.1"}, true;
    if (has("delete dnsservers")) return s->dnsV6.clear(), true;
    if (has("Set dns")) return s->dnsV4 = {address}, true;
    std::vector<std::string>& list = has("ipv6") ? s->dnsV6 : s->dnsV4;
    if (listed(list, address)) return false;  // "The object already exists."
    if (has("index=2") && list.size() >= 1)
      list.insert(list.begin() + 1, address);
    else
      list.push_back(address);
    return true;
  }
  ConnectionState* state(const std::string& name) {
    auto it = network_.states.find(name);
    return it == network_.states.end() ? nullptr : &it->second;
  }
  bool setUp(const std::string& name, bool up) {
    ConnectionState* s = state(name);
    if (!s) return false;
    s->up = up;
    for (NetworkConnection& c : network_.list)
      if (c.name == name) c.up = up;
    return true;
  }
  FakeNetworkInfo& network_;
};

// The lines of a data file kept beside the tests (UTF-8, LF), without its "#" comment lines.
inline std::vector<std::string> netDataLines(const std::string& name) {
  std::ifstream in(std::string(ZK_NET_TEST_DATA) + "/" + name, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (line.empty() || line[0] != '#') lines.push_back(line);
  return lines;
}
inline std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string f; std::getline(in, f, '\t');) fields.push_back(f);
  if (!line.empty() && line.back() == '\t') fields.push_back("");
  return fields;
}

struct NetworkBench {
  VirtualRuntime rt;
  FakeFileSystem fs;
  FakeNetworkInfo network;
  SimulatedTools processes{network};
  FakePrompter prompt;
  FakeMainView main;
  ProgramValues values;
  TempFolder temp{fs, processes, rt, values};
  NetworkRepair repair{RepairServices{rt, processes, network, prompt, temp, values}};

  NetworkBench() {
    values.dataFolder = kNetData;
    values.systemFolder = "C:\\Windows\\system32\\";
    fs.addFolder(tem());
    network.states["本地连接"] = ConnectionState{true, false, {"10.0.0.1"}, {"fe80::1"}};
  }
  // Another machine: no fixed connection, the given one carries the default route.
  void onlyConnection(const std::string& name, ConnectionState state = ConnectionState{true, false, {"10.0.0.1"}, {}}) {
    network.list = {NetworkConnection{name, true, true, true, false}};
    network.states = {{name, state}};
  }
  static std::string tem() { return std::string(kNetData) + "\\Tem"; }
  static std::string script(const std::string& name) {
    return "\"C:\\Windows\\system32\\cmd.exe\" /d /c \"\"" + tem() + "\\" + name + "\"\"";
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
