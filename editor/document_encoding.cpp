#include "editor/document_encoding.h"

#include "text/gbk.h"

namespace zk {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The length of the well-formed sequence at p, or 0.
std::size_t sequenceLength(std::string_view s, std::size_t p) {
  auto at = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char c = at(p);
  if (c < 0x80) return 1;
  std::size_t n;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) low = 0xA0;   // overlong
    if (c == 0xED) high = 0x9F;  // surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) low = 0x90;   // overlong
    if (c == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (s.size() - p < n) return 0;
  if (at(p + 1) < low || at(p + 1) > high) return 0;
  for (std::size_t i = 2; i < n; ++i)
    if (at(p + i) < 0x80 || at(p + i) > 0xBF) return 0;
  return n;
}

std::string repairedUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t p = 0; p < bytes.size();) {
    std::size_t n = sequenceLength(bytes, p);
    if (n == 0) {
      out += "\xEF\xBF\xBD";
      ++p;
    } else {
      out.append(bytes.substr(p, n));
      p += n;
    }
  }
  return out;
}

}  // namespace

bool isUtf8(std::string_view bytes) {
  for (std::size_t p = 0; p < bytes.size();) {
    std::size_t n = sequenceLength(bytes, p);
    if (n == 0) return false;
    p += n;
  }
  return true;
}

TextEncoding encodingOf(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) return TextEncoding::Utf8WithMark;
  bool multiByte = false;
  for (std::size_t p = 0; p < bytes.size();) {
    std::size_t n = sequenceLength(bytes, p);
    if (n == 0) return TextEncoding::Gbk;
    multiByte = multiByte || n > 1;
    p += n;
  }
  return multiByte ? TextEncoding::Utf8 : TextEncoding::Gbk;
}

DecodedFile decodeFile(std::string_view bytes) {
  DecodedFile file;
  file.encoding = encodingOf(bytes);
  switch (file.encoding) {
    case TextEncoding::Utf8WithMark:
      bytes.remove_prefix(kUtf8Mark.size());
      // A marked file need not be well-formed after its mark: each byte that is not part of a
      // character becomes U+FFFD, and the file does not come back from its text.
      file.comesBack = isUtf8(bytes);
      file.text = file.comesBack ? std::string(bytes) : repairedUtf8(bytes);
      break;
    case TextEncoding::Utf8: file.text = std::string(bytes); break;
    case TextEncoding::Gbk:
      file.text = fromGbk(bytes);
      file.comesBack = toGbk(file.text) == bytes;
      break;
  }
  return file;
}

std::string encodeText(std::string_view text, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8WithMark: return std::string(kUtf8Mark) + std::string(text);
    case TextEncoding::Utf8: return std::string(text);
    case TextEncoding::Gbk: break;
  }
  return toGbk(text);
}

bool gbkHolds(std::string_view text) {
  return fromGbk(toGbk(text)) == text;
}

}  // namespace zk
