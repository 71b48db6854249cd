// How a file's bytes become the editor's text. On any bytes: a file read as UTF-8 gives
// well-formed text (the editing component holds nothing else); a file whose bytes come back from
// its text gives exactly those bytes again, mark included; and well-formed UTF-8 with any byte
// above ASCII is never read as GBK.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/document_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zk;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  DecodedFile file = decodeFile(bytes);
  if (file.encoding != TextEncoding::Gbk && !isUtf8(file.text)) std::abort();
  if (file.comesBack && encodeText(file.text, file.encoding) != bytes) std::abort();
  if (file.encoding == TextEncoding::Utf8 && (!isUtf8(bytes) || !file.comesBack)) std::abort();
  if (isUtf8(bytes) && encodingOf(bytes) == TextEncoding::Gbk) {
    // Only a text of ASCII alone (or one with the mark) is not taken as UTF-8.
    for (unsigned char c : bytes)
      if (c >= 0x80) std::abort();
  }
  return 0;
}
