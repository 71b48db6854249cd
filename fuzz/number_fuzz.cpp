// Numbers in texts from outside: never hex, infinity or not-a-number, and a plain decimal text
// reads as its value.
#include <cmath>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_input.h"
#include "text/number.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zk;
  std::string text(reinterpret_cast<const char*>(data), size);
  double v = leadingDecimal(text);
  if (!std::isfinite(v)) std::abort();
  // A text of digits alone reads as strtod reads it.
  if (!text.empty() && text.size() < 30 && text.find_first_not_of("0123456789") == std::string::npos &&
      v != std::strtod(text.c_str(), nullptr))
    std::abort();
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && v != 0.0) std::abort();
  return 0;
}
