#include "personal/personal_ini.h"

#include "text/gbk.h"

namespace zk {

namespace {
std::string value(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != '\r' && c != '\n' && c != '\0') out += c;
  return out;
}
const char* onOff(bool on) {
  return on ? "1" : "0";
}
}  // namespace

std::string personalIniBytes(const PersonalSettings& s) {
  std::string text = "[Personal]\r\nSRDZ=1\r\n";
  text += "NAME=" + value(s.nickname) + "\r\n";
  text += "QQTX=" + value(s.qq) + "\r\n";
  text += std::string("HYTS=") + onOff(s.welcome) + "\r\n";
  text += std::string("QQNC=") + onOff(s.qqNickname) + "\r\n";
  text += std::string("THYS=") + onOff(s.gold) + "\r\n";
  return toGbk(text);
}

}  // namespace zk
