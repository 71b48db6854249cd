// The QQ nickname and avatar services as the customisation uses them: addresses, the nickname
// reply, and the label's font by the nickname's length. Replies are untrusted outside input.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "main/main_view.h"

namespace zk {

// The nickname service answers a callback whose nickname lies between these two fragments.
inline constexpr std::string_view kQqNicknameStart = "-1,0,0,0,\"";
inline constexpr std::string_view kQqNicknameEnd = "\",0]})";
// Longest nickname shown, in GBK bytes (ten Chinese characters).
inline constexpr std::size_t kNicknameMaxBytes = 20;
// The nickname lookup's reply is small; the avatar a small picture.
inline constexpr std::size_t kQqNicknameCap = 64u << 10;
inline constexpr std::size_t kQqAvatarCap = 1u << 20;

// 5 to 11 ASCII digits: the only text that ever goes into a QQ service's address.
bool isQqNumber(std::string_view s);

// A service's base address: the installation's own when it is a web address, else the built-in
// one; without a trailing slash.
std::string qqServiceBase(std::string_view own, std::string_view builtIn);
std::string qqNicknameUrl(std::string_view base, std::string_view number);
std::string qqAvatarUrl(std::string_view base, std::string_view number);

// The nickname in a reply (GBK bytes) as UTF-8: the text between the first start fragment and
// the first end fragment after it, without control characters and characters GBK cannot hold,
// trimmed of blanks, cut to at most 20 GBK bytes of whole characters. Empty when either fragment
// is missing or nothing is left.
std::string qqNicknameFromReply(std::string_view body);

// The longest run of whole characters of a UTF-8 text that fits in maxBytes GBK bytes.
std::string cutToGbkBytes(std::string_view utf8, std::size_t maxBytes);

// The nickname label's font by the GBK byte length of its text.
NicknameFont nicknameFontFor(std::string_view nickname);

}  // namespace zk
