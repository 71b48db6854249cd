// The tool set's local repair commands (flush the DNS cache, pause the DNS client, restart the
// adapter, automatic addressing) and the choice of the connections they act on.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main/program_values.h"
#include "main/temp_folder.h"
#include "platform/prompt.h"
#include "platform/runtime.h"
#include "platform/system.h"

namespace zk {

// The connection every command was written for.
inline constexpr std::string_view kFixedConnection = "本地连接";

// The one connection a command acts on, the one in use: the fixed one when it exists and is up
// (the original scripts and command lines, unchanged); otherwise the single connection that
// carries the default route, by its own name, never a tunnel, PPP or loopback one (a VPN's adapter
// or a static-address NIC beside it is left alone). Empty when there is none; a name that a command
// line could not carry safely is not chosen.
struct ConnectionChoice {
  std::string name;
  bool fixed = false;
  bool found() const { return !name.empty(); }
};
ConnectionChoice chooseConnection(const std::vector<NetworkConnection>& all);
bool isCarriableConnectionName(std::string_view name);
// The closing words of a message that names the connection changed; empty for the fixed one.
std::string changedConnectionNote(const ConnectionChoice& choice);
// The code page in which cmd reads the scripts' GBK bytes as written.
inline constexpr unsigned kScriptCodePage = 936;

// Each command line is a system tool and its arguments, started by the tool's full path.
struct ToolCommand {
  std::string tool;  // "netsh", "ipconfig"
  std::string arguments;
  bool operator==(const ToolCommand&) const = default;
};
// The adapter restart (disable, then enable) and the automatic addressing as single commands, the
// same as the fixed connection's scripts say for it.
std::vector<ToolCommand> disableCommands(const std::string& connection);
std::vector<ToolCommand> enableCommands(const std::string& connection);
std::vector<ToolCommand> automaticAddressingCommands(const std::string& connection);

// The lines one under the other (CR LF between them).
std::string joinedLines(const std::vector<std::string>& lines);

struct RepairServices {
  Runtime& rt;
  Processes& processes;
  NetworkInfo& network;
  Prompter& prompt;
  TempFolder& temp;
  const ProgramValues& values;
};

// How long a command may run before it counts as hung.
inline constexpr int kToolCapMs = 30000;
inline constexpr int kRenewCapMs = 120000;  // a lease renewal waits for DHCP servers
// How long a restarted adapter is given to come up again before the read-back reports it down.
inline constexpr int kAdapterUpTries = 10;  // a second apart

class NetworkRepair {
 public:
  explicit NetworkRepair(RepairServices s) : s_(s) {}

  Task<> flushDnsCache();
  Task<> repairDnsClient();
  Task<> restartAdapter();
  // The tool set's form creates the temporary folder; the DNS window's form relies on it.
  Task<> setAutomaticAddressing(bool createFolder);

  // Lists the connections on a worker and chooses.
  Task<ConnectionChoice> choose();
  // The connection's settings as the system holds them now, read on a worker; with untilUp, read
  // again a second apart (at most kAdapterUpTries times) until the adapter is up.
  Task<std::optional<ConnectionState>> readBack(std::string connection, bool untilUp);
  // Runs every command one after the other on a worker, each hidden, whatever the one before it
  // returned (a refusal such as "already enabled" must not keep the rest from running). The
  // command lines that did not end cleanly, in order; empty when all did.
  Task<std::vector<std::string>> runTools(std::vector<ToolCommand> commands);
  std::string commandLine(const ToolCommand& c) const { return s_.values.systemCommand(c.tool, c.arguments); }

 private:
  // Whether the fixed connection's script runs through cmd; elsewhere (another connection, or an
  // OEM code page in which cmd would misread the script's GBK bytes) its commands run one by one.
  bool viaScript(const ConnectionChoice& choice);
  // The script written whole into Tem after the old one is deleted, with the commands' pauses.
  Task<bool> fixedConnectionScript(const ConnectionChoice& choice, const char* name, const char* text,
                                   bool createFolder, int capMs);
  Task<bool> writeScript(const char* name, const char* text, bool createFolder, int waitAfterDelete,
                         int waitAfterWrite);
  void say(const std::string& text, const std::string& title) { s_.prompt.show(text, title, box::Ok); }

  RepairServices s_;
};

}  // namespace zk
