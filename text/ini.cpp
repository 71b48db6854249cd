// Reading parses with SimpleIni; writing edits one line. Bytes pass through untouched (GBK).
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

}  // namespace

std::string iniReadKey(std::string_view content, std::string_view section, std::string_view key) {
  return iniReadKeys(content, section, {key}).front();
}

std::vector<std::string> iniReadKeys(std::string_view content, std::string_view section,
                                     std::initializer_list<std::string_view> keys) {
  CSimpleIniA ini(false, false, false);
  load(ini, content);
  std::vector<std::string> values;
  for (std::string_view key : keys) {
    const char* v = ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), "");
    values.emplace_back(v ? v : "");
  }
  return values;
}

// A line edit, as the Windows profile functions do: the key's line is replaced (or added at the
// end of its section, or a new section is appended) and every other byte stays as it was.
std::string iniWriteKey(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value) {
  std::string line(key);
  line += '=';
  for (char c : value)
    if (c != '\r' && c != '\n') line += c;  // a line break would forge another key
  line += "\r\n";

  const std::string wantSection = asciiLower(section);
  const std::string wantKey = asciiLower(key);
  bool inSection = false;
  std::size_t insertAt = std::string_view::npos;  // after the section's last non-blank line
  for (std::size_t pos = 0; pos < content.size();) {
    std::size_t end = content.find('\n', pos);
    end = end == std::string_view::npos ? content.size() : end + 1;
    std::string text = trimBlanks(content.substr(pos, end - pos));
    if (!text.empty() && text.front() == '[') {
      if (inSection) break;
      auto close = text.find(']');
      inSection = close != std::string::npos && asciiLower(trimBlanks(text.substr(1, close - 1))) == wantSection;
      if (inSection) insertAt = end;
    } else if (inSection && !text.empty()) {
      insertAt = end;
      auto eq = text.find('=');
      if (text[0] != ';' && text[0] != '#' && eq != std::string::npos &&
          asciiLower(trimBlanks(text.substr(0, eq))) == wantKey) {
        // The key keeps its spelling on disk.
        std::string kept = trimBlanks(text.substr(0, eq)) + line.substr(key.size());
        return std::string(content.substr(0, pos)) + kept + std::string(content.substr(end));
      }
    }
    pos = end;
  }
  std::string out(content);
  if (insertAt != std::string_view::npos) {
    if (insertAt > 0 && out[insertAt - 1] != '\n') {
      out.insert(insertAt, "\r\n");
      insertAt += 2;
    }
    return out.insert(insertAt, line);
  }
  if (!out.empty() && out.back() != '\n') out += "\r\n";
  return out + "[" + std::string(section) + "]\r\n" + line;
}

}  // namespace zk
