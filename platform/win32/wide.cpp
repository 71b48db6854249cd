#include "platform/win32/wide.h"

#include <windows.h>

namespace zk::win {

namespace {

// The conversion functions count in int: longer texts go in pieces that end between characters.
constexpr std::size_t kPiece = std::size_t{1} << 26;

std::size_t utf8PieceEnd(std::string_view s, std::size_t from) {
  std::size_t end = from + kPiece;
  if (end >= s.size()) return s.size();
  while (end > from && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;  // not inside a sequence
  return end > from ? end : from + kPiece;
}

std::size_t utf16PieceEnd(std::wstring_view s, std::size_t from) {
  std::size_t end = from + kPiece;
  if (end >= s.size()) return s.size();
  if (s[end - 1] >= 0xD800 && s[end - 1] <= 0xDBFF) --end;  // not between the halves of a pair
  return end;
}

}  // namespace

std::wstring widen(std::string_view utf8) {
  std::wstring out;
  for (std::size_t at = 0; at < utf8.size();) {
    std::size_t end = utf8PieceEnd(utf8, at);
    int len = static_cast<int>(end - at);
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data() + at, len, nullptr, 0);
    std::size_t old = out.size();
    out.resize(old + static_cast<std::size_t>(n));
    MultiByteToWideChar(CP_UTF8, 0, utf8.data() + at, len, out.data() + old, n);
    at = end;
  }
  return out;
}

std::string narrow(std::wstring_view utf16) {
  std::string out;
  for (std::size_t at = 0; at < utf16.size();) {
    std::size_t end = utf16PieceEnd(utf16, at);
    int len = static_cast<int>(end - at);
    int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data() + at, len, nullptr, 0, nullptr, nullptr);
    std::size_t old = out.size();
    out.resize(old + static_cast<std::size_t>(n));
    WideCharToMultiByte(CP_UTF8, 0, utf16.data() + at, len, out.data() + old, n, nullptr, nullptr);
    at = end;
  }
  return out;
}

std::string fromConsole(std::string_view bytes) {
  if (bytes.empty()) return {};
  UINT cp = GetOEMCP();
  int n = MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return narrow(wide);
}

}  // namespace zk::win
