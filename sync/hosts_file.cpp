#include "sync/hosts_file.h"

#include <string.h>

#include <algorithm>
#include <functional>

#include "sync/fetch.h"
#include "text/gbk.h"
#include "text/text.h"

namespace zk {

std::string dashedStamp(const std::string& longStamp) {
  std::string s = longStamp;
  for (const char* unit : {"年", "月", "日"}) s = replaceAllIgnoreCase(s, unit, "-");
  for (const char* unit : {"时", "分"}) s = replaceAllIgnoreCase(s, unit, ":");
  return replaceAllIgnoreCase(s, "秒", "");
}

std::string composeHostsFile(const Fetched& f, const LocalTime& longAt, const LocalTime& dashedAt) {
  std::string body;
  if (f.mainDone) body = f.main;
  if (f.adDone) body += "\r\n" + f.ad;
  if (f.navigationDone) body += "\r\n" + f.navigation;
  body += toGbk("\r\n# 生成时间：" + dateTimeText(longAt));
  std::string out =
      toGbk("# 本文件由Zelkora生成，感谢使用：\r\n# 生成时间：" + dashedStamp(dateTimeText(dashedAt)) + "\r\n");
  out.reserve(out.size() + body.size() + 4);
  out += body;
  out += "\r\n\r\n";
  return out;
}

std::optional<std::string> hostsStamp(std::string_view file) {
  // The marker may sit anywhere in tens of megabytes: glibc's memmem where there is one, else a
  // Boyer-Moore-Horspool search.
  static const std::string_view marker = "# Ti:";
#ifdef __GLIBC__
  const void* found = memmem(file.data(), file.size(), marker.data(), marker.size());
  if (!found) return std::nullopt;
  std::size_t at = static_cast<std::size_t>(static_cast<const char*>(found) - file.data());
#else
  static const std::boyer_moore_horspool_searcher searcher(marker.begin(), marker.end());
  auto hit = std::search(file.begin(), file.end(), searcher);
  if (hit == file.end()) return std::nullopt;
  std::size_t at = static_cast<std::size_t>(hit - file.begin());
#endif
  return std::string(file.substr(at + marker.size(), 9));
}

std::optional<std::string> hostsStampOfFile(FileSystem& fs, const std::string& path) {
  constexpr std::size_t kMarker = 5, kStamp = 9;
  std::string window;  // the end of the previous piece (a marker may straddle two) and this piece
  std::optional<std::string> stamp;
  fs.readChunks(path, [&](std::string_view chunk) {
    if (stamp) {  // found at the end of a piece: the rest of the stamp follows
      stamp->append(chunk.substr(0, std::min(chunk.size(), kStamp - stamp->size())));
      return stamp->size() < kStamp;
    }
    window.append(chunk);
    if ((stamp = hostsStamp(window))) return stamp->size() < kStamp;
    window.erase(0, window.size() - std::min(window.size(), kMarker - 1));
    return true;
  });
  return stamp;
}

namespace {

std::string backupName(const HostsWriteOptions& o, int n) {
  return o.backupFolder + "\\hosts." + std::to_string(n) + ".bak";
}

// Makes room for a new backup 1: the oldest goes, the others move up one.
bool rotateBackups(FileSystem& fs, const std::string& target, const HostsWriteOptions& o) {
  if (o.backupFolder.empty() || o.keepBackups < 1 || fs.fileSize(target) <= 0) return false;
  fs.createFolder(o.backupFolder);
  fs.deleteFile(backupName(o, o.keepBackups));
  for (int n = o.keepBackups - 1; n >= 1; --n) fs.moveFile(backupName(o, n), backupName(o, n + 1));
  return true;
}

// The backup as a copy, when the replace could not keep it.
void copyBackup(FileSystem& fs, const std::string& target, const HostsWriteOptions& o) {
  if (auto old = fs.readFile(target)) fs.writeFileDurably(backupName(o, 1), *old);
}

}  // namespace

bool writeHostsFile(FileSystem& fs, const std::string& target, std::string_view bytes, const HostsWriteOptions& o) {
  bool backupWanted = rotateBackups(fs, target, o);
  const std::string temp = target + ".zelkora-new";
  bool placed = false;
  if (fs.writeFileDurably(temp, bytes)) {
    // Antivirus and the DNS client hold the file for moments. The first attempt keeps the old
    // file as backup 1 in the same step; if it fails (the data folder on another volume, say), the
    // backup is copied and the file replaced without one.
    for (int delay : {0, 1, 10, 20, 40, 80, 160}) {
      if (delay && o.sleep) o.sleep(delay);
      if ((placed = fs.replaceFile(target, temp, backupWanted ? backupName(o, 1) : std::string()))) break;
      if (backupWanted) copyBackup(fs, target, o);
      backupWanted = false;
    }
    if (!placed) fs.deleteFile(temp);
  }
  // Still held (or no room for a second file): rewrite it in place; the backup is on disk.
  if (!placed) {
    if (backupWanted) copyBackup(fs, target, o);
    if (!fs.writeFile(target, bytes)) return false;
  }
  auto back = fs.readFile(target);
  return back && *back == bytes;
}

}  // namespace zk
