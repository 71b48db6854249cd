#include "app/startup.h"

#include "app/hosts_path.h"
#include "resources/fixed_texts.h"
#include "text/gbk.h"
#include "text/ini.h"
#include "text/text.h"

namespace zk {

Startup::Startup(StartupServices services, ProgramValues& values, MainView& view, SettingsStore& settings,
                 TempFolder& temp, SkinRotation& skins, WelcomeAnimation& welcome, StartupHooks hooks)
    : s_(services),
      values_(values),
      view_(view),
      settings_(settings),
      temp_(temp),
      skins_(skins),
      welcome_(welcome),
      hooks_(std::move(hooks)) {}

// First start: the data folder has no settings file yet (or an empty one). Seeding never
// overwrites settings the user already has.
void Startup::seedDefaultSettings() {
  const std::string path = values_.dataFile("System.btx");
  if (s_.fs.fileSize(path) <= 0 && !s_.fs.folderExists(path)) s_.fs.writeFile(path, texts::kDefaultSettings);
}

void Startup::installSelfCopy() {
  const std::string installed = values_.dataFile("Nimbet.exe");
  auto copy = [&] {
    auto image = s_.fs.readFile(s_.folders.ownFolder() + "\\" + s_.folders.ownFileName());
    if (image && !image->empty()) s_.fs.writeFile(installed, *image);
  };
  if (s_.fs.fileSize(installed) == 0) copy();
  if (!s_.fs.fileExists(installed) && !s_.fs.folderExists(installed)) copy();
}

void Startup::repairRegistryValue() {
  if (!values_.hostsRegistryValue.empty()) return;
  if (s_.registry.writeMachineText(kHostsRegistryKey, kHostsRegistryName, kHostsRegistryDefault)) {
    values_.hostsRegistryValue = kHostsRegistryDefault;
    return;
  }
  s_.prompt.show(texts::kRegistryWarning, "警告注意：", box::Stop | box::Foreground);
  const std::string help = values_.dataFile("RegSp.txt");
  s_.fs.writeFile(help, toGbk(texts::kRegistryHelp));
  s_.shell.open(help);
  s_.fs.writeFile(s_.folders.desktop() + texts::kRegistryScriptName, texts::registryScriptFileBytes());
}

Task<> Startup::run() {
  // 2. Dress the window.
  view_.setSkin(skinLook(0));
  view_.setFetchPicture(FetchPicture::Idle);
  // 3.
  values_.hostsRegistryValue = s_.registry.readMachineText(kHostsRegistryKey, kHostsRegistryName);
  values_.releaseDate = texts::kReleaseDate;
  // 4. The data folder (app data ends with a backslash).
  const std::string appData = s_.folders.appData();
  s_.fs.createFolder(appData + "\\Orvik");
  s_.fs.createFolder(appData + "\\Orvik\\Nimbet");
  values_.dataFolder = appData + "Orvik\\Nimbet";
  // 1. Default settings, once the data folder is known.
  seedDefaultSettings();
  // 5.
  installSelfCopy();
  // 6.
  values_.programVersion = ZK_VERSION;
  repairRegistryValue();
  // 7.
  values_.systemFolder = s_.folders.system();
  HostsLocation loc = resolveHostsPath(values_.systemFolder, values_.hostsRegistryValue);
  values_.windowsFolder = loc.windowsFolder;
  values_.systemHostsPath = loc.systemHostsPath;
  // 8.
  skins_.start();
  // 9.
  s_.rt.start(TaskSlot::TempRebuild, temp_.rebuild());
  if (hooks_.cloudConnection) s_.rt.start(TaskSlot::CloudConnection, hooks_.cloudConnection());
  // 10.
  view_.setEmojiPointerOnAll(false);
  co_await settings_.loadAndApply();
  // 11.
  welcome_.layoutCurtain();
  // 12. The retry count starts at 0 with its owner, the retry counter.
  // 13.
  // Only a customisation file is one: any other Personal.ini (a Downloads folder holds many files)
  // never replaces the installation's own.
  // A real one is a few dozen bytes: a big file of that name is not read at all.
  constexpr std::int64_t kMaxPersonalIni = 64 * 1024;
  const std::string ownPersonal = s_.folders.ownFolder() + "\\Personal.ini";
  std::optional<std::string> bytes;
  if (std::int64_t size = s_.fs.fileSize(ownPersonal); size >= 0 && size <= kMaxPersonalIni)
    bytes = s_.fs.readFile(ownPersonal);
  if (bytes && iniHasKey(*bytes, "Personal", "SRDZ")) s_.fs.writeFile(values_.dataFile("Personal.ini"), *bytes);
  values_.srdzValue = settings_.personalIni().read("Personal", "SRDZ");
  view_.setAvatarVisible(false);
  view_.setNicknameVisible(false);
  if (isOn(values_.srdzValue) && hooks_.customisation) s_.rt.start(TaskSlot::Customisation, hooks_.customisation());
}

}  // namespace zk
