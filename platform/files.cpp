#include "platform/files.h"

namespace zk {

std::optional<std::string> deletableFolderPath(std::string_view path) {
  auto start = path.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::nullopt;
  std::string_view p = path.substr(start);
  while (p.size() > 1 && (p.back() == '\\' || p.back() == '/')) p.remove_suffix(1);
  bool letter = !p.empty() && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
  if (letter && p.size() == 2 && p[1] == ':') return std::nullopt;
  if (p == "\\" || p == "/") return std::nullopt;
  return std::string(p);
}

}  // namespace zk
