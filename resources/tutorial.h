// 使用教程.txt of the hosts pack: how to put the packed hosts files on each kind of device.
#pragma once

#include <string>

namespace zk::texts {

// Its 50 lines in UTF-8, joined by CR LF.
extern const char* const kHostsPackTutorial;
// The file as written: the UTF-16LE byte-order mark, then the text in UTF-16LE.
std::string hostsPackTutorialBytes();

}  // namespace zk::texts
