#include "settings/settings_window.h"

#include "resources/fixed_texts.h"
#include "text/text.h"

namespace zk {

namespace {
constexpr Rgb kBlinkGrey{192, 192, 192};
constexpr Rgb kWhite{255, 255, 255};
const char* onOff(bool on) {
  return on ? "1" : "0";
}
}  // namespace

SettingsWindowLogic::SettingsWindowLogic(SettingsStore& store, SettingsView& view, MainView& main, Prompter& prompt,
                                         Runtime& rt, const ProgramValues& values)
    : store_(store), view_(view), main_(main), prompt_(prompt), rt_(rt), values_(values) {}

SettingsWindowLogic::~SettingsWindowLogic() {
  // These tasks point at this window; none may outlive it.
  rt_.stop(TaskSlot::SettingsOpen);
  rt_.stop(TaskSlot::AddressBlink);
  rt_.stop(TaskSlot::SettingsSave);
  finishReload();
}

// A save that was accepted ends with the reload, however the window ends: the main window and
// the hosts writer must not go on with the settings as they were before the save.
void SettingsWindowLogic::finishReload() {
  if (!reloadOwed_) return;
  reloadOwed_ = false;
  rt_.start(TaskSlot::LoadSettings, store_.loadAndApply());
}

void SettingsWindowLogic::onCreated() {
  main_.setShown(false);
  rt_.start(TaskSlot::SettingsOpen, fill());
}

// The window shows the settings as they are on disk now: it loads them first.
Task<> SettingsWindowLogic::fill() {
  co_await store_.loadAndApply();
  const LoadedSettings& k = store_.loaded();
  view_.setTicked(SettingsBox::WelcomeAnimation, k.welcomeAnimation);
  view_.setTicked(SettingsBox::EmojiPointer, k.emojiPointer);
  view_.setTicked(SettingsBox::OpenNavigation, k.openNavigation);
  view_.setTicked(SettingsBox::ProtectHosts, k.protectHostsFile);
  bool custom = k.server == "3";
  view_.setTicked(SettingsBox::CustomServer, custom);
  view_.setAddress(custom ? k.customAddress : std::string());
  view_.setAddressEnabled(custom);
  view_.setCancelBoxEnabled(!values_.srdzValue.empty());
  view_.setTicked(SettingsBox::CancelCustomisation, !values_.srdzValue.empty() && values_.srdzValue != "1");
  if (values_.customisationMode != "自己") view_.setNarrow();
}

void SettingsWindowLogic::onCommand(SettingsCommand command) {
  switch (command) {
    case SettingsCommand::Save: onSaveClicked(); break;
    case SettingsCommand::RestoreDefaults: onRestoreDefaultsClicked(); break;
    case SettingsCommand::CustomBox: onCustomBoxClicked(); break;
    case SettingsCommand::Close: onCloseClicked(); break;
  }
}

void SettingsWindowLogic::onCustomBoxClicked() {
  view_.setAddressEnabled(view_.ticked(SettingsBox::CustomServer));
}

void SettingsWindowLogic::onSaveClicked() {
  rt_.start(TaskSlot::SettingsSave, saveCommand());
}

void SettingsWindowLogic::onRestoreDefaultsClicked() {
  rt_.start(TaskSlot::SettingsSave, restoreDefaults());
}

void SettingsWindowLogic::onCloseClicked() {
  finishReload();
  rt_.stop(TaskSlot::AddressBlink);
  view_.close();
  main_.setShown(true);
}

Task<> SettingsWindowLogic::saveCommand() {
  co_await save();
}

Task<bool> SettingsWindowLogic::save() {
  store_.write(Key::WelcomeAnimation, onOff(view_.ticked(SettingsBox::WelcomeAnimation)));
  if (view_.ticked(SettingsBox::CustomServer)) {
    std::string typed = view_.address();
    if (typed.empty()) {
      prompt_.show("您尚未填写自定义地址，请认真填写！", "抱歉", box::Ok);
      rt_.start(TaskSlot::AddressBlink, blinkAddress());
      co_return false;
    }
    if (!startsWithIgnoreCase(trimBlanks(typed), "http://")) {
      prompt_.show(texts::kUrlRules, "抱歉", box::Ok);
      rt_.start(TaskSlot::AddressBlink, blinkAddress());
      co_return false;
    }
    store_.write(Key::CustomServerOn, "1");
    store_.write(Key::CustomAddress, typed);
  } else {
    store_.write(Key::CustomServerOn, "0");
    store_.write(Key::CustomAddress, "");
  }
  bool emoji = view_.ticked(SettingsBox::EmojiPointer);
  store_.write(Key::EmojiPointer, onOff(emoji));
  store_.setEmojiPointer(emoji);
  store_.write(Key::OpenNavigation, onOff(view_.ticked(SettingsBox::OpenNavigation)));
  store_.write(Key::ProtectHostsFile, onOff(view_.ticked(SettingsBox::ProtectHosts)));
  // Only an installation that has a customisation carries the cancel choice; writing it
  // otherwise would switch an empty customisation on at the next start.
  if (!values_.srdzValue.empty())
    store_.personalIni().write("Personal", "SRDZ", view_.ticked(SettingsBox::CancelCustomisation) ? "0" : "1");
  reloadOwed_ = true;
  co_await rt_.pumpWait(600);
  co_await closeWithReload();
  co_return true;
}

Task<> SettingsWindowLogic::closeWithReload() {
  co_await store_.loadAndApply();
  reloadOwed_ = false;
  rt_.stop(TaskSlot::AddressBlink);
  view_.close();
  main_.setShown(true);
}

Task<> SettingsWindowLogic::restoreDefaults() {
  view_.setTicked(SettingsBox::WelcomeAnimation, true);
  view_.setTicked(SettingsBox::CustomServer, false);
  view_.setTicked(SettingsBox::EmojiPointer, false);
  view_.setTicked(SettingsBox::OpenNavigation, true);
  view_.setTicked(SettingsBox::ProtectHosts, true);
  Prompter& prompt = prompt_;  // the window (and this object) is gone once save closes it
  if (co_await save()) prompt.show("已恢复默认设置", "恭喜！", box::Ok);
}

Task<> SettingsWindowLogic::blinkAddress() {
  for (int i = 0; i < 5; ++i) {
    view_.setAddressBackground(kBlinkGrey);
    co_await rt_.pumpWait(80);
    view_.setAddressBackground(kWhite);
    co_await rt_.pumpWait(80);
  }
}

}  // namespace zk
