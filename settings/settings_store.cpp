#include "settings/settings_store.h"

#include "text/text.h"

namespace zk {

namespace {
constexpr const char* kNoCustomServer = "您尚开启第三方服务器设置！是否转到设置勾选？";
constexpr const char* kNoCustomAddress = "您尚未填写自定义服的地址哦！是否转到设置补充？";
constexpr const char* kNavigationPlan =
    "勾选此项，表示您自愿加入【杜绝导航，拒绝流氓】计划，意味着您将来无法使用诸如：hao123、2345、"
    "hao360等这些流氓推广网站。如果您恢复使用，去掉勾选并重新一键获取即可。更多信息请单击 了解。";
}  // namespace

SettingsStore::SettingsStore(FileSystem& fs, Prompter& prompt, Runtime& rt, MainView& view, const ProgramValues& values,
                             WelcomeAnimation& welcome, RetryCounter& retry)
    : fs_(fs), prompt_(prompt), rt_(rt), view_(view), values_(values), welcome_(welcome), retry_(retry) {}

std::string SettingsStore::read(Key key) const {
  return IniFile(fs_, values_.dataFile("System.btx")).read(kSettingsSection, keyCode(key));
}

bool SettingsStore::write(Key key, const std::string& value) {
  return IniFile(fs_, values_.dataFile("System.btx")).write(kSettingsSection, keyCode(key), value);
}

IniFile SettingsStore::personalIni() const {
  return IniFile(fs_, values_.dataFile("Personal.ini"));
}

Task<> SettingsStore::loadAndApply() {
  auto v = IniFile(fs_, values_.dataFile("System.btx"))
               .read(kSettingsSection,
                     {keyCode(Key::Server), keyCode(Key::WelcomeAnimation), keyCode(Key::CustomAddress),
                      keyCode(Key::EmojiPointer), keyCode(Key::ProtectHostsFile), keyCode(Key::OpenNavigation),
                      keyCode(Key::AdBlocking), keyCode(Key::NavigationBlocking)});
  loaded_ = LoadedSettings{v[0], v[2], isOn(v[1]), isOn(v[3]), isOn(v[4]), isOn(v[5]), isOn(v[6]), isOn(v[7])};
  co_await rt_.pumpWait(200);

  if (loaded_.server == "1") {
    tick(Server::Official);
  } else if (loaded_.server == "2") {
    tick(Server::Backup);
  } else if (loaded_.server == "3") {
    tick(Server::Custom);
  } else if (loaded_.server.empty()) {
    onOfficialClicked();
  } else {
    tick(Server::None);
  }
  setNavigationBlocking(loaded_.navigationBlocking);
  setAdBlocking(loaded_.adBlocking);
  welcome_.run(loaded_.welcomeAnimation);
  if (loaded_.emojiPointer) view_.setEmojiPointerOnAll(true);
}

bool SettingsStore::onCommand(MainCommand command) {
  switch (command) {
    case MainCommand::Official: onOfficialClicked(); return true;
    case MainCommand::Backup: onBackupClicked(); return true;
    case MainCommand::Custom: onCustomClicked(); return true;
    case MainCommand::AdBlocking: onAdBlockingClicked(); return true;
    case MainCommand::NavigationBlocking: onNavigationBlockingClicked(); return true;
    default: return false;
  }
}

void SettingsStore::tick(Server server) {
  ticked_ = server;
  for (Server s : {Server::Official, Server::Backup, Server::Custom}) view_.setRadioChecked(s, s == server);
}

void SettingsStore::setAdBlocking(bool on) {
  adBlocking_ = on;
  view_.setAdBlockingTicked(on);
}

void SettingsStore::setNavigationBlocking(bool on) {
  navigationBlocking_ = on;
  view_.setNavigationBlockingTicked(on);
}

void SettingsStore::choose(Server s, const char* value) {
  serverChoice_ = s;
  write(Key::Server, value);
  retry_.setBox(0);
}

void SettingsStore::onOfficialClicked() {
  tick(Server::Official);
  choose(Server::Official, "1");
}

void SettingsStore::onBackupClicked() {
  tick(Server::Backup);
  choose(Server::Backup, "2");
}

void SettingsStore::onCustomClicked() {
  tick(Server::Custom);
  if (!isOn(read(Key::CustomServerOn))) {
    if (prompt_.show(kNoCustomServer, "询问", box::YesNo) != Answer::Yes) {
      tick(Server::Official);
      return;
    }
    view_.openSettingsWindow(true);
    return;
  }
  if (!read(Key::CustomAddress).empty()) {
    choose(Server::Custom, "3");
    return;
  }
  if (prompt_.show(kNoCustomAddress, "询问", box::YesNo) != Answer::Yes) {
    tick(Server::None);
    return;
  }
  view_.openSettingsWindow(true);
}

void SettingsStore::onAdBlockingClicked() {
  setAdBlocking(!adBlocking_);
  write(Key::AdBlocking, adBlocking_ ? "1" : "0");
}

void SettingsStore::onNavigationBlockingClicked() {
  setNavigationBlocking(!navigationBlocking_);
  if (navigationBlocking_) {
    prompt_.show(kNavigationPlan, "您需充分了解以下内容：", box::Ok);
    write(Key::NavigationBlocking, "1");
  } else {
    write(Key::NavigationBlocking, "0");
  }
}

}  // namespace zk
