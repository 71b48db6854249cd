// The settings window's customisation group: one's own Personal.ini, filled, checked and saved.
#pragma once

#include <functional>

#include "main/program_values.h"
#include "personal/personal_form.h"
#include "platform/files.h"

namespace zk {

inline constexpr int kSettingsWideWidth = 696;
inline constexpr const char* kCancelCustomisationNote =
    "取消私人订制将会恢复Zelkora原状，您之前定制配置仍会保留，如果您之后需要，去掉勾即可。另外，如果Zelkora被重新定制，"
    "将会按照新的来执行。";

// The group's commands; their numbers follow the settings window's own commands, in the same
// command space of that window.
enum class PersonalGroupCommand : int {
  Save = 100,
  CancelBox,
  QqNicknameBox,
  NicknameChanged,
  QqChanged,
  NicknameEnter,  // Enter or Tab in the nickname box
  Header,
  HelpPacking,
  HelpNotes,
  HelpSpecial,
};

class PersonalGroupView : public PersonalFormView {
 public:
  // The settings window's width in logical pixels.
  virtual int windowWidth() const = 0;
  virtual void setWindowWidth(int width) = 0;
  // The cancel box "不使用私人订制".
  virtual bool cancelTicked() const = 0;
  virtual void setCancelTicked(bool ticked) = 0;
};

struct PersonalGroupServices {
  Runtime& rt;
  FileSystem& fs;
  Prompter& prompt;
  const ProgramValues& values;
};

class PersonalGroupLogic {
 public:
  PersonalGroupLogic(PersonalGroupServices s, PersonalGroupView& view);
  ~PersonalGroupLogic();

  // The settings window's own close (no reload), and the customisation window's opening.
  std::function<void()> closeSettings;
  std::function<void()> openCustomisationWindow;

  // For one's own customisation (mode "自己"): the boxes from Personal.ini, then the window widens
  // by 30 pixels a millisecond up to 696. Otherwise the group stays out of view.
  void onCreated();
  void onCommand(PersonalGroupCommand command);

 private:
  Task<> widen();
  Task<> save();

  PersonalGroupServices s_;
  PersonalGroupView& view_;
  PersonalForm form_;
};

}  // namespace zk
