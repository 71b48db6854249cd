// SimpleIni does the parsing; this file fixes encoding-neutral bytes and CR LF output.
#include "text/ini.h"

// Bytes in, bytes out on every platform: the encoding is GBK, decided by the caller.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION  // Debian keeps the template bodies behind this switch
#include <SimpleIni.h>

#include "text/text.h"

namespace zk {
namespace {

void load(CSimpleIniA& ini, std::string_view content) {
  ini.SetSpaces(false);
  std::string text = textUpToNul(content);
  ini.LoadData(text.data(), text.size());
}

std::string withCrLf(const std::string& s) {
  std::string out;
  out.reserve(s.size() + s.size() / 8);
  for (char c : s) {
    if (c == '\r') continue;
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

std::string iniReadKey(std::string_view content, std::string_view section, std::string_view key) {
  CSimpleIniA ini(false, false, false);
  load(ini, content);
  const char* v = ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), "");
  return v ? std::string(v) : std::string();
}

std::string iniWriteKey(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value) {
  CSimpleIniA ini(false, false, false);
  load(ini, content);
  // Values are one line: a line break would create a new key.
  std::string oneLine;
  for (char c : value)
    if (c != '\r' && c != '\n') oneLine += c;
  ini.SetValue(std::string(section).c_str(), std::string(key).c_str(), oneLine.c_str());
  std::string out;
  ini.Save(out);
  return withCrLf(out);
}

}  // namespace zk
