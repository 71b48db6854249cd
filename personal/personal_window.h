// The customisation window: a personal pack for a friend (or oneself), built on a worker.
#pragma once

#include <functional>
#include <stop_token>

#include "main/main_view.h"
#include "main/program_values.h"
#include "personal/packs.h"
#include "personal/personal_form.h"
#include "platform/system.h"

namespace zk {

inline constexpr const char* kPersonalStartCaption = "开始定制！";

enum class PersonalWindowCommand : int {
  Start,
  Close,
  ForSelf,    // the first picture button: one's own customisation in the settings window
  ForFriend,  // the second: the outline panel goes, the form is in view
  QqNicknameBox,
  NicknameChanged,
  QqChanged,
  NicknameEnter,
  HelpPacking,
  HelpNotes,
  HelpSpecial,
  HelpUsing,
};

class PersonalWindowView : public PersonalFormView {
 public:
  virtual void setStartCaption(const std::string& text) = 0;
  // The transparent layer over the whole window that takes every click while a pack is made.
  virtual void setOverlay(bool shown) = 0;
  virtual void setOutlineShown(bool shown) = 0;
  virtual void close() = 0;
};

// Blocking: the pack from the form's settings, made on a worker (buildPersonalPack in the program).
using PersonalPackBuilder =
    std::function<PackOutcome(const PackPlaces&, const PersonalSettings&, const LocalTime&, std::stop_token)>;

struct PersonalWindowServices {
  Runtime& rt;
  Prompter& prompt;
  SpecialFolders& folders;
  Clock& clock;
  MainView& main;
  const ProgramValues& values;
  PersonalPackBuilder build;  // must capture only what outlives the window
};

class PersonalWindowLogic {
 public:
  PersonalWindowLogic(PersonalWindowServices s, PersonalWindowView& view);
  ~PersonalWindowLogic();

  // Sets the customisation mode and opens the settings window (after this window has closed).
  std::function<void()> openSettingsForSelf;

  void onCreated();
  void onCommand(PersonalWindowCommand command);
  // The animation or the build is under way.
  bool busy() const;

 private:
  void close();
  Task<> start();

  PersonalWindowServices s_;
  PersonalWindowView& view_;
  PersonalForm form_;
};

}  // namespace zk
