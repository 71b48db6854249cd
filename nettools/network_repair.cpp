#include "nettools/network_repair.h"

#include <algorithm>

#include "resources/fixed_texts.h"

namespace zk {

bool isCarriableConnectionName(std::string_view name) {
  // A connection's name goes into a command line between double quotes: a quote or a control
  // character in it could end the argument or the line.
  if (name.empty() || name.size() > 256) return false;
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7F || c == '"') return false;
  // Backslashes before a quote escape it: a final one would make the closing quote part of the name.
  if (name.back() == '\\') return false;
  return true;
}

ConnectionChoice chooseConnection(const std::vector<NetworkConnection>& all) {
  for (const NetworkConnection& c : all)
    if (c.name == kFixedConnection && c.up) return ConnectionChoice{c.name, true};
  for (const NetworkConnection& c : all)
    if (c.defaultRoute && c.up && !c.tunnel && isCarriableConnectionName(c.name))
      return ConnectionChoice{c.name, false};
  return {};
}

std::string changedConnectionNote(const ConnectionChoice& choice) {
  if (choice.fixed || !choice.found()) return {};
  return "\r\n\r\n本机没有已启用的“本地连接”，已改为作用于正在使用的网络连接：" + choice.name;
}

std::vector<ToolCommand> disableCommands(const std::string& connection) {
  return {{"netsh", "interface set interface \"" + connection + "\" disabled"}};
}

std::vector<ToolCommand> enableCommands(const std::string& connection) {
  return {{"netsh", "interface set interface \"" + connection + "\" enabled"}};
}

std::vector<ToolCommand> automaticAddressingCommands(const std::string& connection) {
  return {{"netsh", "interface ip set address name=\"" + connection + "\" source=dhcp"},
          {"netsh", "interface ip set dns name=\"" + connection + "\" source=dhcp"},
          {"netsh", "int ipv6 set privacy state=disable"},
          {"netsh", "interface ipv6 delete dnsservers \"" + connection + "\" all"},
          {"ipconfig", "/release"},
          {"ipconfig", "/renew"},
          {"ipconfig", "/flushdns"}};
}

std::string joinedLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += (out.empty() ? "" : "\r\n") + l;
  return out;
}

namespace {
const char* const kNoConnection =
    "本机没有已启用的“本地连接”，也没有找到正在使用（承载默认路由）的网络连接，未做任何更改。";
const char* const kRefusedHead = "\r\n\r\n没有成功的命令：\r\n";
}  // namespace

Task<ConnectionChoice> NetworkRepair::choose() {
  NetworkInfo* network = &s_.network;
  auto listing = s_.rt.offload([network] { return chooseConnection(network->connections()); });
  ConnectionChoice choice = co_await listing;
  co_return choice;
}

Task<std::optional<ConnectionState>> NetworkRepair::readBack(std::string connection, bool untilUp) {
  NetworkInfo* network = &s_.network;
  std::optional<ConnectionState> state;
  for (int attempt = 1;; ++attempt) {
    auto reading = s_.rt.offload([network, connection] { return network->connectionState(connection); });
    state = co_await reading;
    if (!untilUp || (state && state->up) || attempt >= kAdapterUpTries) break;
    co_await s_.rt.pumpWait(1000);
  }
  co_return state;
}

bool NetworkRepair::viaScript(const ConnectionChoice& choice) {
  return choice.fixed && s_.network.scriptCodePage() == kScriptCodePage;
}

