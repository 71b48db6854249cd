#include <gtest/gtest.h>

#include "personal/personal_window.h"
#include "personal/settings_group.h"
#include "tests/support/fakes.h"
#include "tests/support/personal_fakes.h"
#include "tests/support/virtual_runtime.h"
#include "text/gbk.h"

namespace zk {
namespace {

using F = PersonalField;
constexpr const char* kData = "C:\\Users\\张三\\AppData\\Roaming\\Orvik\\Nimbet";

struct Group : ::testing::Test {
  test::VirtualRuntime rt;
  test::FakeFileSystem fs;
  test::FakePrompter prompt;
  test::FakeGroupView view;
  ProgramValues values;
  std::unique_ptr<PersonalGroupLogic> logic;
  std::vector<std::string> hooks;

  void SetUp() override {
    values.dataFolder = kData;
    values.customisationMode = "自己";
    fs.addFolder(kData);
    logic = std::make_unique<PersonalGroupLogic>(PersonalGroupServices{rt, fs, prompt, values}, view);
    logic->closeSettings = [this] { hooks.push_back("close"); };
    logic->openCustomisationWindow = [this] { hooks.push_back("open"); };
    view.onChange = [this](F f) {
      logic->onCommand(f == F::Nickname ? PersonalGroupCommand::NicknameChanged : PersonalGroupCommand::QqChanged);
    };
  }
  std::string ini() { return fs.bytes(std::string(kData) + "\\Personal.ini"); }
};

TEST_F(Group, OwnCustomisationFillsFromPersonalIniAndWidensTo696) {
  fs.addFile(std::string(kData) + "\\Personal.ini",
             toGbk("[Personal]\r\nSRDZ=1\r\nNAME=10001\r\nQQTX=20002\r\nHYTS=1\r\nQQNC=1\r\nTHYS=0\r\n"));
  logic->onCreated();
  EXPECT_EQ(view.fieldText(F::Nickname), "10001");  // NAME, not the QQ box
  EXPECT_EQ(view.fieldText(F::Qq), "20002");
  EXPECT_TRUE(view.ticked(PersonalBox::Welcome));
  EXPECT_TRUE(view.ticked(PersonalBox::QqNickname));
  EXPECT_FALSE(view.ticked(PersonalBox::Gold));
  EXPECT_TRUE(view.digitsOnly);
  EXPECT_TRUE(view.widths.empty());
  rt.advance(7);
  EXPECT_EQ(view.widths, (std::vector<int>{490, 520, 550, 580, 610, 640, 670}));
  rt.advance(1);
  EXPECT_EQ(view.width, 696);  // 700 would be 697 or more
  rt.runUntilIdle();
  EXPECT_EQ(view.widths.size(), 8u);
}

TEST_F(Group, OtherwiseTheGroupIsNeitherFilledNorWidened) {
  fs.addFile(std::string(kData) + "\\Personal.ini", "[Personal]\r\nNAME=x\r\n");
  values.customisationMode.clear();
  logic->onCreated();
  rt.runUntilIdle();
  EXPECT_TRUE(view.fields.empty());
  EXPECT_TRUE(view.widths.empty());
}

TEST_F(Group, SaveWritesTheWholeFileUnticksCancelAndCongratulates) {
  view.cancel = true;
  view.type(F::Nickname, "小明");
  view.boxes[PersonalBox::Gold] = true;
  logic->onCommand(PersonalGroupCommand::Save);
  EXPECT_EQ(ini(), "[Personal]\r\nSRDZ=1\r\nNAME=\xD0\xA1\xC3\xF7\r\nQQTX=\r\nHYTS=0\r\nQQNC=0\r\nTHYS=1\r\n");
  EXPECT_FALSE(view.cancel);
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].text, "定制完成，下次启动Zelkora生效！");
  EXPECT_EQ(prompt.shown[0].title, "恭喜！");
  EXPECT_EQ(prompt.shown[0].flags, 0u);
}

TEST_F(Group, RefusedOrFailedSaveWritesNothingAndSaysSorry) {
  view.cancel = true;
  view.type(F::Qq, "1234");
  logic->onCommand(PersonalGroupCommand::Save);
  rt.runUntilIdle();
  EXPECT_EQ(ini(), "<missing>");
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].text, "昵称是必填项目，请重新填写！");

  view.type(F::Nickname, "小明");
  view.type(F::Qq, "12345");
  fs.addFile(std::string(kData) + "\\Personal.ini", "old");
  fs.readOnlyFiles.insert(test::FakeFileSystem::key(std::string(kData) + "\\Personal.ini"));
  logic->onCommand(PersonalGroupCommand::Save);
  rt.runUntilIdle();
  ASSERT_EQ(prompt.shown.size(), 2u);
  EXPECT_EQ(prompt.shown[1].title, "抱歉！");
  EXPECT_TRUE(view.cancel);  // the old choice stands
  EXPECT_EQ(ini(), "old");
}

