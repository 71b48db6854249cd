// Personal.ini: the customisation of one installation, and the one way its bytes are made.
#pragma once

#include <string>

namespace zk {

// What the customisation boxes hold (UTF-8), as both writers put them into the file.
struct PersonalSettings {
  std::string nickname;     // NAME: a nickname, or the QQ number whose QQ nickname is shown
  std::string qq;           // QQTX: the QQ number whose avatar is shown, or empty
  bool welcome = false;     // HYTS
  bool qqNickname = false;  // QQNC
  bool gold = false;        // THYS
  bool operator==(const PersonalSettings&) const = default;
};

// The whole file: "[Personal]", "SRDZ=1" and the five keys in their order, GBK, each line ending
// in CR LF. CR, LF and NUL never reach a value, so a box's text cannot add a key or a section.
std::string personalIniBytes(const PersonalSettings& s);

}  // namespace zk
