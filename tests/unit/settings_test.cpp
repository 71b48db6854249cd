#include <gtest/gtest.h>

#include "resources/fixed_texts.h"
#include "settings/settings_window.h"
#include "tests/unit/startup_fixture.h"

namespace zk {
namespace {

using test::Program;

struct Settings : ::testing::Test {
  Program p;
  test::FakeSettingsView win;
  void SetUp() override { p.start(); }
  std::string key(const std::string& k) { return IniFile(p.fs, p.data("System.btx")).read("System", k); }
  void load(const std::string& text) {
    p.fs.writeFile(p.data("System.btx"), text);
    p.rt.start(TaskSlot::LoadSettings, p.settings.loadAndApply());
    p.rt.advance(200);
  }
};

TEST_F(Settings, LoadTicksTheChosenServerAndTheBlockingBoxes) {
  load("[System]\r\nXFWQ=2\r\nADFW=1\r\nDHFW=0\r\n");
  EXPECT_TRUE(p.view.radioChecked(Server::Backup));
  EXPECT_TRUE(p.view.adTicked);
  EXPECT_FALSE(p.view.navTicked);
  load("[System]\r\nXFWQ=3\r\nADFW=0\r\nDHFW=1\r\n");
  EXPECT_TRUE(p.view.radioChecked(Server::Custom));
  EXPECT_FALSE(p.view.adTicked);
  EXPECT_TRUE(p.view.navTicked);
}

TEST_F(Settings, EmptyServerChoosesOfficialAndWritesItBack) {
  p.settings.tick(Server::Backup);
  p.retry.setBox(2);
  load("[System]\r\nHYDH=1\r\n");
  EXPECT_TRUE(p.view.radioChecked(Server::Official));
  EXPECT_EQ(key("XFWQ"), "1");
  EXPECT_EQ(p.settings.serverChoice(), Server::Official);
  EXPECT_EQ(p.view.retryText, "0");
}

TEST_F(Settings, UnknownServerValueTicksNothing) {
  p.view.setRadioChecked(Server::Official, true);
  load("[System]\r\nXFWQ=4\r\n");
  EXPECT_TRUE(p.view.radios.empty());
  EXPECT_EQ(key("XFWQ"), "4");
}

TEST_F(Settings, LoadWaitsTwoHundredMillisecondsBeforeShowing) {
  p.fs.writeFile(p.data("System.btx"), "[System]\r\nXFWQ=2\r\n");
  p.rt.start(TaskSlot::LoadSettings, p.settings.loadAndApply());
  p.rt.advance(199);
  EXPECT_TRUE(p.view.radioChecked(Server::Official));
  p.rt.advance(1);
  EXPECT_TRUE(p.view.radioChecked(Server::Backup));
}

TEST_F(Settings, EmojiPointerFollowsQbmj) {
  p.view.pointerCalls.clear();
  load("[System]\r\nXFWQ=1\r\nQBMJ=1\r\n");
  EXPECT_EQ(p.view.pointerCalls, std::vector<bool>{true});
  p.view.pointerCalls.clear();
  load("[System]\r\nXFWQ=1\r\nQBMJ=0\r\n");
  EXPECT_TRUE(p.view.pointerCalls.empty());  // off is applied only by start-up and by save
}

TEST_F(Settings, RadioButtonsWriteTheirChoiceAndResetTheRetryCounter) {
  p.retry.setBox(2);
  p.settings.onBackupClicked();
  EXPECT_EQ(key("XFWQ"), "2");
  EXPECT_EQ(p.view.retryText, "0");
  EXPECT_TRUE(p.view.radioChecked(Server::Backup));
  EXPECT_FALSE(p.view.radioChecked(Server::Official));
  EXPECT_EQ(p.settings.serverChoice(), Server::Backup);
  p.retry.setBox(1);
  p.settings.onOfficialClicked();
  EXPECT_EQ(key("XFWQ"), "1");
  EXPECT_EQ(p.view.retryText, "0");
  EXPECT_EQ(p.settings.ticked(), Server::Official);
}

TEST_F(Settings, CustomRadioWithoutCustomServerAsksAndNoFallsBackToOfficial) {
  p.view.setRadioChecked(Server::Custom, true);
  p.prompt.answers = {Answer::No};
  p.settings.onCustomClicked();
  ASSERT_EQ(p.prompt.shown.size(), 1u);
  EXPECT_EQ(p.prompt.shown[0].text, "您尚开启第三方服务器设置！是否转到设置勾选？");
  EXPECT_EQ(p.prompt.shown[0].title, "询问");
  EXPECT_EQ(p.prompt.shown[0].flags, 4u);
  EXPECT_TRUE(p.view.radioChecked(Server::Official));
  EXPECT_FALSE(p.view.radioChecked(Server::Custom));
  EXPECT_EQ(key("XFWQ"), "1");
  EXPECT_TRUE(p.view.settingsOpened.empty());
}

TEST_F(Settings, CustomRadioWithoutCustomServerYesOpensSettingsModally) {
  p.view.setRadioChecked(Server::Custom, true);
  p.prompt.answers = {Answer::Yes};
  p.settings.onCustomClicked();
  EXPECT_EQ(p.view.settingsOpened, std::vector<bool>{true});
}

TEST_F(Settings, CustomRadioWithServerButNoAddressAsksAgainAndNoLeavesNothingTicked) {
  p.settings.write(Key::CustomServerOn, "1");
  p.view.setRadioChecked(Server::Custom, true);
  p.prompt.answers = {Answer::No};
  p.settings.onCustomClicked();
  ASSERT_EQ(p.prompt.shown.size(), 1u);
  EXPECT_EQ(p.prompt.shown[0].text, "您尚未填写自定义服的地址哦！是否转到设置补充？");
  EXPECT_TRUE(p.view.radios.empty());
  p.view.setRadioChecked(Server::Custom, true);
  p.prompt.answers = {Answer::Yes};
  p.settings.onCustomClicked();
  EXPECT_EQ(p.view.settingsOpened, std::vector<bool>{true});
}

TEST_F(Settings, CustomRadioWithServerAndAddressChoosesCustom) {
  p.settings.write(Key::CustomServerOn, "1");
  p.settings.write(Key::CustomAddress, "http://hosts.example.com/hosts.txt");
  p.view.setRadioChecked(Server::Custom, true);
  p.settings.onCustomClicked();
  EXPECT_TRUE(p.prompt.shown.empty());
  EXPECT_EQ(key("XFWQ"), "3");
  EXPECT_EQ(p.settings.serverChoice(), Server::Custom);
}

TEST_F(Settings, BlockingBoxesWriteTheirKeysAndNavigationWarnsOnlyWhenTicked) {
  p.settings.onAdBlockingClicked();
  EXPECT_EQ(key("ADFW"), "1");
  EXPECT_TRUE(p.settings.adBlocking());
  EXPECT_TRUE(p.view.adTicked);
  p.settings.onAdBlockingClicked();
  EXPECT_EQ(key("ADFW"), "0");
  EXPECT_FALSE(p.view.adTicked);
  p.settings.onNavigationBlockingClicked();
  ASSERT_EQ(p.prompt.shown.size(), 1u);
  EXPECT_EQ(p.prompt.shown[0].title, "您需充分了解以下内容：");
  EXPECT_EQ(p.prompt.shown[0].flags, 0u);
  EXPECT_EQ(key("DHFW"), "1");
  EXPECT_TRUE(p.view.navTicked);
  p.settings.onNavigationBlockingClicked();
  EXPECT_EQ(p.prompt.shown.size(), 1u);
  EXPECT_EQ(key("DHFW"), "0");
}

struct SettingsWindow : Settings {
  std::unique_ptr<SettingsWindowLogic> logic;
  void open() {
    logic = std::make_unique<SettingsWindowLogic>(p.settings, win, p.view, p.prompt, p.rt, p.values);
    logic->onCreated();
    p.rt.advance(200);
  }
  void saveAndSettle() {
    logic->onSaveClicked();
    p.rt.advance(2000);
  }
};

TEST_F(SettingsWindow, FillsFromTheFileAsItIsWhenOpened) {
  load("[System]\r\nXFWQ=2\r\nZFJH=1\r\nZURL=http://a/h.txt\r\n");
  p.settings.write(Key::Server, "3");  // a radio button click since the last load
  open();
  EXPECT_TRUE(win.ticked(SettingsBox::CustomServer));
  EXPECT_EQ(win.addressText, "http://a/h.txt");
}

TEST_F(SettingsWindow, FillsFromTheKeptValues) {
  load("[System]\r\nXFWQ=3\r\nZURL=http://a/h.txt\r\nHYDH=1\r\nQBMJ=0\r\nZDDH=1\r\nAQSX=0\r\n");
  open();
  EXPECT_TRUE(win.ticked(SettingsBox::CustomServer));
  EXPECT_EQ(win.addressText, "http://a/h.txt");
  EXPECT_TRUE(win.addressEnabled);
  EXPECT_TRUE(win.ticked(SettingsBox::WelcomeAnimation));
  EXPECT_FALSE(win.ticked(SettingsBox::EmojiPointer));
  EXPECT_TRUE(win.ticked(SettingsBox::OpenNavigation));
  EXPECT_FALSE(win.ticked(SettingsBox::ProtectHosts));
  EXPECT_FALSE(win.cancelEnabled);  // never customised
  EXPECT_TRUE(win.narrow);
  EXPECT_FALSE(p.view.shown);
  load("[System]\r\nXFWQ=1\r\nZURL=http://a/h.txt\r\n");
  win = test::FakeSettingsView();
  open();
  EXPECT_FALSE(win.ticked(SettingsBox::CustomServer));
  EXPECT_EQ(win.addressText, "");
  EXPECT_FALSE(win.addressEnabled);
}

TEST_F(SettingsWindow, CancelBoxFollowsTheSrdzValueReadAtStart) {
  p.values.srdzValue = "0";
  open();
  EXPECT_TRUE(win.cancelEnabled);
  EXPECT_TRUE(win.ticked(SettingsBox::CancelCustomisation));
  p.values.srdzValue = "1";
  win = test::FakeSettingsView();
  open();
  EXPECT_FALSE(win.ticked(SettingsBox::CancelCustomisation));
}

TEST_F(SettingsWindow, SaveWritesEverythingWaitsThenClosesWithReload) {
  open();
  win.setTicked(SettingsBox::CustomServer, true);
  win.addressText = " HTTP://hosts.example.com/hosts.txt";
  win.setTicked(SettingsBox::WelcomeAnimation, false);
  win.setTicked(SettingsBox::EmojiPointer, true);
  win.setTicked(SettingsBox::OpenNavigation, false);
  win.setTicked(SettingsBox::ProtectHosts, true);
  p.view.pointerCalls.clear();
  logic->onSaveClicked();
  // Accepted and stored as typed; reading trims it, as the Windows profile functions do.
  EXPECT_NE(p.fs.bytes(p.data("System.btx")).find("\r\nZURL= HTTP://hosts.example.com/hosts.txt\r\n"),
            std::string::npos);
  EXPECT_EQ(key("ZFJH"), "1");
  EXPECT_EQ(key("HYDH"), "0");
  EXPECT_EQ(key("QBMJ"), "1");
  EXPECT_EQ(key("ZDDH"), "0");
  EXPECT_EQ(key("AQSX"), "1");
  EXPECT_FALSE(p.fs.fileExists(p.data("Personal.ini")));
  EXPECT_EQ(win.closed, 0);
  p.rt.advance(799);
  EXPECT_EQ(win.closed, 0);  // 600 ms pause, then the 200 ms of the reload
  p.rt.advance(1);
  EXPECT_EQ(win.closed, 1);
  EXPECT_TRUE(p.view.shown);
  EXPECT_EQ(p.settings.loaded().customAddress, "HTTP://hosts.example.com/hosts.txt");
  EXPECT_EQ(p.view.pointerCalls.front(), true);
}

TEST_F(SettingsWindow, EmptyAddressIsRefusedAndBlinksFiveTimes) {
  open();
  win.setTicked(SettingsBox::CustomServer, true);
  win.setTicked(SettingsBox::WelcomeAnimation, false);
  win.setTicked(SettingsBox::EmojiPointer, true);
  std::string before = p.fs.bytes(p.data("System.btx"));
  saveAndSettle();
  ASSERT_EQ(p.prompt.shown.size(), 1u);
  EXPECT_EQ(p.prompt.shown[0].text, "您尚未填写自定义地址，请认真填写！");
  EXPECT_EQ(p.prompt.shown[0].title, "抱歉");
  EXPECT_EQ(key("HYDH"), "0");  // written before the check
  EXPECT_EQ(key("QBMJ"), "0");  // nothing after it
  EXPECT_EQ(key("ZFJH"), "0");
  EXPECT_EQ(win.closed, 0);
  ASSERT_EQ(win.backgrounds.size(), 10u);
  EXPECT_EQ(win.backgrounds[0], (Rgb{192, 192, 192}));
  EXPECT_EQ(win.backgrounds[9], (Rgb{255, 255, 255}));
}

TEST_F(SettingsWindow, AddressWithoutSchemeIsRefusedWithTheRules) {
  open();
  win.setTicked(SettingsBox::CustomServer, true);
  for (std::string bad : {"hosts.example.com/hosts.txt", "   ", "ftp://a/b", "http:/a"}) {
    p.prompt.shown.clear();
    win.addressText = bad;
    saveAndSettle();
    ASSERT_EQ(p.prompt.shown.size(), 1u) << bad;
    EXPECT_EQ(p.prompt.shown[0].text, texts::kUrlRules);
    EXPECT_EQ(p.prompt.shown[0].title, "抱歉");
    EXPECT_EQ(key("ZURL"), "");
    EXPECT_EQ(win.closed, 0);
  }
}

TEST_F(SettingsWindow, ClosingWhileBlinkingStopsTheBlink) {
  open();
  win.setTicked(SettingsBox::CustomServer, true);
  logic->onSaveClicked();
  p.rt.advance(100);
  logic->onCloseClicked();
  std::size_t seen = win.backgrounds.size();
  logic.reset();
  p.rt.advance(2000);
  EXPECT_EQ(win.backgrounds.size(), seen);
  EXPECT_EQ(win.closed, 1);
  EXPECT_TRUE(p.view.shown);
}

// The user closes the window during the save's 600 ms pause (its ×, Alt+F4, the taskbar): the
// accepted save still ends with the reload, so the writer protects the file as now saved.
TEST_F(SettingsWindow, ClosingDuringTheSavesPauseStillReloads) {
  load("[System]\r\nXFWQ=1\r\nAQSX=1\r\nZDDH=1\r\n");
  open();
  win.setTicked(SettingsBox::ProtectHosts, false);
  win.setTicked(SettingsBox::OpenNavigation, false);
  logic->onCommand(SettingsCommand::Save);
  p.rt.advance(300);
  logic->onCommand(SettingsCommand::Close);
  logic.reset();  // the window is gone, and its logic with it
  p.rt.advance(1000);
  EXPECT_FALSE(p.settings.loaded().protectHostsFile);
  EXPECT_FALSE(p.settings.loaded().openNavigation);
  EXPECT_TRUE(p.view.shown);
}

TEST_F(SettingsWindow, RestoreDefaultsClearsTheCustomServerAndConfirms) {
  p.settings.write(Key::CustomServerOn, "1");
  p.settings.write(Key::CustomAddress, "http://a/h.txt");
  p.settings.write(Key::Server, "3");
  p.settings.write(Key::AdBlocking, "1");
  load(p.fs.bytes(p.data("System.btx")));
  open();
  win.setTicked(SettingsBox::EmojiPointer, true);
  win.setTicked(SettingsBox::ProtectHosts, false);
  logic->onRestoreDefaultsClicked();
  p.rt.advance(2000);
  EXPECT_EQ(key("ZFJH"), "0");
  EXPECT_EQ(key("ZURL"), "");
  EXPECT_EQ(key("HYDH"), "1");
  EXPECT_EQ(key("QBMJ"), "0");
  EXPECT_EQ(key("ZDDH"), "1");
  EXPECT_EQ(key("AQSX"), "1");
  EXPECT_EQ(key("ADFW"), "1");  // not a setting of this window
  EXPECT_EQ(key("XFWQ"), "3");
  ASSERT_EQ(p.prompt.shown.size(), 1u);
  EXPECT_EQ(p.prompt.shown[0].text, "已恢复默认设置");
  EXPECT_EQ(p.prompt.shown[0].title, "恭喜！");
  EXPECT_EQ(win.closed, 1);
}

TEST_F(SettingsWindow, SaveWritesTheCancelChoiceOnlyForACustomisedInstallation) {
  p.values.srdzValue = "1";
  open();
  win.setTicked(SettingsBox::CancelCustomisation, true);
  saveAndSettle();
  EXPECT_EQ(p.settings.personalIni().read("Personal", "SRDZ"), "0");
  win.setTicked(SettingsBox::CancelCustomisation, false);
  saveAndSettle();
  EXPECT_EQ(p.settings.personalIni().read("Personal", "SRDZ"), "1");
}

TEST_F(SettingsWindow, CustomBoxEnablesTheAddress) {
  open();
  win.setTicked(SettingsBox::CustomServer, true);
  logic->onCustomBoxClicked();
  EXPECT_TRUE(win.addressEnabled);
  win.setTicked(SettingsBox::CustomServer, false);
  logic->onCustomBoxClicked();
  EXPECT_FALSE(win.addressEnabled);
}

}  // namespace
}  // namespace zk
