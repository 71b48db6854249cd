#include <gtest/gtest.h>

#include "nettools/external_ip.h"
#include "tests/support/fakes.h"
#include "tests/support/sync_fakes.h"
#include "tests/support/virtual_runtime.h"
#include "text/gbk.h"

namespace zk {
namespace {

const std::string kPage =
    "<html><head><meta charset=\"utf-8\"></head><body>\n"
    "<p>您当前的IP为：<span class=\"red\">1.2.3.4</span></p>\n"
    "<p>该IP所在地为：<span>北京市&nbsp;联通&nbsp;</span></p>\n"
    "<p>该IP所在地为：<span>second</span></p>\n</body></html>";

TEST(ExternalIpPage, TheFirstMatchOfEachCleaned) {
  ExternalIpFound f = extractExternalIp(kPage);
  EXPECT_EQ(f.ip, "1.2.3.4");
  EXPECT_EQ(f.location, "北京市 联通 ");
}

TEST(ExternalIpPage, NoMatchAcrossLinesOrInAnotherPage) {
  EXPECT_FALSE(extractExternalIp("<p>你好</p>").ip);
  EXPECT_FALSE(extractExternalIp("").location);
  // "." does not cross a line break.
  ExternalIpFound split = extractExternalIp("您当前的IP为：1.2.3.4\n</span></p><p>该IP所在地为：<span>a\nb</span></p>");
  EXPECT_FALSE(split.ip);
  EXPECT_FALSE(split.location);
  // Case counts.
  EXPECT_FALSE(extractExternalIp("您当前的IP为：1.2.3.4</SPAN></P>").ip);
}

TEST(ExternalIpPage, HugeOrHostilePagesEndWithoutAnAnswer) {
  std::string huge(3u << 20, 'x');
  huge += "您当前的IP为：9.9.9.9</span></p>";
  EXPECT_FALSE(extractExternalIp(huge).ip);  // past the cap
  std::string hostile;
  for (int i = 0; i < 20000; ++i) hostile += "您当前的IP为：";
  EXPECT_FALSE(extractExternalIp(hostile).ip);
}

TEST(ExternalIpPage, TheCharsetDecidesTheDecoding) {
  std::string gbk =
      toGbk("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=GB2312\">您当前的IP为：5.6.7.8</span></p>");
  EXPECT_EQ(extractExternalIp(lookupPageText(gbk)).ip, "5.6.7.8");
  // No charset: UTF-8 when the bytes are, else GBK.
  EXPECT_EQ(lookupPageText("您好"), "您好");
  EXPECT_EQ(lookupPageText(toGbk("您好")), "您好");
}

class FakeIpView : public ExternalIpView {
 public:
  void setIp(const std::string& t) override { ip = t; }
  void setLocation(const std::string& t) override { location = t; }
  void close() override { closed = true; }
  std::string ip, location;
  bool closed = false;
};

struct ExternalIp : ::testing::Test {
  test::VirtualRuntime rt;
  test::FakeHttp http;
  test::FakeClipboard clipboard;
  test::FakePrompter prompt;
  test::FakeMainView main;
  FakeIpView win;
  const std::string url = "http://ip.test/";
  ExternalIpLogic logic{ExternalIpServices{rt, http, clipboard, prompt, main}, win, LookupAddress{url, "", {}}};
};

TEST_F(ExternalIp, LooksUpAfterAPauseAndCopiesWhatIsShown) {
  http.serve(url, kPage);
  rt.workDelayMs = 2000;
  logic.onCreated();
  EXPECT_FALSE(main.shown);
  rt.advance(299);
  EXPECT_TRUE(http.requests.empty());
  logic.onCommand(ExternalIpCommand::Copy);
  EXPECT_EQ(clipboard.content, "您当前网络的外网地址为：获取中... 地理位置为：获取中...");
  EXPECT_EQ(prompt.shown.back().text, "复制完毕！");
  rt.runUntilIdle();
  EXPECT_EQ(win.ip, "1.2.3.4");
  EXPECT_EQ(win.location, "北京市 联通 ");
  logic.onCommand(ExternalIpCommand::Copy);
  EXPECT_EQ(clipboard.content, "您当前网络的外网地址为：1.2.3.4 地理位置为：北京市 联通 ");
  clipboard.writable = false;
  logic.onCommand(ExternalIpCommand::Copy);
  EXPECT_EQ(prompt.shown.back().text, "抱歉，复制失败！");
}

TEST_F(ExternalIp, FailuresAndPagesWithoutTheFragmentsSaySo) {
  http.fail(url);
  logic.onCreated();
  rt.runUntilIdle();
  EXPECT_EQ(win.ip, "获取失败");
  http.serve(url, "<html>portal</html>");
  logic.onCommand(ExternalIpCommand::Refetch);
  EXPECT_EQ(win.ip, "获取中...");
  rt.runUntilIdle();
  EXPECT_EQ(win.ip, "未能识别");
  EXPECT_NE(win.location.find("没有找到"), std::string::npos);
  http.serve(url, kPage, 404);
  logic.onCommand(ExternalIpCommand::Refetch);
  rt.runUntilIdle();
  EXPECT_EQ(win.ip, "获取失败");
}

TEST_F(ExternalIp, AnOverCapPageIsUnreadableNotUnreachable) {
  http.answers[url] = {HttpResponse{true, 200, true, kPage}};
  logic.onCreated();
  rt.runUntilIdle();
  EXPECT_EQ(win.ip, "获取失败");
  EXPECT_EQ(win.location, kLookupUnreadableText);
  http.fail(url);
  logic.onCommand(ExternalIpCommand::Refetch);
  rt.runUntilIdle();
  EXPECT_EQ(win.location, kLookupUnreachableText);
}

// Without an address of its own, an installation asks its cloud: the page "ip/" under the base
// the connection read, or, before the connection has read it, under the base in the index.
TEST(ExternalIpAddress, TheCloudsOwnPageUnlessTheInstallationNamesOne) {
  EXPECT_EQ(lookupPageUnder("http://c.test/z/"), "http://c.test/z/ip/");
  EXPECT_EQ(lookupPageUnder("https://c.test/z"), "https://c.test/z/ip/");
  EXPECT_EQ(lookupPageUnder(""), "");
  EXPECT_EQ(lookupPageUnder("file:///c:/z/"), "");

  test::VirtualRuntime rt;
  test::FakeHttp http;
  test::FakeClipboard clipboard;
  test::FakePrompter prompt;
  test::FakeMainView main;
  FakeIpView win;
  std::string base;
  auto run = [&](LookupAddress where) {
    http.requests.clear();
    ExternalIpLogic logic{ExternalIpServices{rt, http, clipboard, prompt, main}, win, std::move(where)};
    logic.onCreated();
    rt.runUntilIdle();
  };
  const std::string index = "http://c.test/kpr.css";
  http.serve("http://c.test/z/ip/", kPage);
  http.serve("http://own.test/ip/", kPage);
  http.serve(index, "http://c.test/z/\r\n");

  base = "http://c.test/z/";
  run(LookupAddress{"", index, [&] { return base; }});
  EXPECT_EQ(http.requests, std::vector<std::string>{"http://c.test/z/ip/"});
  EXPECT_EQ(win.ip, "1.2.3.4");

  base.clear();  // the connection has not read the index yet
  run(LookupAddress{"", index, [&] { return base; }});
  EXPECT_EQ(http.requests, (std::vector<std::string>{index, "http://c.test/z/ip/"}));
  EXPECT_EQ(win.ip, "1.2.3.4");

  base = "http://c.test/z/";
  run(LookupAddress{"http://own.test/ip/", index, [&] { return base; }});
  EXPECT_EQ(http.requests, std::vector<std::string>{"http://own.test/ip/"});
  run(LookupAddress{"not an address", index, [&] { return base; }});
  EXPECT_EQ(http.requests, std::vector<std::string>{"http://c.test/z/ip/"});

  // An index that names no web address: nothing more is asked.
  base.clear();
  http.serve(index, "<html>portal</html>");
  run(LookupAddress{"", index, [&] { return base; }});
  EXPECT_EQ(http.requests, std::vector<std::string>{index});
  EXPECT_EQ(win.location, kLookupUnreadableText);
  http.fail(index);
  run(LookupAddress{"", index, [&] { return base; }});
  EXPECT_EQ(win.location, kLookupUnreachableText);
}

TEST_F(ExternalIp, CloseStopsTheLookup) {
  http.serve(url, kPage);
  rt.workDelayMs = 2000;
  logic.onCreated();
  rt.advance(1000);
  logic.onCommand(ExternalIpCommand::Close);
  EXPECT_TRUE(main.shown && win.closed);
  rt.runUntilIdle();
  EXPECT_EQ(win.ip, "");
}

}  // namespace
}  // namespace zk
