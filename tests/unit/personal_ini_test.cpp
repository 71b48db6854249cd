#include <gtest/gtest.h>

#include "personal/personal_ini.h"
#include "text/ini.h"

namespace zk {
namespace {

TEST(PersonalIni, BothWritersGetTheSevenLinesInGbk) {
  PersonalSettings s{"小明", "12345", true, false, true};
  EXPECT_EQ(personalIniBytes(s),
            "[Personal]\r\nSRDZ=1\r\nNAME=\xD0\xA1\xC3\xF7\r\nQQTX=12345\r\nHYTS=1\r\nQQNC=0\r\nTHYS=1\r\n");
  // All six keys even with an empty QQ box and every box clear.
  EXPECT_EQ(personalIniBytes({"Tom", "", false, false, false}),
            "[Personal]\r\nSRDZ=1\r\nNAME=Tom\r\nQQTX=\r\nHYTS=0\r\nQQNC=0\r\nTHYS=0\r\n");
  EXPECT_EQ(personalIniBytes({"10001", "10001", false, true, false}),
            "[Personal]\r\nSRDZ=1\r\nNAME=10001\r\nQQTX=10001\r\nHYTS=0\r\nQQNC=1\r\nTHYS=0\r\n");
}

TEST(PersonalIni, ABoxCannotAddAKeyOrASection) {
  using namespace std::string_literals;
  std::string bytes = personalIniBytes({"Tom\r\nSRDZ=0\n[System]\r\nXFWQ=3", "1\0002"s, false, false, false});
  EXPECT_EQ(bytes, "[Personal]\r\nSRDZ=1\r\nNAME=TomSRDZ=0[System]XFWQ=3\r\nQQTX=12\r\nHYTS=0\r\nQQNC=0\r\nTHYS=0\r\n");
  EXPECT_EQ(iniReadKey(bytes, "Personal", "SRDZ"), "1");
  EXPECT_EQ(iniReadKey(bytes, "System", "XFWQ"), "");
}

}  // namespace
}  // namespace zk
