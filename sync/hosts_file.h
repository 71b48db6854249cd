// The system hosts file's text: composition with its header and time stamps, the "# Ti:" stamp,
// and the write that never leaves the file half-written.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "text/datetime.h"

namespace zk {

// The fetched texts (GBK bytes as downloaded) and their freshness, handed to the writer.
struct Fetched {
  std::string main, ad, navigation;
  bool mainDone = false, adDone = false, navigationDone = false;
};

// "2016-1-22-9:5:3" from "2016年1月22日9时5分3秒".
std::string dashedStamp(const std::string& longStamp);

// The file as written after a fetch, in GBK bytes; the fetched texts are copied as they are.
std::string composeHostsFile(const Fetched& fetched, const LocalTime& longAt, const LocalTime& dashedAt);

// The 9 bytes after the first "# Ti:" (fewer at the end of the file); nothing without a marker.
std::optional<std::string> hostsStamp(std::string_view file);
// The same for a file on disk, read only as far as the stamp (files written by this program
// carry it near the top). Also nothing when the file cannot be read.
std::optional<std::string> hostsStampOfFile(FileSystem& fs, const std::string& path);

// Read-only, hidden, system.
constexpr std::uint32_t kProtectedAttributes = 1 | 2 | 4;

struct HostsWriteOptions {
  std::string backupFolder;  // where the previous files are kept; empty: no backup
  int keepBackups = 3;
  std::function<void(int ms)> sleep;  // between attempts; the write runs on a worker
  // A read-only, hidden or system target is refused, as a plain truncating write refuses it: the
  // commands that do not unlock the file first fail on a protected one.
  bool refuseProtected = false;
};

// Keeps the previous file as backup 1 (older ones move up, the oldest goes), writes a flushed
// temporary file beside the target and puts it in place in one step, retrying while the file is
// held (0, 1, 10, 20, 40, 80, 160 ms), else rewrites it in place; then reads it back. True only
// when the file on disk holds exactly these bytes.
bool writeHostsFile(FileSystem& fs, const std::string& target, std::string_view bytes,
                    const HostsWriteOptions& options);

// Keeps the file as backup 1 (older ones move up, the oldest goes), as a write does, for a command
// that deletes it. True when the file is empty or missing (nothing to keep) or the copy is there.
bool keepHostsBackup(FileSystem& fs, const std::string& target, const HostsWriteOptions& options);

}  // namespace zk
