#include <gtest/gtest.h>

#include "personal/pack_names.h"
#include "personal/packs.h"
#include "resources/tutorial.h"
#include "tests/support/fakes.h"
#include "text/gbk.h"

namespace zk {
namespace {

using test::FakeFileSystem;

const std::string kData = "C:\\Users\\张三\\AppData\\Roaming\\Orvik\\Nimbet";
const std::string kDesktop = "C:\\Users\\张三\\Desktop\\";
const std::string kProgram = "D:\\下载\\Zelkora.exe";

// Records what each entry held when it was zipped, and leaves a small file for the archive.
class RecordingZip : public ZipWriter {
 public:
  explicit RecordingZip(FakeFileSystem& fs) : fs_(fs) {}
  bool write(const std::string& archivePath, const std::vector<ZipItem>& items, std::stop_token stop) override {
    paths.push_back(archivePath);
    listing.clear();
    for (const ZipItem& item : items) {
      std::string line = item.name;
      if (!item.sourcePath.empty()) {
        std::string bytes = fs_.bytes(item.sourcePath);
        line += " = " + (bytes == std::string(1, '\0') ? std::string("NUL") : bytes);
        if (fs_.fileAttributes(item.sourcePath).value_or(0) & 2) line += " (hidden)";
      }
      listing.push_back(line);
    }
    if (onWrite) onWrite();
    if (fail || stop.stop_requested()) {
      fs_.writeFile(archivePath, "partial");
      return false;
    }
    return fs_.writeFile(archivePath, "zip of " + std::to_string(items.size()));
  }
  std::vector<std::string> listing, paths;
  bool fail = false;
  std::function<void()> onWrite;

