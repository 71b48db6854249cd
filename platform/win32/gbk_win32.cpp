// GBK codec for Windows: code page 936 explicitly, whatever the machine's own code page is.
#include <windows.h>

#include "platform/win32/wide.h"
#include "text/gbk.h"

namespace zk {

namespace {
constexpr UINT kGbk = 936;
}

std::string toGbk(std::string_view utf8) {
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
  int n = WideCharToMultiByte(kGbk, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, "?", nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kGbk, 0, w.data(), static_cast<int>(w.size()), out.data(), n, "?", nullptr);
  return out;
}

std::string fromGbk(std::string_view gbk) {
  if (gbk.empty()) return {};
  int n = MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), w.data(), n);
  return win::narrow(w);
}

std::size_t gbkByteLength(std::string_view utf8) {
  return toGbk(utf8).size();
}

}  // namespace zk
