#include <gtest/gtest.h>

#include <random>

#include "platform/ini_file.h"
#include "sync/cloud.h"
#include "tests/support/fakes.h"
#include "text/datetime.h"
#include "text/gbk.h"
#include "text/ini.h"
#include "text/number.h"
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
  std::string written = iniWriteKey(junk, "System", "HYDH", "1");
  EXPECT_EQ(iniReadKey(written, "System", "HYDH"), "1");
  EXPECT_NE(written.find(junk.substr(junk.find('\0'))), std::string::npos);  // past the NUL: kept
  EXPECT_EQ(iniReadKey(std::string("[System]\r\nXFWQ=1\r\nHY\0DH=1\r\n", 27), "System", "HYDH"), "");
  EXPECT_EQ(iniReadKey("[System]\r\nXFWQ=3", "System", "XFWQ"), "3");  // no final line break
  EXPECT_EQ(iniReadKey("[Syst", "System", "XFWQ"), "");
  EXPECT_EQ(iniReadKey("\xFF\xFE[\0S\0", "System", "XFWQ"), "");
}

// The reader and the writer agree on what a line, a section and a key are: the first of a name
// counts, as with the Windows profile functions.
TEST(Ini, ReadAndWriteAgreeOnTheFirstOccurrence) {
  std::string twice = "[System]\r\nXFWQ=1\r\nZURL=\r\nXFWQ=2\r\n";
  EXPECT_EQ(iniReadKey(twice, "System", "XFWQ"), "1");
  EXPECT_EQ(iniWriteKey(twice, "System", "XFWQ", "3"), "[System]\r\nXFWQ=3\r\nZURL=\r\nXFWQ=2\r\n");
  std::string sections = "[System]\r\nA=1\r\n[System]\r\nB=2\r\n";
  EXPECT_EQ(iniReadKey(sections, "System", "B"), "");
  std::string written = iniWriteKey(sections, "System", "B", "3");
  EXPECT_EQ(iniReadKey(written, "System", "B"), "3");
  EXPECT_EQ(written, "[System]\r\nA=1\r\nB=3\r\n[System]\r\nB=2\r\n");
}

TEST(Ini, ALoneBracketIsNoHeaderAndALoneCrEndsNoLine) {
  EXPECT_EQ(iniReadKey("[\r\n[System]\r\nXFWQ=1", "System", "XFWQ"), "1");
  EXPECT_EQ(iniReadKey("\xEF\xBB\xBF[\r\n[System]\r\nXFWQ=1", "System", "XFWQ"), "1");
  EXPECT_EQ(iniReadKey("\xEF\xBB\xBF[System]\r\nXFWQ=1", "System", "XFWQ"), "1");
  std::string cr = "[m]\nX=\rU=U";
  std::string written = iniWriteKey(cr, "m", "X", "v");
  EXPECT_EQ(iniReadKey(written, "m", "X"), "v");
  EXPECT_EQ(iniReadKey(written, "m", "U"), iniReadKey(cr, "m", "U"));
}

// On any text: a key just written reads back as written (blanks at its ends dropped, line breaks
// removed), and no other key of any section changes.
TEST(Ini, AKeyJustWrittenReadsBackAndNoOtherKeyChanges) {
  std::mt19937 gen(11);
  static constexpr char kAlphabet[] = "[]=\r\n AXUmn;\0\xEF\xBB\xBF";
  const std::string alphabet(kAlphabet, sizeof kAlphabet - 1);
  const std::vector<std::pair<std::string, std::string>> probes = {{"m", "X"}, {"m", "U"}, {"m", "A"},
                                                                   {"n", "X"}, {"n", "U"}, {"M", "x"}};
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    std::size_t size = gen() % 40;
    for (std::size_t i = 0; i < size; ++i) text += alphabet[gen() % alphabet.size()];
    auto [section, key] = probes[gen() % probes.size()];
    std::string value = round % 3 == 0 ? " v\r\nw " : round % 3 == 1 ? "" : "1";
    std::string written = iniWriteKey(text, section, key, value);
    ASSERT_EQ(iniReadKey(written, section, key), trimBlanks(round % 3 == 0 ? " vw " : value)) << text;
    for (auto& [s, k] : probes) {
      if (asciiLower(s) == asciiLower(section) && asciiLower(k) == asciiLower(key)) continue;
      ASSERT_EQ(iniReadKey(written, s, k), iniReadKey(text, s, k)) << text << " " << s << "/" << k;
    }
  }
}

TEST(IniFile, AFileThatCannotBeReadIsNeverRewritten) {
  test::FakeFileSystem fs;
  fs.addFile("C:\\d\\System.btx", "[System]\r\nXFWQ=2\r\nAQSX=1\r\n");
  fs.unreadableFiles.insert(test::FakeFileSystem::key("C:\\d\\System.btx"));
  IniFile ini(fs, "C:\\d\\System.btx");
  EXPECT_FALSE(ini.write("System", "HYDH", "0"));
  fs.unreadableFiles.clear();
  EXPECT_EQ(fs.bytes("C:\\d\\System.btx"), "[System]\r\nXFWQ=2\r\nAQSX=1\r\n");
  EXPECT_TRUE(IniFile(fs, "C:\\d\\new.ini").write("System", "HYDH", "0"));  // a missing file is created
  EXPECT_EQ(fs.bytes("C:\\d\\new.ini"), "[System]\r\nHYDH=0\r\n");
}

TEST(Numbers, OnlyTheLeadingDecimalNumberCounts) {
  EXPECT_EQ(leadingDecimal("1.7"), 1.7);
  EXPECT_EQ(leadingDecimal(" 1.60001x"), 1.60001);
  EXPECT_EQ(leadingDecimal("161207091"), 161207091.0);
  EXPECT_EQ(leadingDecimal("-2"), -2.0);
  EXPECT_EQ(leadingDecimal(".5"), 0.5);
  EXPECT_EQ(leadingDecimal("1."), 1.0);
  EXPECT_EQ(leadingDecimal("1e3"), 1.0);
  for (const char* notANumber : {"inf", "nan", "INF", "-inf", "x1", "", ".", "-", "+", " ", "\t.e1"})
    EXPECT_EQ(leadingDecimal(notANumber), 0.0) << notANumber;
  EXPECT_EQ(leadingDecimal("0x2"), 0.0);
  EXPECT_EQ(versionNumber("inf"), 0.0f);
  EXPECT_EQ(versionNumber("1.7"), 1.7f);
}

TEST(WebAddress, OnlyHttpAndHttpsWithAHost) {
  for (const char* good : {"http://www.test/Up.html?V1.6", "HTTPS://a.test/", "http://127.0.0.1:18080/index.html"})
    EXPECT_TRUE(isWebAddress(good)) << good;
  for (const char* bad : {"file:///C:/Windows/system32/calc.exe", "\\\\server\\share\\x.exe", "calc.exe", "C:\\x.bat",
                          "http://", "http:///x", "http:\\\\server\\x", "ftp://a.test/", "javascript:alert(1)",
                          "http://a.test/\r\nx", "http://a b/", " http://a.test/", ""})
    EXPECT_FALSE(isWebAddress(bad)) << bad;
}

}  // namespace
}  // namespace zk