// The fixed connection's script is written whatever runs it, and run where scripts can be
// (viaScript). False only when it was to run and could not be started.
Task<bool> NetworkRepair::fixedConnectionScript(const ConnectionChoice& choice, const char* name, const char* text,
                                                bool createFolder, int capMs) {
  if (!choice.fixed) co_return true;
  bool written = co_await writeScript(name, text, createFolder, 100, 100);
  if (!viaScript(choice)) co_return true;
  ProcessOutcome outcome;
  if (written) outcome = co_await s_.temp.runScript(name, capMs);
  co_return outcome.started;
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

// The script's own exit code is that of its last command: what the system holds afterwards decides
// on both paths.
Task<> NetworkRepair::restartAdapter() {
  ConnectionChoice choice = co_await choose();
  if (!choice.found()) {
    say(kNoConnection, "抱歉");
    co_return;
  }
  std::vector<std::string> refused;
  bool disableRefused = false;
  bool script = viaScript(choice);
  bool ran = co_await fixedConnectionScript(choice, "Restartnetwork.bat", texts::kRestartNetworkBat, true, kToolCapMs);
  if (!script) {
    // One job for the pair, as the script runs them back to back: once the disable has started, no
    // stop of this task (a second click takes its slot, the program's end stops every task) can keep
    // the enable from following it. The enable runs whatever the disable returned.
    std::vector<ToolCommand> pair = disableCommands(choice.name);
    for (ToolCommand& c : enableCommands(choice.name)) pair.push_back(std::move(c));
    const std::string disableLine = commandLine(pair.front());
    refused = co_await runTools(std::move(pair));
    disableRefused = !refused.empty() && refused.front() == disableLine;
  }
  co_await s_.rt.pumpWait(1000);
  std::optional<ConnectionState> state;
  if (ran) state = co_await readBack(choice.name, true);
  std::string note = changedConnectionNote(choice);
  std::string details = refused.empty() ? "" : kRefusedHead + joinedLines(refused);
  if (!ran)
    say("网卡重启没有成功：重启脚本无法写入或运行，网卡未做更改，请稍后再试！" + note, "抱歉");
  else if (!state || !state->up)
    say("网卡重启没有成功：网卡现在没有启用或没有连通，请稍后再试，或在“网络连接”中手动启用它！" + details + note,
        "抱歉");
  else if (disableRefused)
    say("网卡没有重启：禁用网卡的命令没有成功，网卡一直在工作。" + details + note, "抱歉");
  else
    say("已将本地连接所属网卡重启成功！" + note, "恭喜！");
}

Task<> NetworkRepair::setAutomaticAddressing(bool createFolder) {
  ConnectionChoice choice = co_await choose();
  if (!choice.found()) {
    say(kNoConnection, "抱歉");
    co_return;
  }
  std::vector<std::string> refused;
  bool script = viaScript(choice);
  bool ran = co_await fixedConnectionScript(choice, "ZDipdns.bat", texts::kZdIpDnsBat, createFolder, kRenewCapMs);
  bool dnsResetRefused = false;
  if (!script) {
    std::vector<ToolCommand> commands = automaticAddressingCommands(choice.name);
    const std::string dnsReset = commandLine(commands[1]);  // the IPv4 DNS servers back to DHCP
    refused = co_await runTools(std::move(commands));
    dnsResetRefused = std::find(refused.begin(), refused.end(), dnsReset) != refused.end();
  }
  co_await s_.rt.pumpWait(1000);
  std::optional<ConnectionState> state;
  if (ran) state = co_await readBack(choice.name, false);
  std::string note = changedConnectionNote(choice);
  std::string details = refused.empty() ? "" : kRefusedHead + joinedLines(refused);
  const char* failed = "配置为自动获取没有成功，请稍后再试！";
  if (!ran)
    say(failed + std::string("\r\n\r\n脚本无法写入或运行，连接未做更改。") + note, "抱歉");
  else if (!state)
    say(failed + std::string("\r\n\r\n无法读取该连接现在的设置（网卡可能没有启用）。") + details + note, "抱歉");
  else if (!state->dhcp)
    say(failed + std::string("\r\n\r\n该连接的IP地址仍为手动设置。") + details + note, "抱歉");
  else if (!state->up)
    say("已配置为自动获取，但该连接现在没有连通。" + details + note, "抱歉");
  else if (dnsResetRefused)
    say("IP地址已配置为自动获取，但DNS服务器没有改为自动获取，仍为原来的设置。" + details + note, "抱歉");
  else
    say("已将本地连接配置为：自动获取！" + note, "恭喜！");
}

}  // namespace zk
