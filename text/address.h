// IP addresses as the user types them into a box: checked strictly before they go into a file.
#pragma once

#include <string_view>

namespace zk {

// Dotted decimal, four parts of 0 to 255 without leading zeros ("127.0.0.1").
bool isIpv4Address(std::string_view s);
// Eight groups of one to four hex digits, one "::" standing for one or more zero groups, and an
// IPv4 address in place of the last two groups ("::1", "fe80::1", "::ffff:1.2.3.4"). No zone.
bool isIpv6Address(std::string_view s);
inline bool isIpAddress(std::string_view s) {
  return isIpv4Address(s) || isIpv6Address(s);
}

}  // namespace zk
