// The file names of the packs that come from what the user typed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text/datetime.h"

namespace zk {

// A nickname made fit to stand inside one file name: path separators, the characters Windows
// forbids in names, control characters, characters GBK cannot hold (the archive names are GBK)
// and bytes that are not UTF-8 are dropped; runs of two or more dots are removed; blanks and dots
// at the ends are trimmed; a reserved device name (CON, NUL, COM1...) leaves nothing. The result
// is never longer than the input, holds no separator and no "..", and at most 64 characters.
std::string cleanNicknameForFileName(std::string_view nickname);

// "专为" + the cleaned nickname + "定制于：" + the date-time text; nothing when nothing of the
// nickname is usable, and the personal pack then goes without this marker.
std::optional<std::string> nicknameMarkerName(std::string_view nickname, const LocalTime& now);

}  // namespace zk
