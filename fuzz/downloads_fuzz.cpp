// The download rules: whatever a server answers, a hosts text that passes holds no NUL byte,
// does not open as a page, and is the body as sent; a small cloud file is text up to a NUL.
// Also the check on addresses from the cloud before the browser sees them.
#include <cstdlib>
#include <cstring>

#include "fuzz/fuzz_input.h"
#include "sync/downloads.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zk;
  fuzz::Input in(data, size);
  std::uint8_t flags = in.byte();
  HttpResponse r{(flags & 1) != 0, (flags & 2) ? 200 : 100 + in.byte() * 2, (flags & 4) != 0, std::string(in.rest())};
  std::string body = r.body;
  std::string small = cloudText(r);
  if (small.find('\0') != std::string::npos || small.size() > body.size()) std::abort();
  std::string text = hostsText(HttpResponse(r));
  if (!text.empty()) {
    if (text != body || !r.reached || r.truncated || r.status < 200 || r.status > 299) std::abort();
    if (std::memchr(text.data(), 0, text.size())) std::abort();
  }
  if (isWebAddress(body)) {
    if (!startsWithIgnoreCase(body, "http://") && !startsWithIgnoreCase(body, "https://")) std::abort();
    for (unsigned char c : body)
      if (c <= 0x20 || c == 0x7F) std::abort();
  }
  return 0;
}