TEST_F(Group, CancelBoxExplainsOnlyWhenTicked) {
  view.cancel = false;
  logic->onCommand(PersonalGroupCommand::CancelBox);
  EXPECT_TRUE(prompt.shown.empty());
  view.cancel = true;
  logic->onCommand(PersonalGroupCommand::CancelBox);
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].title, "指导");
  EXPECT_EQ(prompt.shown[0].text,
            "取消私人订制将会恢复Zelkora原状，您之前定制配置仍会保留，如果您之后需要，去掉勾即可。另外，如果Zelkora被"
            "重新定制，将会按照新的来执行。");
}

TEST_F(Group, HeaderClosesSettingsThenOpensTheWindowAndEnterMovesOn) {
  logic->onCommand(PersonalGroupCommand::Header);
  EXPECT_EQ(hooks, (std::vector<std::string>{"close", "open"}));
  logic->onCommand(PersonalGroupCommand::NicknameEnter);
  EXPECT_EQ(view.focused, std::vector<F>{F::Qq});
}

TEST_F(Group, HelpLabelsShowTheirTexts) {
  logic->onCommand(PersonalGroupCommand::HelpPacking);
  logic->onCommand(PersonalGroupCommand::HelpNotes);
  logic->onCommand(PersonalGroupCommand::HelpSpecial);
  ASSERT_EQ(prompt.shown.size(), 3u);
  EXPECT_EQ(prompt.shown[0].title, "关于打包定制说明");
  EXPECT_EQ(prompt.shown[1].title, "关于打包定制注意事项");
  EXPECT_EQ(prompt.shown[2].title, "特别说明");
  // Six numbered lines, each ending in CR LF.
  std::string notes = prompt.shown[1].text;
  EXPECT_EQ(std::count(notes.begin(), notes.end(), '\n'), 6);
  EXPECT_TRUE(notes.starts_with("1.昵称必须1-20个字符之间，汉字最大10个字。\r\n2."));
  EXPECT_TRUE(notes.ends_with("\r\n6.土豪金颜色，指的是文字昵称颜色为土豪金。\r\n"));
}

struct Built {
  PackPlaces places;
  PersonalSettings settings;
  LocalTime now;
  std::stop_token stop;
};

struct Window : ::testing::Test {
  test::VirtualRuntime rt;
  test::FakePrompter prompt;
  test::FakeFolders folders;
  test::FakeClock clock;
  test::FakeMainView main;
  test::FakePersonalWindowView view;
  ProgramValues values;
  std::vector<Built> builds;
  PackOutcome outcome = PackOutcome::Done;
  std::unique_ptr<PersonalWindowLogic> logic;
  int settingsOpened = 0;

  void SetUp() override {
    values.dataFolder = kData;
    auto build = [this](const PackPlaces& p, const PersonalSettings& s, const LocalTime& t, std::stop_token stop) {
      builds.push_back({p, s, t, stop});
      return outcome;
    };
    logic = std::make_unique<PersonalWindowLogic>(
        PersonalWindowServices{rt, prompt, folders, clock, main, values, build}, view);
    logic->openSettingsForSelf = [this] {
      EXPECT_EQ(view.closed, 1);  // the window closed first: the settings window keeps main hidden
      ++settingsOpened;
    };
    view.onChange = [this](F f) {
      logic->onCommand(f == F::Nickname ? PersonalWindowCommand::NicknameChanged : PersonalWindowCommand::QqChanged);
    };
    main.shown = true;
    logic->onCreated();
  }
};

TEST_F(Window, OpensOverTheHiddenMainWindowWithTheOutline) {
  EXPECT_FALSE(main.shown);
  EXPECT_TRUE(view.outline);
  EXPECT_EQ(view.focused, std::vector<F>{F::Nickname});
  logic->onCommand(PersonalWindowCommand::ForFriend);
  EXPECT_FALSE(view.outline);
}

