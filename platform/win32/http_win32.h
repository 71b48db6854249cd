// HTTP GET through WinINet, with explicit time-outs and the download size cap.
#pragma once

#include "platform/http.h"

namespace zk::win {

class WinInetHttp : public Http {
 public:
  // Time-outs in milliseconds; the receive time-out is set on the request handle, the only
  // place WinINet honours it.
  // maxBytes: a body that grows past it is cut off and marked truncated.
  explicit WinInetHttp(unsigned connectTimeoutMs = 10000, unsigned receiveTimeoutMs = 20000,
                       std::size_t maxBytes = kMaxDownloadBytes)
      : connectMs_(connectTimeoutMs), receiveMs_(receiveTimeoutMs), maxBytes_(maxBytes) {}
  HttpResponse get(const std::string& url) override;

 private:
  unsigned connectMs_, receiveMs_;
  std::size_t maxBytes_;
};

}  // namespace zk::win
