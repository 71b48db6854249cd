#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cloud/site.h"
#include "nettools/external_ip.h"
#include "personal/qq_reply.h"
#include "text/gbk.h"
#include "text/ini.h"

namespace zk::cloud {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void spit(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

TEST(CloudSite, StampsAreNineDigitsAndReplaceAnEarlierMarker) {
  EXPECT_EQ(stampOf(2016, 12, 7, 9, 15), "161207091");
  EXPECT_EQ(stampOf(2026, 1, 2, 3, 59), "260102035");
  EXPECT_EQ(stampedHosts("1.1.1.1 a\r\n", "161207091"), "# Ti:161207091\r\n1.1.1.1 a\r\n");
  EXPECT_EQ(stampedHosts("# Ti:000000000\r\n1.1.1.1 a\r\n", "161207091"), "# Ti:161207091\r\n1.1.1.1 a\r\n");
}

TEST(CloudSite, PublishesEveryFileTheClientReads) {
  fs::path dir = fs::temp_directory_path() / "zelkora-site-test";
  fs::remove_all(dir);
  spit(dir / "src" / "main.hosts", "\xD6\xD0\xCE\xC4\r\n1.1.1.1 a\r\n");  // GBK comment kept as bytes
  spit(dir / "src" / "ad.hosts", "0.0.0.0 ad\r\n");
  spit(dir / "src" / "site.ini",
       "[Site]\r\nBaseUrl=http://c.test/z/\r\nWebsiteUrl=http://c.test/web/\r\nStamp=161207091\r\n"
       "[Hosts]\r\nMain=main.hosts\r\nAd=ad.hosts\r\n");
  SiteConfig config;
  ASSERT_EQ(readConfig(dir / "src" / "site.ini", config), "");
  ASSERT_EQ(publish(config, dir / "out"), "");
  EXPECT_EQ(slurp(dir / "out" / "kpr.css"), "http://c.test/z/");
  EXPECT_EQ(slurp(dir / "out" / "z" / "ol.css"), "1");
  EXPECT_EQ(slurp(dir / "out" / "z" / "bb.css"), "1.6");
  EXPECT_EQ(slurp(dir / "out" / "z" / "gw.css"), "http://c.test/web/");
  EXPECT_EQ(slurp(dir / "out" / "z" / "id.css"), "http://c.test/web/news.html");
  EXPECT_EQ(slurp(dir / "out" / "z" / "filetime.css"), "161207091");
  std::string servers = slurp(dir / "out" / "z" / "hostsserverurl.css");
  EXPECT_EQ(iniReadKey(servers, "Server", "Server1"), "http://c.test/z/hosts/main.txt");
  EXPECT_EQ(iniReadKey(servers, "Server", "Server3"), "http://c.test/z/hosts/ad.txt");
  EXPECT_EQ(iniReadKey(servers, "Server", "Server2"), "");
  EXPECT_EQ(slurp(dir / "out" / "z" / "hosts" / "main.txt"), "# Ti:161207091\r\n\xD6\xD0\xCE\xC4\r\n1.1.1.1 a\r\n");
  for (const char* page : {"Up.html", "Dns.html", "Mobile.html", "index.html", "news.html"})
    EXPECT_TRUE(fs::exists(dir / "out" / "web" / page)) << page;
  EXPECT_NE(slurp(dir / "out" / "web" / "news.html").find("云端数据已更新：161207091"), std::string::npos);
  EXPECT_EQ(slurp(dir / "out" / "z" / "ip" / "index.html"), lookupPage());
  fs::remove_all(dir);
}

// The lookup page, once a server has filled it in, is what the client's external-IP window reads.
TEST(CloudSite, TheFilledLookupPageGivesTheClientTheAddressAndPlace) {
  std::string page = lookupPage();
  EXPECT_NE(page.find(kAddressDirective), std::string::npos);
  ExternalIpFound found = extractExternalIp(lookupPageText(filledLookupPage(page, "10.1.2.3", "北京市&nbsp;联通")));
  EXPECT_EQ(found.ip, "10.1.2.3");
  EXPECT_EQ(found.location, "北京市 联通");
  EXPECT_EQ(extractExternalIp(lookupPageText(filledLookupPage(page, "2001:db8::1", "x"))).ip, "2001:db8::1");
  // Anything but an address is left out of the page.
  EXPECT_EQ(extractExternalIp(lookupPageText(filledLookupPage(page, "1.2.3.4<b>", "x"))).ip, "");
}

TEST(CloudSite, ConfigErrorsAreReported) {
  fs::path dir = fs::temp_directory_path() / "zelkora-site-config";
  fs::remove_all(dir);
  SiteConfig c;
  EXPECT_NE(readConfig(dir / "missing.ini", c), "");
  spit(dir / "a.ini", "[Site]\r\nBaseUrl=http://c.test/z\r\nWebsiteUrl=http://c.test/\r\n[Hosts]\r\nMain=m\r\n");
  EXPECT_NE(readConfig(dir / "a.ini", c), "");  // no final slash
  spit(dir / "b.ini", "[Site]\r\nBaseUrl=http://c/z/\r\nWebsiteUrl=http://c/\r\nStamp=12\r\n[Hosts]\r\nMain=m\r\n");
  EXPECT_NE(readConfig(dir / "b.ini", c), "");  // stamp not 9 characters
  fs::remove_all(dir);
}

}  // namespace
}  // namespace zk::cloud

namespace zk::cloud {
namespace {

// The stand-ins answer what the client's parser takes apart: the nickname back, in GBK.
TEST(QqStandIns, NicknameRepliesAndAvatarAnswersFromTheTables) {
  const std::string table = "12345=小红\r\n10001=  Tom\r\n";
  EXPECT_EQ(qqNicknameFromReply(qqNicknameReply(table, "12345")), "小红");
  EXPECT_NE(qqNicknameReply(table, "12345").find(toGbk("小红")), std::string::npos);
  EXPECT_EQ(qqNicknameFromReply(qqNicknameReply(table, "10001")), "Tom");
  for (std::string unknown : {"99999", "", "1234"}) {
    std::string body = qqNicknameReply(table, unknown);
    EXPECT_EQ(body.find(kQqNicknameStart), std::string::npos) << unknown;
    EXPECT_EQ(body.find(kQqNicknameEnd), std::string::npos) << unknown;
  }
  const std::string avatars = "10003=html\r\n10004=empty\r\n10005=missing\r\n";
  EXPECT_EQ(qqAvatarAnswer(avatars, "10003"), AvatarAnswer::Html);
  EXPECT_EQ(qqAvatarAnswer(avatars, "10004"), AvatarAnswer::Empty);
  EXPECT_EQ(qqAvatarAnswer(avatars, "10005"), AvatarAnswer::Missing);
  EXPECT_EQ(qqAvatarAnswer(avatars, "12345"), AvatarAnswer::Picture);
  EXPECT_EQ(qqAvatarAnswer("", "12345"), AvatarAnswer::Picture);
}

}  // namespace
}  // namespace zk::cloud
