// Shell shortcuts (.lnk files) and the shell's verbs on a file, through COM.
#pragma once

#include <string>

namespace zk {

// Whether a verb the shell lists is the one asked for: the very same name, and never for an
// empty one (a verb list holds nameless separators, and an empty name would take them all).
inline bool isVerbNamed(const std::string& listed, const std::string& wanted) {
  return !wanted.empty() && listed == wanted;
}

class ShellLinks {
 public:
  virtual ~ShellLinks() = default;
  // Saves a shortcut file at linkPath (replacing one there). True when it was saved.
  virtual bool saveShortcut(const std::string& linkPath, const std::string& target, const std::string& description,
                            const std::string& workingFolder) = 0;
  // The system's own name of the verb that pins a program to the taskbar, as its verb lists show
  // it; empty when the system has none.
  virtual std::string pinVerbName() = 0;
  // Runs every verb of folder\fileName whose name is exactly verbName; an empty name runs none.
  // True when one was run.
  virtual bool runVerbNamed(const std::string& folder, const std::string& fileName, const std::string& verbName) = 0;
};

}  // namespace zk
