#include <gtest/gtest.h>

#include <random>

#include "text/datetime.h"
#include "text/gbk.h"
#include "text/ini.h"
#include "text/text.h"

namespace zk {
namespace {

TEST(Gbk, RoundTripsChineseAndCountsTwoBytesPerCharacter) {
  std::string s = "解决方案：Zelkora 1.6";
  std::string g = toGbk(s);
  EXPECT_EQ(g.substr(0, 4), "\xBD\xE2\xBE\xF6");  // 解决
  EXPECT_EQ(fromGbk(g), s);
  EXPECT_EQ(gbkByteLength("定制昵称"), 8u);
  EXPECT_EQ(gbkByteLength("abc"), 3u);
}

TEST(Gbk, BadInputIsReplacedNeverDropped) {
  EXPECT_EQ(fromGbk("a\x81"), "a\xEF\xBF\xBD");  // truncated double byte
  EXPECT_EQ(fromGbk("\xFF"
                    "b"),
            "\xEF\xBF\xBD"
            "b");                   // invalid lead byte
  EXPECT_EQ(toGbk("x😀y"), "x?y");   // not in GBK
  EXPECT_EQ(toGbk("a\xC3"), "a?");  // truncated UTF-8
}

TEST(Text, NulEndsATextAndCaseRulesAreAsciiOnly) {
  EXPECT_EQ(textUpToNul(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(textUpToNul("abc"), "abc");
  EXPECT_EQ(replaceAllIgnoreCase("C:\\WINDOWS\\SYSTEM32\\", "\\system32\\", ""), "C:\\WINDOWS");
  EXPECT_EQ(replaceAllIgnoreCase("%systemroot%\\a;%SystemRoot%", "%SystemRoot%", "W"), "W\\a;W");
  EXPECT_TRUE(startsWithIgnoreCase("HTTP://x", "http://"));
  EXPECT_FALSE(startsWithIgnoreCase("http:/", "http://"));
  EXPECT_EQ(trimBlanks("  http://a \t"), "http://a");
  EXPECT_TRUE(isOn("1"));
  EXPECT_FALSE(isOn("1 "));
  EXPECT_FALSE(isOn(""));
}

TEST(DateTimeText, LeavesOffTrailingZeroPartsAndLeadingZeros) {
  EXPECT_EQ(dateTimeText({2016, 1, 22, 9, 5, 7}), "2016年1月22日9时5分7秒");
  EXPECT_EQ(dateTimeText({2016, 1, 22, 10, 30, 0}), "2016年1月22日10时30分");
  EXPECT_EQ(dateTimeText({2016, 1, 22, 10, 0, 0}), "2016年1月22日10时");
  EXPECT_EQ(dateTimeText({2016, 1, 22, 0, 0, 0}), "2016年1月22日");
  EXPECT_EQ(dateTimeText({2016, 1, 22, 0, 0, 5}), "2016年1月22日0时0分5秒");
  EXPECT_EQ(dateTimeText({2016, 1, 22, 10, 0, 5}), "2016年1月22日10时0分5秒");
  EXPECT_EQ(logTimePrefix({2016, 1, 22, 9, 5, 7}), "09:05:07：");
  EXPECT_EQ(logTimePrefix({2016, 1, 22, 23, 59, 0}), "23:59:00：");
}

TEST(Ini, ReadsKeysWithoutCaseAndMissingOnesAsEmpty) {
  std::string ini = "[System]\r\nXFWQ=1\r\nzurl=http://a/b?c=d\r\n[Other]\r\nXFWQ=9\r\n";
  EXPECT_EQ(iniReadKey(ini, "System", "XFWQ"), "1");
  EXPECT_EQ(iniReadKey(ini, "system", "xfwq"), "1");
  EXPECT_EQ(iniReadKey(ini, "System", "ZURL"), "http://a/b?c=d");
  EXPECT_EQ(iniReadKey(ini, "Other", "XFWQ"), "9");
  EXPECT_EQ(iniReadKey(ini, "System", "HYDH"), "");
  EXPECT_EQ(iniReadKey(ini, "Nope", "XFWQ"), "");
  EXPECT_EQ(iniReadKey("", "System", "XFWQ"), "");
  EXPECT_EQ(iniReadKeys(ini, "SYSTEM", {"ZURL", "HYDH", "xfwq"}),
            (std::vector<std::string>{"http://a/b?c=d", "", "1"}));
}

TEST(Ini, WritesOneKeyKeepingTheRestWithCrLf) {
  std::string seeded = "[System]\r\nXFWQ=1\r\nHYDH=1\r\nZFJH=0\r\nZURL=\r\nQBMJ=0\r\nZDDH=1\r\nAQSX=1\r\n";
  std::string out = iniWriteKey(seeded, "System", "xfwq", "3");
  EXPECT_EQ(out, "[System]\r\nXFWQ=3\r\nHYDH=1\r\nZFJH=0\r\nZURL=\r\nQBMJ=0\r\nZDDH=1\r\nAQSX=1\r\n");
  std::string created = iniWriteKey("", "Personal", "SRDZ", "1");
  EXPECT_EQ(created, "[Personal]\r\nSRDZ=1\r\n");
  std::string added = iniWriteKey(created, "System", "ADFW", "0");
  EXPECT_EQ(iniReadKey(added, "Personal", "SRDZ"), "1");
  EXPECT_EQ(iniReadKey(added, "System", "ADFW"), "0");
  EXPECT_EQ(added, "[Personal]\r\nSRDZ=1\r\n[System]\r\nADFW=0\r\n");
  // A line break in a value would forge another key.
  std::string forged = iniWriteKey("", "System", "ZURL", "http://a\r\nXFWQ=9");
  EXPECT_EQ(iniReadKey(forged, "System", "XFWQ"), "");
}

TEST(Ini, WritingOneKeyLeavesEveryOtherByteAlone) {
  std::string user = "; my notes\r\n[System]\r\nZURL= http://a/h.txt \r\n\r\njunk line\r\n[Personal]\nNAME=x\n";
  std::string out = iniWriteKey(user, "SYSTEM", "QBMJ", "1");
  EXPECT_EQ(out, "; my notes\r\n[System]\r\nZURL= http://a/h.txt \r\n\r\njunk line\r\nQBMJ=1\r\n[Personal]\nNAME=x\n");
  EXPECT_EQ(iniWriteKey(out, "System", "zurl", ""),
            "; my notes\r\n[System]\r\nZURL=\r\n\r\njunk line\r\nQBMJ=1\r\n[Personal]\nNAME=x\n");
  EXPECT_EQ(iniWriteKey("[System]\r\nXFWQ=1", "System", "HYDH", "0"), "[System]\r\nXFWQ=1\r\nHYDH=0\r\n");
  EXPECT_EQ(iniWriteKey("[Personal]\r\nSRDZ=1", "System", "HYDH", "0"),
            "[Personal]\r\nSRDZ=1\r\n[System]\r\nHYDH=0\r\n");
  // A key of another section, or a commented-out one, is not this key.
  EXPECT_EQ(iniWriteKey("[A]\r\nK=1\r\n[B]\r\n;K=2\r\n", "B", "K", "3"), "[A]\r\nK=1\r\n[B]\r\n;K=2\r\nK=3\r\n");
}

TEST(Ini, GbkValuesPassAsBytes) {
  std::string name = toGbk("土豪金昵称");
  std::string out = iniWriteKey("", "Personal", "NAME", name);
  EXPECT_EQ(iniReadKey(out, "Personal", "NAME"), name);
}

TEST(Ini, BinaryTruncatedOrNulFilledInputReadsWhatItCan) {
  std::mt19937 gen(7);
  std::string junk(2 << 20, '\0');
  for (char& c : junk) c = static_cast<char>(gen());
  std::string withKey = "[System]\r\nXFWQ=2\r\n" + junk;
  EXPECT_EQ(iniReadKey(withKey, "System", "XFWQ"), "2");
  EXPECT_NO_FATAL_FAILURE(iniWriteKey(junk, "System", "HYDH", "1"));
  EXPECT_EQ(iniReadKey(std::string("[System]\r\nXFWQ=1\r\nHY\0DH=1\r\n", 27), "System", "HYDH"), "");
  EXPECT_EQ(iniReadKey("[System]\r\nXFWQ=3", "System", "XFWQ"), "3");  // no final line break
  EXPECT_EQ(iniReadKey("[Syst", "System", "XFWQ"), "");
  EXPECT_EQ(iniReadKey("\xFF\xFE[\0S\0", "System", "XFWQ"), "");
}

}  // namespace
}  // namespace zk
