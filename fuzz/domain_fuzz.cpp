// The domain box cleaning: any text comes to rest, never longer than it was, with no token of the
// table left in it, and cleaning the rested text changes nothing.
#include <cstdlib>
#include <string>

#include "editor/domain_cleaning.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zk;
  if (size > 4096) return 0;  // a domain box, not a document
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string rest = cleanDomain(text);
  if (rest.size() > text.size()) std::abort();
  if (cleanDomain(rest) != rest || cleanDomainPass(rest) != rest) std::abort();
  for (const CleaningRow& row : kDomainCleaning)
    if (asciiLower(rest).find(asciiLower(row.token)) != std::string::npos) std::abort();
  return 0;
}
