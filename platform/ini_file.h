// INI files on disk, GBK on disk and UTF-8 in memory, the same on every system locale.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace zk {

class IniFile {
 public:
  IniFile(FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  // Missing file, section or key reads as empty.
  std::string read(std::string_view section, std::string_view key) const;
  // Several keys from one reading of the file, in the order asked.
  std::vector<std::string> read(std::string_view section, std::initializer_list<std::string_view> keys) const;
  // Creates the file and section when needed; false when the file cannot be written.
  bool write(std::string_view section, std::string_view key, std::string_view value);
  const std::string& path() const { return path_; }

 private:
  FileSystem& fs_;
  std::string path_;
};

}  // namespace zk
