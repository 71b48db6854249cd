// The cloud connection, its indicator and reconnection, the update check and the web links.
#include <gtest/gtest.h>

#include "tests/unit/sync_fixture.h"

namespace zk {
namespace {

using test::kBase;
using test::kHosts;
using test::SyncProgram;

TEST(Cloud, ConnectsReadsTheSmallFilesAndShowsTheIndicator) {
  SyncProgram p;
  p.start();
  p.cloud.connect();
  p.rt.advance(1100);
  EXPECT_EQ(p.cloud.values.base, kBase);
  EXPECT_EQ(p.cloud.values.online, "1");
  EXPECT_EQ(p.sync.news, "http://www.test/news.html?Client:V1.6");
  p.rt.advance(4000);
  EXPECT_EQ(p.sync.indicators, (std::vector<Indicator>{Indicator::None, Indicator::Connecting,
                                                       Indicator::ConnectedFirst, Indicator::Connected}));
  EXPECT_EQ(Cloud::indicatorHover(p.cloud.indicator()), "已连接至云端！");
  EXPECT_EQ(p.cloud.webLink("Dns.html"), "http://www.test/Dns.html?Client:V1.6");
  p.rt.advance(10'000);
  // The indicator started the status reader: no local file yet, the cloud's stamp read.
  EXPECT_EQ(p.sync.local, "尚未发现！");
  EXPECT_EQ(p.sync.cloud, "161207091");
}

TEST(Cloud, AFlagWithALineBreakIsOfflineAndReconnects) {
  SyncProgram p;
  p.start();
  p.http.serve(std::string(kBase) + "ol.css", "1\r\n");
  p.cloud.connect();
  p.rt.advance(5200);
  EXPECT_EQ(p.sync.indicators.back(), Indicator::Offline);
  EXPECT_EQ(Cloud::indicatorHover(Indicator::Offline), "云端连接失败！");
  int before = p.http.count(std::string(kBase) + "ol.css");
  p.rt.advance(15'000);
  EXPECT_GT(p.http.count(std::string(kBase) + "ol.css"), before);
  EXPECT_EQ(p.sync.cloud, "连接失败");
}

// The reconnection must not depend on the server chosen: with the custom server ticked the
// status reader shows "不予支持！", and the cloud connection is retried all the same.
TEST(Cloud, OfflineWithTheCustomServerTickedStillReconnects) {
  SyncProgram p;
  p.start();
  p.settings.tick(Server::Custom);
  p.http.serve(std::string(kBase) + "ol.css", "0");
  p.cloud.connect();
  p.rt.advance(30'000);
  EXPECT_EQ(p.sync.cloud, "不予支持！");
  EXPECT_GE(p.http.count(std::string(kBase) + "ol.css"), 2);
  p.http.serve(std::string(kBase) + "ol.css", "1");
  p.rt.advance(30'000);
  EXPECT_EQ(p.cloud.values.online, "1");
  EXPECT_EQ(p.sync.indicators.back(), Indicator::Connected);
}

// Addresses from the cloud reach the browser only when they are web addresses.
TEST(Cloud, OnlyWebAddressesFromTheCloudAreOpened) {
  SyncProgram p;
  p.start();
  p.http.serve(std::string(kBase) + "gw.css", "file:///C:/Windows/system32/");
  p.http.serve(std::string(kBase) + "id.css", "\\\\evil\\share\\x.exe");
  p.cloud.connect();
  p.rt.advance(1200);
  EXPECT_TRUE(p.cloud.onCommand(MainCommand::BestDns));
  EXPECT_TRUE(p.cloud.onCommand(MainCommand::News));
  EXPECT_TRUE(p.shell.opened.empty());
  p.http.serve(std::string(kBase) + "bb.css", "1.7");  // the update page under the same base
  p.cloud.connect();
  p.rt.advance(1200);
  EXPECT_TRUE(p.sync.quitted);
  EXPECT_TRUE(p.shell.opened.empty());
  p.cloud.values.websiteBase = "http://www.test/";
  p.cloud.onCommand(MainCommand::Android);
  EXPECT_EQ(p.shell.opened, std::vector<std::string>{"http://www.test/Mobile.html?Client:V1.6"});
}

TEST(Cloud, TheAboutWindowsHomePageIsTheWebsitesIndex) {
  SyncProgram p;
  p.start();
  p.cloud.connect();
  p.rt.advance(1200);
  test::FakeAboutView about;
  AboutLogic logic(about, p.view, p.clock, p.values, [&] { p.cloud.openWebLink("index.html"); });
  logic.onCommand(AboutCommand::Home);
  EXPECT_EQ(p.shell.opened, std::vector<std::string>{"http://www.test/index.html?Client:V1.6"});
}

TEST(Cloud, UpdatePromptOnlyForANewerNumberAndOnlyOnce) {
  for (auto [version, prompts] : std::vector<std::pair<std::string, bool>>{{"1.6", false},
                                                                           {"1.60001", true},
                                                                           {"1.7", true},
                                                                           {"abc", false},
                                                                           {"", false},
                                                                           {"0.9", false},
                                                                           {"inf", false},
                                                                           {"nan", false},
                                                                           {"0x2", false},
                                                                           {"1e9", false}}) {
    SyncProgram p;
    p.start();
    p.http.serve(std::string(kBase) + "bb.css", version);
    p.cloud.connect();
    p.rt.advance(1200);
    EXPECT_EQ(p.sync.quitted, prompts) << version;
    if (!prompts) continue;
    ASSERT_EQ(p.prompt.shown.size(), 1u);
    EXPECT_EQ(p.prompt.shown[0].text, "有新的版本可升级，点击确定进行更新！");
    EXPECT_EQ(p.prompt.shown[0].title, "以旧换新");
    EXPECT_EQ(p.prompt.shown[0].flags, 262144u);
    EXPECT_EQ(p.shell.opened.back(), "http://www.test/Up.html?V1.6");
    EXPECT_FALSE(p.view.shown);
  }
  SyncProgram again;
  again.start();
  again.values.updatePromptShown = true;
  again.http.serve(std::string(kBase) + "bb.css", "2.0");
  again.cloud.connect();
  again.rt.advance(1200);
  EXPECT_FALSE(again.sync.quitted);
}

}  // namespace
}  // namespace zk
