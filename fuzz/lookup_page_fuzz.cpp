// Any page: the extraction ends (Boost's complexity limit is caught), and what it finds is one
// line of the page, its entities each one blank.
#include <cstdlib>
#include <string>

#include "nettools/external_ip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 64 * 1024) return 0;
  std::string page = zk::lookupPageText(std::string(reinterpret_cast<const char*>(data), size));
  zk::ExternalIpFound f = zk::extractExternalIp(page);
  for (const auto* v : {&f.ip, &f.location}) {
    if (!*v) continue;
    if ((*v)->find('\n') != std::string::npos || (*v)->size() > page.size()) std::abort();
  }
  if (f.location && f.location->find("&nbsp;") != std::string::npos) std::abort();
  return 0;
}
