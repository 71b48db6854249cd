#include "text/gbk.h"

#include <algorithm>

#include "text/gbk_platform.h"

namespace zk {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
// The system codecs count in int: long texts go to them in pieces of whole characters.
constexpr std::size_t kPiece = 16u << 20;

bool isLead(unsigned char c) {
  return c >= 0x81 && c <= 0xFE;
}
bool isTrail(unsigned char c) {
  return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// U+E000-U+F8FF in UTF-8: EE xx xx, or EF 80-A3 xx.
bool holdsPrivateUse(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    auto c = static_cast<unsigned char>(utf8[i]);
    if (c == 0xEE) return true;
    if (c == 0xEF && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) <= 0xA3) return true;
  }
  return false;
}

// One double-byte character, or the replacement when the code page has none (or only a
// private-use one) for it.
void appendPair(std::string_view pair, std::string& out) {
  auto one = gbk_platform::decodeWhole(pair);
  out += one && !holdsPrivateUse(*one) ? std::string_view(*one) : kReplacement;
}

// A run of whole characters: in one call, unless some pair in it has no usable character; then
// character by character, so that only those pairs are replaced.
void appendRun(std::string_view run, std::string& out) {
  if (auto all = gbk_platform::decodeWhole(run); all && !holdsPrivateUse(*all)) {
    out += *all;
    return;
  }
  for (std::size_t i = 0; i < run.size();) {
    if (static_cast<unsigned char>(run[i]) < 0x80) {
      out += run[i++];
    } else {
      appendPair(run.substr(i, 2), out);
      i += 2;
    }
  }
}

}  // namespace

std::string fromGbk(std::string_view in) {
  if (std::all_of(in.begin(), in.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return std::string(in);
  std::string out;
  out.reserve(in.size() + in.size() / 2);
  std::size_t at = 0;
  while (at < in.size()) {
    std::size_t end = at;
    while (end < in.size() && end - at < kPiece) {
      auto c = static_cast<unsigned char>(in[end]);
      if (c < 0x80) {
        ++end;
      } else if (isLead(c) && end + 1 < in.size() && isTrail(static_cast<unsigned char>(in[end + 1]))) {
        end += 2;
      } else {
        break;
      }
    }
    if (end > at) appendRun(in.substr(at, end - at), out);
    if (end < in.size() && end - at < kPiece) {
      out += kReplacement;  // only this byte: the next one is read again
      ++end;
    }
    at = end;
  }
  return out;
}

std::string toGbk(std::string_view utf8) {
  if (utf8.size() <= kPiece) return gbk_platform::encode(utf8);
  std::string out;
  while (!utf8.empty()) {
    std::size_t cut = std::min(kPiece, utf8.size());
    // Back to the start of a character (at most three continuation bytes).
    for (int back = 0; back < 3 && cut < utf8.size() && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80; ++back)
      --cut;
    out += gbk_platform::encode(utf8.substr(0, cut));
    utf8.remove_prefix(cut);
  }
  return out;
}

std::size_t gbkByteLength(std::string_view utf8) {
  return toGbk(utf8).size();
}

GbkBytes toGbkChecked(std::string_view utf8) {
  GbkBytes out{toGbk(utf8)};
  out.complete = fromGbk(out.bytes) == utf8;
  return out;
}

bool isGbkEncodable(std::string_view utf8) {
  return toGbkChecked(utf8).complete;
}

}  // namespace zk
