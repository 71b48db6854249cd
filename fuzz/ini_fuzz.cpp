// INI text: reading never fails, and a key just written reads back as written while no other key
// (of a fixed set of probes, in several sections) changes.
#include <cstdlib>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "text/ini.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zk;
  fuzz::Input in(data, size);
  static const std::vector<std::pair<std::string, std::string>> probes = {
      {"System", "XFWQ"}, {"System", "ZURL"}, {"system", "xfwq"}, {"Server", "Server1"}, {"m", "X"}, {"m", "U"}};
  auto [section, key] = probes[in.byte() % probes.size()];
  std::string value = in.text(24);
  std::string text(in.rest());
  std::string written = iniWriteKey(text, section, key, value);
  std::string expected;
  for (char c : value)
    if (c != '\r' && c != '\n' && c != '\0') expected += c;
  // The reader drops blanks around a value, as the Windows profile functions do.
  std::size_t b = expected.find_first_not_of(" \t\r\n\v\f");
  expected = b == std::string::npos ? "" : expected.substr(b, expected.find_last_not_of(" \t\r\n\v\f") - b + 1);
  if (iniReadKey(written, section, key) != expected) std::abort();
  for (auto& [s, k] : probes) {
    if (asciiLower(s) == asciiLower(section) && asciiLower(k) == asciiLower(key)) continue;
    if (iniReadKey(written, s, k) != iniReadKey(text, s, k)) std::abort();
  }
  return 0;
}
