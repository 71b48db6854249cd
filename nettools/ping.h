// The ping window: the target check, the one-line script and the countdown until the output shows.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "main/main_view.h"
#include "main/program_values.h"
#include "main/temp_folder.h"
#include "platform/domain_names.h"
#include "platform/files.h"
#include "platform/runtime.h"
#include "platform/system.h"

namespace zk {

// What may follow the ping command in a script: an IPv4 or IPv6 address (an IPv6 one with a "%zone" of
// letters and digits), or a host name of letters, digits, "-" and "." that starts with a letter or
// a digit (a leading "-" would be an option). Everything else could run as a command.
bool isPingTarget(std::string_view target);
// Blanks and line breaks around a target, which a pasted one often carries, removed: ASCII ones
// and the no-break and ideographic spaces of copied text.
std::string trimPastedTarget(std::string_view typed);
// The target as it goes into the script: trimmed, a name in another script converted to its ASCII
// form. Nothing when the result is no ping target.
std::optional<std::string> pingTargetOf(std::string_view typed, DomainNames& names);
// The script's one line: the system's ping by its full path, the target, and ">" with the output
// file's path in quotes; every "%" doubled so the interpreter keeps it.
std::string pingScriptLine(const ProgramValues& values, std::string_view target, const std::string& outputPath);

inline constexpr const char* kPingWaitText = "正在执行命令，请稍后... ";
inline constexpr int kPingCapMs = 60000;

enum class PingCommand { TargetPressed, Paste, Start, Close };

class PingView {
 public:
  virtual ~PingView() = default;
  virtual std::string target() const = 0;
  virtual void setTarget(const std::string& text) = 0;
  virtual void setOutput(const std::string& text) = 0;
  virtual void close() = 0;
};

struct PingServices {
  Runtime& rt;
  FileSystem& fs;
  Clipboard& clipboard;
  DomainNames& names;
  Random& random;
  TempFolder& temp;
  MainView& main;
  const ProgramValues& values;
  // The output file's bytes as text: the console's code page. Called on a worker.
  std::function<std::string(std::string_view)> decodeConsole;
};

class PingLogic {
 public:
  PingLogic(PingServices s, PingView& view);
  ~PingLogic();
  void onCreated() { s_.main.setShown(false); }
  void onCommand(PingCommand command);

 private:
  void start();
  void tick();
  Task<> waitForPing(std::string output);
  void showOutput();

  PingServices s_;
  PingView& view_;
  int countdown_ = 0;
  std::optional<std::string> result_;  // the output once ping has ended
  Timer timer_;
};

}  // namespace zk
