#include "editor/hosts_commands.h"

#include "editor/document_encoding.h"
#include "resources/fixed_texts.h"
#include "text/gbk.h"
#include "text/text.h"

namespace zk {
namespace {

constexpr const char* kNoFile = "尚未发现Hosts文件，请到主界面一键获取！";
constexpr const char* kEmptyFile = "您的Hosts文件不包含任何内容，请到主界面一键获取！";
constexpr std::uint32_t kArchiveOnly = 32;

}  // namespace

// The commands share one slot, and a command that has handed a write to a worker must run to its
// end and report: while one runs, another click of the row is ignored, never allowed to stop it.
bool HostsCommands::onCommand(MainCommand command) {
  Runtime& rt = s_.hosts.runtime();
  auto run = [&rt](Task<> task) {
    if (!rt.isRunning(TaskSlot::HostsCommand)) rt.start(TaskSlot::HostsCommand, std::move(task));
  };
  switch (command) {
    case MainCommand::OpenHostsFile: run(openInNotepad()); return true;
    case MainCommand::OpenHostsFolder: exploreFolder(); return true;
    case MainCommand::ClearHostsFile: run(clear()); return true;
    case MainCommand::SaveHostsCopy: run(saveCopy()); return true;
    case MainCommand::ImportHostsFile: run(import()); return true;
    case MainCommand::RestoreHostsFile: run(restore()); return true;
    case MainCommand::CopyHostsFile: run(copyAll()); return true;
    default: return false;
  }
}

void HostsCommands::exploreFolder() {
  s_.shell.explore(s_.hosts.folder());
}

// Notepad by its full path, the file's path quoted (it may hold blanks); the shell's "open" when
// Notepad cannot be started.
Task<> HostsCommands::openInNotepad() {
  if (!s_.hosts.exists()) {
    s_.prompt.show(kNoFile, "抱歉", box::Ok);
    co_return;
  }
  Processes* processes = &s_.processes;
  auto starting = s_.hosts.runtime().offload(
      [processes, command = values_.systemCommand("notepad", "\"" + s_.hosts.path() + "\"")] {
        return processes->runNormal(command);
      });
  if (!co_await starting) s_.shell.open(s_.hosts.path());
}

Task<> HostsCommands::clear() {
  if (!s_.hosts.exists()) {
    s_.prompt.show("尚未发现Hosts文件，无需删除！", "恭喜！", box::Ok);
    co_return;
  }
  if (s_.prompt.show("此操作将会清空您的本地Hosts文件，您继续吗？", "询问", box::YesNo) != Answer::Yes) co_return;
  // The user's only copy otherwise: kept as the writer keeps the file it replaces. Without it the
  // file is not deleted; the folder opens for the user to do it by hand.
  bool kept = co_await s_.hosts.backupSystem();
  if (!kept) {
    s_.prompt.show("删除失败，请手动删除！", "抱歉", box::Ok);
    exploreFolder();
    co_return;
  }
  FileSystem& fs = s_.hosts.files();
  fs.setAttributes(s_.hosts.path(), kArchiveOnly);
  if (fs.deleteFile(s_.hosts.path())) {
    s_.prompt.show("清空完毕，已删除！", "恭喜！", box::Ok);
  } else {
    s_.prompt.show("删除失败，请手动删除！", "抱歉", box::Ok);
    exploreFolder();
  }
}

Task<> HostsCommands::saveCopy() {
  if (!s_.hosts.exists()) {
    s_.prompt.show(kNoFile, "抱歉！", box::Ok);
    co_return;
  }
  auto bytes = co_await s_.hosts.readSystem();
  // A file that is there but cannot be read (held, no permission, too large) is not an empty one.
  if (bytes && bytes->empty()) {
    s_.prompt.show(kEmptyFile, "抱歉！", box::Ok);
    co_return;
  }
  if (!bytes || !co_await s_.hosts.write(desktopCopy(), std::move(*bytes))) {
    s_.prompt.show("很遗憾，另存失败，请手动操作！", "抱歉！", box::Ok);
    co_return;
  }
  s_.prompt.show("您的Hosts文件已经另存到桌面！", "恭喜！", box::Ok);
  s_.prompt.show("接下来，您可以应用到手机（Android、iPhone）、AppleMac以及linux等其他系统平台中！", "指导！", box::Ok);
}

Task<> HostsCommands::import() {
  s_.prompt.show(
      "本操作是指：将包含标准Hosts规范的文件应用到系统中！您需注意，您导入的文件必须符合Hosts条目规范！文件后缀名任意。"
      "如果非文本文件将出现乱码。导入后将会覆盖您之前现有的Hosts文件。",
      "指导", box::Ok);
  s_.dialog.state.save = false;
  s_.dialog.state.folder = s_.folders.desktop();
  s_.dialog.state.title = "请导入包含标准Hosts规范的文件";
  auto path = s_.dialog.show();
  if (!path) co_return;
  std::optional<std::string> bytes = co_await s_.hosts.readChosen(*path);
  // A file that cannot be read is not an empty one, and a UTF-16 ("Unicode") file is not a GBK
  // text cut at its first NUL (it would leave a few bytes): the system file stays as it is.
  const bool usable = bytes && !HostsAccess::startsWithUtf16Mark(*bytes);
  bool written = false;
  if (usable) written = co_await s_.hosts.writeSystem(textUpToNul(*bytes));
  if (written) {
    s_.prompt.show("文件导入完成！", "恭喜", box::Ok);
  } else {
    s_.prompt.show("很遗憾，导入失败，请手动操作！", "抱歉", box::Ok);
    exploreFolder();
  }
}

Task<> HostsCommands::restore() {
  if (s_.prompt.show("本操作将会恢复到Windows原生Hosts，是否继续？", "询问", box::YesNo) != Answer::Yes) co_return;
  if (co_await s_.hosts.writeSystem(texts::kWindowsDefaultHosts)) {
    s_.prompt.show("恢复成功！", "恭喜", box::Ok);
    co_return;
  }
  bool copied = co_await s_.hosts.write(desktopCopy(), texts::kWindowsDefaultHosts);
  if (copied)
    s_.prompt.show("很遗憾，恢复失败，一个原生的Hosts已经保存到桌面，请将它自行覆盖！", "抱歉", box::Ok);
  else
    s_.prompt.show("很遗憾，恢复失败，请手动操作！", "抱歉", box::Ok);
}

Task<> HostsCommands::copyAll() {
  if (!s_.hosts.exists()) {
    s_.prompt.show(kNoFile, "抱歉", box::Ok);
    co_return;
  }
  auto bytes = co_await s_.hosts.readSystem();
  if (!bytes) {
    s_.prompt.show("很遗憾，复制失败，请手动操作！", "抱歉！", box::Ok);
    co_return;
  }
  // Its text as the editor shows it: a file kept in UTF-8 is not read as GBK.
  std::string text = decodeFile(textUpToNul(*bytes)).text;
  if (text.empty()) {
    s_.prompt.show(kEmptyFile, "抱歉！", box::Ok);
    co_return;
  }
  if (s_.clipboard.setText(text))
    s_.prompt.show("已复制到粘贴板，您可以粘贴到各类渠道上！", "恭喜！", box::Ok);
  else
    s_.prompt.show("抱歉，复制失败！", "抱歉！", box::Ok);
}

}  // namespace zk
