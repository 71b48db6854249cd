#include "text/address.h"

namespace zk {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isHex(char c) {
  return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

bool isIpv4Address(std::string_view s) {
  int parts = 0;
  std::size_t i = 0;
  for (;;) {
    std::size_t start = i;
    int value = 0;
    while (i < s.size() && isDigit(s[i]) && i - start < 3) value = value * 10 + (s[i++] - '0');
    if (i == start || value > 255) return false;
    if (s[start] == '0' && i - start > 1) return false;  // "010" could be read as octal
    if (i < s.size() && isDigit(s[i])) return false;     // a fourth digit
    if (++parts == 4) return i == s.size();
    if (i >= s.size() || s[i] != '.') return false;
    ++i;
  }
}

bool isIpv6Address(std::string_view s) {
  if (s.size() < 2 || s.size() > 45) return false;
  int groups = 0;
  bool gap = false;
  std::size_t i = 0;
  if (s.substr(0, 2) == "::") {
    gap = true;
    i = 2;
    if (i == s.size()) return true;
  } else if (s[0] == ':') {
    return false;
  }
  for (;;) {
    // An IPv4 tail stands for the last two groups.
    std::size_t end = s.find(':', i);
    std::string_view piece = s.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
    if (end == std::string_view::npos && piece.find('.') != std::string_view::npos) {
      if (!isIpv4Address(piece)) return false;
      groups += 2;
      break;
    }
    if (piece.empty() || piece.size() > 4) return false;
    for (char c : piece)
      if (!isHex(c)) return false;
    ++groups;
    if (end == std::string_view::npos) break;
    i = end + 1;
    if (i < s.size() && s[i] == ':') {
      if (gap) return false;
      gap = true;
      ++i;
      if (i == s.size()) break;
    } else if (i == s.size()) {
      return false;  // a single trailing colon
    }
  }
  return gap ? groups < 8 : groups == 8;
}

}  // namespace zk
