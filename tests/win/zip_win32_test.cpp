// The zip writer and both packs on the real file system, read back with minizip's reader.
#include <windows.h>

#include <gtest/gtest.h>
#include <minizip/unzip.h>
// (after unzip.h, which declares what it uses)
#include <minizip/iowin32.h>

#include "personal/packs.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "platform/zip_minizip.h"
#include "resources/tutorial.h"
#include "tests/support/zip_read.h"
#include "text/gbk.h"

namespace zk {
namespace {

using namespace win;

using Entry = test::ReadEntry;

std::vector<Entry> readBack(const std::string& path) {
  zlib_filefunc64_def io;
  fill_win32_filefunc64W(&io);
  std::wstring wide = widen(path);
  return test::readEntries(unzOpen2_64(wide.c_str(), &io));
}

struct ZipScratch : ::testing::Test {
  Win32FileSystem fs;
  Win32Clock clock;
  MinizipWriter zip{fs, clock};
  std::string root;
  PackPlaces places;
  void SetUp() override {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    root = narrow(tmp) + "zelkora压缩_" + std::to_string(GetCurrentProcessId());
    fs.deleteFolderTree(root);
    ASSERT_TRUE(fs.createFolder(root));
    places = {root + "\\数据", root + "\\桌面\\", root + "\\程序.exe"};
    ASSERT_TRUE(fs.createFolder(places.dataFolder));
    ASSERT_TRUE(fs.createFolder(root + "\\桌面"));
    ASSERT_TRUE(fs.writeFile(places.programPath, std::string(300000, 'M')));
  }
  void TearDown() override { fs.deleteFolderTree(root); }
};

TEST_F(ZipScratch, HostsPackComesBackWithGbkNamesAndTheDocumentFourTimes) {
  fs.writeFile(places.desktop + "Quor_Hosts.zip", "old");
  const std::string doc = "127.0.0.1 localhost\r\n# " + toGbk("中文") + "\r\n";
  ASSERT_EQ(buildHostsPack(fs, zip, places, doc, {2026, 12, 9, 9, 0, 0}, {}), PackOutcome::Done);
  std::vector<Entry> got = readBack(places.desktop + "Quor_Hosts.zip");
  ASSERT_EQ(got.size(), 19u);
  int hosts = 0;
  for (const Entry& e : got) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(e.closeResult, UNZ_OK);
    EXPECT_EQ(e.flag & 0x800, 0u);
    if (e.name.ends_with("/hosts")) {
      EXPECT_EQ(e.bytes, doc);
      ++hosts;
    }
    if (e.name == "使用教程.txt") {
      EXPECT_EQ(e.bytes, texts::hostsPackTutorialBytes());
    }
    if (e.name == "TessalyZelkora.exe") {
      EXPECT_EQ(e.bytes, std::string(300000, 'M'));
    }
  }
  EXPECT_EQ(hosts, 4);
  EXPECT_EQ(got[0].name, "TessalyZelkora.exe");
  EXPECT_EQ(got.back().name, "电脑版/hosts");  // names in byte order within each folder
  EXPECT_FALSE(fs.fileExists(places.desktop + "Quor_Hosts.zip.part"));
  EXPECT_FALSE(fs.folderExists(places.dataFolder + "\\ZipPack"));
}

TEST_F(ZipScratch, PersonalPackKeepsItsIniHiddenAndReplacesAHiddenLeftover) {
  // A tree left by an interrupted build, its Personal.ini hidden as the build leaves it.
  const std::string stale = places.dataFolder + "\\ZipPersonal\\Zelkora私人订制包\\Zelkora";
  ASSERT_TRUE(fs.createFolder(places.dataFolder + "\\ZipPersonal"));
  ASSERT_TRUE(fs.createFolder(places.dataFolder + "\\ZipPersonal\\Zelkora私人订制包"));
  ASSERT_TRUE(fs.createFolder(stale));
  ASSERT_TRUE(fs.writeFile(stale + "\\Personal.ini", "stale"));
  ASSERT_TRUE(fs.setAttributes(stale + "\\Personal.ini", 2));
  PersonalSettings s{"小明", "12345", true, false, false};
  ASSERT_EQ(buildPersonalPack(fs, zip, places, s, {2026, 12, 9, 0, 0, 0}, {}), PackOutcome::Done);
  std::vector<Entry> got = readBack(places.desktop + "Zelkora私人订制包.zip");
  std::vector<std::string> names;
  for (const Entry& e : got) names.push_back(e.name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"Zelkora/", "Zelkora/Personal.ini", "Zelkora/TessalyZelkora.exe",
                                      "Zelkora/专为小明定制于：2026年12月9日", "您可以把文件夹直接拖到别处再打开"}));
  ASSERT_EQ(got.size(), 5u);
  EXPECT_EQ(got[1].bytes, personalIniBytes(s));
  EXPECT_EQ(got[1].attributes & 2, 2u) << "hidden";
  EXPECT_EQ(got[2].attributes & 2, 0u) << "the program copy is not hidden";
  EXPECT_EQ(got[0].attributes & 0x10, 0x10u);
  EXPECT_EQ(got[3].bytes, std::string(1, '\0'));
}

TEST_F(ZipScratch, NoDesktopFolderFailsAndLeavesNoTree) {
  places.desktop = root + "\\没有这个文件夹\\";
  EXPECT_EQ(buildHostsPack(fs, zip, places, "a", {2026, 1, 1, 0, 0, 0}, {}), PackOutcome::Failed);
  EXPECT_FALSE(fs.folderExists(places.dataFolder + "\\ZipPack"));
  EXPECT_FALSE(fs.fileExists(places.desktop + "Quor_Hosts.zip"));
}

}  // namespace
}  // namespace zk
