// Whatever passes the ping target check holds nothing a command interpreter would act on, and its
// script line keeps the target as one word.
#include <cstdlib>
#include <string>

#include "nettools/ping.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 300) return 0;
  std::string s(reinterpret_cast<const char*>(data), size);
  if (!zk::isPingTarget(s)) return 0;
  if (s.front() == '-') std::abort();
  for (unsigned char c : s) {
    bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '-' ||
                 c == ':' || c == '%';
    if (!plain) std::abort();
  }
  if (s.find('%') != s.rfind('%')) std::abort();
  zk::ProgramValues values;
  values.systemFolder = "C:\\Windows\\system32\\";
  std::string line = zk::pingScriptLine(values, s, "C:\\T\\Ping.txt");
  // Every "%" doubled: the interpreter reads none of them as a variable.
  std::size_t singles = 0;
  for (std::size_t i = 0; i < line.size(); ++i)
    if (line[i] == '%') {
      if (i + 1 >= line.size() || line[i + 1] != '%') ++singles;
      ++i;
    }
  if (singles != 0) std::abort();
  return 0;
}
