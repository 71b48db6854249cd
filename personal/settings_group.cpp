#include "personal/settings_group.h"

#include "platform/ini_file.h"
#include "text/text.h"

namespace zk {

PersonalGroupLogic::PersonalGroupLogic(PersonalGroupServices s, PersonalGroupView& view)
    : s_(s), view_(view), form_(view, s.prompt, s.rt) {}

PersonalGroupLogic::~PersonalGroupLogic() {
  s_.rt.stop(TaskSlot::SettingsWiden);
  s_.rt.stop(TaskSlot::SettingsPersonal);
}

void PersonalGroupLogic::onCreated() {
  if (s_.values.customisationMode != "自己") return;
  IniFile ini(s_.fs, s_.values.dataFile("Personal.ini"));
  auto k = ini.read("Personal", {"NAME", "QQTX", "HYTS", "QQNC", "THYS"});
  form_.fill(PersonalSettings{k[0], k[1], isOn(k[2]), isOn(k[3]), isOn(k[4])});
  s_.rt.start(TaskSlot::SettingsWiden, widen());
}

// A 1 ms timer: 30 pixels a tick until the width reaches 697 or more, then exactly 696.
Task<> PersonalGroupLogic::widen() {
  for (;;) {
    co_await s_.rt.pumpWait(1);
    int width = view_.windowWidth() + 30;
    if (width >= kSettingsWideWidth + 1) {
      view_.setWindowWidth(kSettingsWideWidth);
      co_return;
    }
    view_.setWindowWidth(width);
  }
}

void PersonalGroupLogic::onCommand(PersonalGroupCommand command) {
  using C = PersonalGroupCommand;
  auto help = [this](const PersonalHelp& h) { s_.prompt.show(h.text, h.title, box::Ok); };
  switch (command) {
    case C::Save: s_.rt.start(TaskSlot::SettingsPersonal, save()); break;
    case C::CancelBox:
      if (view_.cancelTicked()) s_.prompt.show(kCancelCustomisationNote, "指导", box::Ok);
      break;
    case C::QqNicknameBox: form_.onQqNicknameBoxChanged(); break;
    case C::NicknameChanged: form_.onNicknameChanged(); break;
    case C::QqChanged: form_.onQqChanged(); break;
    case C::NicknameEnter: view_.focus(PersonalField::Qq); break;
    case C::Header: {
      // Both hooks end or replace this window: take them before the first runs.
      auto close = closeSettings;
      auto open = openCustomisationWindow;
      if (close) close();
      if (open) open();
      break;
    }
    case C::HelpPacking: help(kHelpWhatIsPacking); break;
    case C::HelpNotes: help(kHelpNotes); break;
    case C::HelpSpecial: help(kHelpSpecial); break;
  }
}

// The whole file at once; a successful save also unticks the cancel box, so that the general
// save that may follow does not switch the new customisation off again.
Task<> PersonalGroupLogic::save() {
  bool valid = co_await form_.check();
  if (!valid) co_return;
  bool written = s_.fs.writeFile(s_.values.dataFile("Personal.ini"), personalIniBytes(form_.settings()));
  if (!written) {
    s_.prompt.show("定制未能保存，无法写入配置文件Personal.ini，请稍后再试！", "抱歉！", box::Ok);
    co_return;
  }
  view_.setCancelTicked(false);
  s_.prompt.show("定制完成，下次启动Zelkora生效！", "恭喜！", box::Ok);
}

}  // namespace zk
