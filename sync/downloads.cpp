#include "sync/downloads.h"

#include <algorithm>
#include <cstring>

#include "text/text.h"

namespace zk {

namespace {
// A 2xx answer with a whole, non-empty body.
bool complete(const HttpResponse& r) {
  return r.reached && r.status >= 200 && r.status <= 299 && !r.truncated && !r.body.empty();
}
}  // namespace

std::string cloudText(const HttpResponse& r) {
  return complete(r) ? textUpToNul(r.body) : std::string();
}

std::string hostsText(HttpResponse&& r) {
  if (!complete(r)) return {};
  if (!looksLikeHostsText(r.body)) return {};  // a NUL byte makes it binary too
  return std::move(r.body);
}

bool looksLikeHostsText(std::string_view body) {
  // Binary anywhere in the body is binary: the whole text goes into the system file.
  if (std::memchr(body.data(), 0, body.size())) return false;
  std::size_t control = 0;
  for (unsigned char c : body) control += c < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != '\f';
  if (control * 100 > body.size()) return false;
  std::string_view head = body.substr(0, std::min<std::size_t>(body.size(), 64 << 10));
  if (head.substr(0, 3) == "\xEF\xBB\xBF") head.remove_prefix(3);
  auto first = head.find_first_not_of(" \t\r\n\f");
  return first == std::string_view::npos || head[first] != '<';
}

}  // namespace zk
