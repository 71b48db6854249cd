// The disposable temporary folder Tem: rebuild, read-me, and the scripts run from it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "main/program_values.h"
#include "platform/files.h"
#include "platform/runtime.h"
#include "platform/system.h"

namespace zk {

// The script with each tool placeholder that starts a line ("{net}", "{sc}", "{netsh}", "{ping}",
// "{ipconfig}") replaced by that tool's full path in the system folder. Nothing when the system
// folder is unknown: a script never starts a tool by its bare name.
std::optional<std::string> scriptWithToolPaths(std::string_view script, const ProgramValues& values);

class TempFolder {
 public:
  TempFolder(FileSystem& fs, Processes& proc, Runtime& rt, const ProgramValues& values);

  // Data folder + "\Tem"; empty while the data folder is unknown.
  std::string path() const;
  // Wipes the folder, waits 500 ms, creates it again with its read-me file.
  Task<> rebuild();
  // Creates the folder when it is missing. False when it is not there afterwards.
  bool create();
  void deleteScript(const std::string& name);
  // Writes a script (GBK) into the folder, replacing it, each bare system tool at the start of a
  // line named by its full path (scriptWithToolPaths). False on failure.
  bool writeScript(const std::string& name, std::string_view utf8Text);
  // The command line that runs a script of the folder: the system's command interpreter by its
  // full path, the script's path quoted.
  std::string scriptCommand(const std::string& name) const;
  // Runs a script of the folder hidden, with the system folder as working folder (a bare tool name
  // in it finds the system's tool, never a program planted beside ours or a script of Tem), and
  // waits for its end, at most capMs, on a worker.
  Task<ProcessOutcome> runScript(const std::string& name, int capMs);
  // The same for a script whose run may be abandoned: when the task is stopped, the script and
  // every process it started are ended, and the worker is free again.
  Task<ProcessOutcome> runAbandonableScript(const std::string& name, int capMs);
  // Dnscache.bat: written, started hidden (given up to 1,000 ms to end), then 1,000 ms to work.
  Task<> runDnscacheScript();

 private:
  FileSystem& fs_;
  Processes& proc_;
  Runtime& rt_;
  const ProgramValues& values_;
};

}  // namespace zk