 private:
  FakeFileSystem& fs_;
};

struct PackFixture : ::testing::Test {
  FakeFileSystem fs;
  RecordingZip zip{fs};
  PackPlaces places{kData, kDesktop, kProgram};
  std::stop_source stop;
  void SetUp() override {
    fs.addFolder(kData);
    fs.addFolder(kDesktop);
    fs.addFile(kProgram, "MZ program");
  }
  PackOutcome personal(const PersonalSettings& s, LocalTime now = {2026, 12, 9, 9, 0, 0}) {
    return buildPersonalPack(fs, zip, places, s, now, stop.get_token());
  }
  PackOutcome hosts(std::string_view bytes, LocalTime now = {2026, 12, 9, 14, 5, 7}) {
    return buildHostsPack(fs, zip, places, bytes, now, stop.get_token());
  }
};

using Packs = PackFixture;

TEST_F(Packs, PersonalTreeIsZippedWithTheHiddenIniAndTheProgramCopy) {
  const std::string ini =
      "[Personal]\r\nSRDZ=1\r\nNAME=" + toGbk("小明") + "\r\nQQTX=12345\r\nHYTS=1\r\nQQNC=0\r\nTHYS=1\r\n";
  ASSERT_EQ(personal({"小明", "12345", true, false, true}), PackOutcome::Done);
  std::vector<std::string> expected{
      "Zelkora/",
      "Zelkora/Personal.ini = " + ini + " (hidden)",
      "Zelkora/TessalyZelkora.exe = MZ program",
      "Zelkora/专为小明定制于：2026年12月9日9时 = NUL",
      "您可以把文件夹直接拖到别处再打开 = NUL",
  };
  EXPECT_EQ(zip.listing, expected);
  EXPECT_EQ(zip.paths, std::vector<std::string>{kDesktop + "Zelkora私人订制包.zip.part"});
  EXPECT_EQ(fs.bytes(kDesktop + "Zelkora私人订制包.zip"), "zip of 5");
  EXPECT_FALSE(fs.fileExists(kDesktop + "Zelkora私人订制包.zip.part"));
  EXPECT_FALSE(fs.folderExists(kData + "\\ZipPersonal"));
}

TEST_F(Packs, MarkerNamesDropZeroPartsOfTheTimeAndUnusableNicknames) {
  struct Case {
    std::string nickname;
    LocalTime now;
    std::string marker;  // empty: no marker file
  } cases[] = {
      {"小明", {2026, 1, 5, 0, 0, 0}, "专为小明定制于：2026年1月5日"},
      {"小明", {2026, 1, 5, 9, 0, 0}, "专为小明定制于：2026年1月5日9时"},
      {"小明", {2026, 1, 5, 9, 30, 0}, "专为小明定制于：2026年1月5日9时30分"},
      {"a/b\\c:d", {2026, 1, 5, 23, 0, 9}, "专为abcd定制于：2026年1月5日23时0分9秒"},
      {"..\\..", {2026, 1, 5, 9, 0, 0}, ""},
      {"CON", {2026, 1, 5, 9, 0, 0}, ""},
      {"?*|", {2026, 1, 5, 9, 0, 0}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nickname);
    ASSERT_EQ(personal({c.nickname, "", false, false, false}, c.now), PackOutcome::Done);
    std::vector<std::string> markers;
    for (const std::string& line : zip.listing)
      if (line.starts_with("Zelkora/专为")) markers.push_back(line);
    if (c.marker.empty())
      EXPECT_TRUE(markers.empty());
    else
      EXPECT_EQ(markers, std::vector<std::string>{"Zelkora/" + c.marker + " = NUL"});
    EXPECT_EQ(zip.listing.size(), c.marker.empty() ? 4u : 5u);
  }
}

TEST_F(Packs, QqNicknameCarriesTheNumberAndTheCopyIsNotHidden) {
  ASSERT_EQ(personal({"10001", "10001", false, true, false}), PackOutcome::Done);
  EXPECT_EQ(zip.listing[1],
            "Zelkora/Personal.ini = [Personal]\r\nSRDZ=1\r\nNAME=10001\r\nQQTX=10001\r\nHYTS=0\r\nQQNC=1\r\n"
            "THYS=0\r\n (hidden)");
  EXPECT_EQ(zip.listing[2], "Zelkora/TessalyZelkora.exe = MZ program");
}

TEST_F(Packs, AStaleTreeIsDeletedFirstAndNeverPacked) {
  const std::string stale = kData + "\\ZipPersonal\\Zelkora私人订制包\\Zelkora\\Personal.ini";
  fs.addFile(stale, "[Personal]\r\nSRDZ=1\r\nNAME=old friend\r\n");
  fs.setAttributes(stale, 2);
  fs.addFile(kData + "\\ZipPersonal\\Zelkora私人订制包\\leftover.txt", "x");
  ASSERT_EQ(personal({"Tom", "", false, false, false}), PackOutcome::Done);
  for (const std::string& line : zip.listing) EXPECT_EQ(line.find("old friend"), std::string::npos) << line;
  EXPECT_EQ(zip.listing.size(), 5u);

  // When the old tree cannot be deleted (a file in use), nothing is built on top of it, hidden
  // file or not.
  fs.attributes.clear();
  fs.addFile(kData + "\\ZipPersonal\\Zelkora私人订制包\\leftover.txt", "x");
  fs.undeletableFolders.insert(FakeFileSystem::key(kData + "\\ZipPersonal"));
  zip.paths.clear();
  EXPECT_EQ(personal({"Tom", "", false, false, false}), PackOutcome::Failed);
  EXPECT_TRUE(zip.paths.empty());
}

TEST_F(Packs, HostsTreeHoldsTheDocumentFourTimesTheTutorialAndTheProgram) {
  const std::string doc = "127.0.0.1 localhost\r\n# " + toGbk("注释") + "\r\n";
  ASSERT_EQ(hosts(doc), PackOutcome::Done);
  std::vector<std::string> expected{
      "使用教程.txt = " + texts::hostsPackTutorialBytes(),
      "安卓、iPhone版/",
      "安卓、iPhone版/iPhone/",
      "安卓、iPhone版/iPhone/hosts = " + doc,
      "安卓、iPhone版/iPhone/越狱后，把这里头的hosts文件，复制粘贴到iPhone系统的etc目录中 = NUL",
      "安卓、iPhone版/安卓/",
      "安卓、iPhone版/安卓/方便包/",
      "安卓、iPhone版/安卓/方便包/Root后，直接将上面的system文件夹复制粘贴到安卓根目录即可 = NUL",
      "安卓、iPhone版/安卓/方便包/system/",
      "安卓、iPhone版/安卓/方便包/system/etc/",
      "安卓、iPhone版/安卓/方便包/system/etc/hosts = " + doc,
      "安卓、iPhone版/安卓/繁琐包/",
      "安卓、iPhone版/安卓/繁琐包/Root后，把这里头的hosts文件，复制粘贴到安卓根目录-system-etc中 = NUL",
      "安卓、iPhone版/安卓/繁琐包/hosts = " + doc,
      "文件创建于：2026年12月9日14时5分7秒 = NUL",
      "电脑版/",
      "电脑版/hosts = " + doc,
      "TessalyZelkora.exe = MZ program",
      "由：Zelkora生成 = NUL",
  };
  std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
    return a < b;  // the writer's order: names sorted within each folder
  });
  EXPECT_EQ(zip.listing, expected);
  EXPECT_EQ(fs.bytes(kDesktop + "Quor_Hosts.zip"), "zip of 19");
  EXPECT_FALSE(fs.folderExists(kData + "\\ZipPack"));
}

