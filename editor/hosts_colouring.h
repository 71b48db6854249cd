// The light colouring of hosts text in the editor: comments, the address of an entry, its names.
#pragma once

#include <cstddef>
#include <string_view>

namespace zk {

enum HostsStyle : char { kPlainStyle = 0, kCommentStyle = 1, kAddressStyle = 2, kNameStyle = 3 };

// Above this size the document is shown plain: styling costs time at every change of a big text.
constexpr std::size_t kColouringLimitBytes = 8u << 20;

// Styles the bytes of text (whole lines, line ends included) into styles[0..text.size()): from
// "#" to the line end a comment; the first word of a line an address, the later words names.
void styleHostsText(std::string_view text, char* styles);

}  // namespace zk
