#include "personal/personal_window.h"

namespace zk {

PersonalWindowLogic::PersonalWindowLogic(PersonalWindowServices s, PersonalWindowView& view)
    : s_(std::move(s)), view_(view), form_(view, s_.prompt, s_.rt) {}

PersonalWindowLogic::~PersonalWindowLogic() {
  s_.rt.stop(TaskSlot::PersonalWindow);
}

bool PersonalWindowLogic::busy() const {
  return s_.rt.isRunning(TaskSlot::PersonalWindow);
}

void PersonalWindowLogic::onCreated() {
  s_.main.setShown(false);
  view_.setOutlineShown(true);
  view_.focus(PersonalField::Nickname);
}

// The one close path (×, Alt+F4, the taskbar): a pack under way is stopped and its archive
// never replaces the one on the desktop.
void PersonalWindowLogic::close() {
  s_.rt.stop(TaskSlot::PersonalWindow);
  s_.main.setShown(true);
  view_.close();
}

void PersonalWindowLogic::onCommand(PersonalWindowCommand command) {
  using C = PersonalWindowCommand;
  auto help = [this](const PersonalHelp& h) { s_.prompt.show(h.text, h.title, box::Ok); };
  switch (command) {
    case C::Start:
      if (!busy()) s_.rt.start(TaskSlot::PersonalWindow, start());
      break;
    case C::Close: close(); break;
    case C::ForSelf: {
      auto open = openSettingsForSelf;  // this window and its logic go with the close
      close();
      if (open) open();
      break;
    }
    case C::ForFriend: view_.setOutlineShown(false); break;
    case C::QqNicknameBox: form_.onQqNicknameBoxChanged(); break;
    case C::NicknameChanged: form_.onNicknameChanged(); break;
    case C::QqChanged: form_.onQqChanged(); break;
    case C::NicknameEnter: view_.focus(PersonalField::Qq); break;
    case C::HelpPacking: help(kHelpWhatIsPacking); break;
    case C::HelpNotes: help(kHelpNotes); break;
    case C::HelpSpecial: help(kHelpSpecial); break;
    case C::HelpUsing: help(kHelpUsingPack); break;
  }
}

Task<> PersonalWindowLogic::start() {
  bool valid = co_await form_.check();
  if (!valid) co_return;
  // What was checked is what is packed: the overlay takes clicks, not the keys a box still gets.
  const PersonalSettings settings = form_.settings();
  view_.setOverlay(true);
  // A 400 ms timer whose tick shows three dots 100 ms apart; the fourth tick ends it.
  co_await s_.rt.pumpWait(400);
  for (int tick = 1; tick <= 4; ++tick) {
    for (const char* caption : {"定制中.", "定制中..", "定制中..."}) {
      view_.setStartCaption(caption);
      co_await s_.rt.pumpWait(100);
    }
    if (tick < 4) co_await s_.rt.pumpWait(100);
  }
  PackPlaces places{s_.values.dataFolder, s_.folders.desktop(),
                    s_.folders.ownFolder() + "\\" + s_.folders.ownFileName()};
  LocalTime now = s_.clock.now();
  auto work = s_.rt.offload([build = s_.build, places, settings, now](std::stop_token stop) {
    return build ? build(places, settings, now, stop) : PackOutcome::Failed;
  });
  PackOutcome outcome = co_await work;
  if (outcome == PackOutcome::Done) {
    view_.setStartCaption("定制完成");
    s_.prompt.show("定制完成，分享快乐，尽情使用吧！", "恭喜！", box::Ok);
    view_.setStartCaption("私人订制");
  } else {
    s_.prompt.show("定制包未能生成，请确认桌面可以写入后再试一次！", "抱歉！", box::Ok);
    view_.setStartCaption(kPersonalStartCaption);
  }
  view_.setOverlay(false);
}

}  // namespace zk
