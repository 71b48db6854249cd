// What counts as a usable download: the rules every cloud request goes through.
#pragma once

#include <string>
#include <string_view>

#include "platform/http.h"

namespace zk {

// A small cloud file (flags, version, URLs): the body as text when the answer is a 2xx with a
// body within the cap, else empty, which every caller treats as a failed read.
std::string cloudText(const HttpResponse& r);

// A hosts text (main text, blocking lists): as cloudText, and the body must look like hosts text.
std::string hostsText(HttpResponse&& r);

// Hosts text is plain text: not an HTML page (a portal's login page, an error page), not binary.
// The whole body holds no NUL byte and at most 1% control bytes other than tab, CR, LF, FF; after
// blanks and a UTF-8 byte-order mark it must not open with '<'.
bool looksLikeHostsText(std::string_view body);

}  // namespace zk
