#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/unit/network_fixture.h"
#include "text/address.h"

namespace zk {
namespace {

class FakeDnsView : public DnsView {
 public:
  void setStatus(const std::string& t) override { statuses.push_back(t); }
  void setBusy(bool b) override { busy = b; }
  void setOverlay(bool o) override { overlay = o; }
  void setCommandLines(const std::string& a, const std::string& b) override { lines = {a, b}; }
  std::string customServer() const override { return custom; }
  void close() override { closed = true; }
  std::vector<std::string> statuses;
  std::pair<std::string, std::string> lines;
  std::string custom;
  bool busy = false, overlay = false, closed = false;
};

struct Dns : ::testing::Test, test::NetworkBench {
  FakeDnsView win;
  DnsLogic logic{DnsServices{rt, repair, prompt, main}, win};
  int rebuilds = 0, suggestions = 0;
  Dns() {
    logic.rebuildTempFolder = [this] { ++rebuilds; };
    logic.openSuggestion = [this] { ++suggestions; };
    logic.onCreated();
  }
  int index(const std::string& caption) {
    for (int i = 0; i < kDnsPresetCount; ++i)
      if (caption == kDnsPresets[i].caption) return i;
    return -1;
  }
  void click(const std::string& caption) { logic.onCommand(static_cast<DnsCommand>(index(caption))); }
};

TEST(DnsPresets, TheTableAsPublished) {
  std::map<int, int> perGroup;
  std::set<std::string> captions;
  int v6 = 0;
  for (const DnsPreset& p : kDnsPresets) {
    ++perGroup[p.group];
    captions.insert(p.caption);
    EXPECT_FALSE(std::string(p.hoverText).empty()) << p.caption;
    if (p.family == DnsFamily::None) {
      EXPECT_STREQ(p.caption, "Norton");
      continue;
    }
    bool (*valid)(std::string_view) = p.family == DnsFamily::IPv6 ? isIpv6Address : isIpv4Address;
    EXPECT_TRUE(valid(p.primary)) << p.caption;
    EXPECT_TRUE(valid(p.secondary)) << p.caption;
    if (p.group == 6) {
      EXPECT_STREQ(p.secondary, kFixedSecondaryDns) << p.caption;
    }
    v6 += p.family == DnsFamily::IPv6;
    EXPECT_EQ(p.family == DnsFamily::IPv6, p.group == 5) << p.caption;
  }
  EXPECT_EQ(captions.size(), 62u);
  EXPECT_EQ(perGroup, (std::map<int, int>{{1, 7}, {2, 7}, {3, 7}, {4, 21}, {5, 7}, {6, 13}}));
  EXPECT_EQ(v6, 7);
  // Spot checks across the table: first, last, the ones the notes name.
  EXPECT_STREQ(kDnsPresets[0].primary, "202.96.64.68");
  EXPECT_STREQ(kDnsPresets[8].caption, "114DNS");
  EXPECT_STREQ(kDnsPresets[8].secondary, "114.114.115.115");
  EXPECT_STREQ(kDnsPresets[21].caption, "谷歌公司");
  EXPECT_STREQ(kDnsPresets[42].caption, "谷歌公司V6");
  EXPECT_STREQ(kDnsPresets[42].secondary, "2001:4860:4860::8844");
  EXPECT_STREQ(kDnsPresets[61].caption, "根M(日本)");
  EXPECT_STREQ(kDnsPresets[61].primary, "202.12.27.33");
  EXPECT_STREQ(kDnsPresets[41].hoverText, "Exetl推出的公共域名解析服务。全球著名的DNS之一。");
  EXPECT_STREQ(kDnsGroupCaptions[1], "国家、国内公司、联通用户（IPv4)：");
}

TEST(DnsCommands, EveryPresetExpandsToTwoCommandLinesOfItsFamily) {
  for (const DnsPreset& p : kDnsPresets) {
    if (p.family == DnsFamily::None) continue;
    ToolCommand one = dnsCommand(p.family, 1, p.primary), two = dnsCommand(p.family, 2, p.secondary);
    EXPECT_EQ(one.tool, "netsh");
    EXPECT_EQ(two.tool, "netsh");
    if (p.family == DnsFamily::IPv4) {
      EXPECT_EQ(one.arguments, "interface IP Set dns \"本地连接\" static " + std::string(p.primary) + " primary");
      EXPECT_EQ(two.arguments, "interface IP add dns \"本地连接\" " + std::string(p.secondary));
    } else {
      EXPECT_EQ(one.arguments, "interface ipv6 add dnsservers \"本地连接\" " + std::string(p.primary));
      EXPECT_EQ(two.arguments, "interface ipv6 add dnsserver \"本地连接\" " + std::string(p.secondary) + " index=2");
    }
  }
  EXPECT_EQ(dnsCommand(DnsFamily::IPv4, 1, "", "以太网").arguments, "interface IP Set dns \"以太网\" static  primary");
  // A connection named like a placeholder is not taken for one.
  EXPECT_EQ(dnsCommand(DnsFamily::IPv4, 2, "1.1.1.1", "备用DNS").arguments, "interface IP add dns \"备用DNS\" 1.1.1.1");
}

TEST_F(Dns, A114ClickRunsBothLinesInOrderWithTheWaitsThenSaysItTookEffect) {
  EXPECT_FALSE(main.shown);
  click("114DNS");
  EXPECT_TRUE(win.overlay);
  EXPECT_TRUE(win.busy);
  EXPECT_EQ(win.statuses.back(), "开始中...");
  EXPECT_EQ(rebuilds, 1);
  rt.advance(999);
  EXPECT_TRUE(processes.waited.empty());
  rt.advance(1);
  EXPECT_EQ(processes.waited,
            (std::vector<std::string>{tool("netsh", "interface IP Set dns \"本地连接\" static 114.114.114.114 primary"),
                                      tool("netsh", "interface IP add dns \"本地连接\" 114.114.115.115")}));
  EXPECT_EQ(win.lines.first, processes.waited[0]);
  EXPECT_EQ(win.lines.second, processes.waited[1]);
  rt.advance(800);  // the first tick at 600 ms, its three steps 80 ms apart
  EXPECT_EQ(win.statuses.back(), "正在设置中，请稍后...");
  rt.advance(4000 + 700 + 1000 - 800 - 1);
  EXPECT_TRUE(prompt.shown.empty());
  EXPECT_EQ(win.statuses.back(), "设置完毕！");
  EXPECT_FALSE(win.busy);
  rt.advance(1);
  EXPECT_EQ(
      lastBox().text,
      "您的 IPv4 DNS设置完毕！\r\n\r\n详情如下：\r\n首选：114.114.114.114\r\n备用：114.114.115.115\r\n\r\nDNS已生效！");
  EXPECT_EQ(lastBox().title, "恭喜！");
  EXPECT_EQ(lastBox().flags, 0u);
  rt.advance(499);
  EXPECT_TRUE(win.overlay);
  rt.advance(1);
  EXPECT_FALSE(win.overlay);
  EXPECT_EQ(win.statuses.back(), kDnsIdleText);
}

TEST_F(Dns, AnIpv6PresetAndAFailedCommand) {
  // A refused first command: the second still runs.
  processes.outcomes = {ProcessOutcome{true, true, 1}, ProcessOutcome{true, true, 0}};
  click("谷歌公司V6");
  rt.runUntilIdle();
  ASSERT_EQ(processes.waited.size(), 2u);
  EXPECT_EQ(processes.waited[1],
            tool("netsh", "interface ipv6 add dnsserver \"本地连接\" 2001:4860:4860::8844 index=2"));
  EXPECT_EQ(lastBox().title, "抱歉！");
  EXPECT_NE(lastBox().text.find("DNS未生效"), std::string::npos);
  EXPECT_EQ(lastBox().text.find("DNS已生效"), std::string::npos);
  EXPECT_NE(std::find(win.statuses.begin(), win.statuses.end(), "设置失败！"), win.statuses.end());
  processes.outcomes = {ProcessOutcome{true, true, 0}};
  click("谷歌公司V6");
  rt.runUntilIdle();
  EXPECT_EQ(lastBox().text.substr(0, 30), "您的 IPv6 DNS设置完毕！");
}

TEST_F(Dns, TheCustomBoxTakesAnIpv4AddressOnlyAndPairsItWithTheFixedSecondary) {
  for (const char* refused : {"", "fe80::1", "abc.def", "8.8.8.8 & calc", " 8.8.8.8", "8.8.8", "08.8.8.8"}) {
    win.custom = refused;
    logic.onCommand(DnsCommand::Apply);
    EXPECT_EQ(lastBox().text, "填写错误，请严格按照格式填写！") << refused;
    EXPECT_EQ(lastBox().title, "抱歉！");
  }
  rt.runUntilIdle();
  EXPECT_TRUE(processes.waited.empty());
  win.custom = "8.8.8.8";
  logic.onCommand(DnsCommand::Apply);
  rt.runUntilIdle();
  EXPECT_EQ(processes.waited.back(), tool("netsh", "interface IP add dns \"本地连接\" 74.82.42.42"));
  EXPECT_EQ(logic.primaryDns(), "8.8.8.8");
}

TEST_F(Dns, NortonIsInertAndClicksPastTheOverlayWait) {
  click("Norton");
  rt.runUntilIdle();
  EXPECT_TRUE(processes.waited.empty());
  EXPECT_TRUE(prompt.shown.empty());
  click("阿里DNS");
  click("腾讯DNS");  // during the apply: ignored
  rt.runUntilIdle();
  EXPECT_EQ(processes.waited.size(), 2u);
  EXPECT_EQ(logic.primaryDns(), "223.5.5.5");
}

TEST_F(Dns, OtherConnectionsAndNone) {
  network.list = {{"以太网", true, true}, {"WLAN", true, true}};
  click("阿里DNS");
  rt.runUntilIdle();
  EXPECT_EQ(processes.waited.size(), 4u);
  EXPECT_EQ(processes.waited[2], tool("netsh", "interface IP Set dns \"WLAN\" static 223.5.5.5 primary"));
  EXPECT_NE(lastBox().text.find("已改为作用于：以太网、WLAN"), std::string::npos);
  network.list.clear();
  click("阿里DNS");
  rt.runUntilIdle();
  EXPECT_EQ(processes.waited.size(), 4u);
  EXPECT_EQ(lastBox().title, "抱歉！");
}

TEST_F(Dns, LinksAndTheCloseWhileApplying) {
  logic.onCommand(DnsCommand::Notes);
  EXPECT_EQ(lastBox().title, "相关说明");
  EXPECT_EQ(lastBox().text.substr(0, 9), "请根据");
  logic.onCommand(DnsCommand::Suggest);
  EXPECT_EQ(suggestions, 1);
  click("根A(美国)");
  rt.advance(2000);
  logic.onCommand(DnsCommand::Close);
  EXPECT_TRUE(main.shown);
  EXPECT_TRUE(win.closed);
  EXPECT_FALSE(rt.isRunning(TaskSlot::DnsApply));
  rt.runUntilIdle();
  EXPECT_TRUE(prompt.shown.size() == 1u);  // the notes only
}

TEST_F(Dns, AutomaticAddressingFromTheWindowKeepsTheOverlayUpMeanwhile) {
  logic.onCommand(DnsCommand::Automatic);
  EXPECT_TRUE(win.overlay);
  rt.runUntilIdle();
  EXPECT_FALSE(win.overlay);
  EXPECT_EQ(processes.waited, std::vector<std::string>{script("ZDipdns.bat")});
  EXPECT_EQ(lastBox().text, "已将本地连接配置为：自动获取！");
}

}  // namespace
}  // namespace zk