TEST_F(Packs, AnEmptyEditorGivesFourEmptyHostsFiles) {
  ASSERT_EQ(hosts(""), PackOutcome::Done);
  int hostsFiles = 0;
  for (const std::string& line : zip.listing)
    if (line.ends_with("hosts = ")) ++hostsFiles;
  EXPECT_EQ(hostsFiles, 4);
}

TEST_F(Packs, AFailedOrStoppedBuildLeavesTheOldArchive) {
  fs.addFile(kDesktop + "Quor_Hosts.zip", "old archive");
  zip.fail = true;
  EXPECT_EQ(hosts("a"), PackOutcome::Failed);
  EXPECT_EQ(fs.bytes(kDesktop + "Quor_Hosts.zip"), "old archive");
  EXPECT_FALSE(fs.fileExists(kDesktop + "Quor_Hosts.zip.part"));
  EXPECT_FALSE(fs.folderExists(kData + "\\ZipPack"));

  zip.fail = false;
  zip.onWrite = [&] { stop.request_stop(); };
  EXPECT_EQ(hosts("a"), PackOutcome::Stopped);
  EXPECT_EQ(fs.bytes(kDesktop + "Quor_Hosts.zip"), "old archive");
  EXPECT_FALSE(fs.fileExists(kDesktop + "Quor_Hosts.zip.part"));

  // Stopped before the zip: no archive is even begun.
  zip.paths.clear();
  EXPECT_EQ(hosts("a"), PackOutcome::Stopped);
  EXPECT_TRUE(zip.paths.empty());
}

TEST_F(Packs, EveryStepThatMakesTheDeliverableIsChecked) {
  // A second pack replaces the archive of that name.
  fs.addFile(kDesktop + "Zelkora私人订制包.zip", "old");
  ASSERT_EQ(personal({"Tom", "", false, false, false}), PackOutcome::Done);
  EXPECT_EQ(fs.bytes(kDesktop + "Zelkora私人订制包.zip"), "zip of 5");

  fs.readOnlyFiles.insert(FakeFileSystem::key(kDesktop + "Zelkora私人订制包.zip"));
  EXPECT_EQ(personal({"Tom", "", false, false, false}), PackOutcome::Failed) << "archive not moved into place";
  fs.readOnlyFiles.clear();

  fs.addFile(kProgram, "");
  EXPECT_EQ(personal({"Tom", "", false, false, false}), PackOutcome::Failed) << "empty program copy";
  EXPECT_EQ(hosts("a"), PackOutcome::Failed);
  fs.unreadableFiles.insert(FakeFileSystem::key(kProgram));
  EXPECT_EQ(hosts("a"), PackOutcome::Failed) << "unreadable program";
  fs.unreadableFiles.clear();
  fs.addFile(kProgram, "MZ");

  // A crash part-way: every later change fails, and so does the build wherever it stops.
  for (int after = 0; after < 30; ++after) {
    FakeFileSystem crashing;
    crashing.addFolder(kData);
    crashing.addFolder(kDesktop);
    crashing.addFile(kProgram, "MZ");
    crashing.crashAfterChanges = after;
    RecordingZip z(crashing);
    PackOutcome o = buildHostsPack(crashing, z, places, "a", {2026, 1, 1, 0, 0, 0}, {});
    EXPECT_EQ(o == PackOutcome::Done, crashing.fileExists(kDesktop + "Quor_Hosts.zip")) << after;
  }
}

