// The GBK boundary: any bytes convert without failing, and GBK that converts cleanly (no
// replacement character) comes back byte for byte.
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_input.h"
#include "text/gbk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zk;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string utf8 = fromGbk(bytes);
  if (utf8.find("\xEF\xBF\xBD") == std::string::npos && toGbk(utf8) != bytes) std::abort();
  // And the other way: UTF-8 text of characters GBK holds comes back the same.
  std::string gbk = toGbk(utf8);
  if (fromGbk(gbk) != utf8 && utf8.find("\xEF\xBF\xBD") == std::string::npos) std::abort();
  if (gbkByteLength(utf8) != gbk.size()) std::abort();
  return 0;
}
