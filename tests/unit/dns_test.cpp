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
}

// Field by field against the table written out by hand beside the tests.
TEST(DnsPresets, FieldByFieldAsTheWrittenOutCopy) {
  std::vector<std::string> lines = test::netDataLines("dns_presets.txt");
  ASSERT_EQ(lines.size(), 6u + kDnsPresetCount);
  for (int g = 0; g < 6; ++g) {
    std::vector<std::string> f = test::splitTabs(lines[g]);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[1], std::to_string(g + 1));
    EXPECT_EQ(kDnsGroupCaptions[g], f[2]);
  }
  auto family = [](DnsFamily f) { return f == DnsFamily::IPv4 ? "IPv4" : f == DnsFamily::IPv6 ? "IPv6" : "-"; };
  for (int i = 0; i < kDnsPresetCount; ++i) {
    std::vector<std::string> f = test::splitTabs(lines[6 + i]);
    ASSERT_EQ(f.size(), 6u) << lines[6 + i];
    const DnsPreset& p = kDnsPresets[i];
    EXPECT_EQ(std::to_string(p.group), f[0]) << i;
    EXPECT_EQ(p.caption, f[1]) << i;
    EXPECT_EQ(p.primary, f[2]) << i;
    EXPECT_EQ(p.secondary, f[3]) << i;
    EXPECT_EQ(family(p.family), f[4]) << i;
    EXPECT_EQ(p.hoverText, f[5]) << i;
  }
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

TEST_F(Dns, TheMessageSaysWhatTheConnectionsListHoldsAfterwards) {
  auto box = [this](const char* caption) {
    click(caption);
    rt.runUntilIdle();
    return lastBox();
  };
  // IPv6 on an empty list: both added, the primary first.
  network.states["本地连接"].dnsV6.clear();
  EXPECT_EQ(box("谷歌公司V6").text,
            "您的 IPv6 DNS设置完毕！\r\n\r\n详情如下：\r\n首选：2001:4860:4860::8888\r\n备用：2001:4860:4860::8844"
            "\r\n\r\nDNS已生效！");
  EXPECT_EQ(processes.waited[1],
            tool("netsh", "interface ipv6 add dnsserver \"本地连接\" 2001:4860:4860::8844 index=2"));
  // The same again: both adds meet their address already in the list and are refused, yet what
  // they asked for holds.
  processes.waited.clear();
  EXPECT_EQ(box("谷歌公司V6").title, "恭喜！");
  EXPECT_EQ(processes.waited.size(), 2u);
  EXPECT_EQ(network.states["本地连接"].dnsV6,
            (std::vector<std::string>{"2001:4860:4860::8888", "2001:4860:4860::8844"}));
  // An earlier IPv6 server stays ahead of the added primary: not in effect, and it is named.
  network.states["本地连接"].dnsV6 = {"2001:db8::53"};
  auto shown = box("OpenV6");
  EXPECT_EQ(shown.title, "抱歉！");
  EXPECT_EQ(shown.text.find("DNS已生效"), std::string::npos);
  EXPECT_NE(shown.text.find("首选：2620:0:ccc::2（未生效）\r\n备用：2620:0:ccd::2（已设置）"), std::string::npos);
  EXPECT_NE(shown.text.find("首先使用的DNS：2001:db8::53"), std::string::npos);
  // A refused second IPv4 command: the first one holds, the message says which part.
  processes.waited.clear();
  processes.outcomes = {ProcessOutcome{true, true, 0}, ProcessOutcome{true, true, 1}};
  shown = box("114DNS");
  EXPECT_EQ(shown.title, "抱歉！");
  EXPECT_NE(shown.text.find("只设置了一部分"), std::string::npos);
  EXPECT_NE(shown.text.find("首选DNS已生效，备用DNS未生效。"), std::string::npos);
  EXPECT_NE(shown.text.find("没有成功的命令：\r\n" + processes.waited[1]), std::string::npos);
  EXPECT_NE(std::find(win.statuses.begin(), win.statuses.end(), "设置失败！"), win.statuses.end());
  // A refused first command: the second still runs; the list does not start with the primary.
  processes.waited.clear();
  processes.outcomes = {ProcessOutcome{true, true, 1}, ProcessOutcome{true, true, 0}};
  network.states["本地连接"].dnsV4 = {"10.0.0.1"};
  shown = box("阿里DNS");
  EXPECT_EQ(processes.waited.size(), 2u);
  EXPECT_EQ(shown.text.rfind("DNS设置没有成功，DNS未生效。", 0), 0u);
  EXPECT_NE(shown.text.find("首选：223.5.5.5（未生效）\r\n备用：223.6.6.6（已设置）"), std::string::npos);
  // Every command ended cleanly, but the connection's list was not changed (a system that ignores
  // netsh): exit codes never make a success.
  processes.outcomes.clear();
  processes.after = [this] { network.states["本地连接"].dnsV4 = {"10.0.0.1"}; };
  EXPECT_EQ(box("腾讯DNS").title, "抱歉！");
  processes.after = nullptr;
  network.states.clear();
  EXPECT_NE(box("腾讯DNS").text.find("无法读回该连接现在的DNS设置"), std::string::npos);
}

