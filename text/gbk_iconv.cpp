// GBK codec for the native build (iconv CP936); Windows uses code page 936 directly.
#include <iconv.h>

#include <cerrno>

#include "text/gbk_platform.h"

namespace zk::gbk_platform {
namespace {

// One converter per thread and direction: opening one costs more than converting a line.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Converts as far as it can; false at the first sequence the target cannot take (or a
// truncated one), with src and left at it.
bool convertSome(Converter& cv, char*& src, size_t& left, std::string& out) {
  char buf[4096];
  while (left > 0) {
    char* dst = buf;
    size_t room = sizeof buf;
    size_t r = iconv(cv.get(), &src, &left, &dst, &room);
    out.append(buf, dst);
    if (r == static_cast<size_t>(-1) && errno != E2BIG) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> decodeWhole(std::string_view run) {
  thread_local Converter cv("UTF-8", "CP936");
  if (!cv.ok()) return std::nullopt;
  cv.reset();
  std::string out;
  out.reserve(run.size() * 3 / 2 + 16);
  char* src = const_cast<char*>(run.data());
  size_t left = run.size();
  if (!convertSome(cv, src, left, out)) return std::nullopt;
  return out;
}

std::string encode(std::string_view utf8) {
  thread_local Converter cv("CP936", "UTF-8");
  if (!cv.ok()) return std::string(utf8);
  cv.reset();
  std::string out;
  out.reserve(utf8.size() + 16);
  char* src = const_cast<char*>(utf8.data());
  size_t left = utf8.size();
  while (!convertSome(cv, src, left, out)) {
    // A character GBK cannot hold, or bytes that are not UTF-8: one '?' for the character, or
    // for each stray byte.
    out += '?';
    auto c = static_cast<unsigned char>(*src);
    size_t skip = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    size_t whole = 1;
    while (whole < skip && whole < left && (static_cast<unsigned char>(src[whole]) & 0xC0) == 0x80) ++whole;
    if (whole < skip) skip = 1;
    src += skip;
    left -= skip;
    cv.reset();
  }
  return out;
}

}  // namespace zk::gbk_platform
