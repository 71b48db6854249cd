#include "nettools/ping.h"

#include "text/address.h"
#include "text/text.h"

namespace zk {

namespace {
bool isAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
}  // namespace

bool isPingTarget(std::string_view t) {
  if (t.empty() || t.size() > 253) return false;
  std::size_t zone = t.find('%');
  if (zone != std::string_view::npos) {
    std::string_view name = t.substr(zone + 1);
    if (name.empty() || name.size() > 32 || !isIpv6Address(t.substr(0, zone))) return false;
    for (char c : name)
      if (!isAsciiAlnum(c)) return false;
    return true;
  }
  if (isIpAddress(t)) return true;
  if (!isAsciiAlnum(t.front())) return false;
  for (char c : t)
    if (!isAsciiAlnum(c) && c != '-' && c != '.') return false;
  return true;
}

std::string trimPastedTarget(std::string_view typed) {
  auto blankAt = [](std::string_view s, bool front) -> std::size_t {
    for (std::string_view b : {" ", "\t", "\r", "\n", "\xC2\xA0", "\xE3\x80\x80"})
      if (s.size() >= b.size() && (front ? s.substr(0, b.size()) : s.substr(s.size() - b.size())) == b) return b.size();
    return 0;
  };
  std::string_view t = typed;
  while (std::size_t n = blankAt(t, true)) t.remove_prefix(n);
  while (std::size_t n = blankAt(t, false)) t.remove_suffix(n);
  return std::string(t);
}

std::optional<std::string> pingTargetOf(std::string_view typed, DomainNames& names) {
  std::string target = trimPastedTarget(typed);
  bool ascii = true;
  for (unsigned char c : target) ascii = ascii && c < 0x80;
  if (!ascii) {
    std::optional<std::string> converted = names.toAscii(target);
    if (!converted) return std::nullopt;
    target = std::move(*converted);
  }
  // The strict check runs on what goes into the script, converted or not.
  if (!isPingTarget(target)) return std::nullopt;
  return target;
}

std::string pingScriptLine(const ProgramValues& values, std::string_view target, const std::string& outputPath) {
  std::string line = values.systemCommand("ping", std::string(target) + " >\"" + outputPath + "\""), escaped;
  for (char c : line) escaped += c == '%' ? std::string("%%") : std::string(1, c);
  return escaped;
}

PingLogic::PingLogic(PingServices s, PingView& view)
    : s_(std::move(s)), view_(view), timer_(s_.rt, [this] { tick(); }) {}

PingLogic::~PingLogic() {
  s_.rt.stop(TaskSlot::Ping);
}

void PingLogic::onCommand(PingCommand command) {
  switch (command) {
    case PingCommand::TargetPressed: view_.setTarget(""); return;
    case PingCommand::Paste: view_.setTarget(s_.clipboard.text().value_or("")); return;
    case PingCommand::Start: start(); return;
    case PingCommand::Close:
      timer_.setPeriod(0);
      s_.rt.stop(TaskSlot::Ping);
      s_.main.setShown(true);
      view_.close();
      return;
  }
}

void PingLogic::start() {
  const std::string typed = view_.target();
  if (trimPastedTarget(typed).empty()) {
    view_.setOutput("您尚未输入任何IP/域名，无法执行。");
    return;
  }
  std::optional<std::string> target = pingTargetOf(typed, s_.names);
  if (!target) {
    view_.setOutput("您输入的IP/域名格式不正确（只能是IP地址或域名），无法执行。");
    return;
  }
  // The ping still at work is ended first: it holds the output file, and a worker.
  s_.rt.stop(TaskSlot::Ping);
  const std::string output = s_.temp.path() + "\\Ping.txt";
  // An earlier run's output is not this run's result.
  s_.fs.deleteFile(output);
  bool written = s_.temp.writeScript("Ping.bat", pingScriptLine(s_.values, *target, output));
  countdown_ = s_.random.between(250, 450);
  result_.reset();
  if (written) {
    s_.rt.start(TaskSlot::Ping, waitForPing(output));
  } else {
    result_.emplace();
  }
  timer_.setPeriod(1);
}

// The output file is read, and decoded, on the worker once ping has ended.
Task<> PingLogic::waitForPing(std::string output) {
  // A new start or the window's close stops this task: the ping it left is ended with it.
  co_await s_.temp.runAbandonableScript("Ping.bat", kPingCapMs);
  FileSystem* fs = &s_.fs;
  auto reading = s_.rt.offload(
      [fs, output, decode = s_.decodeConsole] { return decode(textUpToNul(fs->readFile(output).value_or(""))); });
  std::string text = co_await reading;
  result_ = std::move(text);
  if (countdown_ <= 0) showOutput();
}

void PingLogic::tick() {
  --countdown_;
  view_.setOutput(kPingWaitText + std::to_string(countdown_ < 0 ? 0 : countdown_));
  if (countdown_ > 0) return;
  timer_.setPeriod(0);
  // A ping that is still at work keeps the countdown's last text until it ends.
  if (result_) showOutput();
}

void PingLogic::showOutput() {
  view_.setOutput(result_->empty() ? "执行失败！" : *result_);
}

}  // namespace zk
