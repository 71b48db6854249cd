// HTTP GET of a whole resource: the one network operation of the program.
#pragma once

#include <cstddef>
#include <string>

namespace zk {

struct HttpResponse {
  bool reached = false;    // a response arrived (false: bad URL, name, connection, time-out)
  int status = 0;          // HTTP status code
  bool truncated = false;  // the body went past the size cap and was cut off
  std::string body;
};

class Http {
 public:
  virtual ~Http() = default;
  // Blocking: call it from offloaded work, never on the UI thread.
  virtual HttpResponse get(const std::string& url) = 0;
};

// Nothing larger is ever accepted as a download.
inline constexpr std::size_t kMaxDownloadBytes = 64u << 20;

}  // namespace zk
