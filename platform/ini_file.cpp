#include "platform/ini_file.h"

#include "text/gbk.h"
#include "text/ini.h"

namespace zk {

std::string IniFile::read(std::string_view section, std::string_view key) const {
  return read(section, {key}).front();
}

std::vector<std::string> IniFile::read(std::string_view section, std::initializer_list<std::string_view> keys) const {
  std::vector<std::string> values = iniReadKeys(fs_.readFile(path_).value_or(std::string()), section, keys);
  for (std::string& v : values) v = fromGbk(v);
  return values;
}

// A file that exists but cannot be read is never rewritten: that would keep only this one key.
bool IniFile::write(std::string_view section, std::string_view key, std::string_view value) {
  std::optional<std::string> old = fs_.readFile(path_);
  if (!old && (fs_.fileExists(path_) || fs_.folderExists(path_))) return false;
  return fs_.writeFile(path_, iniWriteKey(old.value_or(std::string()), section, key, toGbk(value)));
}

}  // namespace zk
