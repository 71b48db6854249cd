#include "settings/settings_store.h"

#include "text/text.h"

namespace zk {

namespace {
constexpr const char* kSection = "System";
constexpr const char* kNoCustomServer = "您尚开启第三方服务器设置！是否转到设置勾选？";
constexpr const char* kNoCustomAddress = "您尚未填写自定义服的地址哦！是否转到设置补充？";
constexpr const char* kNavigationPlan =
    "勾选此项，表示您自愿加入【杜绝导航，拒绝流氓】计划，意味着您将来无法使用诸如：hao123、2345、"
    "hao360等这些流氓推广网站。如果您恢复使用，去掉勾选并重新一键获取即可。更多信息请单击 了解。";
}  // namespace

SettingsStore::SettingsStore(FileSystem& fs, Prompter& prompt, Runtime& rt, MainView& view, const ProgramValues& values,
                             WelcomeAnimation& welcome)
    : fs_(fs), prompt_(prompt), rt_(rt), view_(view), values_(values), welcome_(welcome) {}

std::string SettingsStore::read(const std::string& key) const {
  return IniFile(fs_, values_.dataFile("System.btx")).read(kSection, key);
}

void SettingsStore::write(const std::string& key, const std::string& value) {
  IniFile(fs_, values_.dataFile("System.btx")).write(kSection, key, value);
}

IniFile SettingsStore::personalIni() const {
  return IniFile(fs_, values_.dataFile("Personal.ini"));
}

Task<> SettingsStore::loadAndApply() {
  auto v = IniFile(fs_, values_.dataFile("System.btx"))
               .read(kSection, {"XFWQ", "HYDH", "ZURL", "QBMJ", "AQSX", "ZDDH", "ADFW", "DHFW"});
  kept_ = KeptSettings{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]};
  co_await rt_.pumpWait(200);

  if (kept_.xfwq == "1") {
    view_.setRadioChecked(Server::Official, true);
  } else if (kept_.xfwq == "2") {
    view_.setRadioChecked(Server::Backup, true);
  } else if (kept_.xfwq == "3") {
    view_.setRadioChecked(Server::Custom, true);
  } else if (kept_.xfwq.empty()) {
    view_.setRadioChecked(Server::Official, true);
    onOfficialClicked();
  } else {
    for (Server s : {Server::Official, Server::Backup, Server::Custom}) view_.setRadioChecked(s, false);
  }
  view_.setNavigationBlockingTicked(isOn(kept_.dhfw));
  view_.setAdBlockingTicked(isOn(kept_.adfw));
  welcome_.run(isOn(kept_.hydh));
  if (isOn(kept_.qbmj)) view_.setEmojiPointerOnAll(true);
}

void SettingsStore::choose(Server s, const char* value) {
  serverChoice_ = s;
  write("XFWQ", value);
  view_.setRetryCounterText("0");
}

void SettingsStore::onOfficialClicked() {
  if (view_.radioChecked(Server::Official)) choose(Server::Official, "1");
}

void SettingsStore::onBackupClicked() {
  if (view_.radioChecked(Server::Backup)) choose(Server::Backup, "2");
}

void SettingsStore::onCustomClicked() {
  if (!view_.radioChecked(Server::Custom)) return;
  if (!isOn(read("ZFJH"))) {
    if (prompt_.show(kNoCustomServer, "询问", box::YesNo) != Answer::Yes) {
      view_.setRadioChecked(Server::Custom, false);
      view_.setRadioChecked(Server::Official, true);
      return;
    }
    view_.openSettingsWindow(true);
    return;
  }
  if (!read("ZURL").empty()) {
    choose(Server::Custom, "3");
    return;
  }
  if (prompt_.show(kNoCustomAddress, "询问", box::YesNo) != Answer::Yes) {
    view_.setRadioChecked(Server::Custom, false);
    return;
  }
  view_.openSettingsWindow(true);
}

void SettingsStore::onAdBlockingClicked() {
  write("ADFW", view_.adBlockingTicked() ? "1" : "0");
}

void SettingsStore::onNavigationBlockingClicked() {
  if (view_.navigationBlockingTicked()) {
    prompt_.show(kNavigationPlan, "您需充分了解以下内容：", box::Ok);
    write("DHFW", "1");
  } else {
    write("DHFW", "0");
  }
}

}  // namespace zk
