#include <gtest/gtest.h>

#include "app/hosts_path.h"
#include "resources/fixed_texts.h"
#include "sync/cloud.h"
#include "tests/unit/startup_fixture.h"
#include "text/gbk.h"

namespace zk {
namespace {

using test::Program;

const char* kRegKey = "system\\currentcontrolset\\services\\tcpip\\parameters\\databasepath";

TEST(HostsPath, ResolvesRegistryValueAgainstTheWindowsFolder) {
  auto plain = resolveHostsPath("C:\\Windows\\system32\\", "%SystemRoot%\\System32\\drivers\\etc");
  EXPECT_EQ(plain.windowsFolder, "C:\\Windows");
  EXPECT_EQ(plain.systemHostsPath, "C:\\Windows\\System32\\drivers\\etc\\hosts");
  auto caps = resolveHostsPath("D:\\WINNT\\SYSTEM32\\", "%systemroot%\\System32\\drivers\\etc");
  EXPECT_EQ(caps.systemHostsPath, "D:\\WINNT\\System32\\drivers\\etc\\hosts");
  auto literal = resolveHostsPath("C:\\Windows\\system32\\", "E:\\hosts-dir");
  EXPECT_EQ(literal.systemHostsPath, "E:\\hosts-dir\\hosts");
}

TEST(HostsPath, AMissingRegistryValueFallsBackToTheSystemFolderNotTheDriveRoot) {
  auto loc = resolveHostsPath("C:\\Windows\\system32\\", "");
  EXPECT_EQ(loc.systemHostsPath, "C:\\Windows\\system32\\drivers\\etc\\hosts");
}

TEST(FixedTexts, ScriptsAndSeedAreByteExact) {
  EXPECT_EQ(std::string(texts::kDefaultSettings).size(), 65u);
  EXPECT_EQ(toGbk(texts::kDnscacheBat).size(), 73u);  // 69 bytes on disk, with {net} and {sc}
  EXPECT_NE(std::string(texts::kDnscacheBat).find("demand \r\nexit"), std::string::npos);
  std::string reg = texts::registryScriptFileBytes();
  ASSERT_EQ(reg.size(), 338u);
  EXPECT_EQ(reg.substr(0, 4), std::string("\xFF\xFEW\0", 4));
  EXPECT_EQ(reg.substr(reg.size() - 4), std::string("\r\0\n\0", 4));
  // The help text: 971 bytes with a six-letter product name; ours has seven letters, in 7 places.
  std::string help = toGbk(texts::kRegistryHelp);
  EXPECT_EQ(help.size(), 971u + 7u);
  EXPECT_EQ(help.substr(0, 2), "\r\n");
  EXPECT_EQ(help.substr(help.size() - 8), "\r\n\r\n\r\n\r\n");
  EXPECT_NE(help.find(std::string(79, '-') + "\r\nWindows Registry Editor Version 5.00\r\n\r\n["), std::string::npos);
  EXPECT_EQ(help.find('\n'), 1u);
  for (std::size_t i = 0; i < help.size(); ++i) {
    if (help[i] == '\n') {
      ASSERT_EQ(help[i - 1], '\r') << "bare LF at " << i;
    }
  }
}

TEST(Startup, FirstStartCreatesTheDataFolderCopySettingsAndTem) {
  Program p;
  p.start();
  EXPECT_EQ(p.values.dataFolder, test::kData);
  EXPECT_TRUE(p.fs.folderExists(test::kData));
  EXPECT_EQ(p.fs.bytes(p.data("Nimbet.exe")), "MZ-image-bytes");
  EXPECT_EQ(p.fs.bytes(p.data("System.btx")).substr(0, 16), "[System]\r\nXFWQ=1");
  EXPECT_EQ(p.values.systemHostsPath, "C:\\Windows\\System32\\drivers\\etc\\hosts");
  EXPECT_EQ(p.values.releaseDate, "2016年1月22日");
  EXPECT_EQ(p.values.programVersion, ZK_VERSION);
  // Seeded defaults applied: official server, welcome animation on.
  EXPECT_TRUE(p.view.radioChecked(Server::Official));
  EXPECT_TRUE(p.welcome.running());
  EXPECT_EQ(p.view.picture, FetchPicture::Idle);
  EXPECT_EQ(p.view.skins.front(), skinLook(0));
  EXPECT_FALSE(p.view.avatarVisible);
  EXPECT_FALSE(p.view.nicknameVisible);
  EXPECT_EQ(p.registry.writeCalls, 0);
  EXPECT_TRUE(p.prompt.shown.empty());
  // Tem appears once the rebuild's 500 ms pause is over.
  EXPECT_EQ(p.fs.bytes(p.data("Tem\\请勿随意删除本目录.txt")), toGbk(texts::kTempReadMe));
}

TEST(Startup, ExistingSettingsAreNeverOverwrittenBySeeding) {
  Program p;
  p.fs.addFile(p.data("System.btx"), "[System]\r\nXFWQ=2\r\nHYDH=0\r\n");
  p.start();
  EXPECT_EQ(p.fs.bytes(p.data("System.btx")), "[System]\r\nXFWQ=2\r\nHYDH=0\r\n");
  EXPECT_TRUE(p.view.radioChecked(Server::Backup));
  EXPECT_FALSE(p.welcome.running());
  EXPECT_FALSE(p.view.curtainVisible);
}

TEST(Startup, SelfCopyReplacesAnEmptyCopyAndKeepsAnyOther) {
  Program empty;
  empty.fs.addFile(empty.data("Nimbet.exe"), "");
  empty.start();
  EXPECT_EQ(empty.fs.bytes(empty.data("Nimbet.exe")), "MZ-image-bytes");

  Program older;
  older.fs.addFile(older.data("Nimbet.exe"), "older version");
  older.start();
  EXPECT_EQ(older.fs.bytes(older.data("Nimbet.exe")), "older version");
}

TEST(Startup, MissingRegistryValueIsRepairedSilently) {
  Program p;
  p.registry.values.clear();
  p.start();
  EXPECT_EQ(p.registry.values[kRegKey], "%SystemRoot%\\System32\\drivers\\etc");
  EXPECT_EQ(p.values.hostsRegistryValue, "%SystemRoot%\\System32\\drivers\\etc");
  EXPECT_EQ(p.values.systemHostsPath, "C:\\Windows\\System32\\drivers\\etc\\hosts");
  EXPECT_TRUE(p.prompt.shown.empty());
  EXPECT_FALSE(p.fs.fileExists(p.data("RegSp.txt")));
}

TEST(Startup, UnrepairableRegistryValueWarnsAndWritesTheHelpFiles) {
  Program p;
  p.registry.values.clear();
  p.registry.writable = false;
  p.start();
  ASSERT_EQ(p.prompt.shown.size(), 1u);
  EXPECT_EQ(p.prompt.shown[0].title, "警告注意：");
  EXPECT_EQ(p.prompt.shown[0].flags, 65552u);
  EXPECT_EQ(p.prompt.shown[0].text, texts::kRegistryWarning);
  EXPECT_EQ(p.fs.bytes(p.data("RegSp.txt")), toGbk(texts::kRegistryHelp));
  EXPECT_EQ(p.shell.opened, std::vector<std::string>{p.data("RegSp.txt")});
  EXPECT_EQ(p.fs.bytes("C:\\Users\\张三\\Desktop\\【Zelkora】双击修复文件.reg"), texts::registryScriptFileBytes());
  EXPECT_EQ(p.values.systemHostsPath, "C:\\Windows\\system32\\drivers\\etc\\hosts");
  EXPECT_TRUE(p.view.radioChecked(Server::Official));  // start-up went on
}

TEST(Startup, ExpandedStringAndCapitalSystemFolderResolve) {
  Program p;
  p.registry.values[kRegKey] = "%SystemRoot%\\System32\\drivers\\etc";
  p.folders.systemPath = "C:\\WINDOWS\\SYSTEM32\\";
  p.start();
  EXPECT_EQ(p.values.windowsFolder, "C:\\WINDOWS");
  EXPECT_EQ(p.values.systemHostsPath, "C:\\WINDOWS\\System32\\drivers\\etc\\hosts");
}

TEST(Startup, DataFolderBlockedByAFileDoesNotStopStartUpOrDeleteTheFile) {
  Program p;
  p.fs.addFile(std::string(p.folders.appDataPath) + "Orvik", "user's own file");
  p.start();
  EXPECT_EQ(p.fs.bytes(std::string(p.folders.appDataPath) + "Orvik"), "user's own file");
  EXPECT_TRUE(p.view.radioChecked(Server::Official));  // settings missing: official chosen
  EXPECT_FALSE(p.welcome.running());                   // and everything else off
  EXPECT_EQ(p.values.systemHostsPath, "C:\\Windows\\System32\\drivers\\etc\\hosts");
}

TEST(Startup, PersonalIniBesideTheProgramIsCopiedAndSwitchesCustomisationOn) {
  Program p;
  p.fs.addFile(p.folders.ownFolderPath + "\\Personal.ini", "[Personal]\r\nSRDZ=1\r\nNAME=小明\r\n");
  p.fs.addFile(p.data("Personal.ini"), "[Personal]\r\nSRDZ=0\r\n");
  p.start();
  EXPECT_EQ(p.fs.bytes(p.data("Personal.ini")), "[Personal]\r\nSRDZ=1\r\nNAME=小明\r\n");
  EXPECT_EQ(p.values.srdzValue, "1");
  EXPECT_EQ(p.customisationStarts, 1);
}

TEST(Startup, CustomisationStaysOffUnlessSrdzIsExactlyOne) {
  for (std::string value : {"", "0", "01", "yes"}) {
    Program p;
    if (!value.empty()) p.fs.addFile(p.data("Personal.ini"), "[Personal]\r\nSRDZ=" + value + "\r\n");
    p.start();
    EXPECT_EQ(p.customisationStarts, 0) << value;
  }
}

TEST(Startup, BadSettingsFilesNeverStopStartUp) {
  std::string binary;
  for (unsigned i = 0; i < 300000; ++i) binary += static_cast<char>((i * 7919u) & 0xFFu);
  for (std::string content : {binary, std::string("[System]\r\nXFWQ=2\0HYDH=1", 24), std::string("[Sys"),
                              std::string("[System]\r\nXFWQ=\xFF\xFE\x81\r\n")}) {
    Program p;
    p.fs.addFile(p.data("System.btx"), content);
    p.fs.addFile(p.data("Personal.ini"), content);
    p.start();
    EXPECT_FALSE(p.rt.isRunning(TaskSlot::Startup));
    EXPECT_EQ(p.customisationStarts, 0);
    EXPECT_EQ(p.values.systemHostsPath, "C:\\Windows\\System32\\drivers\\etc\\hosts");
  }
}

TEST(WelcomeAnimation, RestsTwoSecondsThenSlidesUpTenPixelsATickAndHides) {
  Program p;
  p.view.window = Rect{300, 100, 462, 390};  // start height 100 + 390 - 200 = 290
  p.start();
  EXPECT_EQ(p.view.curtainRect, (Rect{0, 37, 462, 290}));
  p.rt.advance(1500);
  EXPECT_EQ(p.view.curtainRect.height, 290);
  EXPECT_TRUE(p.view.curtainVisible);
  p.rt.advance(1000);
  EXPECT_LT(p.view.curtainRect.height, 290);
  EXPECT_EQ(p.view.curtainRect.height % 10, 0);
  p.rt.advance(100);
  EXPECT_EQ(p.view.curtainRect.height, 0);
  EXPECT_FALSE(p.view.curtainVisible);
  EXPECT_FALSE(p.welcome.running());
}

TEST(SkinRotation, CyclesOneToSevenEveryTenSeconds) {
  Program p;
  p.start();
  p.view.skins.clear();
  p.rt.advance(10'000 * 9);
  ASSERT_EQ(p.view.skins.size(), 9u);
  std::vector<int> order;
  for (auto& s : p.view.skins) order.push_back(s.index);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 1, 2}));
  EXPECT_EQ(p.view.skins[6].skinButtonAndLogo, (Rgb{138, 4, 130}));
  EXPECT_EQ(p.view.skins[2].settingsLabel, (Rgb{0, 255, 0}));
  EXPECT_EQ(p.view.skins[5].navigationLabel, (Rgb{0, 136, 255}));
}

