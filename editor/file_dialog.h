// The main window's one common file dialog, shared by the editor's import and save-as and by the
// hosts-file import: it keeps its mode, title, folder and file name between uses, and each
// command sets what it needs before showing it.
#pragma once

#include <optional>
#include <string>

#include "platform/system.h"

namespace zk {

class SharedFileDialog {
 public:
  explicit SharedFileDialog(FileDialogs& dialogs) : dialogs_(dialogs) {}

  FileDialogRequest state{false, "请导入包含标准Hosts规范的文件", "", ""};

  // Shows the dialog as it stands; a chosen path stays in its name field for the next use.
  std::optional<std::string> show() {
    auto chosen = dialogs_.show(state);
    if (chosen) state.name = *chosen;
    return chosen;
  }

 private:
  FileDialogs& dialogs_;
};

}  // namespace zk
