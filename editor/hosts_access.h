// The files the hosts commands and the editor touch, read and written on a worker: the system
// hosts file through the safe writer, other files (desktop copies, imports) plainly.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "main/program_values.h"
#include "platform/files.h"
#include "platform/runtime.h"
#include "sync/hosts_file.h"

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

  // The most any read takes (a load into the editor, a paste, an import, a command on the
  // file): a larger file is no hosts text, and reading it whole would only exhaust the memory.
  static constexpr std::int64_t kMaxReadBytes = 256ll << 20;
  static bool withinReadLimit(std::size_t bytes) { return bytes <= static_cast<std::size_t>(kMaxReadBytes); }
  // A whole file within the limit, on the calling thread (for work already on a worker);
  // nothing when it cannot be read or is larger.
  static std::optional<std::string> readWithinLimit(FileSystem& fs, const std::string& file);
  // A file saved as UTF-16 ("Unicode"): its text stops at the first NUL, a byte or two in, so
  // it is refused rather than taken as those few bytes.
  static bool startsWithUtf16Mark(std::string_view bytes) {
    return bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF";
  }

  // Whole files within the limit, read on a worker; nothing when they cannot be read.
  Task<std::optional<std::string>> read(std::string file);
  Task<std::optional<std::string>> readSystem() { return read(path()); }
  Task<std::optional<std::string>> readChosen(std::string file) { return read(std::move(file)); }
  // Keeps the system file in the backup folder, as a write does before it replaces it. True when
  // there was nothing to keep or the copy is there.
  Task<bool> backupSystem();
  // Backup, temporary file, swap, read-back; a read-only, hidden or system file is refused.
  Task<bool> writeSystem(std::string bytes);
  Task<bool> write(std::string file, std::string bytes);

  Runtime& runtime() { return rt_; }
  FileSystem& files() { return fs_; }

 private:
  HostsWriteOptions writeOptions() const;

  Runtime& rt_;
  FileSystem& fs_;
  const ProgramValues& values_;
};

}  // namespace zk
