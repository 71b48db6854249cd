// Shell shortcuts and verbs on Windows: IShellLinkW and the Shell.Application object.
#pragma once

#include <string>
#include <vector>

#include "platform/shell_links.h"

namespace zk::win {

// Each call initialises COM on the calling thread for its own length (and undoes it).
class Win32ShellLinks : public ShellLinks {
 public:
  bool saveShortcut(const std::string& linkPath, const std::string& target, const std::string& description,
                    const std::string& workingFolder) override;
  std::string pinVerbName() override;
  bool runVerbNamed(const std::string& folder, const std::string& fileName, const std::string& verbName) override;

  // The names of folder\fileName's verbs as the shell lists them, in order.
  std::vector<std::string> verbNames(const std::string& folder, const std::string& fileName);
  // How many verbs of folder\fileName are named exactly verbName (none for an empty name): each
  // one is run when run is true, and counted when it ran; only counted otherwise.
  int verbsNamed(const std::string& folder, const std::string& fileName, const std::string& verbName, bool run);
};

}  // namespace zk::win
