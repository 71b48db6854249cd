#include <gtest/gtest.h>

#include <set>

#include "personal/shortcuts.h"
#include "tests/unit/startup_fixture.h"

namespace zk {
namespace {

using test::kData;
using test::Program;

// Records the pin and the links asked for; saves fail for the paths named.
class FakeShellLinks : public ShellLinks {
 public:
  struct Saved {
    std::string link, target, description, folder;
  };
  bool saveShortcut(const std::string& linkPath, const std::string& target, const std::string& description,
                    const std::string& workingFolder) override {
    if (failing.count(linkPath)) return false;
    saved.push_back({linkPath, target, description, workingFolder});
    return true;
  }
  std::string pinVerbName() override { return verbName; }
  bool runVerbNamed(const std::string& folder, const std::string& fileName, const std::string& verb) override {
    verbsRun.push_back(folder + "|" + fileName + "|" + verb);
    return true;
  }
  std::string verbName = "锁定到任务栏(&K)";
  std::set<std::string> failing;
  std::vector<Saved> saved;
  std::vector<std::string> verbsRun;
};

struct ShortcutsFixture : ::testing::Test {
  Program p;
  FakeShellLinks links;
  Shortcuts shortcuts{ShortcutServices{links, p.folders, p.fs, p.prompt, p.values}};
  const std::string desktopLink = "C:\\Users\\张三\\Desktop\\Zelkora.lnk";
  const std::string startLink = "C:\\Users\\张三\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Zelkora.lnk";
  const std::string quickFolder = "C:\\Users\\张三\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch";
  ShortcutsFixture() { p.values.dataFolder = kData; }
  std::vector<std::string> savedLinks() {
    std::vector<std::string> out;
    for (const auto& s : links.saved) out.push_back(s.link);
    return out;
  }
};

TEST_F(ShortcutsFixture, PinsThenSavesDesktopAndStartMenuLinksToTheInstalledCopy) {
  EXPECT_TRUE(shortcuts.onCommand(MainCommand::Shortcuts));
  EXPECT_EQ(links.verbsRun, std::vector<std::string>{std::string(kData) + "|Nimbet.exe|锁定到任务栏(&K)"});
  EXPECT_EQ(savedLinks(), (std::vector<std::string>{desktopLink, startLink}));
  for (const auto& s : links.saved) {
    EXPECT_EQ(s.target, p.data("Nimbet.exe"));
    EXPECT_EQ(s.description, "一键解析，极速互联！");
    EXPECT_EQ(s.folder, kData);
  }
  ASSERT_EQ(p.prompt.shown.size(), 1u);
  EXPECT_EQ(p.prompt.shown[0].text, "创建完毕！");
  EXPECT_EQ(p.prompt.shown[0].title, "恭喜！");
  EXPECT_EQ(p.prompt.shown[0].flags, 0u);
  EXPECT_FALSE(shortcuts.onCommand(MainCommand::Help));
}

TEST_F(ShortcutsFixture, QuickLaunchOnlyWhereItsFolderExistsAndIsNeverCreated) {
  shortcuts.create();
  EXPECT_FALSE(p.fs.folderExists(quickFolder));
  EXPECT_EQ(links.saved.size(), 2u);
  links.saved.clear();
  p.fs.addFolder(quickFolder);
  shortcuts.create();
  EXPECT_EQ(savedLinks(), (std::vector<std::string>{desktopLink, startLink, quickFolder + "\\Zelkora.lnk"}));
}

TEST_F(ShortcutsFixture, NoPinVerbNameMeansNoVerbIsRunAndNothingIsSaid) {
  links.verbName.clear();
  EXPECT_FALSE(shortcuts.plan(links.verbName).pin);
  shortcuts.create();
  EXPECT_TRUE(links.verbsRun.empty());
  EXPECT_EQ(links.saved.size(), 2u);
  ASSERT_EQ(p.prompt.shown.size(), 1u);
  EXPECT_EQ(p.prompt.shown[0].text, "创建完毕！");
}

TEST_F(ShortcutsFixture, SomeSavedIsSuccessNoneSavedIsReported) {
  links.failing = {desktopLink};
  shortcuts.create();
  ASSERT_EQ(p.prompt.shown.size(), 1u);
  EXPECT_EQ(p.prompt.shown[0].title, "恭喜！");
  links.failing = {desktopLink, startLink};
  shortcuts.create();
  ASSERT_EQ(p.prompt.shown.size(), 2u);
  EXPECT_EQ(p.prompt.shown[1].title, "抱歉！");
  EXPECT_NE(p.prompt.shown[1].text, "创建完毕！");
}

TEST_F(ShortcutsFixture, AnUnknownFolderIsSkippedNotWrittenAsABareName) {
  p.folders.desktopPath.clear();
  p.folders.startMenuPath = "C:\\Start";  // without its backslash
  shortcuts.create();
  EXPECT_EQ(savedLinks(), std::vector<std::string>{"C:\\Start\\Zelkora.lnk"});
  // No data folder, or one that is not a full path (the application-data folder unknown).
  for (const char* data : {"", "Orvik\\Nimbet\\"}) {
    p.values.dataFolder = data;
    links.saved.clear();
    links.verbsRun.clear();
    shortcuts.create();
    EXPECT_TRUE(links.saved.empty()) << data;
    EXPECT_TRUE(links.verbsRun.empty()) << data;
    EXPECT_EQ(p.prompt.shown.back().title, "抱歉！");
  }
}

}  // namespace
}  // namespace zk

namespace zk {
namespace {

// The verb list Wine's shell gives a program, separators included: a name takes exactly its own
// verbs; an empty name, a longer or shorter one, or an unknown one takes none.
TEST(ShellVerbs, ANameTakesExactlyItsOwnVerbsAndAnEmptyNameNone) {
  const std::vector<std::string> listed = {"选择(&S)",         "打开(&O)", "",           "剪切(&U)", "复制(&C)", "",
                                           "创建快捷方式(&L)", "删除(&D)", "重命名(&R)", "",         "属性(&P)"};
  auto taken = [&](const std::string& wanted) {
    std::vector<std::string> out;
    for (const std::string& name : listed)
      if (isVerbNamed(name, wanted)) out.push_back(name);
    return out;
  };
  EXPECT_EQ(taken("打开(&O)"), std::vector<std::string>{"打开(&O)"});
  EXPECT_TRUE(taken("").empty());
  EXPECT_TRUE(taken("打开(&O)x").empty());
  EXPECT_TRUE(taken("打开(&O").empty());
  EXPECT_TRUE(taken("固定到任务栏(&K)").empty());
}

}  // namespace
}  // namespace zk
