// What each build's own codec gives the shared GBK conversions in text/gbk.cpp.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zk::gbk_platform {

// The UTF-8 of a run of whole GBK characters (bytes below 0x80 and lead-trail pairs only);
// nothing when some pair in it is no character of the code page.
std::optional<std::string> decodeWhole(std::string_view run);

// UTF-8 to GBK, '?' for every character (or stray byte) GBK cannot hold.
std::string encode(std::string_view utf8);

}  // namespace zk::gbk_platform
