// Reading GBK: any bytes read as the rule says, unit by unit (a byte below 0x80 is itself; a lead
// byte with a byte it takes second is one character, or one U+FFFD when the pair is none; any
// other byte is one U+FFFD and the next byte is read again); text without U+FFFD goes back to
// the same bytes; writing never loses a byte below 0x40.
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/gbk.h"

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::size_t utf8Length(unsigned char c) {
  return c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
}

// The bytes below 0x40 but '?', which marks what GBK cannot hold.
std::string below0x40(std::string_view s) {
  std::string out;
  for (char c : s)
    if (static_cast<unsigned char>(c) < 0x40 && c != '?') out += c;
  return out;
}

void checkUnits(std::string_view bytes, std::string_view text) {
  std::size_t at = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    auto c = static_cast<unsigned char>(bytes[i]);
    if (at >= text.size()) std::abort();
    if (c < 0x80) {
      if (text[at] != bytes[i]) std::abort();
      ++at;
      ++i;
      continue;
    }
    std::size_t n = utf8Length(static_cast<unsigned char>(text[at]));
    if (n < 2 || at + n > text.size()) std::abort();  // a character read from a high byte is never ASCII
    std::string_view one = text.substr(at, n);
    at += n;
    auto next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    bool pair = c >= 0x81 && c <= 0xFE && next >= 0x40 && next <= 0xFE && next != 0x7F;
    if (!pair) {
      if (one != kReplacement) std::abort();
      ++i;
      continue;
    }
    if (one != kReplacement && zk::toGbk(one) != bytes.substr(i, 2)) std::abort();
    i += 2;
  }
  if (at != text.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zk;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string text = fromGbk(bytes);
  checkUnits(bytes, text);
  if (text.find(kReplacement) == std::string::npos && toGbk(text) != bytes) std::abort();
  // The same bytes taken as UTF-8 to write: whatever GBK cannot hold, no line end, blank or
  // digit is lost, and a text said to be whole reads back as itself.
  GbkBytes written = toGbkChecked(bytes);
  if (below0x40(written.bytes) != below0x40(bytes)) std::abort();
  if (written.complete && fromGbk(written.bytes) != bytes) std::abort();
  if (isGbkEncodable(bytes) != written.complete) std::abort();
  return 0;
}
