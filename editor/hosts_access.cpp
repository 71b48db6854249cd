#include "editor/hosts_access.h"

#include "sync/hosts_file.h"

namespace zk {

std::string HostsAccess::folder() const {
  std::size_t cut = path().find_last_of('\\');
  return cut == std::string::npos ? std::string() : path().substr(0, cut);
}

Task<std::optional<std::string>> HostsAccess::read(std::string file) {
  FileSystem* fs = &fs_;
  auto reading = rt_.offload([fs, file = std::move(file)] { return fs->readFile(file); });
  co_return co_await reading;
}

Task<std::optional<std::string>> HostsAccess::readChosen(std::string file) {
  constexpr std::int64_t kMaxBytes = 256ll << 20;
  if (fs_.fileSize(file) > kMaxBytes) co_return std::nullopt;
  co_return co_await read(std::move(file));
}

Task<bool> HostsAccess::writeSystem(std::string bytes) {
  HostsWriteOptions options{values_.dataFolder.empty() ? "" : values_.dataFile("Backup"), 3, sleep, true};
  FileSystem* fs = &fs_;
  auto writing = rt_.offload(
      [fs, target = path(), bytes = std::move(bytes), options] { return writeHostsFile(*fs, target, bytes, options); });
  co_return co_await writing;
}

Task<bool> HostsAccess::write(std::string file, std::string bytes) {
  FileSystem* fs = &fs_;
  auto writing =
      rt_.offload([fs, file = std::move(file), bytes = std::move(bytes)] { return fs->writeFile(file, bytes); });
  co_return co_await writing;
}

}  // namespace zk
