#include "platform/ini_file.h"

#include "text/gbk.h"
#include "text/ini.h"

namespace zk {

std::string IniFile::read(std::string_view section, std::string_view key) const {
  auto bytes = fs_.readFile(path_);
  if (!bytes) return {};
  return fromGbk(iniReadKey(*bytes, section, key));
}

bool IniFile::write(std::string_view section, std::string_view key, std::string_view value) {
  std::string old = fs_.readFile(path_).value_or(std::string());
  return fs_.writeFile(path_, iniWriteKey(old, section, key, toGbk(value)));
}

}  // namespace zk
