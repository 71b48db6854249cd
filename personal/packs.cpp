#include "personal/packs.h"

#include <algorithm>
#include <cctype>

#include "personal/pack_names.h"
#include "resources/tutorial.h"

namespace zk {

namespace {

// Deeper trees than the packs make are refused (a link loop cannot make the walk endless).
constexpr int kMaxDepth = 16;
// What a marker file holds: its name is the message.
const std::string kMarker(1, '\0');

bool walk(FileSystem& fs, const std::string& folder, const std::string& prefix, int depth, std::vector<ZipItem>& out) {
  if (depth > kMaxDepth) return false;
  auto listed = fs.listFolder(folder);
  if (!listed) return false;
  std::sort(listed->begin(), listed->end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  for (const auto& item : *listed) {
    std::string path = folder + "\\" + item.name;
    if (item.folder) {
      out.push_back({prefix + item.name + "/", ""});
      if (!walk(fs, path, prefix + item.name + "/", depth + 1, out)) return false;
    } else {
      out.push_back({prefix + item.name, path});
    }
  }
  return true;
}

// The packs are built and deleted only inside an absolute data folder.
std::optional<std::string> packRoot(const PackPlaces& places, const char* name) {
  auto base = absoluteFolderPath(places.dataFolder);
  if (!base) return std::nullopt;
  return *base + "\\" + name;
}

// The archive's place on the desktop; nothing when the desktop is not an absolute folder (an
// empty one would put the archive wherever the program happens to run).
std::optional<std::string> desktopFile(const PackPlaces& places, const std::string& name) {
  auto d = absoluteFolderPath(places.desktop);
  if (!d) return std::nullopt;
  return *d + "\\" + name;
}

// A tree left by an earlier build goes first, and the build starts only once it is really gone:
// a hidden Personal.ini left in it could not be overwritten and would be packed again.
bool freshFolder(FileSystem& fs, const std::string& root) {
  if (fs.folderExists(root) || fs.fileExists(root)) {
    fs.deleteFolderTree(root);
    if (fs.fileExists(root)) fs.deleteFile(root);
  }
  if (fs.folderExists(root) || fs.fileExists(root)) return false;
  return fs.createFolder(root) && fs.folderExists(root);
}

bool writeChecked(FileSystem& fs, const std::string& path, std::string_view bytes) {
  return fs.writeFile(path, bytes) && fs.fileSize(path) == static_cast<std::int64_t>(bytes.size());
}

// The running program, byte for byte; an empty or unreadable one is a failure.
bool copyProgram(FileSystem& fs, const PackPlaces& places, const std::string& to) {
  auto bytes = fs.readFile(places.programPath);
  if (!bytes || bytes->empty()) return false;
  return writeChecked(fs, to, *bytes);
}

// Zips the folder's contents to a temporary name beside the archive, then moves it into place.
PackOutcome zipIntoPlace(FileSystem& fs, ZipWriter& zip, const std::string& folder, const std::string& archive,
                         std::stop_token stop) {
  auto entries = zipEntriesOf(fs, folder);
  if (!entries) return PackOutcome::Failed;
  const std::string partial = archive + ".part";
  fs.deleteFile(partial);
  bool written = zip.write(partial, *entries, stop);
  if (!written || stop.stop_requested()) {
    fs.deleteFile(partial);
    return stop.stop_requested() ? PackOutcome::Stopped : PackOutcome::Failed;
  }
  if (!fs.moveFile(partial, archive) || !fs.fileExists(archive)) {
    fs.deleteFile(partial);
    return PackOutcome::Failed;
  }
  return PackOutcome::Done;
}

// Runs the build's steps in order; the tree goes afterwards whatever happened.
template <class Steps>
PackOutcome build(FileSystem& fs, const std::string& root, std::stop_token stop, Steps&& steps) {
  PackOutcome outcome = PackOutcome::Failed;
  if (freshFolder(fs, root)) outcome = steps();
  if (outcome == PackOutcome::Failed && stop.stop_requested()) outcome = PackOutcome::Stopped;
  fs.deleteFolderTree(root);
  return outcome;
}

}  // namespace

std::optional<std::vector<ZipItem>> zipEntriesOf(FileSystem& fs, const std::string& folder) {
  std::vector<ZipItem> out;
  if (!walk(fs, folder, "", 0, out)) return std::nullopt;
  return out;
}

PackOutcome buildPersonalPack(FileSystem& fs, ZipWriter& zip, const PackPlaces& places, const PersonalSettings& s,
                              const LocalTime& now, std::stop_token stop) {
  auto root = packRoot(places, "ZipPersonal");
  auto archive = desktopFile(places, "Zelkora私人订制包.zip");
  if (!root || !archive) return PackOutcome::Failed;
  return build(fs, *root, stop, [&] {
    const std::string pack = *root + "\\Zelkora私人订制包";
    const std::string inner = pack + "\\Zelkora";
    if (!fs.createFolder(pack) || !fs.createFolder(inner)) return PackOutcome::Failed;
    if (!writeChecked(fs, pack + "\\您可以把文件夹直接拖到别处再打开", kMarker)) return PackOutcome::Failed;
    // A nickname with nothing usable in a file name only loses its marker.
    if (auto marker = nicknameMarkerName(s.nickname, now))
      if (!writeChecked(fs, inner + "\\" + *marker, kMarker)) return PackOutcome::Failed;
    const std::string ini = inner + "\\Personal.ini";
    if (!writeChecked(fs, ini, personalIniBytes(s)) || !fs.setAttributes(ini, 2)) return PackOutcome::Failed;
    if (stop.stop_requested()) return PackOutcome::Stopped;
    if (!copyProgram(fs, places, inner + "\\TessalyZelkora.exe")) return PackOutcome::Failed;
    if (stop.stop_requested()) return PackOutcome::Stopped;
    return zipIntoPlace(fs, zip, pack, *archive, stop);
  });
}

PackOutcome buildHostsPack(FileSystem& fs, ZipWriter& zip, const PackPlaces& places, std::string_view hostsBytes,
                           const LocalTime& now, std::stop_token stop) {
  auto root = packRoot(places, "ZipPack");
  auto archive = desktopFile(places, "Quor_Hosts.zip");
  if (!root || !archive) return PackOutcome::Failed;
  return build(fs, *root, stop, [&] {
    const std::string top = *root + "\\Quor_Hosts";
    const std::string mobile = top + "\\安卓、iPhone版";
    const std::string android = mobile + "\\安卓";
    const std::string easy = android + "\\方便包";
    const std::string hard = android + "\\繁琐包";
    // The tree in the order the user reads it, each step checked.
    struct Step {
      std::string path;
      enum { Folder, Hosts, Marker } kind;
    };
    const Step steps[] = {
        {top, Step::Folder},
        {mobile, Step::Folder},
        {android, Step::Folder},
        {easy, Step::Folder},
        {easy + "\\system", Step::Folder},
        {easy + "\\system\\etc", Step::Folder},
        {easy + "\\system\\etc\\hosts", Step::Hosts},
        {easy + "\\Root后，直接将上面的system文件夹复制粘贴到安卓根目录即可", Step::Marker},
        {hard, Step::Folder},
        {hard + "\\hosts", Step::Hosts},
        {hard + "\\Root后，把这里头的hosts文件，复制粘贴到安卓根目录-system-etc中", Step::Marker},
        {mobile + "\\iPhone", Step::Folder},
        {mobile + "\\iPhone\\hosts", Step::Hosts},
        {mobile + "\\iPhone\\越狱后，把这里头的hosts文件，复制粘贴到iPhone系统的etc目录中", Step::Marker},
        {top + "\\电脑版", Step::Folder},
        {top + "\\电脑版\\hosts", Step::Hosts},
        {top + "\\文件创建于：" + dateTimeText(now), Step::Marker},
        {top + "\\由：Zelkora生成", Step::Marker},
    };
    for (const Step& step : steps) {
      if (stop.stop_requested()) return PackOutcome::Stopped;
      bool ok = step.kind == Step::Folder
                    ? fs.createFolder(step.path)
                    : writeChecked(fs, step.path, step.kind == Step::Hosts ? hostsBytes : kMarker);
      if (!ok) return PackOutcome::Failed;
    }
    if (!writeChecked(fs, top + "\\使用教程.txt", texts::hostsPackTutorialBytes())) return PackOutcome::Failed;
    if (!copyProgram(fs, places, top + "\\TessalyZelkora.exe")) return PackOutcome::Failed;
    if (stop.stop_requested()) return PackOutcome::Stopped;
    return zipIntoPlace(fs, zip, top, *archive, stop);
  });
}

}  // namespace zk
