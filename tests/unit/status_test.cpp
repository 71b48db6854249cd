// The status area: local and cloud stamps, their colours, texts and blinks.
#include <gtest/gtest.h>

#include "tests/unit/sync_fixture.h"

namespace zk {
namespace {

using test::kBase;
using test::kHosts;
using test::SyncProgram;

struct Status : ::testing::Test {
  SyncProgram p;
  void SetUp() override {
    p.start();
    p.cloud.connect();
    p.rt.advance(1200);  // connected; the indicator is still showing
    p.rt.stop(TaskSlot::Indicator);
  }
  void read() {
    p.status.start();
    p.rt.advance(10'000);
  }
};

TEST_F(Status, MatchingStampsTurnGreenAndBlinkGreen) {
  p.fs.addFile(kHosts, "# Ti:161207091\r\n1.1.1.1 a\r\n");
  read();
  EXPECT_EQ(p.sync.local, "161207091");
  EXPECT_EQ(p.sync.statusLineText, kStatusMatch);
  EXPECT_EQ(p.sync.cloudColour, (Rgb{0, 128, 0}));
  EXPECT_EQ(p.sync.localColour, (Rgb{0, 128, 0}));
  EXPECT_EQ(p.sync.statusColours.back(), (Rgb{0, 128, 0}));
  EXPECT_EQ(p.sync.statusColours.size(), 1u + 11u + 2u);
  EXPECT_EQ(p.status.localHover(), "您本地文件与云端文件一致，云端暂无更新内容！");
  EXPECT_FALSE(p.sync.busyLocal || p.sync.busyCloud);
}

TEST_F(Status, CloudNewer) {
  p.fs.addFile(kHosts, "# Ti:161207080\r\n");
  read();
  EXPECT_EQ(p.sync.statusLineText, "云端发现最新内容，请及时更新！");
  EXPECT_EQ(p.sync.cloudColour, (Rgb{0, 255, 0}));
  EXPECT_EQ(p.sync.localColour, (Rgb{255, 0, 255}));
  EXPECT_EQ(p.sync.statusColours.back(), (Rgb{255, 0, 0}));
}

TEST_F(Status, LocalNewerChangesNothingMore) {
  p.fs.addFile(kHosts, "# Ti:161207099\r\n");
  read();
  EXPECT_EQ(p.sync.statusLineText, "正在读取本地、云端文件！");
  EXPECT_EQ(p.sync.localColour, (Rgb{0, 0, 0}));
  EXPECT_EQ(p.sync.cloud, "161207091");
}

TEST_F(Status, FileFromAnotherToolOrMissing) {
  p.settings.tick(Server::Custom);  // keeps the cloud side from comparing
  p.fs.addFile(kHosts, "127.0.0.1 localhost\r\n");
  read();
  EXPECT_EQ(p.sync.local, "尚未使用！");
  EXPECT_EQ(p.sync.localColour, (Rgb{255, 128, 0}));
  p.fs.deleteFile(kHosts);
  read();
  EXPECT_EQ(p.sync.local, "尚未发现！");
  EXPECT_EQ(p.sync.localColour, (Rgb{128, 128, 128}));
  EXPECT_EQ(p.status.localHover(), "本地尚未发现Hosts文件，请一键获取！");
}

TEST_F(Status, CloudStampWithALineBreakIsACloudError) {
  p.http.serve(std::string(kBase) + "filetime.css", "161207091\r\n");
  read();
  EXPECT_EQ(p.sync.cloud, "云端错误！");
  p.http.serve(std::string(kBase) + "filetime.css", "", 404);
  read();
  EXPECT_EQ(p.sync.cloud, "读取错误");
}

TEST_F(Status, ALocalFileWithoutStampComparesAsZero) {
  p.fs.addFile(kHosts, "127.0.0.1 localhost\r\n");
  read();
  EXPECT_EQ(p.sync.local, "尚未使用！");
  EXPECT_EQ(p.sync.statusLineText, "云端发现最新内容，请及时更新！");
  EXPECT_EQ(p.sync.localColour, (Rgb{255, 0, 255}));
}

TEST_F(Status, CustomServerIsNotSupported) {
  p.fs.addFile(kHosts, "# Ti:161207091\r\n");
  p.settings.tick(Server::Custom);
  read();
  EXPECT_EQ(p.sync.cloud, "不予支持！");
  EXPECT_EQ(p.sync.cloudColour, (Rgb{255, 0, 0}));
  EXPECT_EQ(p.status.cloudHover(), "不支持自定义服务器！");
}

}  // namespace
}  // namespace zk
