#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "personal/help_file.h"
#include "resources/help_text.h"
#include "tests/unit/startup_fixture.h"
#include "text/gbk.h"

namespace zk {
namespace {

using test::kData;
using test::Program;

std::string goldenHelpText() {
  std::ifstream in(std::string(ZK_NET_TEST_DATA) + "/help_text.txt", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(HelpText, MatchesTheGoldenFileByteForByte) {
  const std::string golden = goldenHelpText();
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(toGbk(texts::helpText("http://www.zelkora.example")), golden);
}

TEST(HelpText, PutsTheSiteAddressInTheHeaderAndTheClosingLine) {
  const std::string t = texts::helpText("http://site.test");
  EXPECT_NE(t.find("\t         官网：http://site.test\r\n" + std::string(69, '-') + "\r\n1.问："), std::string::npos);
  EXPECT_NE(t.find("其他问题，请进入官网：http://site.test 留言说明。\r\n\r\n\r\n"), std::string::npos);
  EXPECT_EQ(t.find("zelkora.example"), std::string::npos);
  EXPECT_TRUE(toGbkChecked(t).complete);
}

TEST(HelpAppendix, CodeIsTheUptimeTimes700AsAFloatInPlainDigits) {
  EXPECT_EQ(helpCodeText(0), "0");
  EXPECT_EQ(helpCodeText(1), "700");
  EXPECT_EQ(helpCodeText(3600000), "2520000000");
  // Beyond 2^24 a float keeps 24 significant bits: 86419752300 is held as 86419750912.
  EXPECT_EQ(helpCodeText(123456789), "86419750912");
  // Past 49.7 days of uptime the count goes on (no 32-bit wrap).
  EXPECT_EQ(helpCodeText(4294967297ULL), "3006477107200");
}

TEST(HelpAppendix, OpeningTimeFollowsTheDateTimeRules) {
  EXPECT_EQ(helpAppendix({2026, 1, 2, 3, 4, 5}, 1), "\r\n打开时间：2026年1月2日3时4分5秒\r\n唯一代码：700");
  EXPECT_EQ(helpAppendix({2026, 12, 9, 14, 30, 0}, 0), "\r\n打开时间：2026年12月9日14时30分\r\n唯一代码：0");
  EXPECT_EQ(helpAppendix({2026, 12, 9, 0, 0, 0}, 0), "\r\n打开时间：2026年12月9日\r\n唯一代码：0");
}

struct HelpFixture : ::testing::Test {
  Program p;
  test::FakeClock clock;
  HelpFile help{HelpServices{p.rt, p.fs, p.shell, clock, p.prompt, p.temp, p.values}, "http://www.zelkora.example"};
  std::string helpPath() { return p.data("Tem\\Help.txt"); }
  void click() {
    EXPECT_TRUE(help.onCommand(MainCommand::Help));
    p.rt.runUntilIdle();
  }
};

TEST_F(HelpFixture, WritesTextAndAppendixIntoTemThenOpensIt) {
  p.start();
  clock.time = {2026, 12, 9, 8, 0, 0};
  clock.uptimeMs = 1;
  click();
  EXPECT_EQ(p.fs.bytes(helpPath()), goldenHelpText() + toGbk("\r\n打开时间：2026年12月9日8时\r\n唯一代码：700"));
  EXPECT_EQ(p.shell.opened, std::vector<std::string>{helpPath()});
  EXPECT_TRUE(p.prompt.shown.empty());
  EXPECT_FALSE(help.onCommand(MainCommand::Shortcuts));
}

TEST_F(HelpFixture, ASecondClickRewritesTheWholeFileWithANewTimeAndCode) {
  p.start();
  clock.uptimeMs = 123456789;
  click();
  clock.time = {2026, 12, 9, 8, 1, 2};
  clock.uptimeMs = 2;
  click();
  EXPECT_EQ(p.fs.bytes(helpPath()), goldenHelpText() + toGbk("\r\n打开时间：2026年12月9日8时1分2秒\r\n唯一代码：1400"));
  EXPECT_EQ(p.shell.opened.size(), 2u);
}

TEST_F(HelpFixture, CreatesAMissingTemFolder) {
  p.start();
  p.fs.deleteFolderTree(p.data("Tem"));
  click();
  EXPECT_TRUE(p.fs.fileExists(helpPath()));
  EXPECT_EQ(p.shell.opened.size(), 1u);
}

TEST_F(HelpFixture, AFailedWriteIsReportedAndNothingIsOpened) {
  p.start();
  p.fs.readOnlyFiles.insert(test::FakeFileSystem::key(helpPath()));
  p.fs.addFile(helpPath(), "old");
  click();
  ASSERT_EQ(p.prompt.shown.size(), 1u);
  EXPECT_EQ(p.prompt.shown[0].title, "抱歉！");
  EXPECT_TRUE(p.shell.opened.empty());
}

TEST_F(HelpFixture, AFileTakenAwayAsItLandsIsNotOpened) {
  p.start();
  p.fs.tamperedFiles.insert(test::FakeFileSystem::key(helpPath()));
  click();
  EXPECT_EQ(p.prompt.shown.size(), 1u);
  EXPECT_TRUE(p.shell.opened.empty());
}

TEST_F(HelpFixture, WithoutADataFolderNothingIsWrittenAnywhere) {
  click();
  EXPECT_EQ(p.prompt.shown.size(), 1u);
  EXPECT_TRUE(p.shell.opened.empty());
  EXPECT_FALSE(p.fs.fileExists("\\Tem\\Help.txt"));
}

TEST_F(HelpFixture, AClickDuringTheStartUpRebuildWaitsForItAndTheFileSurvives) {
  p.values.dataFolder = kData;
  p.fs.addFile(p.data("Tem\\old.txt"), "x");
  p.rt.start(TaskSlot::TempRebuild, p.temp.rebuild());
  EXPECT_TRUE(help.onCommand(MainCommand::Help));
  p.rt.advance(100);
  EXPECT_TRUE(p.shell.opened.empty());  // not before the rebuild has made Tem again
  p.rt.runUntilIdle();
  EXPECT_TRUE(p.fs.fileExists(helpPath()));
  EXPECT_TRUE(p.fs.fileExists(p.data("Tem\\请勿随意删除本目录.txt")));
  EXPECT_EQ(p.shell.opened, std::vector<std::string>{helpPath()});
  EXPECT_FALSE(p.fs.fileExists(p.data("Tem\\old.txt")));
}

}  // namespace
}  // namespace zk
