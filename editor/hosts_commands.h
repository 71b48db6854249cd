// The main window's row of commands on the system hosts file itself: open it in Notepad, open
// its folder, clear and delete it, copy it to the desktop, import a file over it, restore the
// Windows default, copy its text to the clipboard.
#pragma once

#include <string>

#include "editor/file_dialog.h"
#include "editor/hosts_access.h"
#include "main/main_view.h"
#include "main/program_values.h"
#include "platform/prompt.h"
#include "platform/system.h"

namespace zk {

struct HostsCommandServices {
  HostsAccess& hosts;
  Prompter& prompt;
  Processes& processes;
  Shell& shell;
  Clipboard& clipboard;
  SpecialFolders& folders;
  SharedFileDialog& dialog;
};

class HostsCommands {
 public:
  HostsCommands(HostsCommandServices s, const ProgramValues& values) : s_(s), values_(values) {}
  ~HostsCommands() { s_.hosts.runtime().stop(TaskSlot::HostsCommand); }

  // Takes the commands of the row that act on the file (the editor and the add-entry dialog are
  // windows: the root opens them). True when the command was one of these.
  bool onCommand(MainCommand command);

 private:
  Task<> openInNotepad();
  Task<> clear();
  Task<> saveCopy();
  Task<> import();
  Task<> restore();
  Task<> copyAll();
  void exploreFolder();
  std::string desktopCopy() { return s_.folders.desktop() + "hosts"; }

  HostsCommandServices s_;
  const ProgramValues& values_;
};

}  // namespace zk
