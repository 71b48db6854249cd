#include "nettools/network_repair.h"

#include "resources/fixed_texts.h"

namespace zk {

bool isCarriableConnectionName(std::string_view name) {
  // A connection's name goes into a command line between double quotes: a quote or a control
  // character in it could end the argument or the line.
  if (name.empty() || name.size() > 256) return false;
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7F || c == '"') return false;
  return true;
}

ConnectionChoice chooseConnections(const std::vector<NetworkConnection>& all) {
  for (const NetworkConnection& c : all)
    if (c.name == kFixedConnection) return ConnectionChoice{{c.name}, true};
  ConnectionChoice choice;
  for (const NetworkConnection& c : all)
    if (c.up && c.hasGateway && isCarriableConnectionName(c.name)) choice.names.push_back(c.name);
  return choice;
}

std::string changedConnectionsNote(const ConnectionChoice& choice) {
  if (choice.fixed || choice.names.empty()) return {};
  std::string names;
  for (const std::string& n : choice.names) names += (names.empty() ? "" : "、") + n;
  return "\r\n\r\n本机没有名为“本地连接”的网络连接，已改为作用于：" + names;
}

std::vector<ToolCommand> restartCommands(const std::vector<std::string>& connections) {
  std::vector<ToolCommand> out;
  for (const std::string& n : connections) out.push_back({"netsh", "interface set interface \"" + n + "\" disabled"});
  for (const std::string& n : connections) out.push_back({"netsh", "interface set interface \"" + n + "\" enabled"});
  return out;
}

std::vector<ToolCommand> automaticAddressingCommands(const std::vector<std::string>& connections) {
  std::vector<ToolCommand> out;
  for (const std::string& n : connections) {
    out.push_back({"netsh", "interface ip set address name=\"" + n + "\" source=dhcp"});
    out.push_back({"netsh", "interface ip set dns name=\"" + n + "\" source=dhcp"});
  }
  out.push_back({"netsh", "int ipv6 set privacy state=disable"});
  for (const std::string& n : connections)
    out.push_back({"netsh", "interface ipv6 delete dnsservers \"" + n + "\" all"});
  out.push_back({"ipconfig", "/release"});
  out.push_back({"ipconfig", "/renew"});
  out.push_back({"ipconfig", "/flushdns"});
  return out;
}

std::string joinedLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += (out.empty() ? "" : "\r\n") + l;
  return out;
}

namespace {
const char* const kNoConnection =
    "本机没有名为“本地连接”的网络连接，也没有找到已连接（有默认网关）的网络连接，未做任何更改。";
}

Task<ConnectionChoice> NetworkRepair::choose() {
  NetworkInfo* network = &s_.network;
  auto listing = s_.rt.offload([network] { return chooseConnections(network->connections()); });
  ConnectionChoice choice = co_await listing;
  co_return choice;
}

Task<std::vector<std::string>> NetworkRepair::runTools(std::vector<ToolCommand> commands) {
  std::vector<std::pair<std::string, int>> lines;
  for (const ToolCommand& c : commands)
    lines.push_back({commandLine(c), c.tool == "ipconfig" && c.arguments == "/renew" ? kRenewCapMs : kToolCapMs});
  Processes* proc = &s_.processes;
  auto running = s_.rt.offload([proc, lines = std::move(lines), folder = s_.values.systemFolder] {
    std::vector<std::string> refused;
    for (const auto& [line, cap] : lines)
      if (!proc->runHiddenAndWait(line, folder, cap).succeeded()) refused.push_back(line);
    return refused;
  });
  std::vector<std::string> refused = co_await running;
  co_return refused;
}

Task<bool> NetworkRepair::writeScript(const char* name, const char* text, bool createFolder, int waitAfterDelete,
                                      int waitAfterWrite) {
  s_.temp.deleteScript(name);
  co_await s_.rt.pumpWait(waitAfterDelete);
  if (createFolder) s_.temp.create();
  bool written = s_.temp.writeScript(name, text);
  if (waitAfterWrite > 0) co_await s_.rt.pumpWait(waitAfterWrite);
  co_return written;
}

Task<> NetworkRepair::flushDnsCache() {
  co_await s_.rt.pumpWait(100);
  std::vector<ToolCommand> flush{{"ipconfig", "/flushdns"}};
  std::vector<std::string> refused = co_await runTools(std::move(flush));
  if (refused.empty())
    say("本地DNS缓存已清除！", "恭喜！");
  else
    say("清除失败，请稍后再试！", "抱歉");
}

Task<> NetworkRepair::repairDnsClient() {
  bool written = co_await writeScript("Dnscache.bat", texts::kDnscacheBat, true, 10, 0);
  ProcessOutcome outcome;
  if (written) outcome = co_await s_.temp.runScript("Dnscache.bat", kToolCapMs);
  co_await s_.rt.pumpWait(500);
  if (!outcome.started) {
    say("修复失败：修复脚本无法写入或运行，请稍后再试！", "抱歉");
    co_return;
  }
  // The script's own result says little (its last line is "exit"): the service's state does.
  NetworkInfo* network = &s_.network;
  auto asking = s_.rt.offload([network] { return network->serviceRunning("Dnscache"); });
  std::optional<bool> running = co_await asking;
  if (running == false)
    say("DNS 客户端服务已暂停，完成修复！", "恭喜！");
  else if (running == true)
    say("DNS 客户端服务仍在运行：本系统不允许暂停该服务（Windows 10 1709 起如此），未能完成修复。", "抱歉");
  else
    say("无法确认DNS 客户端服务的状态，修复可能没有完成。", "抱歉");
}

Task<> NetworkRepair::onConnections(ConnectionCommand c) {
  ConnectionChoice choice = co_await choose();
  if (choice.names.empty()) {
    say(kNoConnection, "抱歉");
    co_return;
  }
  bool ok = false;
  if (choice.fixed) {
    bool written = co_await writeScript(c.script, c.scriptText, c.createFolder, 100, 100);
    ProcessOutcome outcome;
    if (written) outcome = co_await s_.temp.runScript(c.script, c.capMs);
    ok = outcome.succeeded();
  } else {
    std::vector<std::string> refused = co_await runTools(c.commands(choice.names));
    ok = refused.empty();
  }
  co_await s_.rt.pumpWait(1000);
  if (ok)
    say(c.done + changedConnectionsNote(choice), "恭喜！");
  else
    say(c.failed + changedConnectionsNote(choice), "抱歉");
}

// (A named command, not a temporary inside the co_await: GCC 12 destroys such temporaries twice.)
Task<> NetworkRepair::restartAdapter() {
  ConnectionCommand restart{"Restartnetwork.bat",
                            texts::kRestartNetworkBat,
                            true,
                            kToolCapMs,
                            restartCommands,
                            "已将本地连接所属网卡重启成功！",
                            "网卡重启没有成功，请稍后再试！"};
  co_await onConnections(std::move(restart));
}

Task<> NetworkRepair::setAutomaticAddressing(bool createFolder) {
  ConnectionCommand automatic{"ZDipdns.bat",
                              texts::kZdIpDnsBat,
                              createFolder,
                              kRenewCapMs,
                              automaticAddressingCommands,
                              "已将本地连接配置为：自动获取！",
                              "配置为自动获取没有成功，请稍后再试！"};
  co_await onConnections(std::move(automatic));
}

}  // namespace zk
