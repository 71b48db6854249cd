// The date-time texts for any clock reading: the dashed stamp keeps no unit, the log prefix is
// two digits a field.
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_input.h"
#include "sync/hosts_file.h"
#include "text/datetime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zk;
  fuzz::Input in(data, size);
  LocalTime t{in.number(1601, 30827), in.number(1, 12), in.number(1, 31),
              in.number(0, 23),       in.number(0, 59), in.number(0, 59)};
  std::string text = dateTimeText(t);
  std::string dashed = dashedStamp(text);
  for (const char* unit : {"年", "月", "日", "时", "分", "秒"})
    if (dashed.find(unit) != std::string::npos) std::abort();
  std::string prefix = logTimePrefix(t);
  if (prefix.size() != 8 + 3 || prefix[2] != ':' || prefix[5] != ':') std::abort();
  // An arbitrary text through the stamp rewrite: never longer than it was.
  std::string any(in.rest());
  if (dashedStamp(any).size() > any.size()) std::abort();
  return 0;
}