TEST_F(Window, StartAnimatesFourTicksBehindTheOverlayThenBuildsAndReports) {
  view.type(F::Nickname, "小明");
  view.type(F::Qq, "10001");
  view.boxes[PersonalBox::Welcome] = true;
  logic->onCommand(PersonalWindowCommand::Start);
  EXPECT_EQ(view.overlayChanges, std::vector<bool>{true});
  rt.advance(399);
  EXPECT_TRUE(view.captions.empty());
  rt.advance(1);
  EXPECT_EQ(view.captions, std::vector<std::string>{"定制中."});
  rt.advance(1899 - 400);
  EXPECT_EQ(view.captions.size(), 12u);
  EXPECT_EQ(view.captions.back(), "定制中...");
  EXPECT_TRUE(builds.empty());
  rt.advance(1);
  ASSERT_EQ(builds.size(), 1u);
  rt.runUntilIdle();
  EXPECT_EQ(builds[0].places.dataFolder, kData);
  EXPECT_EQ(builds[0].places.desktop, folders.desktopPath);
  EXPECT_EQ(builds[0].places.programPath, "D:\\下载\\Zelkora.exe");
  EXPECT_EQ(builds[0].settings, (PersonalSettings{"小明", "10001", true, false, false}));
  EXPECT_EQ(builds[0].now.hour, 9);
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].text, "定制完成，分享快乐，尽情使用吧！");
  EXPECT_EQ(prompt.shown[0].title, "恭喜！");
  std::vector<std::string> last(view.captions.end() - 2, view.captions.end());
  EXPECT_EQ(last, (std::vector<std::string>{"定制完成", "私人订制"}));
  EXPECT_EQ(view.overlayChanges, (std::vector<bool>{true, false}));
}

// The overlay only takes clicks: a box still takes keys while the dots run. What was checked is
// what is packed, never an empty nickname typed in afterwards.
TEST_F(Window, KeysDuringTheAnimationDoNotReachTheCheckedPack) {
  view.type(F::Nickname, "小明");
  view.type(F::Qq, "10001");
  logic->onCommand(PersonalWindowCommand::Start);
  rt.advance(1000);
  view.type(F::Nickname, "");
  view.type(F::Qq, "123");
  view.boxes[PersonalBox::Gold] = true;
  rt.runUntilIdle();
  ASSERT_EQ(builds.size(), 1u);
  EXPECT_EQ(builds[0].settings, (PersonalSettings{"小明", "10001", false, false, false}));
}

TEST_F(Window, RefusedStartBuildsNothingAndFailedBuildSaysSorry) {
  view.boxes[PersonalBox::QqNickname] = true;
  logic->onCommand(PersonalWindowCommand::Start);
  rt.runUntilIdle();
  EXPECT_TRUE(builds.empty());
  EXPECT_TRUE(view.overlayChanges.empty());
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].text, "尚未输入QQ号码，请重新填写！");

  view.type(F::Nickname, "10001");
  outcome = PackOutcome::Failed;
  logic->onCommand(PersonalWindowCommand::Start);
  rt.runUntilIdle();
  ASSERT_EQ(builds.size(), 1u);
  ASSERT_EQ(prompt.shown.size(), 2u);
  EXPECT_EQ(prompt.shown[1].title, "抱歉！");
  EXPECT_EQ(view.captions.back(), "开始定制！");
  EXPECT_FALSE(view.overlay);
}

TEST_F(Window, CloseDuringTheBuildStopsItAndShowsTheMainWindow) {
  view.type(F::Nickname, "小明");
  rt.workDelayMs = 50;  // the build takes its time on the worker
  logic->onCommand(PersonalWindowCommand::Start);
  rt.advance(1920);
  EXPECT_TRUE(logic->busy());
  logic->onCommand(PersonalWindowCommand::Close);
  EXPECT_FALSE(logic->busy());
  rt.runUntilIdle();
  EXPECT_TRUE(builds.empty());  // a stopped build's work is dropped
  EXPECT_TRUE(prompt.shown.empty());
  EXPECT_TRUE(main.shown);
  EXPECT_EQ(view.closed, 1);
}

TEST_F(Window, SecondStartWhileBusyIsIgnored) {
  view.type(F::Nickname, "小明");
  logic->onCommand(PersonalWindowCommand::Start);
  rt.advance(1000);
  logic->onCommand(PersonalWindowCommand::Start);
  rt.runUntilIdle();
  EXPECT_EQ(builds.size(), 1u);
}

TEST_F(Window, ForSelfClosesThisWindowThenOpensSettings) {
  logic->onCommand(PersonalWindowCommand::ForSelf);
  EXPECT_EQ(settingsOpened, 1);
  EXPECT_TRUE(main.shown);
  logic->onCommand(PersonalWindowCommand::HelpUsing);
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].title, "如何使用定制包。");
}

}  // namespace
}  // namespace zk
