// Operating-system services other than files: registry, folders, processes, shell, clock, random.
#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "text/datetime.h"

namespace zk {

// Text values under HKEY_LOCAL_MACHINE.
class Registry {
 public:
  virtual ~Registry() = default;
  // Text of a string value (expandable ones expanded); empty when missing or not text.
  virtual std::string readMachineText(const std::string& keyPath, const std::string& name) = 0;
  virtual bool writeMachineText(const std::string& keyPath, const std::string& name, const std::string& value) = 0;
};

// Where things are. Folders end with a backslash unless said otherwise.
class SpecialFolders {
 public:
  virtual ~SpecialFolders() = default;
  virtual std::string appData() = 0;
  virtual std::string desktop() = 0;
  virtual std::string startMenu() = 0;  // the user's own Start menu
  virtual std::string system() = 0;     // e.g. "C:\Windows\system32\"
  virtual std::string ownFolder() = 0;  // no trailing backslash
  virtual std::string ownFileName() = 0;
};

struct ProcessOutcome {
  bool started = false;
  bool ended = false;  // within the cap
  unsigned long exitCode = 0;
  bool succeeded() const { return started && ended && exitCode == 0; }
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts a command line with a hidden window; waits at most 1,000 ms for it to be ready for
  // input, never for its end. True when the process was created.
  virtual bool runHidden(const std::string& commandLine) = 0;
  // The same with a normal window, for a program the user works in.
  virtual bool runNormal(const std::string& commandLine) = 0;
  // Starts a command line hidden in the given working folder (empty: the program's own) and waits
  // for its end, at most capMs. Blocking: call it from a worker.
  virtual ProcessOutcome runHiddenAndWait(const std::string& commandLine, const std::string& workingFolder,
                                          int capMs) = 0;
  // The same, for a process that may be abandoned: once stop is requested before its end, it and
  // every process it started are ended at once (outcome: started, not ended).
  virtual ProcessOutcome runHiddenTreeAndWait(const std::string& commandLine, const std::string& workingFolder,
                                              int capMs, std::stop_token stop) = 0;
};

// The network connections of the machine and the state of a system service.
struct NetworkConnection {
  std::string name;  // the connection's own name, as the user sees it ("本地连接", "以太网")
  bool up = false;
  bool hasGateway = false;    // a default gateway: the connection leads somewhere
  bool defaultRoute = false;  // the system sends traffic towards a public address through it
  bool tunnel = false;        // a tunnel, PPP (dial-up, VPN) or loopback interface
  bool operator==(const NetworkConnection&) const = default;
};
// One connection's settings as the system holds them now.
struct ConnectionState {
  bool up = false;
  bool dhcp = false;               // IPv4 address by DHCP
  std::vector<std::string> dnsV4;  // the DNS servers in the order they are asked
  std::vector<std::string> dnsV6;  // (IPv6 in lower-case canonical form)
};
class NetworkInfo {
 public:
  virtual ~NetworkInfo() = default;
  // Blocking; empty when they cannot be listed.
  virtual std::vector<NetworkConnection> connections() = 0;
  // Blocking; nothing when no connection of that name is listed (a disabled adapter is not).
  virtual std::optional<ConnectionState> connectionState(const std::string& name) = 0;
  // The code page in which the command interpreter reads a script's bytes (the OEM code page).
  virtual unsigned scriptCodePage() = 0;
  // True running (or starting), false stopped (or stopping), nothing when it cannot be asked.
  virtual std::optional<bool> serviceRunning(const std::string& serviceName) = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Shell verbs "open" and "explore" on a file, folder or URL. True when it was handed over.
  virtual bool open(const std::string& target) = 0;
  virtual bool explore(const std::string& folder) = 0;
};

// The clipboard's text (Unicode text format), as UTF-8.
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Nothing when the clipboard holds no text (empty, a picture, or it cannot be opened).
  virtual std::optional<std::string> text() = 0;
  virtual bool setText(const std::string& utf8) = 0;
};

// The common open and save dialogs, without a file-type filter.
struct FileDialogRequest {
  bool save = false;  // else open
  std::string title;
  std::string folder;  // where it opens
  std::string name;    // the file name field
};
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen path; nothing when cancelled.
  virtual std::optional<std::string> show(const FileDialogRequest& request) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime now() = 0;
  // Milliseconds since the system started (does not wrap after 49 days).
  virtual std::uint64_t millisecondsSinceStart() = 0;
};

class Random {
 public:
  virtual ~Random() = default;
  // A whole number in [low, high].
  virtual int between(int low, int high) = 0;
};

}  // namespace zk
