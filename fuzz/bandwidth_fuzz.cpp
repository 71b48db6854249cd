// The bandwidth box: any text reads as a finite number, and the 13-digit form of a number reads
// back as the number rounded to 13 significant digits.
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "nettools/bandwidth.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zk;
  if (size > 256) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  double x = bandwidthNumber(text);
  if (!std::isfinite(x)) std::abort();
  for (double v : {x, x * 1024 / 8, x / 8, x / 8192}) {
    std::string shown = generalNumber(v);
    double back = 0;
    auto r = std::from_chars(shown.data(), shown.data() + shown.size(), back);
    if (r.ec != std::errc() || r.ptr != shown.data() + shown.size()) std::abort();
    if (v != 0 && std::fabs(back - v) > std::fabs(v) * 1e-12) std::abort();
  }
  if (bandwidthSentence(text).find(text) == std::string::npos) std::abort();
  return 0;
}
