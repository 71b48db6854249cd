// The ping window: the target check, the one-line script and the countdown until the output shows.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "main/main_view.h"
#include "main/temp_folder.h"
#include "platform/files.h"
#include "platform/runtime.h"
#include "platform/system.h"

namespace zk {

// What may follow "ping " in a script: an IPv4 or IPv6 address (an IPv6 one with a "%zone" of
// letters and digits), or a host name of letters, digits, "-" and "." that starts with a letter or
// a digit (a leading "-" would be an option). Everything else could run as a command.
bool isPingTarget(std::string_view target);
// The script's one line: "ping <target> >"<output>"", every "%" doubled so the interpreter keeps it.
std::string pingScriptLine(std::string_view target, const std::string& outputPath);

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
  Random& random;
  TempFolder& temp;
  MainView& main;
  // The output file's bytes as text: the console's code page.
  std::function<std::string(std::string_view)> decodeConsole;
};

class PingLogic {
 public:
  PingLogic(PingServices s, PingView& view);
  ~PingLogic();
  void onCreated() { s_.main.setShown(false); }
  void onCommand(PingCommand command);
  int countdown() const { return countdown_; }

 private:
  void start();
  void tick();
  Task<> waitForPing();
  void showOutput();

  PingServices s_;
  PingView& view_;
  int countdown_ = 0;
  bool ended_ = false;
  Timer timer_;
};

}  // namespace zk
