// "帮助": the help text with an appendix of this opening, written to Tem\Help.txt and opened.
#pragma once

#include <cstdint>
#include <string>

#include "main/main_view.h"
#include "main/program_values.h"
#include "main/temp_folder.h"
#include "platform/files.h"
#include "platform/prompt.h"
#include "platform/runtime.h"
#include "platform/system.h"
#include "text/datetime.h"

namespace zk {

// The "唯一代码" of an opening: the uptime in milliseconds × 700 as a single-precision number,
// written as its whole decimal value.
std::string helpCodeText(std::uint64_t msSinceStart);
// "\r\n打开时间：" + the date-time text + "\r\n唯一代码：" + the code (UTF-8).
std::string helpAppendix(const LocalTime& now, std::uint64_t msSinceStart);

struct HelpServices {
  Runtime& rt;
  FileSystem& fs;
  Shell& shell;
  Clock& clock;
  Prompter& prompt;
  TempFolder& temp;
  const ProgramValues& values;
};

class HelpFile {
 public:
  HelpFile(HelpServices s, std::string website) : s_(s), website_(std::move(website)) {}
  // Takes MainCommand::Help.
  bool onCommand(MainCommand command);
  // Writes the file whole (after a rebuild of Tem under way has ended) and opens it; a file that
  // is not there as written afterwards is reported and never opened.
  Task<> open();

 private:
  HelpServices s_;
  std::string website_;
};

}  // namespace zk
