// Shell shortcuts and verbs on Windows: IShellLinkW and the Shell.Application object.
#pragma once

#include <string>

#include "platform/shell_links.h"

namespace zk::win {

// Each call initialises COM on the calling thread for its own length (and undoes it).
class Win32ShellLinks : public ShellLinks {
 public:
  bool saveShortcut(const std::string& linkPath, const std::string& target, const std::string& description,
                    const std::string& workingFolder) override;
  std::string pinVerbName() override;
  bool runVerbNamed(const std::string& folder, const std::string& fileName, const std::string& verbName) override;
};

}  // namespace zk::win