TEST(DnsJudge, TheListOfTheFamilyDecidesAndAddressesCompareWithoutCase) {
  ConnectionState s{true, true, {"1.1.1.1", "8.8.4.4"}, {"2001:DB8::1"}};
  auto v4 = judgeDns(DnsFamily::IPv4, "1.1.1.1", "8.8.4.4", s);
  EXPECT_TRUE(v4.tookEffect());
  EXPECT_FALSE(judgeDns(DnsFamily::IPv4, "8.8.4.4", "1.1.1.1", s).primaryFirst);
  EXPECT_TRUE(judgeDns(DnsFamily::IPv4, "8.8.4.4", "1.1.1.1", s).secondaryListed);
  auto v6 = judgeDns(DnsFamily::IPv6, "2001:db8::1", "1.1.1.1", s);
  EXPECT_TRUE(v6.primaryFirst);
  EXPECT_FALSE(v6.secondaryListed);  // an IPv4 server is not in the IPv6 list
  EXPECT_FALSE(judgeDns(DnsFamily::IPv4, "1.1.1.1", "8.8.4.4", std::nullopt).readable);
  EXPECT_FALSE(judgeDns(DnsFamily::IPv4, "1.1.1.1", "1.1.1.1", ConnectionState{}).tookEffect());
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

TEST_F(Dns, TheConnectionInUseAndNone) {
  onlyConnection("WLAN");
  network.list.push_back({"以太网", true, true, false, false});
  click("阿里DNS");
  rt.runUntilIdle();
  EXPECT_EQ(processes.waited,
            (std::vector<std::string>{tool("netsh", "interface IP Set dns \"WLAN\" static 223.5.5.5 primary"),
                                      tool("netsh", "interface IP add dns \"WLAN\" 223.6.6.6")}));
  EXPECT_EQ(lastBox().title, "恭喜！");
  EXPECT_NE(lastBox().text.find("DNS已生效！\r\n\r\n本机没有已启用的“本地连接”，已改为作用于正在使用的网络连接：WLAN"),
            std::string::npos);
  network.list.clear();
  click("阿里DNS");
  rt.runUntilIdle();
  EXPECT_EQ(processes.waited.size(), 2u);
  EXPECT_EQ(lastBox().title, "抱歉！");
}

TEST_F(Dns, LinksAndTheCloseWhileApplying) {
  logic.onCommand(DnsCommand::Notes);
  EXPECT_EQ(lastBox().title, "相关说明");
  EXPECT_EQ(lastBox().text.substr(0, 9), "请根据");
  logic.onCommand(DnsCommand::Suggest);
  EXPECT_EQ(suggestions, 1);
  // While the apply runs its lines, a close (Alt+F4, the taskbar) is refused: the apply goes on
  // and reports.
  click("根A(美国)");
  rt.advance(2000);
  logic.onCommand(DnsCommand::Close);
  EXPECT_FALSE(win.closed);
  EXPECT_FALSE(main.shown);
  EXPECT_TRUE(rt.isRunning(TaskSlot::DnsApply));
  rt.runUntilIdle();
  EXPECT_EQ(prompt.shown.size(), 2u);
  EXPECT_EQ(lastBox().title, "恭喜！");
  logic.onCommand(DnsCommand::Close);
  EXPECT_TRUE(win.closed);
  EXPECT_TRUE(main.shown);
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
