#include "platform/files.h"

#include <cctype>

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

std::string withBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

std::optional<std::string> absoluteFolderPath(std::string_view folder) {
  auto base = deletableFolderPath(folder);
  if (!base) return std::nullopt;
  const std::string& d = *base;
  bool drive = d.size() >= 3 && std::isalpha(static_cast<unsigned char>(d[0])) && d[1] == ':' && d[2] == '\\' &&
               d.find('/') == std::string::npos;
  bool share =
      d.size() > 2 && d.starts_with("\\\\") && d.find('\\', 2) != std::string::npos && d.find('/') == std::string::npos;
#ifdef _WIN32
  const bool posix = false;
#else
  const bool posix = d.size() > 1 && d[0] == '/';
#endif
  if (!drive && !share && !posix) return std::nullopt;
  std::string spaced = d + "\\";
  for (char& c : spaced)
    if (c == '/') c = '\\';
  if (spaced.find("\\..\\") != std::string::npos || spaced.find("\\.\\") != std::string::npos) return std::nullopt;
  std::string root = d;
  while (root.size() > 1 && (root.back() == '\\' || root.back() == '/')) root.pop_back();
  return root;
}

}  // namespace zk
