// The address check of the add-entry dialog agrees with the C library's parser of the same forms.
#include <arpa/inet.h>

#include <cstdlib>
#include <string>

#include "text/address.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 64) return 0;
  std::string s(reinterpret_cast<const char*>(data), size);
  if (s.find('\0') != std::string::npos) return 0;
  unsigned char buf[16];
  if (zk::isIpv4Address(s) != (inet_pton(AF_INET, s.c_str(), buf) == 1)) std::abort();
  if (zk::isIpv6Address(s) != (inet_pton(AF_INET6, s.c_str(), buf) == 1)) std::abort();
  return 0;
}
