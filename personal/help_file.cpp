#include "personal/help_file.h"

#include <charconv>

#include "resources/help_text.h"
#include "text/gbk.h"

namespace zk {

namespace {

constexpr const char* kWriteFailed = "帮助文件未能写入临时文件夹，请检查数据文件夹是否可写后再试。";
// The start-up rebuild of Tem takes about half a second; a click meanwhile waits for it.
constexpr int kRebuildPollMs = 50;
constexpr int kRebuildWaitCapMs = 10000;

}  // namespace

// Rendered as the float's exact whole value without exponent or fraction ("%.0f"): the product
// of two whole numbers is whole below 2^24, and every float from 2^24 up is whole anyway.
std::string helpCodeText(std::uint64_t msSinceStart) {
  const float code = static_cast<float>(static_cast<double>(msSinceStart) * 700.0);
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, code, std::chars_format::fixed, 0);
  return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

std::string helpAppendix(const LocalTime& now, std::uint64_t msSinceStart) {
  return "\r\n打开时间：" + dateTimeText(now) + "\r\n唯一代码：" + helpCodeText(msSinceStart);
}

bool HelpFile::onCommand(MainCommand command) {
  if (command != MainCommand::Help) return false;
  s_.rt.start(TaskSlot::Help, open());
  return true;
}

Task<> HelpFile::open() {
  // The start-up rebuild wipes Tem: a file written before its wipe would be gone when opened.
  for (int waited = 0; s_.rt.isRunning(TaskSlot::TempRebuild) && waited < kRebuildWaitCapMs; waited += kRebuildPollMs)
    co_await s_.rt.pumpWait(kRebuildPollMs);
  const std::string bytes =
      toGbk(texts::helpText(website_) + helpAppendix(s_.clock.now(), s_.clock.millisecondsSinceStart()));
  const std::string tem = s_.temp.path();
  const std::string file = tem + "\\Help.txt";
  // Read back: security software or a rebuild still under way may take the file away at once.
  if (tem.empty() || !s_.temp.create() || !s_.fs.writeFile(file, bytes) || s_.fs.readFile(file) != bytes) {
    s_.prompt.show(kWriteFailed, "抱歉！", box::Warning);
    co_return;
  }
  s_.shell.open(file);
}

}  // namespace zk