TEST(About, HidesTheMainWindowAndShowsVersionDateAndYear) {
  test::FakeAboutView about;
  test::FakeMainView main;
  test::FakeClock clock;
  ProgramValues values;
  values.releaseDate = "2016年1月22日";
  int homeOpened = 0;
  AboutLogic logic(about, main, clock, values, [&] { ++homeOpened; });
  logic.onCreated();
  EXPECT_FALSE(main.shown);
  EXPECT_EQ(about.version, std::string("版本：V") + ZK_VERSION);
  EXPECT_NE(about.released.find("2016年1月22日"), std::string::npos);
  EXPECT_NE(about.copyright.find("2026"), std::string::npos);
  logic.onHomeClicked();
  EXPECT_EQ(homeOpened, 1);
  logic.onCloseClicked();
  EXPECT_TRUE(main.shown);
  EXPECT_EQ(about.closed, 1);
}

}  // namespace
}  // namespace zk

// The one version of the build: the resource's numbers and the text agree, and the text is a
// plain decimal the cloud's version compare reads back as the same number.
TEST(Version, TextNumbersAndCloudCompareAgree) {
  const std::string text = ZK_VERSION;
  EXPECT_EQ(text, std::to_string(ZK_VERSION_MAJOR) + "." + std::to_string(ZK_VERSION_MINOR));
  EXPECT_EQ(text.find_first_not_of("0123456789."), std::string::npos);
  EXPECT_GT(ZK_VERSION_MAJOR, 0);
  // The cloud compares versions as decimal numbers: 1.10 would read as older than 1.6.
  EXPECT_LT(ZK_VERSION_MINOR, 10) << "a minor version of two digits breaks the cloud's version compare";
  EXPECT_FLOAT_EQ(zk::versionNumber(text), static_cast<float>(ZK_VERSION_MAJOR) + ZK_VERSION_MINOR / 10.0f);
  zk::ProgramValues values;
  EXPECT_EQ(values.programVersion, text);
}
