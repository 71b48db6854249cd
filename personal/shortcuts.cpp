#include "personal/shortcuts.h"

#include "platform/files.h"

namespace zk {

namespace {

constexpr const char* kLinkName = "Zelkora.lnk";
constexpr const char* kDescription = "一键解析，极速互联！";
constexpr const char* kNoneSaved = "快捷方式未能创建，请确认桌面和开始菜单可以写入后再试。";

}  // namespace

bool Shortcuts::onCommand(MainCommand command) {
  if (command != MainCommand::Shortcuts) return false;
  create();
  return true;
}

ShortcutPlan Shortcuts::plan(const std::string& pinVerb) {
  ShortcutPlan p;
  p.pin = !pinVerb.empty();
  // A folder that cannot be found is skipped: a bare "Zelkora.lnk" would land in the current folder.
  for (const std::string& folder : {withBackslash(s_.folders.desktop()), withBackslash(s_.folders.startMenu())})
    if (!folder.empty()) p.links.push_back(folder + kLinkName);
  // Quick Launch is the folder of the user's roaming profile on every Windows since Vista; it is
  // gone on newer systems and never made afresh.
  const std::string appData = withBackslash(s_.folders.appData());
  if (!appData.empty()) {
    const std::string quickLaunch = appData + "Microsoft\\Internet Explorer\\Quick Launch";
    if (s_.fs.folderExists(quickLaunch)) p.links.push_back(quickLaunch + "\\" + kLinkName);
  }
  return p;
}

void Shortcuts::create() {
  const std::string& data = s_.values.dataFolder;
  // Links to a copy in a folder that is not a full path would lead nowhere (or somewhere else).
  const bool known = absoluteFolderPath(data).has_value();
  const std::string pinVerb = s_.links.pinVerbName();
  const ShortcutPlan p = plan(pinVerb);
  if (p.pin && known) s_.links.runVerbNamed(data, "Nimbet.exe", pinVerb);
  int saved = 0;
  if (known)
    for (const std::string& link : p.links)
      if (s_.links.saveShortcut(link, s_.values.dataFile("Nimbet.exe"), kDescription, data)) ++saved;
  if (saved > 0)
    s_.prompt.show("创建完毕！", "恭喜！", box::Ok);
  else
    s_.prompt.show(kNoneSaved, "抱歉！", box::Warning);
}

}  // namespace zk
