#include "sync/hosts_file.h"

#include <algorithm>
#include <cstring>
#include <functional>

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
  // Built in one buffer of the final size: the texts are copied once.
  const std::string header =
      toGbk("# 本文件由Zelkora生成，感谢使用：\r\n# 生成时间：" + dashedStamp(dateTimeText(dashedAt)) + "\r\n");
  const std::string footer = toGbk("\r\n# 生成时间：" + dateTimeText(longAt));
  std::string out;
  out.reserve(header.size() + f.main.size() + f.ad.size() + f.navigation.size() + footer.size() + 8);
  out += header;
  if (f.mainDone) out += f.main;
  if (f.adDone) out.append("\r\n").append(f.ad);
  if (f.navigationDone) out.append("\r\n").append(f.navigation);
  out += footer;
  out += "\r\n\r\n";
  return out;
}

namespace {

constexpr std::string_view kMarker = "# Ti:";
constexpr std::size_t kStampBytes = 9;

// The marker may sit anywhere in tens of megabytes. Its capital T is rare in hosts text, so a
// vectorised memchr jumps from one T to the next and only those places are compared.
std::size_t findMarker(std::string_view s) {
  if (s.size() < kMarker.size()) return std::string_view::npos;  // also keeps the pointers in range
  const char* begin = s.data();
  const char* end = begin + s.size();
  for (const char* from = begin + 2; from < end;) {
    const char* t = static_cast<const char*>(std::memchr(from, 'T', static_cast<std::size_t>(end - from)));
    if (!t) break;
    if (end - t >= 3 && std::memcmp(t - 2, kMarker.data(), kMarker.size()) == 0)
      return static_cast<std::size_t>(t - 2 - begin);
    from = t + 1;
  }
  return std::string_view::npos;
}

}  // namespace

std::optional<std::string> hostsStamp(std::string_view file) {
  std::size_t at = findMarker(file);
  if (at == std::string_view::npos) return std::nullopt;
  return std::string(file.substr(at + kMarker.size(), kStampBytes));
}

std::optional<std::string> hostsStampOfFile(FileSystem& fs, const std::string& path) {
  std::string tail;  // the last bytes of the previous piece: a marker may straddle two pieces
  std::optional<std::string> stamp;
  fs.readChunks(path, [&](std::string_view chunk) {
    if (stamp) {  // found at the end of a piece: the rest of the stamp follows
      stamp->append(chunk.substr(0, std::min(chunk.size(), kStampBytes - stamp->size())));
      return stamp->size() < kStampBytes;
    }
    if (!tail.empty()) {
      std::string seam = tail;
      seam.append(chunk.substr(0, std::min(chunk.size(), kMarker.size() - 1 + kStampBytes)));
      // Only a marker that starts in the previous piece; one inside this piece is found below.
      std::size_t at = findMarker(seam);
      if (at < tail.size()) {
        stamp = seam.substr(at + kMarker.size(), kStampBytes);
        return stamp->size() < kStampBytes;  // a piece shorter than the stamp: more follows
      }
    }
    if ((stamp = hostsStamp(chunk))) return stamp->size() < kStampBytes;
    tail.append(chunk.substr(chunk.size() - std::min(chunk.size(), kMarker.size() - 1)));
    tail.erase(0, tail.size() - std::min(tail.size(), kMarker.size() - 1));
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

// The file read back piece by piece and compared with what was written.
bool sameBytes(FileSystem& fs, const std::string& path, std::string_view bytes) {
  std::size_t at = 0;
  bool same = true;
  bool read = fs.readChunks(path, [&](std::string_view piece) {
    same = piece.size() <= bytes.size() - at && std::memcmp(piece.data(), bytes.data() + at, piece.size()) == 0;
    at += piece.size();
    return same;
  });
  return read && same && at == bytes.size();
}

// The backup as a copy, when the replace could not keep it.
void copyBackup(FileSystem& fs, const std::string& target, const HostsWriteOptions& o) {
  if (auto old = fs.readFile(target)) fs.writeFileDurably(backupName(o, 1), *old);
}

}  // namespace

bool writeHostsFile(FileSystem& fs, const std::string& target, std::string_view bytes, const HostsWriteOptions& o) {
  if (o.refuseProtected) {
    if (auto attr = fs.fileAttributes(target); attr && (*attr & kProtectedAttributes)) return false;
  }
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
  return sameBytes(fs, target, bytes);
}

bool keepHostsBackup(FileSystem& fs, const std::string& target, const HostsWriteOptions& o) {
  if (!rotateBackups(fs, target, o)) return fs.fileSize(target) <= 0;
  auto old = fs.readFile(target);
  return old && fs.writeFileDurably(backupName(o, 1), *old);
}

}  // namespace zk
