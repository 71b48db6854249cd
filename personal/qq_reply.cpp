#include "personal/qq_reply.h"

#include "text/gbk.h"
#include "text/text.h"

namespace zk {
namespace {

// Bytes of the UTF-8 character that starts with lead (1 for a stray byte, so every loop ends).
std::size_t charLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

// C0 and C1 controls and DEL: never part of a name on a label.
bool isControl(std::string_view ch) {
  if (ch.size() == 1) return static_cast<unsigned char>(ch[0]) < 0x20 || ch[0] == 0x7F;
  return ch.size() == 2 && static_cast<unsigned char>(ch[0]) == 0xC2 && static_cast<unsigned char>(ch[1]) < 0xA0;
}

std::string withoutTrailingSlash(std::string_view s) {
  while (!s.empty() && s.back() == '/') s.remove_suffix(1);
  return std::string(s);
}

}  // namespace

bool isQqNumber(std::string_view s) {
  if (s.size() < 5 || s.size() > 11) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string qqServiceBase(std::string_view own, std::string_view builtIn) {
  std::string trimmed = trimBlanks(own);
  return withoutTrailingSlash(isWebAddress(trimmed) ? std::string_view(trimmed) : builtIn);
}

std::string qqNicknameUrl(std::string_view base, std::string_view number) {
  return std::string(base) + "/fcg-bin/cgi_get_portrait.fcg?uins=" + std::string(number);
}

std::string qqAvatarUrl(std::string_view base, std::string_view number) {
  return std::string(base) + "/headimg_dl?dst_uin=" + std::string(number) + "&spec=100&img_type=jpg";
}

std::string cutToGbkBytes(std::string_view utf8, std::size_t maxBytes) {
  std::size_t used = 0, end = 0;
  while (end < utf8.size()) {
    std::size_t n = std::min(charLength(static_cast<unsigned char>(utf8[end])), utf8.size() - end);
    std::size_t bytes = gbkByteLength(utf8.substr(end, n));
    if (used + bytes > maxBytes) break;
    used += bytes;
    end += n;
  }
  return std::string(utf8.substr(0, end));
}

std::string qqNicknameFromReply(std::string_view body) {
  std::size_t start = body.find(kQqNicknameStart);
  if (start == std::string_view::npos) return {};
  start += kQqNicknameStart.size();
  std::size_t end = body.find(kQqNicknameEnd, start);
  if (end == std::string_view::npos) return {};
  const std::string text = fromGbk(body.substr(start, end - start));
  std::string kept;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = std::min(charLength(static_cast<unsigned char>(text[i])), text.size() - i);
    std::string_view ch(text.data() + i, n);
    i += n;
    if (isControl(ch)) continue;
    if (n > 1 && !isGbkEncodable(ch)) continue;
    kept += ch;
  }
  std::size_t first = kept.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  std::size_t last = kept.find_last_not_of(' ');
  std::string nickname = cutToGbkBytes(std::string_view(kept).substr(first, last - first + 1), kNicknameMaxBytes);
  // A cut inside a run of blanks would leave them at the end.
  nickname.erase(nickname.find_last_not_of(' ') + 1);
  return nickname;
}

NicknameFont nicknameFontFor(std::string_view nickname) {
  std::size_t bytes = gbkByteLength(nickname);
  if (bytes < 16) return NicknameFont::YaHei13;
  if (bytes > 16) return NicknameFont::YaHei12;
  return NicknameFont::Design;
}

}  // namespace zk
