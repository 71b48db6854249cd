// The file operations on Linux, for benchmarks of the portable code on real files.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/files.h"

namespace zk::bench {

class PosixFileSystem : public FileSystem {
 public:
  static std::string p(const std::string& path) {
    std::string s = path;
    for (char& c : s)
      if (c == '\\') c = '/';
    return s;
  }
  // One read() into the final buffer, as the Windows implementation does with ReadFile.
  std::optional<std::string> readFile(const std::string& path) override {
    int fd = ::open(p(path).c_str(), O_RDONLY);
    if (fd < 0) return std::nullopt;
    off_t size = ::lseek(fd, 0, SEEK_END);
    ::lseek(fd, 0, SEEK_SET);
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    size_t done = 0;
    while (done < out.size()) {
      ssize_t got = ::read(fd, out.data() + done, out.size() - done);
      if (got <= 0) break;
      done += static_cast<size_t>(got);
    }
    ::close(fd);
    out.resize(done);
    return out;
  }
  bool readChunks(const std::string& path, const std::function<bool(std::string_view)>& onChunk) override {
    int fd = ::open(p(path).c_str(), O_RDONLY);
    if (fd < 0) return false;
    static thread_local std::string buffer(1 << 20, '\0');
    for (;;) {
      ssize_t got = ::read(fd, buffer.data(), buffer.size());
      if (got <= 0 || !onChunk(std::string_view(buffer.data(), static_cast<size_t>(got)))) break;
    }
    ::close(fd);
    return true;
  }
  bool writeFile(const std::string& path, std::string_view bytes) override { return write(path, bytes, false); }
  bool writeFileDurably(const std::string& path, std::string_view bytes) override { return write(path, bytes, true); }
  bool fileExists(const std::string& path) override { return std::filesystem::is_regular_file(p(path)); }
  bool folderExists(const std::string& path) override { return std::filesystem::is_directory(p(path)); }
  std::int64_t fileSize(const std::string& path) override {
    std::error_code e;
    auto n = std::filesystem::file_size(p(path), e);
    return e ? -1 : static_cast<std::int64_t>(n);
  }
  bool deleteFile(const std::string& path) override { return std::remove(p(path).c_str()) == 0; }
  bool createFolder(const std::string& path) override {
    std::error_code e;
    std::filesystem::create_directory(p(path), e);
    return folderExists(path);
  }
  bool deleteFolderTree(const std::string& path) override {
    std::error_code e;
    return std::filesystem::remove_all(p(path), e) > 0;
  }
  std::optional<std::uint32_t> fileAttributes(const std::string& path) override {
    return fileExists(path) ? std::optional<std::uint32_t>(0) : std::nullopt;
  }
  bool setAttributes(const std::string&, std::uint32_t) override { return true; }
  std::optional<std::vector<FolderItem>> listFolder(const std::string& path) override {
    std::error_code ec;
    std::vector<FolderItem> out;
    for (auto it = std::filesystem::directory_iterator(p(path), ec); !ec && it != std::filesystem::directory_iterator();
         it.increment(ec))
      out.push_back({it->path().filename().string(), it->is_directory()});
    if (ec) return std::nullopt;
    return out;
  }
  bool moveFile(const std::string& from, const std::string& to) override {
    return std::rename(p(from).c_str(), p(to).c_str()) == 0;
  }
  bool replaceFile(const std::string& target, const std::string& replacement, const std::string& backup) override {
    if (!backup.empty() && fileExists(target)) {
      std::remove(p(backup).c_str());
      if (::link(p(target).c_str(), p(backup).c_str()) != 0) return false;  // the old file, no copy
    }
    return moveFile(replacement, target);
  }

 private:
  bool write(const std::string& path, std::string_view bytes, bool sync) {
    int fd = ::open(p(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    size_t done = 0;
    while (done < bytes.size()) {
      ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    bool ok = done == bytes.size() && (!sync || ::fsync(fd) == 0);
    return ::close(fd) == 0 && ok;
  }
};

// A hosts text of about 50 MB in 1,000,000 lines, with its "# Ti:" marker at the very end.
inline std::string bigHostsText() {
  std::string s;
  s.reserve(52u << 20);
  char line[64];
  for (int i = 0; i < 1000000; ++i) {
    int n = std::snprintf(line, sizeof line, "203.0.113.%d\thost-%07d.cdn.example.com  # 演示\r\n", i % 254 + 1, i);
    s.append(line, static_cast<size_t>(n));
  }
  return s + "# Ti:161207091\r\n";
}

}  // namespace zk::bench