TEST_F(Packs, TreesAreOnlyBuiltInsideAnAbsoluteDataFolder) {
  for (std::string bad : {"", "  ", "C:", "C:\\", "\\", "Orvik\\Nimbet", "C:\\a\\..\\..", "C:/Users/x"}) {
    SCOPED_TRACE(bad);
    places.dataFolder = bad;
    EXPECT_EQ(hosts("a"), PackOutcome::Failed);
    EXPECT_EQ(personal({"Tom", "", false, false, false}), PackOutcome::Failed);
  }
  EXPECT_TRUE(zip.paths.empty());
  places.dataFolder = "\\\\server\\share\\Nimbet";
  fs.addFolder(places.dataFolder);
  EXPECT_EQ(hosts("a"), PackOutcome::Done);
}

// The desktop's path can come back empty; the archive must then not land in whatever folder the
// program happens to run in, reported as on the desktop.
TEST_F(Packs, AnArchiveGoesOnlyToAnAbsoluteDesktop) {
  for (std::string bad : {"", " ", "Desktop\\", "C:", "..\\Desktop"}) {
    SCOPED_TRACE(bad);
    places.desktop = bad;
    fs.addFolder(bad);
    zip.paths.clear();
    EXPECT_EQ(hosts("a"), PackOutcome::Failed);
    EXPECT_EQ(personal({"Tom", "", false, false, false}), PackOutcome::Failed);
    EXPECT_TRUE(zip.paths.empty());
    EXPECT_FALSE(fs.folderExists(kData + "\\ZipPack"));
  }
  places.desktop = "C:\\Users\\张三\\Desktop";  // without the trailing backslash
  EXPECT_EQ(hosts("a"), PackOutcome::Done);
  EXPECT_EQ(fs.bytes(kDesktop + "Quor_Hosts.zip"), "zip of 19");
}

TEST(PackEntries, FoldersComeBeforeTheirContentsInNameOrder) {
  FakeFileSystem fs;
  fs.addFile("C:\\t\\b\\z.txt", "z");
  fs.addFile("C:\\t\\a.txt", "a");
  fs.addFolder("C:\\t\\b\\empty");
  fs.addFile("C:\\t\\c", "c");
  auto entries = zipEntriesOf(fs, "C:\\t");
  ASSERT_TRUE(entries);
  std::vector<std::string> names, sources;
  for (const ZipItem& e : *entries) names.push_back(e.name), sources.push_back(e.sourcePath);
  EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "b/", "b/empty/", "b/z.txt", "c"}));
  EXPECT_EQ(sources, (std::vector<std::string>{"C:\\t\\a.txt", "", "", "C:\\t\\b\\z.txt", "C:\\t\\c"}));
  EXPECT_FALSE(zipEntriesOf(fs, "C:\\missing"));
}

TEST(PackNames, NicknamesNeverLeaveTheFolder) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"小明", "小明"},
      {"  Tom  ", "Tom"},
      {"a/b\\c", "abc"},
      {"<x>:\"y\"|?*", "xy"},
      {"..", ""},
      {"a..b", "ab"},
      {"a...b.c", "ab.c"},
      {"a.?.b", "ab"},
      {"name. . .", "name"},
      {"x\r\n\ty\x7F", "xy"},
      {"con", ""},
      {"Com7.txt", ""},
      {"LPT1 ", ""},
      {"COM0", "COM0"},
      {"CONSOLE", "CONSOLE"},
      {"\xFF\xFEok", "ok"},
      {"emoji\xF0\x9F\x98\x80!", "emoji!"},
      {"\xC2\x85"
       "c1",
       "c1"},
  };
  for (const Case& c : cases) EXPECT_EQ(cleanNicknameForFileName(c.in), c.out) << c.in;
  EXPECT_EQ(cleanNicknameForFileName(std::string(100, 'a')), std::string(64, 'a'));
}

TEST(Tutorial, MatchesTheGoldenFile) {
  FILE* f = std::fopen(ZK_TEST_DATA "hosts_pack_tutorial.txt", "rb");
  ASSERT_TRUE(f);
  std::string golden;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) golden.append(buf, n);
  std::fclose(f);
  std::string bytes = texts::hostsPackTutorialBytes();
  EXPECT_EQ(bytes, golden);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  int lineEnds = 0;
  for (std::size_t i = 2; i + 3 < bytes.size(); i += 2)
    if (bytes.compare(i, 4, std::string("\r\0\n\0", 4)) == 0) ++lineEnds;
  EXPECT_EQ(lineEnds, 49);  // 50 lines joined
}

}  // namespace
}  // namespace zk
