// Text replacement as the editor does it, on UTF-8 text: every occurrence from the left, never
// overlapping, never starting inside a character; and the hosts comment toggle.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zk {

// Replaces every occurrence of pattern, compared exactly. An empty pattern changes nothing.
// False (and the text untouched, nothing copied) when there is no occurrence.
bool replaceAll(std::string& text, std::string_view pattern, std::string_view replacement);
std::string replacedAll(std::string_view text, std::string_view pattern, std::string_view replacement);

// The comment toggle of a selection: without any "#" it gets one in front; with one or more, all
// of them go.
std::string toggledComment(std::string_view selection);

// Character positions (code points, as the user counts them) and byte offsets of UTF-8 text.
// Positions past the end give the text's size.
std::size_t byteOffsetOfChar(std::string_view text, std::size_t charIndex);
std::size_t charCount(std::string_view text);

}  // namespace zk
