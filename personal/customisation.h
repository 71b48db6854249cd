// The customisation of a personalised copy, applied at start: the nickname (or a QQ number's QQ
// nickname) in place of the logo, the QQ avatar, the welcome line and box, the gold colour.
#pragma once

#include <string>

#include "main/main_view.h"
#include "main/program_values.h"
#include "platform/http.h"
#include "platform/ini_file.h"
#include "platform/prompt.h"
#include "platform/runtime.h"
#include "sync/sync_view.h"

namespace zk {

inline constexpr Rgb kGoldNickname{211, 168, 9};

struct CustomisationServices {
  Runtime& rt;
  Http& nicknameHttp;  // small cap, short waits
  Http& avatarHttp;
  Prompter& prompt;
  MainView& main;
  SyncView& log;
  ProgramValues& values;
};

// Where the two QQ services are: the base addresses, without a trailing slash.
struct QqServices {
  std::string nicknameBase;
  std::string avatarBase;
};

class Customisation {
 public:
  explicit Customisation(CustomisationServices s) : s_(s) {}

  // The start-up application, run in TaskSlot::Customisation when SRDZ is "1" at start.
  // personal: Personal.ini in the data folder.
  Task<> apply(IniFile personal, QqServices services);

  // The frame label over the avatar opens the settings window for one's own customisation.
  bool onCommand(MainCommand command);

 private:
  Task<> showAvatar(const std::string& qq, const std::string& base);

  CustomisationServices s_;
};

}  // namespace zk
