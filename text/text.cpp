#include "text/text.h"

namespace zk {

std::string textUpToNul(std::string_view bytes) {
  auto nul = bytes.find('\0');
  return std::string(nul == std::string_view::npos ? bytes : bytes.substr(0, nul));
}

std::string asciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool startsWithIgnoreCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && asciiLower(s.substr(0, prefix.size())) == asciiLower(prefix);
}

std::string replaceAllIgnoreCase(std::string_view s, std::string_view what, std::string_view with) {
  if (what.empty()) return std::string(s);
  std::string lower = asciiLower(s);
  std::string key = asciiLower(what);
  std::string out;
  std::size_t pos = 0;
  for (std::size_t hit; (hit = lower.find(key, pos)) != std::string::npos; pos = hit + key.size()) {
    out.append(s.substr(pos, hit - pos));
    out.append(with);
  }
  out.append(s.substr(pos));
  return out;
}

std::string trimBlanks(std::string_view s) {
  const char* blanks = " \t\r\n";
  auto b = s.find_first_not_of(blanks);
  if (b == std::string_view::npos) return {};
  auto e = s.find_last_not_of(blanks);
  return std::string(s.substr(b, e - b + 1));
}

bool isWebAddress(std::string_view url) {
  std::size_t scheme = startsWithIgnoreCase(url, "http://") ? 7 : startsWithIgnoreCase(url, "https://") ? 8 : 0;
  if (scheme == 0 || url.size() == scheme || url[scheme] == '/' || url[scheme] == '\\') return false;
  for (unsigned char c : url)
    if (c <= 0x20 || c == 0x7F) return false;
  return true;
}

}  // namespace zk
