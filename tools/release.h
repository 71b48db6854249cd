// The release archive: the user guide made into a Windows text, and the archive's fixed entry time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/datetime.h"

namespace zk::release {

// The guide as shipped: UTF-8 source (LF or CR LF lines) to GBK with CR LF. Nothing when the
// source is not valid UTF-8, holds a character GBK cannot hold, a NUL, a byte-order mark or a lone CR;
// the reason goes to why.
std::optional<std::string> windowsGuide(std::string_view utf8, std::string& why);

// The entries' time for a release made at epochSeconds (UTC), clamped to what a zip entry can
// hold (1980 to 2107); nothing when the text is not a plain decimal number of seconds.
std::optional<LocalTime> entryTime(std::string_view epochSeconds);

}  // namespace zk::release
