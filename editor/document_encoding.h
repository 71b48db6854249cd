// How a file's bytes become the editor's text and how the text goes back to bytes: GBK, the
// house encoding, or UTF-8 for a file that is UTF-8 (with its byte-order mark kept as found).
#pragma once

#include <string>
#include <string_view>

namespace zk {

enum class TextEncoding { Gbk, Utf8, Utf8WithMark };

struct DecodedFile {
  std::string text;  // UTF-8, without a byte-order mark
  TextEncoding encoding = TextEncoding::Gbk;
  bool comesBack = true;  // encoding the text gives the bytes again
};

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, nothing cut short.
bool isUtf8(std::string_view bytes);
// A file is UTF-8 when it starts with the mark, or when it is well-formed UTF-8 and holds at least
// one multi-byte character (pure ASCII reads the same either way and stays GBK).
TextEncoding encodingOf(std::string_view bytes);
DecodedFile decodeFile(std::string_view bytes);
std::string encodeText(std::string_view text, TextEncoding encoding);
// Whether GBK holds every character of the text (the others would be written as "?").
bool gbkHolds(std::string_view text);

}  // namespace zk
