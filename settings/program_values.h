// Process-wide values established at start-up and read by every subsystem.
#pragma once

#include <string>

namespace zk {

struct ProgramValues {
  std::string dataFolder;          // "...\Orvik\Nimbet", no trailing backslash
  std::string systemHostsPath;     // the system hosts file
  std::string hostsRegistryValue;  // DataBasePath as read or repaired
  std::string windowsFolder;
  std::string programVersion = "1.6";
  std::string releaseDate;
  bool updatePromptShown = false;
  int retryCount = 0;
  std::string srdzValue;          // Personal.ini SRDZ as read at start
  std::string currentNickname;    // set by the customisation
  std::string customisationMode;  // "自己" when the settings window opens for one's own pack

  std::string dataFile(const std::string& name) const { return dataFolder + "\\" + name; }
};

}  // namespace zk
