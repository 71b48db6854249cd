// The tool set's local repair commands (flush the DNS cache, pause the DNS client, restart the
// adapter, automatic addressing) and the choice of the connections they act on.
#pragma once

#include <functional>
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

// The connections a command acts on: the fixed one wherever it exists (the original scripts and
// command lines, unchanged); otherwise every connection that is up and has a default gateway, by
// its own name. A name that a command line could not carry safely is left out.
struct ConnectionChoice {
  std::vector<std::string> names;
  bool fixed = false;
};
ConnectionChoice chooseConnections(const std::vector<NetworkConnection>& all);
bool isCarriableConnectionName(std::string_view name);
// The closing words of a message that says which connections were changed; empty for the fixed one.
std::string changedConnectionsNote(const ConnectionChoice& choice);

// Each command line is a system tool and its arguments, started by the tool's full path.
struct ToolCommand {
  std::string tool;  // "netsh", "ipconfig"
  std::string arguments;
  bool operator==(const ToolCommand&) const = default;
};
// The adapter restart and the automatic addressing as single commands, for connections other
// than the fixed one (whose scripts say the same for it).
std::vector<ToolCommand> restartCommands(const std::vector<std::string>& connections);
std::vector<ToolCommand> automaticAddressingCommands(const std::vector<std::string>& connections);

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
  // Runs every command one after the other on a worker, each hidden, whatever the one before it
  // returned (a refusal such as "already enabled" must not keep the rest from running). The
  // command lines that did not end cleanly, in order; empty when all did.
  Task<std::vector<std::string>> runTools(std::vector<ToolCommand> commands);
  std::string commandLine(const ToolCommand& c) const { return s_.values.systemCommand(c.tool, c.arguments); }

 private:
  // A command on the chosen connections: its script on the fixed one, its single commands on others.
  struct ConnectionCommand {
    const char* script;
    const char* scriptText;
    bool createFolder;
    int capMs;
    std::vector<ToolCommand> (*commands)(const std::vector<std::string>& connections);
    std::string done, failed;  // the messages
  };
  Task<> onConnections(ConnectionCommand c);
  // The script written whole into Tem after the old one is deleted, with the commands' pauses.
  Task<bool> writeScript(const char* name, const char* text, bool createFolder, int waitAfterDelete,
                         int waitAfterWrite);
  void say(const std::string& text, const std::string& title) { s_.prompt.show(text, title, box::Ok); }

  RepairServices s_;
};

}  // namespace zk
