// "创建图标": the taskbar pin and the Zelkora shortcuts to the installed copy.
#pragma once

#include <string>
#include <vector>

#include "main/main_view.h"
#include "main/program_values.h"
#include "platform/files.h"
#include "platform/prompt.h"
#include "platform/shell_links.h"
#include "platform/system.h"

namespace zk {

struct ShortcutPlan {
  bool pin = false;                // the pin verb is known
  std::vector<std::string> links;  // the .lnk files to save, in order
};

struct ShortcutServices {
  ShellLinks& links;
  SpecialFolders& folders;
  FileSystem& fs;
  Prompter& prompt;
  const ProgramValues& values;
};

class Shortcuts {
 public:
  explicit Shortcuts(ShortcutServices s) : s_(s) {}
  // Takes MainCommand::Shortcuts.
  bool onCommand(MainCommand command);
  // Desktop, Start menu, and Quick Launch only where that folder already exists; pinning only
  // when the system names its pin verb.
  ShortcutPlan plan(const std::string& pinVerb);
  // Pins, saves every planned link, and says whether any link was saved.
  void create();

 private:
  ShortcutServices s_;
};

}  // namespace zk
