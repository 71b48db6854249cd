#include "cloud/site.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>

#include "text/gbk.h"
#include "text/ini.h"
#include "text/replace.h"

namespace zk::cloud {

namespace fs = std::filesystem;

namespace {

bool readAll(const fs::path& p, std::string& out) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  out = ss.str();
  return true;
}

bool writeAll(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out);
}

std::string page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\"><title>" + title +
         "</title></head>\n<body style=\"font-family:sans-serif;margin:2em\"><h1>" + title + "</h1>\n" + body +
         "\n</body></html>\n";
}

}  // namespace

std::string readConfig(const fs::path& file, SiteConfig& out) {
  std::string text;
  if (!readAll(file, text)) return "cannot read " + file.string();
  auto key = [&](const char* section, const char* name) { return iniReadKey(text, section, name); };
  out.baseUrl = key("Site", "BaseUrl");
  out.websiteUrl = key("Site", "WebsiteUrl");
  if (!key("Site", "Online").empty()) out.online = key("Site", "Online");
  if (!key("Site", "Version").empty()) out.version = key("Site", "Version");
  out.stamp = key("Site", "Stamp");
  fs::path dir = file.parent_path();
  auto source = [&](const char* name) {
    std::string v = key("Hosts", name);
    return v.empty() ? fs::path() : dir / v;
  };
  out.main = source("Main");
  out.backup = source("Backup");
  out.ad = source("Ad");
  out.navigation = source("Navigation");
  if (out.baseUrl.empty() || out.baseUrl.back() != '/') return "[Site] BaseUrl must be set and end with /";
  if (out.websiteUrl.empty() || out.websiteUrl.back() != '/') return "[Site] WebsiteUrl must be set and end with /";
  if (!out.stamp.empty() && out.stamp.size() != 9) return "[Site] Stamp must have 9 characters";
  if (out.main.empty()) return "[Hosts] Main must be set";
  return {};
}

std::string stampOf(int year, int month, int day, int hour, int minute) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d%02d%02d%02d%d", year % 100, month % 100, day % 100, hour % 100,
                minute / 10 % 10);
  return buf;
}

std::string stampedHosts(const std::string& source, const std::string& stamp) {
  std::string rest = source;
  if (rest.rfind("# Ti:", 0) == 0) {
    auto eol = rest.find('\n');
    rest = eol == std::string::npos ? std::string() : rest.substr(eol + 1);
  }
  return "# Ti:" + stamp + "\r\n" + rest;
}

namespace {
// The value of "NUMBER=..." in a table of lines, or nothing.
std::optional<std::string> tableValue(const std::string& table, const std::string& number) {
  std::istringstream lines(table);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t eq = line.find('=');
    if (eq != std::string::npos && line.substr(0, eq) == number) return line.substr(eq + 1);
  }
  return std::nullopt;
}
}  // namespace

std::string qqNicknameReply(const std::string& table, const std::string& number) {
  auto nickname = number.empty() ? std::nullopt : tableValue(table, number);
  if (!nickname) return "portraitCallBack({\"error\":-1})";
  return "portraitCallBack({\"" + number + "\":[\"http://qlogo.invalid/" + number + "\",0,0,0,0,0,0,-1,0,0,0,\"" +
         toGbk(*nickname) + "\",0]})";
}

AvatarAnswer qqAvatarAnswer(const std::string& table, const std::string& number) {
  auto kind = number.empty() ? std::nullopt : tableValue(table, number);
  if (kind == "html") return AvatarAnswer::Html;
  if (kind == "empty") return AvatarAnswer::Empty;
  if (kind == "missing") return AvatarAnswer::Missing;
  return AvatarAnswer::Picture;
}

std::string lookupPage() {
  return toGbk(std::string("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
                           "<title>IP查询</title></head><body>\n<p>您当前的IP为：<span class=\"red\">") +
               kAddressDirective + "</span></p>\n<p>该IP所在地为：<span>" + kPlaceDirective +
               "</span></p>\n</body></html>\n");
}

std::string filledLookupPage(const std::string& page, const std::string& address, const std::string& place) {
  bool plain = std::all_of(address.begin(), address.end(),
                           [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) || c == '.' || c == ':'; });
  std::string out = page;
  replaceAll(out, kAddressDirective, plain ? address : std::string());
  replaceAll(out, toGbk(kPlaceDirective), toGbk(place));
  return out;
}

std::string publish(const SiteConfig& c, const fs::path& folder) {
  std::string stamp = c.stamp;
  if (stamp.empty()) {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    stamp = stampOf(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min);
  }
  const fs::path z = folder / "z";
  std::string servers = "[Server]\r\n";
  struct Source {
    const char* key;
    const fs::path& path;
    const char* file;
  };
  const Source sources[] = {{"Server1", c.main, "main.txt"},
                            {"Server2", c.backup, "backup.txt"},
                            {"Server3", c.ad, "ad.txt"},
                            {"Server4", c.navigation, "navigation.txt"}};
  for (const Source& s : sources) {
    if (s.path.empty()) continue;
    std::string text;
    if (!readAll(s.path, text)) return "cannot read " + s.path.string();
    if (!writeAll(z / "hosts" / s.file, stampedHosts(text, stamp))) return "cannot write into " + folder.string();
    servers += std::string(s.key) + "=" + c.baseUrl + "hosts/" + s.file + "\r\n";
  }
  // Flag files hold exactly their value: no line break.
  const std::pair<const char*, std::string> files[] = {{"ol.css", c.online},
                                                       {"bb.css", c.version},
                                                       {"gw.css", c.websiteUrl},
                                                       {"hostsserverurl.css", servers},
                                                       {"id.css", c.websiteUrl + "news.html"},
                                                       {"filetime.css", stamp}};
  for (auto& [name, body] : files)
    if (!writeAll(z / name, body)) return "cannot write into " + folder.string();
  if (!writeAll(z / "ip" / "index.html", lookupPage())) return "cannot write into " + folder.string();
  if (!writeAll(folder / "kpr.css", c.baseUrl)) return "cannot write into " + folder.string();
  const fs::path web = folder / "web";
  writeAll(web / "Up.html", page("Zelkora 新版下载", "<p>最新版本：" + c.version + "</p>"));
  writeAll(web / "Dns.html", page("在线自动匹配最佳DNS", "<p>根据您的网络，推荐以下公共DNS。</p>"));
  writeAll(web / "Mobile.html", page("Zelkora 安卓版", "<p>安卓版，为安卓用户而生。</p>"));
  writeAll(web / "index.html", page("Zelkora", "<p>一键获取，极速互联！</p>"));
  // The news page fills the main window's one-line news view (about 176 × 24 pixels).
  writeAll(web / "news.html",
           "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
           "<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\"><title>云端资讯</title>\n"
           "<style>html,body{margin:0;padding:0;overflow:hidden}"
           "body{font:12px/24px \"Microsoft YaHei\",sans-serif;color:#118855}</style></head>\n"
           "<body><marquee scrollamount=\"2\">云端数据已更新：" +
               stamp + "　·　一键获取，极速互联！</marquee></body></html>\n");
  return {};
}

}  // namespace zk::cloud
