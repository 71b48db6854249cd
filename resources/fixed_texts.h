// The program's long fixed texts and scripts, in UTF-8; written out as GBK unless said otherwise.
#pragma once

#include <string>

namespace zk::texts {

extern const char* const kDefaultSettings;     // System.btx seed, 65 bytes
extern const char* const kRegistryWarning;     // message box of a failed registry repair
extern const char* const kRegistryHelp;        // RegSp.txt
extern const char* const kRegistryScript;      // the .reg file's lines (written UTF-16LE)
extern const char* const kRegistryScriptName;  // on the desktop
extern const char* const kTempReadMeName;
extern const char* const kTempReadMe;
// The scripts name each system tool they start by a placeholder ("{netsh}") at the start of its
// line, which only the tool's full path fills (scriptWithToolPaths): never a bare name.
extern const char* const kDnscacheBat;
extern const char* const kRestartNetworkBat;
extern const char* const kZdIpDnsBat;
extern const char* const kUrlRules;  // the custom address rules
extern const char* const kReleaseDate;
// The sample hosts file that Windows ships: 824 bytes, 21 lines, CR LF after each.
extern const char* const kWindowsDefaultHosts;

// The registry script as written: UTF-16LE with byte-order mark.
std::string registryScriptFileBytes();

}  // namespace zk::texts
