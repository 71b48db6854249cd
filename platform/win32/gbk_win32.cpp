// GBK codec for Windows: code page 936 explicitly, whatever the machine's own code page is.
#include <windows.h>

#include "platform/win32/wide.h"
#include "text/gbk_platform.h"

namespace zk::gbk_platform {

namespace {
constexpr UINT kGbk = 936;
}

// Pieces are at most a few megabytes (text/gbk.cpp), so their sizes fit an int.
std::optional<std::string> decodeWhole(std::string_view run) {
  if (run.empty()) return std::string();
  const int size = static_cast<int>(run.size());
  int n = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, run.data(), size, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring w(static_cast<size_t>(n), L'\0');
  if (MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, run.data(), size, w.data(), n) != n) return std::nullopt;
  return win::narrow(w);
}

std::string encode(std::string_view utf8) {
  std::wstring w = win::widen(utf8);
  // A character outside the BMP is one '?', as in the native build, not one per surrogate.
  std::wstring::size_type kept = 0;
  for (std::wstring::size_type i = 0; i < w.size(); ++i) {
    bool pair = w[i] >= 0xD800 && w[i] <= 0xDBFF && i + 1 < w.size() && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF;
    w[kept++] = pair ? L'?' : w[i];
    if (pair) ++i;
  }
  w.resize(kept);
  if (w.empty()) return {};
  // No "best fit": a character GBK does not hold becomes '?', never a look-alike letter.
  const DWORD flags = WC_NO_BEST_FIT_CHARS;
  int n = WideCharToMultiByte(kGbk, flags, w.data(), static_cast<int>(w.size()), nullptr, 0, "?", nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kGbk, flags, w.data(), static_cast<int>(w.size()), out.data(), n, "?", nullptr);
  return out;
}

}  // namespace zk::gbk_platform
