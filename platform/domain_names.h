// Domain names written in other scripts than Latin ("中文.com"), as the network knows them.
#pragma once

#include <optional>
#include <string>

namespace zk {

class DomainNames {
 public:
  virtual ~DomainNames() = default;
  // The ASCII form of a name given in UTF-8 (each label that needs it as "xn--..."); nothing
  // when it is no valid domain name.
  virtual std::optional<std::string> toAscii(const std::string& utf8) = 0;
};

}  // namespace zk
