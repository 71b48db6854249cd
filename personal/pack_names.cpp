#include "personal/pack_names.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "text/gbk.h"

namespace zk {

namespace {

constexpr std::size_t kMaxCharacters = 64;

// The length of the UTF-8 character at the start of s, 0 when it is not one (overlong forms,
// surrogates and values above U+10FFFF included).
std::size_t utf8Length(std::string_view s, char32_t& cp) {
  auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char c = b(0);
  std::size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
  if (n == 0 || n > s.size()) return 0;
  cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
  for (std::size_t i = 1; i < n; ++i) {
    if ((b(i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(i) & 0x3F);
  }
  static constexpr std::array<char32_t, 5> kMin{0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

bool forbidden(char32_t cp) {
  if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) return true;
  return cp < 0x80 && std::string_view("\\/:*?\"<>|").find(static_cast<char>(cp)) != std::string_view::npos;
}

bool reservedDeviceName(std::string_view name) {
  std::string base(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' && base[3] <= '9';
}

}  // namespace

std::string cleanNicknameForFileName(std::string_view nickname) {
  std::string kept;
  std::size_t characters = 0;
  for (std::size_t at = 0; at < nickname.size() && characters < kMaxCharacters;) {
    char32_t cp = 0;
    std::size_t n = utf8Length(nickname.substr(at), cp);
    if (n == 0) {
      ++at;
      continue;
    }
    std::string_view ch = nickname.substr(at, n);
    at += n;
    if (forbidden(cp) || !isGbkEncodable(ch)) continue;
    kept += ch;
    ++characters;
  }
  // Runs of two or more dots go whole ("a..b" -> "ab"), so no "." or ".." path step can form.
  std::string out;
  for (std::size_t i = 0; i < kept.size();) {
    std::size_t j = i;
    while (j < kept.size() && kept[j] == '.') ++j;
    if (j == i) {
      out += kept[i++];
      continue;
    }
    if (j - i == 1) out += '.';
    i = j;
  }
  auto blankOrDot = [](char c) { return c == ' ' || c == '.'; };
  while (!out.empty() && blankOrDot(out.back())) out.pop_back();
  std::size_t lead = 0;
  while (lead < out.size() && blankOrDot(out[lead])) ++lead;
  out.erase(0, lead);
  if (reservedDeviceName(out)) return {};
  return out;
}

std::optional<std::string> nicknameMarkerName(std::string_view nickname, const LocalTime& now) {
  std::string usable = cleanNicknameForFileName(nickname);
  if (usable.empty()) return std::nullopt;
  return "专为" + usable + "定制于：" + dateTimeText(now);
}

}  // namespace zk
