// INI text access with the semantics the settings rely on, on GBK bytes.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

// One key of INI text; missing file content, section or key reads as empty.
// Section and key names compare without ASCII case, as the Windows profile functions do.
std::string iniReadKey(std::string_view content, std::string_view section, std::string_view key);
// Several keys of one section, parsed once, in the order asked.
std::vector<std::string> iniReadKeys(std::string_view content, std::string_view section,
                                     std::initializer_list<std::string_view> keys);
// Whether the section holds the key at all (with any value, even an empty one).
bool iniHasKey(std::string_view content, std::string_view section, std::string_view key);
// The INI text with one key set, section and key created when missing; CR LF line ends.
std::string iniWriteKey(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace zk
