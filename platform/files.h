// Files and folders. Paths are UTF-8 texts in Windows form ("C:\dir\file").
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Whole file as bytes; nothing when it cannot be read.
  virtual std::optional<std::string> readFile(const std::string& path) = 0;
  // Creates or truncates, writes every byte. False on any failure.
  virtual bool writeFile(const std::string& path, std::string_view bytes) = 0;
  virtual bool fileExists(const std::string& path) = 0;  // a file, not a folder
  virtual bool folderExists(const std::string& path) = 0;
  // Size in bytes, -1 when there is no such file.
  virtual std::int64_t fileSize(const std::string& path) = 0;
  virtual bool deleteFile(const std::string& path) = 0;
  // No error when the folder exists already.
  virtual bool createFolder(const std::string& path) = 0;
  // Deletes the folder and everything in it; links inside are removed, never followed.
  virtual bool deleteFolderTree(const std::string& path) = 0;
  // Windows attribute bits (32 archive, 2 hidden, 4 system, 1 read-only); nothing when absent.
  virtual std::optional<std::uint32_t> fileAttributes(const std::string& path) = 0;
  virtual bool setAttributes(const std::string& path, std::uint32_t attributes) = 0;
  // As writeFile, and on disk (flushed) before it returns.
  virtual bool writeFileDurably(const std::string& path, std::string_view bytes) { return writeFile(path, bytes); }
  // Reads a file in pieces (in order, through one reused buffer) until onChunk returns false or
  // the file ends. False when it cannot be read.
  virtual bool readChunks(const std::string& path, const std::function<bool(std::string_view)>& onChunk) {
    auto all = readFile(path);
    if (!all) return false;
    onChunk(*all);
    return true;
  }
  // The names directly inside a folder (no "." or ".."), each marked folder or file; nothing when
  // it cannot be listed. Order unspecified.
  struct FolderItem {
    std::string name;
    bool folder = false;
    bool operator==(const FolderItem&) const = default;
  };
  virtual std::optional<std::vector<FolderItem>> listFolder(const std::string& path) = 0;
  // Renames a file, replacing the target when there is one.
  virtual bool moveFile(const std::string& from, const std::string& to) = 0;
  // Puts replacement in target's place in one step, keeping the target's security and identity;
  // the replacement's name is gone afterwards, and the old target is kept as backup when one is
  // named (no copy is made). A missing target is simply created by the move.
  virtual bool replaceFile(const std::string& target, const std::string& replacement, const std::string& backup) = 0;
};

// Guard of the folder delete: blanks before the path are ignored; an empty path and a bare
// drive root ("C:", "C:\") are refused. Returns the path to delete, or nothing.
std::optional<std::string> deletableFolderPath(std::string_view path);
// An absolute folder ("X:\..." or "\\server\share\..."; on a POSIX build, where the benchmarks
// run on real files, "/...") with no "." or ".." step, without its trailing separator; nothing
// otherwise. The folders the program builds and deletes trees in are checked with it.
std::optional<std::string> absoluteFolderPath(std::string_view folder);
// A folder as the folder services give it, ending in a backslash; empty stays empty.
std::string withBackslash(std::string folder);

}  // namespace zk
