#include "editor/hosts_access.h"

namespace zk {

std::string HostsAccess::folder() const {
  std::size_t cut = path().find_last_of('\\');
  return cut == std::string::npos ? std::string() : path().substr(0, cut);
}

std::optional<std::string> HostsAccess::readWithinLimit(FileSystem& fs, const std::string& file) {
  if (fs.fileSize(file) > kMaxReadBytes) return std::nullopt;
  auto bytes = fs.readFile(file);
  // It may have grown between the two looks.
  if (bytes && !withinReadLimit(bytes->size())) return std::nullopt;
  return bytes;
}

Task<std::optional<std::string>> HostsAccess::read(std::string file) {
  FileSystem* fs = &fs_;
  auto reading = rt_.offload([fs, file = std::move(file)] { return readWithinLimit(*fs, file); });
  co_return co_await reading;
}

HostsWriteOptions HostsAccess::writeOptions() const {
  return HostsWriteOptions{values_.dataFolder.empty() ? "" : values_.dataFile("Backup"), 3, sleep, true};
}

Task<bool> HostsAccess::writeSystem(std::string bytes) {
  FileSystem* fs = &fs_;
  auto writing = rt_.offload([fs, target = path(), bytes = std::move(bytes), options = writeOptions()] {
    return writeHostsFile(*fs, target, bytes, options);
  });
  co_return co_await writing;
}

Task<bool> HostsAccess::backupSystem() {
  FileSystem* fs = &fs_;
  auto keeping =
      rt_.offload([fs, target = path(), options = writeOptions()] { return keepHostsBackup(*fs, target, options); });
  co_return co_await keeping;
}

Task<bool> HostsAccess::write(std::string file, std::string bytes) {
  FileSystem* fs = &fs_;
  auto writing =
      rt_.offload([fs, file = std::move(file), bytes = std::move(bytes)] { return fs->writeFile(file, bytes); });
  co_return co_await writing;
}

}  // namespace zk
