// UTF-8 <-> UTF-16 at the Win32 call, and nowhere else.
#pragma once

#include <string>
#include <string_view>

namespace zk::win {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);
// Text a console program wrote into a file: the console's (OEM) code page to UTF-8.
std::string fromConsole(std::string_view bytes);

}  // namespace zk::win
