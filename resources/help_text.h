// The help file's fixed text: twelve questions and answers, framed by the maker's site address.
#pragma once

#include <string>
#include <string_view>

namespace zk::texts {

// The whole text in UTF-8 with CR LF line ends, the site address put in both places; the closing
// line of dashes has no line end.
std::string helpText(std::string_view website);

}  // namespace zk::texts
