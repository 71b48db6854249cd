// The files the hosts commands and the editor touch, read and written on a worker: the system
// hosts file through the safe writer, other files (desktop copies, imports) plainly.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "main/program_values.h"
#include "platform/files.h"
#include "platform/runtime.h"

namespace zk {

class HostsAccess {
 public:
  HostsAccess(Runtime& rt, FileSystem& fs, const ProgramValues& values) : rt_(rt), fs_(fs), values_(values) {}

  // Pauses between write attempts while the file is held, on the worker (tests make them instant).
  std::function<void(int)> sleep;

  const std::string& path() const { return values_.systemHostsPath; }
  // The folder that holds it: everything before its last backslash.
  std::string folder() const;
  bool exists() { return fs_.fileExists(path()); }

  // Whole files; nothing when they cannot be read.
  Task<std::optional<std::string>> read(std::string file);
  Task<std::optional<std::string>> readSystem() { return read(path()); }
  // A file the user chose to import: nothing as well when it is too large to be hosts text.
  Task<std::optional<std::string>> readChosen(std::string file);
  // Backup, temporary file, swap, read-back; a read-only, hidden or system file is refused.
  Task<bool> writeSystem(std::string bytes);
  Task<bool> write(std::string file, std::string bytes);

  Runtime& runtime() { return rt_; }
  FileSystem& files() { return fs_; }

 private:
  Runtime& rt_;
  FileSystem& fs_;
  const ProgramValues& values_;
};

}  // namespace zk
