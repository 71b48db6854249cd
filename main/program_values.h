// Process-wide values established at start-up and read by every subsystem.
#pragma once

#include <string>

namespace zk {

struct ProgramValues {
  std::string dataFolder;          // "...\Orvik\Nimbet", no trailing backslash
  std::string systemHostsPath;     // the system hosts file
  std::string hostsRegistryValue;  // DataBasePath as read or repaired
  std::string windowsFolder;
  std::string systemFolder;                 // "C:\Windows\system32\", with its backslash
  std::string programVersion = ZK_VERSION;  // from the build
  std::string releaseDate;
  bool updatePromptShown = false;
  std::string srdzValue;          // Personal.ini SRDZ as read at start
  std::string currentNickname;    // set by the customisation
  std::string customisationMode;  // "自己" when the settings window opens for one's own pack
  bool fetchStarted = false;      // a fetch has started since start-up: the log is the fetch's

  std::string dataFile(const std::string& name) const { return dataFolder + "\\" + name; }
  // A command line that starts a system tool by its full path, never by a search for its name:
  // the program runs elevated from a folder the user can write to.
  std::string systemCommand(const std::string& tool, const std::string& arguments) const {
    return "\"" + systemFolder + tool + ".exe\" " + arguments;
  }
};

}  // namespace zk
