#include "main/temp_folder.h"

#include <algorithm>
#include <array>

#include "resources/fixed_texts.h"
#include "text/gbk.h"

namespace zk {

namespace {

// The system tools the scripts start.
constexpr std::array<std::string_view, 5> kScriptTools = {"net", "sc", "netsh", "ping", "ipconfig"};

}  // namespace

// A tool's placeholder at the start of a line becomes its full path: a bare name is looked up in
// folders a planted program can sit in. Every "%" of the path is doubled, as the interpreter reads
// one as the start of a variable.
std::optional<std::string> scriptWithToolPaths(std::string_view script, const ProgramValues& values) {
  if (values.systemFolder.empty()) return std::nullopt;
  std::string out;
  for (std::size_t at = 0; at <= script.size();) {
    std::size_t end = script.find("\r\n", at);
    if (end == std::string_view::npos) end = script.size();
    std::string_view line = script.substr(at, end - at);
    auto tool = std::find_if(kScriptTools.begin(), kScriptTools.end(), [&](std::string_view t) {
      return line.size() > t.size() + 2 && line[0] == '{' && line.substr(1, t.size()) == t && line[t.size() + 1] == '}';
    });
    if (tool != kScriptTools.end()) {
      for (char c : values.systemCommand(std::string(*tool), ""))
        out += c == '%' ? std::string("%%") : std::string(1, c);
      out += line.substr(tool->size() + 3);
    } else {
      out += line;
    }
    if (end == script.size()) break;
    out += "\r\n";
    at = end + 2;
  }
  return out;
}

TempFolder::TempFolder(FileSystem& fs, Processes& proc, Runtime& rt, const ProgramValues& values)
    : fs_(fs), proc_(proc), rt_(rt), values_(values) {}

std::string TempFolder::path() const {
  // Never "\Tem" at a drive root: the folder is wiped at every start.
  auto data = absoluteFolderPath(values_.dataFolder);
  return data ? *data + "\\Tem" : std::string();
}

Task<> TempFolder::rebuild() {
  const std::string tem = path();
  if (tem.empty()) co_return;
  if (auto target = deletableFolderPath(tem)) fs_.deleteFolderTree(*target);
  co_await rt_.pumpWait(500);
  fs_.createFolder(tem);
  fs_.writeFile(tem + "\\" + texts::kTempReadMeName, toGbk(texts::kTempReadMe));
}

bool TempFolder::create() {
  const std::string tem = path();
  return !tem.empty() && (fs_.createFolder(tem) || fs_.folderExists(tem));
}

void TempFolder::deleteScript(const std::string& name) {
  const std::string tem = path();
  if (!tem.empty()) fs_.deleteFile(tem + "\\" + name);
}

bool TempFolder::writeScript(const std::string& name, std::string_view utf8Text) {
  const std::string tem = path();
  auto script = scriptWithToolPaths(utf8Text, values_);
  return !tem.empty() && script && fs_.writeFile(tem + "\\" + name, toGbk(*script));
}

std::string TempFolder::scriptCommand(const std::string& name) const {
  // The outer quotes are the interpreter's own: it strips them and runs the quoted path inside.
  // /d: no AutoRun command from the user's registry runs in the (elevated) interpreter.
  return values_.systemCommand("cmd", "/d /c \"\"" + path() + "\\" + name + "\"\"");
}

Task<ProcessOutcome> TempFolder::runScript(const std::string& name, int capMs) {
  const std::string tem = path();
  if (tem.empty()) co_return ProcessOutcome{};
  // The system folder, not Tem, is the working folder: a bare name in a script is looked for there
  // first, so it finds the system's tool, never a file of Tem ("ping" in Tem is Ping.bat itself).
  Processes* proc = &proc_;
  auto running = rt_.offload([proc, line = scriptCommand(name), folder = values_.systemFolder, capMs] {
    return proc->runHiddenAndWait(line, folder, capMs);
  });
  ProcessOutcome outcome = co_await running;
  co_return outcome;
}

Task<ProcessOutcome> TempFolder::runAbandonableScript(const std::string& name, int capMs) {
  const std::string tem = path();
  if (tem.empty()) co_return ProcessOutcome{};
  Processes* proc = &proc_;
  auto running =
      rt_.offload([proc, line = scriptCommand(name), folder = values_.systemFolder, capMs](std::stop_token stop) {
        return proc->runHiddenTreeAndWait(line, folder, capMs, stop);
      });
  ProcessOutcome outcome = co_await running;
  co_return outcome;
}

Task<> TempFolder::runDnscacheScript() {
  writeScript("Dnscache.bat", texts::kDnscacheBat);
  co_await runScript("Dnscache.bat", 1000);
  co_await rt_.pumpWait(1000);
}

}  // namespace zk
