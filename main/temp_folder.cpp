#include "main/temp_folder.h"

#include "resources/fixed_texts.h"
#include "text/gbk.h"

namespace zk {

TempFolder::TempFolder(FileSystem& fs, Processes& proc, Runtime& rt, const ProgramValues& values)
    : fs_(fs), proc_(proc), rt_(rt), values_(values) {}

std::string TempFolder::path() const {
  // Never "\Tem" at a drive root: the folder is wiped at every start.
  const std::string& d = values_.dataFolder;
  bool absolute = d.size() > 3 && ((d[1] == ':' && d[2] == '\\') || d.rfind("\\\\", 0) == 0);
  return absolute ? d + "\\Tem" : std::string();
}

Task<> TempFolder::rebuild() {
  const std::string tem = path();
  if (tem.empty()) co_return;
  if (auto target = deletableFolderPath(tem)) fs_.deleteFolderTree(*target);
  co_await rt_.pumpWait(500);
  fs_.createFolder(tem);
  fs_.writeFile(tem + "\\" + texts::kTempReadMeName, toGbk(texts::kTempReadMe));
}

bool TempFolder::writeScript(const std::string& name, std::string_view utf8Text) {
  const std::string tem = path();
  return !tem.empty() && fs_.writeFile(tem + "\\" + name, toGbk(utf8Text));
}

Task<> TempFolder::runDnscacheScript() {
  writeScript("Dnscache.bat", texts::kDnscacheBat);
  const std::string tem = path();
  if (!tem.empty()) {
    // Quoted: the data folder lies under the user's profile, whose name may hold blanks. Started
    // from a worker: waiting for the process to be ready may take up to a second.
    Processes* proc = &proc_;
    auto starting = rt_.offload([proc, line = "\"" + tem + "\\Dnscache.bat\""] { return proc->runHidden(line); });
    co_await starting;
  }
  co_await rt_.pumpWait(1000);
}

}  // namespace zk
