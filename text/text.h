// Small text rules shared by every subsystem.
#pragma once

#include <string>
#include <string_view>

namespace zk {

// A text read from bytes ends at the first NUL byte.
std::string textUpToNul(std::string_view bytes);
// ASCII-only case folding, safe on GBK and UTF-8 bytes.
std::string asciiLower(std::string_view s);
bool startsWithIgnoreCase(std::string_view s, std::string_view prefix);
// Replaces every occurrence of what (ASCII letters compared without case).
std::string replaceAllIgnoreCase(std::string_view s, std::string_view what, std::string_view with);
// Strips blanks (space, tab, CR, LF) at both ends.
std::string trimBlanks(std::string_view s);
// An address the browser may be handed: "http://" or "https://" (any case) and a host after it,
// with no blank or control byte. Anything else (file:, UNC paths, program names) is not one.
bool isWebAddress(std::string_view url);
// A switch is on only when its value is exactly "1".
inline bool isOn(std::string_view v) {
  return v == "1";
}

}  // namespace zk
