// Any reply of the QQ nickname service: the nickname found is at most 20 GBK bytes of whole
// characters GBK holds, without control characters or blanks at its ends, and only ever comes
// from a reply that holds both fragments in order.
#include <cstdlib>
#include <string>

#include "personal/qq_reply.h"
#include "text/gbk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 64 * 1024) return 0;
  const std::string body(reinterpret_cast<const char*>(data), size);
  const std::string nickname = zk::qqNicknameFromReply(body);
  if (nickname.empty()) return 0;
  std::size_t start = body.find(zk::kQqNicknameStart);
  if (start == std::string::npos ||
      body.find(zk::kQqNicknameEnd, start + zk::kQqNicknameStart.size()) == std::string::npos)
    std::abort();
  if (zk::gbkByteLength(nickname) > zk::kNicknameMaxBytes || !zk::isGbkEncodable(nickname)) std::abort();
  if (nickname.front() == ' ' || nickname.back() == ' ') std::abort();
  for (unsigned char c : nickname)
    if (c < 0x20 || c == 0x7F) std::abort();
  // The cut keeps what fits: cutting again changes nothing.
  if (zk::cutToGbkBytes(nickname, zk::kNicknameMaxBytes) != nickname) std::abort();
  return 0;
}
