// Replace-all and the comment toggle. On any bytes, replace-all matches the plain scan it stands
// for (a match begins only where a character begins; left to right, no overlaps). On text that
// is GBK, replacing in its UTF-8 form and converting back gives what the byte scan of GBK text
// gives (a character is one byte, or two bytes from a lead byte of 0x81 to 0xFE; code page 936
// reads 0x80 alone, as the euro sign), so no match begins on a trail byte such as "@", "\" or "|".
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/fuzz_input.h"
#include "text/gbk.h"
#include "text/replace.h"

namespace {

bool startsCharacter(unsigned char c) {
  return (c & 0xC0) != 0x80;
}

std::string scanUtf8(std::string_view t, std::string_view p, std::string_view r) {
  if (p.empty()) return std::string(t);
  std::string out;
  for (std::size_t i = 0; i < t.size();) {
    if (startsCharacter(static_cast<unsigned char>(t[i])) && t.substr(i, p.size()) == p) {
      out += r;
      i += p.size();
    } else {
      out += t[i++];
    }
  }
  return out;
}

std::string scanGbk(std::string_view t, std::string_view p, std::string_view r) {
  if (p.empty()) return std::string(t);
  std::string out;
  for (std::size_t i = 0; i < t.size();) {
    if (t.substr(i, p.size()) == p) {
      out += r;
      i += p.size();
      continue;
    }
    std::size_t n = static_cast<unsigned char>(t[i]) >= 0x81 ? 2 : 1;
    out += t.substr(i, n);
    i += n;
  }
  return out;
}

bool isGbk(const std::string& s) {
  return zk::toGbk(zk::fromGbk(s)) == s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zk;
  fuzz::Input in(data, size);
  std::string pattern = in.text(8), replacement = in.text(8), text(in.rest());
  if (replacedAll(text, pattern, replacement) != scanUtf8(text, pattern, replacement)) std::abort();

  if (isGbk(text) && isGbk(pattern) && isGbk(replacement)) {
    std::string viaUtf8 = toGbk(replacedAll(fromGbk(text), fromGbk(pattern), fromGbk(replacement)));
    if (viaUtf8 != scanGbk(text, pattern, replacement)) std::abort();
  }

  // The toggle: one "#" in front of a selection without any, every "#" gone from one with some.
  std::string toggled = toggledComment(text);
  if (text.find('#') == std::string::npos) {
    if (toggled != "#" + text || toggledComment(toggled) != text) std::abort();
  } else if (toggled.find('#') != std::string::npos || toggled != scanUtf8(text, "#", "")) {
    std::abort();
  }
  return 0;
}
