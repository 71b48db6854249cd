#include "sync/hosts_file.h"

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
  auto at = file.find("# Ti:");
  if (at == std::string_view::npos) return std::nullopt;
  return std::string(file.substr(at + 5, 9));
}

namespace {

std::string backupName(const HostsWriteOptions& o, int n) {
  return o.backupFolder + "\\hosts." + std::to_string(n) + ".bak";
}

void keepBackup(FileSystem& fs, const std::string& target, const HostsWriteOptions& o) {
  if (o.backupFolder.empty() || o.keepBackups < 1) return;
  auto old = fs.readFile(target);
  if (!old || old->empty()) return;
  fs.createFolder(o.backupFolder);
  fs.deleteFile(backupName(o, o.keepBackups));
  for (int n = o.keepBackups - 1; n >= 1; --n) fs.moveFile(backupName(o, n), backupName(o, n + 1));
  fs.writeFileDurably(backupName(o, 1), *old);
}

}  // namespace

bool writeHostsFile(FileSystem& fs, const std::string& target, std::string_view bytes, const HostsWriteOptions& o) {
  keepBackup(fs, target, o);
  const std::string temp = target + ".zelkora-new";
  bool placed = false;
  if (fs.writeFileDurably(temp, bytes)) {
    // Antivirus and the DNS client hold the file for moments.
    for (int delay : {0, 1, 10, 20, 40, 80, 160}) {
      if (delay && o.sleep) o.sleep(delay);
      if ((placed = fs.replaceFile(target, temp))) break;
    }
    if (!placed) fs.deleteFile(temp);
  }
  // Still held (or no room for a second file): rewrite it in place; the backup is on disk.
  if (!placed && !fs.writeFile(target, bytes)) return false;
  auto back = fs.readFile(target);
  return back && *back == bytes;
}

}  // namespace zk
