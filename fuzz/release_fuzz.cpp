// The release guide's conversion and the entry time: a text taken is a GBK text with CR LF lines
// only that reads back as the source, and a time taken is a date a zip entry can hold.
#include <cstdlib>
#include <string>

#include "text/gbk.h"
#include "tools/release.h"

namespace {

std::string withoutCr(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i)
    if (!(s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')) out += s[i];
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zk;
  const std::string source(reinterpret_cast<const char*>(data), size);
  std::string why;
  if (auto out = release::windowsGuide(source, why)) {
    if (out->find('\0') != std::string::npos) std::abort();
    for (std::size_t i = 0; i < out->size(); ++i) {
      if ((*out)[i] == '\n' && (i == 0 || (*out)[i - 1] != '\r')) std::abort();
      if ((*out)[i] == '\r' && (i + 1 >= out->size() || (*out)[i + 1] != '\n')) std::abort();
    }
    if (withoutCr(fromGbk(*out)) != withoutCr(source)) std::abort();
  } else if (why.empty()) {
    std::abort();
  }
  if (auto t = release::entryTime(source)) {
    if (t->year < 1980 || t->year > 2107 || t->month < 1 || t->month > 12 || t->day < 1 || t->day > 31 || t->hour < 0 ||
        t->hour > 23 || t->minute < 0 || t->minute > 59 || t->second < 0 || t->second > 59)
      std::abort();
  }
  return 0;
}
