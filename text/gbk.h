// The GBK (code page 936) boundary: the only place where program text changes encoding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zk {

// UTF-8 to GBK; characters GBK cannot hold become '?'.
std::string toGbk(std::string_view utf8);
// GBK to UTF-8; invalid byte sequences become U+FFFD.
std::string fromGbk(std::string_view gbk);
// Length in GBK bytes (a Chinese character counts two), as the length rules count.
std::size_t gbkByteLength(std::string_view utf8);

}  // namespace zk
