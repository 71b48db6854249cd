#include <gtest/gtest.h>

#include "personal/hosts_pack_task.h"
#include "tests/support/fakes.h"
#include "tests/support/virtual_runtime.h"

namespace zk {
namespace {

using test::FakeFileSystem;

// Zips nothing but a file that says which hosts bytes it found; can take its time or fail.
class SlowZip : public ZipWriter {
 public:
  explicit SlowZip(FakeFileSystem& fs) : fs_(fs) {}
  bool write(const std::string& archive, const std::vector<ZipItem>& items, std::stop_token stop) override {
    ++calls;
    if (stop.stop_requested() || fail) return false;
    for (const ZipItem& item : items)
      if (item.name == "电脑版/hosts") return fs_.writeFile(archive, fs_.bytes(item.sourcePath));
    return false;
  }
  int calls = 0;
  bool fail = false;

 private:
  FakeFileSystem& fs_;
};

struct HostsPack : ::testing::Test {
  test::VirtualRuntime rt;
  FakeFileSystem fs;
  SlowZip zip{fs};
  test::FakeFolders folders;
  test::FakeClock clock;
  test::FakePrompter prompt;
  ProgramValues values;
  HostsPackTask task{HostsPackServices{rt, fs, zip, folders, clock, prompt, values}};
  int ended = 0;
  const std::string archive = folders.desktopPath + "Quor_Hosts.zip";

  void SetUp() override {
    values.dataFolder = "C:\\Users\\张三\\AppData\\Roaming\\Orvik\\Nimbet";
    fs.addFolder(values.dataFolder);
    fs.addFolder(folders.desktopPath);
    fs.addFile(folders.ownFolderPath + "\\" + folders.ownName, "MZ");
  }
  void start(std::string bytes) {
    task.start(std::move(bytes), [this] { ++ended; });
  }
};

TEST_F(HostsPack, BuildsOnAWorkerThenSaysSoAndEndsTheStrip) {
  rt.workDelayMs = 500;
  start("127.0.0.1 a\r\n");
  EXPECT_TRUE(task.busy());
  EXPECT_FALSE(fs.fileExists(archive));
  rt.runUntilIdle();
  EXPECT_EQ(fs.bytes(archive), "127.0.0.1 a\r\n");
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].text, "已打包到桌面上！");
  EXPECT_EQ(prompt.shown[0].title, "恭喜！");
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(task.busy());
}

TEST_F(HostsPack, AFailureIsReportedNotCelebrated) {
  zip.fail = true;
  start("a");
  rt.runUntilIdle();
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].title, "抱歉！");
  EXPECT_EQ(ended, 1);
  fs.addFile(folders.ownFolderPath + "\\" + folders.ownName, "");
  zip.fail = false;
  start("a");
  rt.runUntilIdle();
  EXPECT_EQ(prompt.shown.back().title, "抱歉！");
  EXPECT_FALSE(fs.fileExists(archive));
}

TEST_F(HostsPack, TheCloseStopsItAtOnceAndTheOldArchiveStays) {
  fs.addFile(archive, "old");
  rt.workDelayMs = 500;
  start("new");
  rt.advance(100);
  task.stop();
  rt.runUntilIdle();
  EXPECT_EQ(fs.bytes(archive), "old");
  EXPECT_TRUE(prompt.shown.empty());
  EXPECT_EQ(ended, 0);
  EXPECT_EQ(zip.calls, 0);  // the stopped work never began
  EXPECT_FALSE(task.busy());
  start("new");
  rt.runUntilIdle();
  EXPECT_EQ(fs.bytes(archive), "new");
}

TEST_F(HostsPack, ASecondPackWaitsForTheFirstToLeaveItsFolder) {
  rt.workDelayMs = 500;
  start("first");
  start("second");
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].title, "抱歉！");
  EXPECT_EQ(ended, 1);  // the refused one's strip is reset at once
  rt.runUntilIdle();
  EXPECT_EQ(fs.bytes(archive), "first");
  EXPECT_EQ(ended, 2);
}

}  // namespace
}  // namespace zk
