// HTTP GET through WinINet, with explicit time-outs and the download size cap.
#pragma once

#include "platform/http.h"

namespace zk::win {

class WinInetHttp : public Http {
 public:
  // Time-outs in milliseconds; the receive time-out is set on the request handle, the only
  // place WinINet honours it.
  explicit WinInetHttp(unsigned connectTimeoutMs = 10000, unsigned receiveTimeoutMs = 20000)
      : connectMs_(connectTimeoutMs), receiveMs_(receiveTimeoutMs) {}
  HttpResponse get(const std::string& url) override;

 private:
  unsigned connectMs_, receiveMs_;
};

}  // namespace zk::win
