// GBK codec for the native build (iconv CP936); Windows uses code page 936 directly.
#include <iconv.h>

#include <cerrno>

#include "text/gbk.h"

namespace zk {
namespace {

// Converts piece by piece, replacing what the target cannot take.
std::string convert(std::string_view in, const char* to, const char* from, std::string_view bad) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  out.reserve(in.size() * 3 / 2 + 16);
  char* src = const_cast<char*>(in.data());
  size_t left = in.size();
  char buf[4096];
  while (left > 0) {
    char* dst = buf;
    size_t room = sizeof buf;
    size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buf, dst);
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      // EILSEQ or EINVAL (truncated tail): skip one source character and mark it.
      out.append(bad);
      size_t skip = 1;
      if (std::string_view(from) == "UTF-8") {
        unsigned char c = static_cast<unsigned char>(*src);
        skip = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (skip > left) skip = left;
      }
      src += skip;
      left -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string toGbk(std::string_view utf8) {
  return convert(utf8, "CP936", "UTF-8", "?");
}
std::string fromGbk(std::string_view gbk) {
  return convert(gbk, "UTF-8", "CP936", "\xEF\xBF\xBD");
}
std::size_t gbkByteLength(std::string_view utf8) {
  return toGbk(utf8).size();
}

}  // namespace zk
