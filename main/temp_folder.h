// The disposable temporary folder Tem: rebuild, read-me, and the scripts run from it.
#pragma once

#include <string>
#include <string_view>

#include "main/program_values.h"
#include "platform/files.h"
#include "platform/runtime.h"
#include "platform/system.h"

namespace zk {

class TempFolder {
 public:
  TempFolder(FileSystem& fs, Processes& proc, Runtime& rt, const ProgramValues& values);

  // Data folder + "\Tem"; empty while the data folder is unknown.
  std::string path() const;
  // Wipes the folder, waits 500 ms, creates it again with its read-me file.
  Task<> rebuild();
  // Writes a script (GBK, bytes as given) into the folder, replacing it. False on failure.
  bool writeScript(const std::string& name, std::string_view utf8Text);
  // Dnscache.bat: written, started hidden, then 1,000 ms to let it work.
  Task<> runDnscacheScript();

 private:
  FileSystem& fs_;
  Processes& proc_;
  Runtime& rt_;
  const ProgramValues& values_;
};

}  // namespace zk
