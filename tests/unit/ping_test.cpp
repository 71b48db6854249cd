#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "nettools/ping.h"
#include "nettools/web_ping.h"
#include "tests/support/editor_fakes.h"
#include "tests/unit/network_fixture.h"
#include "text/gbk.h"

namespace zk {
namespace {

TEST(PingTarget, AddressesAndHostNamesOnly) {
  for (const char* good : {"127.0.0.1", "www.example.com", "localhost", "xn--fiq228c.com", "::1", "fe80::1%12",
                           "fe80::1%eth0", "2001:db8::8:800:200c:417a", "8.8.8.8", "a-b.c", "1e100.net"})
    EXPECT_TRUE(isPingTarget(good)) << good;
  for (const char* bad : {"",
                          "127.0.0.1 & echo x> C:\\x.txt",
                          "a.com|calc",
                          "a.com&calc",
                          "-t",
                          "-n 100 a.com",
                          "a.com -t",
                          "%PATH%",
                          "a.com\r\ncalc",
                          "a.com\ncalc",
                          "\"a.com\"",
                          "a.com>x",
                          "a.com<x",
                          "a^b",
                          "中文.com",
                          "127.0.0.1%",
                          "127.0.0.1%1",
                          "::1%",
                          "::1%a b",
                          "::1%a&b",
                          ".com",
                          " a.com",
                          "a.com ",
                          "a_b.com",
                          "(a)",
                          "a;b",
                          "a,b"})
    EXPECT_FALSE(isPingTarget(bad)) << bad;
  EXPECT_FALSE(isPingTarget(std::string(254, 'a')));
  EXPECT_TRUE(isPingTarget(std::string(253, 'a')));
}

TEST(PingTarget, TheScriptLineNamesTheSystemsPingKeepsAPercentAndQuotesTheOutput) {
  ProgramValues v;
  v.systemFolder = "C:\\Windows\\system32\\";
  EXPECT_EQ(pingScriptLine(v, "127.0.0.1", "D:\\my data\\Tem\\Ping.txt"),
            "\"C:\\Windows\\system32\\ping.exe\" 127.0.0.1 >\"D:\\my data\\Tem\\Ping.txt\"");
  EXPECT_EQ(pingScriptLine(v, "fe80::1%12", "C:\\100%\\Tem\\Ping.txt"),
            "\"C:\\Windows\\system32\\ping.exe\" fe80::1%%12 >\"C:\\100%%\\Tem\\Ping.txt\"");
}

// A few names with their known ASCII forms; anything else is refused.
class FakeDomainNames : public DomainNames {
 public:
  std::optional<std::string> toAscii(const std::string& utf8) override {
    asked.push_back(utf8);
    auto it = known.find(utf8);
    if (it != known.end()) return it->second;
    return std::nullopt;
  }
  std::map<std::string, std::string> known{{"中文.com", "xn--fiq228c.com"}, {"例子.测试", "xn--fsqu00a.xn--0zwm56d"}};
  std::vector<std::string> asked;
};

TEST(PingTarget, PastedBlanksAreTrimmedAndOtherScriptsConvertedBeforeTheCheck) {
  FakeDomainNames names;
  EXPECT_EQ(pingTargetOf("  127.0.0.1\r\n", names), "127.0.0.1");
  EXPECT_EQ(pingTargetOf("\t www.example.com \n", names), "www.example.com");
  EXPECT_EQ(pingTargetOf("\xE3\x80\x80"
                         "a.com\xC2\xA0",
                         names),
            "a.com");
  EXPECT_TRUE(names.asked.empty());  // ASCII names need no conversion
  EXPECT_EQ(pingTargetOf(" 中文.com\r\n", names), "xn--fiq228c.com");
  EXPECT_EQ(pingTargetOf("例子.测试", names), "xn--fsqu00a.xn--0zwm56d");
  EXPECT_EQ(names.asked, (std::vector<std::string>{"中文.com", "例子.测试"}));
  // What lies between the blanks is checked as strictly as ever, before and after a conversion.
  for (const char* bad : {"  ", "\r\n", "127.0.0.1 & calc", " a.com\r\ncalc", "a.com|calc\n", "未知.com",
                          "中文.com & calc", "-t 中文.com"})
    EXPECT_FALSE(pingTargetOf(bad, names)) << bad;
  names.known["坏.com"] = "a.com&calc";
  EXPECT_FALSE(pingTargetOf("坏.com", names));
  EXPECT_EQ(trimPastedTarget(" \t\r\n"), "");
  EXPECT_EQ(trimPastedTarget("a b"), "a b");
}

class FakePingView : public PingView {
 public:
  std::string target() const override { return targetText; }
  void setTarget(const std::string& t) override { targetText = t; }
  void setOutput(const std::string& t) override {
    output = t;
    ++outputs;
  }
  void close() override { closed = true; }
  std::string targetText = "127.0.0.1", output;
  int outputs = 0;
  bool closed = false;
};

struct Ping : ::testing::Test, test::NetworkBench {
  test::FakeClipboard clipboard;
  FakeDomainNames names;
  test::FakeRandom random;
  FakePingView win;
  PingLogic logic{
      PingServices{rt, fs, clipboard, names, random, temp, main, values, [](std::string_view b) { return fromGbk(b); }},
      win};
  std::string out() const { return tem() + "\\Ping.txt"; }
  Ping() {
    random.value = 300;
    logic.onCreated();
  }
};

TEST_F(Ping, TheScriptTheCountdownThenTheOutputOnceBothAreDone) {
  EXPECT_FALSE(main.shown);
  fs.addFile(out(), "an earlier run's output");
  processes.onRun = [this](const std::string&) {
    fs.writeFile(out(), toGbk("正在 Ping 127.0.0.1\r\n来自 127.0.0.1 的回复") + '\0' + "x");
  };
  logic.onCommand(PingCommand::Start);
  EXPECT_EQ(fs.bytes(tem() + "\\Ping.bat"), toGbk(tool("ping", "127.0.0.1 >\"" + out() + "\"")));
  EXPECT_EQ(random.calls.back(), (std::pair<int, int>{250, 450}));
  EXPECT_EQ(processes.waited, std::vector<std::string>{script("Ping.bat")});
  EXPECT_EQ(processes.caps, std::vector<int>{kPingCapMs});
  rt.advance(1);
  EXPECT_EQ(win.output, "正在执行命令，请稍后... 299");
  rt.advance(298);
  EXPECT_EQ(win.output, "正在执行命令，请稍后... 1");
  rt.advance(1);
  EXPECT_EQ(win.output, "正在 Ping 127.0.0.1\r\n来自 127.0.0.1 的回复");
  rt.advance(100);
  EXPECT_EQ(win.outputs, 301);  // 300 ticks and the output: the timer stopped
}

TEST_F(Ping, ASlowPingKeepsTheCountdownTextUntilItEnds) {
  rt.workDelayMs = 8000;  // an unreachable target, 16 s: the ping and then the read of its file
  random.value = 250;
  processes.onRun = [this](const std::string&) { fs.writeFile(out(), "Request timed out."); };
  logic.onCommand(PingCommand::Start);
  rt.advance(250);
  EXPECT_EQ(win.output, "正在执行命令，请稍后... 0");
  rt.advance(15000);
  EXPECT_EQ(win.output, "正在执行命令，请稍后... 0");
  rt.advance(1000);
  EXPECT_EQ(win.output, "Request timed out.");
  // A fast one that wrote nothing: the failure text once the countdown is over.
  rt.workDelayMs = 0;
  processes.onRun = nullptr;
  logic.onCommand(PingCommand::Start);
  rt.advance(249);
  EXPECT_EQ(win.output, "正在执行命令，请稍后... 1");
  rt.advance(1);
  EXPECT_EQ(win.output, "执行失败！");
}

TEST_F(Ping, APastedChineseDomainIsPingedByItsAsciiName) {
  win.targetText = "\r\n 中文.com \r\n";
  logic.onCommand(PingCommand::Start);
  EXPECT_EQ(fs.bytes(tem() + "\\Ping.bat"), toGbk(tool("ping", "xn--fiq228c.com >\"" + out() + "\"")));
  win.targetText = " \r\n";
  logic.onCommand(PingCommand::Start);
  EXPECT_EQ(win.output, "您尚未输入任何IP/域名，无法执行。");
}

TEST_F(Ping, RefusedTargetsRunNothing) {
  for (const char* bad : {"", "127.0.0.1 & echo x> C:\\x.txt"}) {
    win.targetText = bad;
    logic.onCommand(PingCommand::Start);
    EXPECT_NE(win.output.find("无法执行。"), std::string::npos) << bad;
  }
  EXPECT_EQ(win.output, "您输入的IP/域名格式不正确（只能是IP地址或域名），无法执行。");
  rt.runUntilIdle();
  EXPECT_TRUE(processes.waited.empty());
  EXPECT_FALSE(fs.fileExists(tem() + "\\Ping.bat"));
}

TEST_F(Ping, PressPasteAndClose) {
  logic.onCommand(PingCommand::TargetPressed);
  EXPECT_EQ(win.targetText, "");
  clipboard.content = "www.example.com";
  logic.onCommand(PingCommand::Paste);
  EXPECT_EQ(win.targetText, "www.example.com");
  clipboard.content.reset();
  logic.onCommand(PingCommand::Paste);
  EXPECT_EQ(win.targetText, "");
  logic.onCommand(PingCommand::Close);
  EXPECT_TRUE(main.shown);
  EXPECT_TRUE(win.closed);
}

// Holding Enter in the target box: each start ends the ping before it, and the runs that had
// not reached a worker yet never start.
TEST_F(Ping, ANewStartOrTheCloseEndsThePingBeforeIt) {
  logic.onCommand(PingCommand::Start);
  logic.onCommand(PingCommand::Start);
  ASSERT_EQ(processes.stops.size(), 2u);
  EXPECT_TRUE(processes.stops[0].stop_requested());
  EXPECT_FALSE(processes.stops[1].stop_requested());
  logic.onCommand(PingCommand::Close);
  EXPECT_TRUE(processes.stops[1].stop_requested());

  processes.waited.clear();
  rt.workDelayMs = 5000;  // every worker is busy for a while
  for (int i = 0; i < 30; ++i) {
    logic.onCommand(PingCommand::Start);
    rt.advance(20);
  }
  rt.runUntilIdle();
  EXPECT_EQ(processes.waited.size(), 1u);
}

TEST_F(Ping, WithoutTemTheRunFailsVisibly) {
  fs.deleteFolderTree(tem());
  logic.onCommand(PingCommand::Start);
  rt.runUntilIdle();
  EXPECT_TRUE(processes.waited.empty());
  EXPECT_EQ(win.output, "执行失败！");
}

class FakeWebPingView : public WebPingView {
 public:
  bool hasBrowser() const override { return browser; }
  void navigate(const std::string& url) override { navigated.push_back(url); }
  void hideHint() override { hintHidden = true; }
  void maximise() override { maximised = true; }
  void close() override { closed = true; }
  bool browser = true, hintHidden = false, maximised = false, closed = false;
  std::vector<std::string> navigated;
};

TEST(WebPing, ButtonsNavigateOrOpenTheBrowserWithoutAnEngine) {
  FakeWebPingView win;
  test::FakeMainView main;
  test::FakeShell shell;
  WebPingLogic logic(win, main, shell);
  logic.onCreated();
  EXPECT_FALSE(main.shown);
  logic.onCommand(static_cast<WebPingCommand>(6));
  EXPECT_EQ(win.navigated, std::vector<std::string>{kWebPingServices[6].url});
  EXPECT_TRUE(win.hintHidden && win.maximised);
  EXPECT_EQ(std::string(kWebPingServices[6].url).substr(0, 8), "https://");
  EXPECT_EQ(std::string(kWebPingServices[1].url).substr(std::string(kWebPingServices[1].url).size() - 10),
            "/Ping.aspx");
  win.browser = false;
  logic.onCommand(static_cast<WebPingCommand>(0));
  EXPECT_EQ(shell.opened, std::vector<std::string>{kWebPingServices[0].url});
  EXPECT_EQ(win.navigated.size(), 1u);
  logic.onCommand(WebPingCommand::Close);
  EXPECT_TRUE(main.shown && win.closed);
}

}  // namespace
}  // namespace zk
