// The GBK (code page 936) boundary: the only place where program text changes encoding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zk {

// UTF-8 to GBK; characters GBK cannot hold (and bytes that are not UTF-8) become '?'.
std::string toGbk(std::string_view utf8);

// GBK to UTF-8, the same on every build whatever the system's codec makes of bad input. Every
// byte below 0x80 stays itself unless it is the second byte of a double-byte character: a lead
// byte (0x81-0xFE) takes only 0x40-0xFE except 0x7F as its second byte. A lead byte without one,
// a lone 0x80 or 0xFF, and a pair that is no character (or a private-use one, which codecs map
// differently) become one U+FFFD each; after a lone lead byte the next byte is read again, so a
// line end or blank after it is never swallowed.
std::string fromGbk(std::string_view gbk);

// Length in GBK bytes (a Chinese character counts two), as the length rules count.
std::size_t gbkByteLength(std::string_view utf8);

// A text's GBK bytes, and whether they hold all of it: false when some character has no GBK
// form (it was written as '?') or the text is not valid UTF-8, that is, whenever reading the
// bytes back would not give the text.
struct GbkBytes {
  std::string bytes;
  bool complete = false;
};
GbkBytes toGbkChecked(std::string_view utf8);

// True when toGbk loses nothing of the text.
bool isGbkEncodable(std::string_view utf8);

}  // namespace zk
