// The hosts writer: the file's layout, backups, held and failed writes, crashes; the stamp.
#include <gtest/gtest.h>

#include "tests/unit/sync_fixture.h"
#include "text/gbk.h"
#include "text/number.h"

namespace zk {
namespace {

using test::kBase;
using test::kHosts;
using test::SyncProgram;

struct Writer : ::testing::Test {
  SyncProgram p;
  Fetched texts;
  void SetUp() override { p.start(); }
  std::string write(const LocalTime& at) {
    p.clock.time = at;
    texts.mainDone = true;
    p.writer.start(texts);
    p.rt.advance(20'000);
    return p.hostsFile();
  }
};

TEST_F(Writer, OnlyTheMainText) {
  texts.main = "1.1.1.1 a";
  EXPECT_EQ(write({2016, 1, 22, 9, 5, 3}), toGbk("# 本文件由Zelkora生成，感谢使用：\r\n# 生成时间：2016-1-22-9:5:3\r\n"
                                                 "1.1.1.1 a\r\n# 生成时间：2016年1月22日9时5分3秒\r\n\r\n"));
}

TEST_F(Writer, MainEndingInCrLfThenTheAdListKeepsTheEmptyLine) {
  texts.main = "1.1.1.1 a\r\n";
  texts.ad = "0.0.0.0 ad";
  texts.adDone = true;
  std::string file = write({2016, 1, 22, 10, 0, 0});
  EXPECT_NE(file.find("1.1.1.1 a\r\n\r\n0.0.0.0 ad\r\n"), std::string::npos);
  EXPECT_NE(file.find(toGbk("# 生成时间：2016-1-22-10:\r\n")), std::string::npos);
  EXPECT_NE(file.find(toGbk("# 生成时间：2016年1月22日10时\r\n\r\n")), std::string::npos);
}

TEST_F(Writer, MidnightAndTheProtectionSwitch) {
  p.settings.write(Key::ProtectHostsFile, "0");
  p.rt.start(TaskSlot::LoadSettings, p.settings.loadAndApply());
  p.rt.advance(300);
  p.fs.addFile(kHosts, "old");
  texts.main = "x";
  std::string file = write({2016, 1, 22, 0, 0, 0});
  EXPECT_NE(file.find(toGbk("# 生成时间：2016-1-22-\r\n")), std::string::npos);
  EXPECT_EQ(p.fs.attributes[test::FakeFileSystem::key(kHosts)], 32u);
}

TEST_F(Writer, KeepsBackupsOfThePreviousFiles) {
  p.fs.addFile(kHosts, "original");
  texts.main = "first";
  write({2016, 1, 22, 9, 0, 1});
  EXPECT_EQ(p.fs.bytes(p.data("Backup\\hosts.1.bak")), "original");
  for (int i = 0; i < 4; ++i) {
    texts.main = "again";
    write({2016, 1, 22, 9, 0, 2 + i});
  }
  EXPECT_TRUE(p.fs.fileExists(p.data("Backup\\hosts.3.bak")));
  EXPECT_FALSE(p.fs.fileExists(p.data("Backup\\hosts.4.bak")));
}

TEST_F(Writer, HeldFileIsRetriedThenRewrittenInPlace) {
  p.fs.addFile(kHosts, "old");
  p.fs.replaceFailures = 3;
  texts.main = "new";
  EXPECT_NE(write({2016, 1, 22, 9, 0, 1}).find("new"), std::string::npos);
  EXPECT_EQ(p.fs.replaces, 4);
  p.fs.replaceFailures = 100;
  texts.main = "newer";
  EXPECT_NE(write({2016, 1, 22, 9, 0, 2}).find("newer"), std::string::npos);
  EXPECT_FALSE(p.fs.fileExists(std::string(kHosts) + ".zelkora-new"));
}

TEST_F(Writer, AFailedWriteIsReportedAndTheOldFileStays) {
  p.fs.addFile(kHosts, "old");
  p.fs.readOnlyFiles.insert(test::FakeFileSystem::key(kHosts));
  p.fs.replaceFailures = 100;
  texts.main = "new";
  EXPECT_EQ(write({2016, 1, 22, 9, 0, 1}), "old");
  auto lines = p.sync.lines();
  EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
            (std::vector<std::string>{"写入失败！", "请检查目录是否可写！", "并排查杀毒软件问题！"}));
  EXPECT_EQ(p.view.picture, FetchPicture::Failed);
  EXPECT_TRUE(p.sync.controlsEnabled);
}

// Security software edits the file as it lands: the read-back finds it, and the write failed.
TEST_F(Writer, AFileChangedAsItLandsIsAFailedWrite) {
  p.fs.addFile(kHosts, "old");
  p.fs.tamperedFiles.insert(test::FakeFileSystem::key(kHosts));
  texts.main = "new";
  write({2016, 1, 22, 9, 0, 1});
  EXPECT_EQ(p.sync.lines().back(), "并排查杀毒软件问题！");
  EXPECT_EQ(p.view.picture, FetchPicture::Failed);
  EXPECT_EQ(p.sync.count("存入成功！"), 0u);
}

// A file left protected by the last fetch (hidden, system, even read-only) is unlocked first.
TEST_F(Writer, AProtectedFileIsUnlockedThenWrittenAndProtectedAgain) {
  p.fs.addFile(kHosts, "old");
  p.fs.setAttributes(kHosts, 1 | 2 | 4 | 32);
  texts.main = "new";
  EXPECT_NE(write({2016, 1, 22, 9, 0, 1}).find("new"), std::string::npos);
  EXPECT_EQ(p.fs.attributes[test::FakeFileSystem::key(kHosts)], 38u);
  texts.main = "newer";
  EXPECT_NE(write({2016, 1, 22, 9, 0, 2}).find("newer"), std::string::npos);
}

TEST_F(Writer, TheNavigationPanelOpensOnlyWhenTheSettingSaysSo) {
  texts.main = "x";
  write({2016, 1, 22, 9, 0, 1});
  EXPECT_EQ(p.view.width, 630);
  p.navigation.close();
  p.rt.advance(1000);
  ASSERT_EQ(p.view.width, 462);
  p.settings.write(Key::OpenNavigation, "0");
  p.rt.start(TaskSlot::LoadSettings, p.settings.loadAndApply());
  p.rt.advance(300);
  write({2016, 1, 22, 9, 0, 2});
  EXPECT_EQ(p.view.width, 462);
  EXPECT_EQ(p.sync.lines().back(), "★ 好消息，春天到了！★");
}

TEST(HostsWrite, TheOldFileIsKeptBeforeEveryInPlaceRewrite) {
  for (bool noRoomForTemp : {false, true}) {
    test::FakeFileSystem fs;
    fs.addFile("C:\\etc\\hosts", "old content");
    fs.addFolder("C:\\data");
    fs.replaceFailures = 100;  // held: every replace fails
    if (noRoomForTemp) fs.readOnlyFiles.insert(test::FakeFileSystem::key("C:\\etc\\hosts.zelkora-new"));
    if (noRoomForTemp) fs.addFile("C:\\etc\\hosts.zelkora-new", "stale");
    EXPECT_TRUE(writeHostsFile(fs, "C:\\etc\\hosts", "new content", {"C:\\data\\Backup", 3, nullptr}));
    EXPECT_EQ(fs.bytes("C:\\etc\\hosts"), "new content") << noRoomForTemp;
    EXPECT_EQ(fs.bytes("C:\\data\\Backup\\hosts.1.bak"), "old content") << noRoomForTemp;
  }
}

TEST(HostsWrite, ACrashBetweenAnyTwoStepsLeavesTheOldOrTheNewFile) {
  for (int crash = 0; crash < 12; ++crash) {
    test::FakeFileSystem fs;
    fs.addFile("C:\\etc\\hosts", "old content");
    fs.addFolder("C:\\data");
    fs.crashAfterChanges = crash;
    bool ok = writeHostsFile(fs, "C:\\etc\\hosts", "new content", {"C:\\data\\Backup", 3, nullptr});
    std::string now = fs.bytes("C:\\etc\\hosts");
    EXPECT_TRUE(now == "old content" || now == "new content") << crash << ": " << now;
    EXPECT_EQ(ok, now == "new content") << crash;
    if (now == "new content") {
      EXPECT_EQ(fs.bytes("C:\\data\\Backup\\hosts.1.bak"), "old content") << crash;
    }
  }
}

TEST(HostsStamp, FromAFileReadInPiecesStoppingAtTheStamp) {
  test::FakeFileSystem fs;
  std::string tail(4000, 'x');
  for (std::size_t offset = 0; offset < 8; ++offset) {
    fs.addFile("C:\\h", std::string(offset, 'a') + "# Ti:161207091\r\n" + tail);
    fs.chunksRead = 0;
    EXPECT_EQ(hostsStampOfFile(fs, "C:\\h"), "161207091") << offset;
    EXPECT_LT(fs.chunksRead, 10) << offset;  // read only as far as the stamp
  }
  // Every piece size against every marker position, with decoys that share the marker's bytes:
  // the first whole marker wins and its stamp comes out whole, whichever pieces carry it.
  for (std::size_t piece = 1; piece <= 20; ++piece) {
    fs.chunkSize = piece;
    for (std::size_t offset = 0; offset < 24; ++offset) {
      std::string file = std::string(offset, 'T') + "# T# Ti# TI:Ti:# Ti:123456789# Ti:999999999\r\n";
      fs.addFile("C:\\h", file);
      EXPECT_EQ(hostsStampOfFile(fs, "C:\\h"), "123456789") << piece << " " << offset;
    }
  }
  fs.chunkSize = 4;
  fs.addFile("C:\\h", tail + "# Ti:12");
  EXPECT_EQ(hostsStampOfFile(fs, "C:\\h"), "12");
  fs.addFile("C:\\h", tail);
  EXPECT_EQ(hostsStampOfFile(fs, "C:\\h"), std::nullopt);
  EXPECT_EQ(hostsStampOfFile(fs, "C:\\missing"), std::nullopt);
}

TEST(HostsStamp, ViewsShorterThanTheMarkerHaveNone) {
  for (std::string_view shortView :
       {std::string_view(), std::string_view("#"), std::string_view("# T"), std::string_view("# Ti")})
    EXPECT_EQ(hostsStamp(shortView), std::nullopt) << shortView;
  EXPECT_EQ(hostsStamp("# Ti:"), "");
}

TEST(HostsStamp, FirstMarkerAndNineBytes) {
  EXPECT_EQ(hostsStamp("a\r\n# Ti:161207091\r\n# Ti:999999999"), "161207091");
  EXPECT_EQ(hostsStamp("# Ti:12"), "12");
  EXPECT_EQ(hostsStamp("# ti:161207091"), std::nullopt);
  EXPECT_EQ(dashedStamp("2016年1月22日"), "2016-1-22-");
  EXPECT_EQ(leadingDecimal("161207091"), 161207091.0);
  EXPECT_EQ(leadingDecimal("x1"), 0.0);
}

}  // namespace
}  // namespace zk
