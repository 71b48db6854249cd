#include <gtest/gtest.h>

#include "personal/decorative_line.h"
#include "sync/downloads.h"
#include "tests/unit/sync_fixture.h"
#include "text/gbk.h"

namespace zk {
namespace {

using test::kBase;
using test::kHosts;
using test::SyncProgram;

TEST(Downloads, OnlyA2xxNonEmptyUncutBodyCounts) {
  EXPECT_EQ(cloudText({true, 200, false, "1"}), "1");
  EXPECT_EQ(cloudText({true, 204, false, "x"}), "x");
  EXPECT_EQ(cloudText({true, 404, false, "<html>Not Found</html>"}), "");
  EXPECT_EQ(cloudText({true, 500, false, "error"}), "");
  EXPECT_EQ(cloudText({true, 200, false, ""}), "");
  EXPECT_EQ(cloudText({true, 200, true, "cut"}), "");
  EXPECT_EQ(cloudText({false, 0, false, ""}), "");
  EXPECT_EQ(cloudText({true, 200, false, std::string("1\0junk", 6)}), "1");
}

TEST(Downloads, HostsTextMustNotBeAPageOrBinary) {
  EXPECT_TRUE(looksLikeHostsText("# 注释\r\n127.0.0.1 localhost\r\n"));
  EXPECT_TRUE(looksLikeHostsText(""));
  EXPECT_FALSE(looksLikeHostsText("<!DOCTYPE html><html>portal login</html>"));
  EXPECT_FALSE(looksLikeHostsText("\xEF\xBB\xBF \r\n <html>"));
  EXPECT_FALSE(looksLikeHostsText(std::string("127.0.0.1 a\0b", 13)));
  std::string binary(1000, 'a');
  for (int i = 0; i < 20; ++i) binary[i * 50] = '\x01';
  EXPECT_FALSE(looksLikeHostsText(binary));
  EXPECT_EQ(hostsText(HttpResponse{true, 200, false, "<html>Error</html>"}), "");
  EXPECT_EQ(hostsText(HttpResponse{true, 200, false, std::string("1.2.3.4 a\0", 10)}), "");
  EXPECT_EQ(hostsText(HttpResponse{true, 404, false, "1.2.3.4 a"}), "");
  EXPECT_EQ(hostsText(HttpResponse{true, 200, false, "1.2.3.4 a"}), "1.2.3.4 a");
}

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

TEST(Cloud, UpdatePromptOnlyForANewerNumberAndOnlyOnce) {
  for (auto [version, prompts] : std::vector<std::pair<std::string, bool>>{
           {"1.6", false}, {"1.60001", true}, {"1.7", true}, {"abc", false}, {"", false}, {"0.9", false}}) {
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

TEST(Fetch, NarratesTheWholeFetchAndWritesTheFile) {
  SyncProgram p;
  p.start();
  p.clickFetch();
  std::vector<std::string> expected = {"欢迎您使用Zelkora新标版！",
                                       "谷歌、推特、脸书上不去？",
                                       "就用Zelkora！",
                                       "好东西不私藏，必须分享小伙伴！",
                                       "您发起了指令，现在开始！",
                                       "过程大约需要1分钟，请耐心等待",
                                       "正在连接云端...",
                                       "连接成功！",
                                       "正在向【实时】服获取数据...",
                                       "【实时】服数据获取完成！",
                                       "数据已就绪，现在开始处理...",
                                       "正在解锁本地文件...",
                                       "正在编排数据...",
                                       "开始存入...",
                                       "存入成功！",
                                       "正在清除本地缓存...",
                                       "清除完毕！",
                                       "正在刷新DNS解析服务...",
                                       "刷新完毕！",
                                       "★ 好消息，春天到了！★"};
  EXPECT_EQ(p.sync.lines(), expected);
  EXPECT_EQ(p.sync.log.substr(0, 11), "09:05:07：");
  EXPECT_EQ(p.sync.words.back(), "成功");
  EXPECT_EQ(p.sync.elapsed, "处理");
  EXPECT_TRUE(p.sync.controlsEnabled);
  EXPECT_EQ(p.view.picture, FetchPicture::Idle);
  std::string file = p.hostsFile();
  EXPECT_EQ(file.substr(0, file.find("\r\n")), toGbk("# 本文件由Zelkora生成，感谢使用："));
  EXPECT_NE(file.find("# Ti:161207091\r\n127.0.0.1 localhost\r\n"), std::string::npos);
  EXPECT_EQ(p.fs.attributes[test::FakeFileSystem::key(kHosts)], 38u);
  EXPECT_EQ(p.processes.started.front(), "ipconfig /flushdns");
  EXPECT_EQ(p.processes.started.back(), "\"" + p.data("Tem\\Dnscache.bat") + "\"");
  EXPECT_FALSE(p.fs.fileExists(p.data("Server.txt")));
  EXPECT_EQ(p.sync.width, 630);  // ZDDH is on by default: the navigation panel opened
  EXPECT_EQ(p.sync.layouts, 1);
  EXPECT_EQ(p.sync.statusLineText, kStatusMatch);
}

TEST(Fetch, IntroductionWaitsAreAsNarrated) {
  SyncProgram p;
  p.start();
  p.fetch.onFetchClicked();
  p.rt.advance(400);
  EXPECT_EQ(p.sync.lines().size(), 1u);
  p.rt.advance(999);
  EXPECT_EQ(p.sync.lines().size(), 1u);
  p.rt.advance(1);
  EXPECT_EQ(p.sync.lines().size(), 2u);
  p.rt.advance(1000 + 3000 + 3500 - 1);
  EXPECT_EQ(p.sync.lines().size(), 4u);
  p.rt.advance(1);
  EXPECT_EQ(p.sync.lines().back(), "您发起了指令，现在开始！");
  EXPECT_FALSE(p.sync.controlsEnabled);
  EXPECT_EQ(p.view.picture, FetchPicture::InProgress);
}

TEST(Fetch, RevealShowsTheTitleStripPieceByPieceAndTheWriterEndsIt) {
  SyncProgram p;
  p.start();
  p.sync.lineVisible = true;  // a line left over from an earlier sweep is laid out again
  p.sync.line = Rect{200, 39, 100, 2};
  p.fetch.onFetchClicked();
  EXPECT_EQ(p.sync.line, (Rect{0, 39, 0, 2}));
  p.rt.advance(2999);
  EXPECT_TRUE(p.sync.shown.empty());
  p.rt.advance(1);
  using T = TitleControl;
  EXPECT_EQ(p.sync.shown, (std::vector<T>{T::Navigation}));
  p.rt.advance(500);
  EXPECT_EQ(p.sync.shown, (std::vector<T>{T::Navigation, T::About, T::Settings}));
  EXPECT_TRUE(p.line.sweeping());
  p.rt.advance(5);
  EXPECT_EQ(p.sync.line, (Rect{0, 39, 5, 2}));  // the fixture's step is 1 pixel a tick
  p.rt.advance(495);
  EXPECT_EQ(p.sync.shown, (std::vector<T>{T::Navigation, T::About, T::Settings, T::Help, T::SkinButton}));
  // The fetch runs to its end: after the write the line is stopped and hidden.
  p.settle();
  EXPECT_FALSE(p.line.sweeping());
  EXPECT_FALSE(p.sync.lineVisible);
  EXPECT_EQ(p.sync.words.back(), "成功");
}

TEST(DecorativeLine, GrowsAcrossSlidesOutAndStartsAgainInARandomColour) {
  test::VirtualRuntime rt;
  test::FakeMainView main;
  test::FakeSyncView view(main);
  std::vector<int> colours = {10, 20, 30};
  std::size_t next = 0;
  DecorativeLine line(rt, view, [&](int lo, int hi) {
    if (lo == 1 && hi == 10) return 7;  // the step timer's draw
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 255);
    return colours[next++ % colours.size()];
  });
  view.width = 100;
  line.place();
  line.startStepTimer(10);
  EXPECT_EQ(line.step(), 1);
  rt.advance(10);
  EXPECT_EQ(line.step(), 7);
  line.start();
  EXPECT_TRUE(view.lineVisible);
  rt.advance(14);
  EXPECT_EQ(view.line, (Rect{0, 39, 98, 2}));
  rt.advance(1);
  EXPECT_EQ(view.line, (Rect{0, 39, 100, 2}));  // never wider than the window
  rt.advance(14);                                // then the left end runs 14 × 7 = 98 pixels
  EXPECT_EQ(view.line, (Rect{98, 39, 100, 2}));
  EXPECT_EQ(view.lineColour, (Rgb{}));
  rt.advance(1);  // 105 > 100: off the window, so a new colour and a new sweep from the left
  EXPECT_EQ(view.lineColour, (Rgb{10, 20, 30}));
  EXPECT_EQ(view.line, (Rect{0, 39, 0, 2}));
  EXPECT_TRUE(view.lineVisible);
  EXPECT_TRUE(line.sweeping());
  rt.advance(1);
  EXPECT_EQ(view.line, (Rect{0, 39, 7, 2}));
  line.stop();
  int moves = view.lineMoves;
  rt.advance(50);
  EXPECT_FALSE(view.lineVisible);
  EXPECT_EQ(view.lineMoves, moves);
}

TEST(Fetch, ClicksAreIgnoredWhileInProgressOrDone) {
  SyncProgram p;
  p.start();
  p.fetch.onFetchClicked();
  p.rt.advance(500);
  p.fetch.onFetchClicked();
  p.rt.advance(500);
  EXPECT_EQ(p.sync.lines().size(), 1u);  // not restarted
  p.view.picture = FetchPicture::Done;
  p.fetch.onFetchClicked();
  EXPECT_EQ(FetchPipeline::fetchHover(FetchPicture::Done), "已完成！");
  EXPECT_EQ(FetchPipeline::fetchHover(FetchPicture::Idle), "开始行动！");
}

TEST(Fetch, NoServerChosenEndsEarly) {
  SyncProgram p;
  p.start();
  p.view.radios.clear();
  p.settings.setServerChoice(Server::None);
  p.clickFetch();
  EXPECT_EQ(p.sync.lines().back(), "您尚未选择服务器，指令提前终止。");
  EXPECT_EQ(p.sync.lines().size(), 7u);  // the full introduction ran first
  EXPECT_EQ(p.view.picture, FetchPicture::Idle);
  EXPECT_TRUE(p.sync.controlsEnabled);
}

TEST(Fetch, OfficialServerFailingGivesUpAfterFourAttempts) {
  SyncProgram p;
  p.start();
  p.http.serve("http://h.test/main.txt", "<html>maintenance</html>");
  p.clickFetch();
  p.rt.advance(200'000);
  EXPECT_EQ(p.http.count("http://h.test/main.txt"), 4);
  EXPECT_EQ(p.sync.lines().back(), "【实时】服多次失败，请排查相应问题。");
  EXPECT_EQ(p.view.retryText, "0");
  EXPECT_EQ(p.values.retryCount, 0);
  EXPECT_EQ(p.view.picture, FetchPicture::Failed);
  EXPECT_EQ(p.sync.words.back(), "失败");
  EXPECT_FALSE(p.fs.fileExists(kHosts));  // no bad body ever reaches the hosts file
}

TEST(Fetch, BackupServerFailingCarriesItsCountIntoTheNextFetch) {
  SyncProgram p;
  p.start();
  p.view.setRadioChecked(Server::Backup, true);
  p.http.fail("http://h.test/backup.txt");
  p.clickFetch();
  p.rt.advance(200'000);
  EXPECT_EQ(p.http.count("http://h.test/backup.txt"), 3);
  EXPECT_EQ(p.values.retryCount, 2);
  EXPECT_EQ(p.sync.lines().back(), "【备用】服多次失败，请排查相应问题。");
  p.clickFetch();
  p.rt.advance(200'000);
  EXPECT_EQ(p.http.count("http://h.test/backup.txt"), 5);  // one retry (box 3), then give-up
  EXPECT_EQ(p.values.retryCount, 0);
}

TEST(Fetch, CustomServerFailingTwiceSwitchesToOfficial) {
  SyncProgram p;
  p.start();
  p.settings.write("ZFJH", "1");
  p.settings.write("ZURL", "http://my.test/hosts.txt");
  p.view.setRadioChecked(Server::Custom, true);
  p.http.serve("http://my.test/hosts.txt", "", 404);
  p.clickFetch();
  p.rt.advance(200'000);
  EXPECT_EQ(p.http.count("http://my.test/hosts.txt"), 2);
  EXPECT_TRUE(p.view.radioChecked(Server::Official));
  EXPECT_EQ(p.http.count("http://h.test/main.txt"), 1);
  EXPECT_NE(p.hostsFile().find("127.0.0.1 localhost"), std::string::npos);
  auto lines = p.sync.lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "★ 好消息，春天到了！★"), lines.end());
  EXPECT_EQ(p.settings.read("XFWQ"), "1");  // from start-up; the fall-back writes nothing
}

TEST(Fetch, CustomAddressMissingOrInvalid) {
  SyncProgram p;
  p.start();
  p.view.setRadioChecked(Server::Custom, true);
  p.clickFetch();
  EXPECT_EQ(p.sync.lines().back(), "请检查您是否正确填写了自定义地址");
  EXPECT_EQ(p.view.picture, FetchPicture::Error);
  p.settings.write("ZURL", "ftp://my.test/hosts.txt");
  p.clickFetch();
  EXPECT_EQ(p.sync.lines().back(), "错误，自定义地址不规范。请您务必认真填写。或转用官方。");
  EXPECT_EQ(p.sync.words.back(), "错误");
  EXPECT_TRUE(p.http.count("ftp://my.test/hosts.txt") == 0);
}

TEST(Fetch, AdListFailingOnceKeepsTheMainText) {
  SyncProgram p;
  p.start();
  p.view.adTicked = true;
  p.http.answers["http://h.test/ad.txt"] = {HttpResponse{true, 500, false, "oops"},
                                            HttpResponse{true, 200, false, "0.0.0.0 ads.test\r\n"}};
  p.clickFetch();
  p.rt.advance(100'000);
  EXPECT_EQ(p.http.count("http://h.test/main.txt"), 1);
  EXPECT_EQ(p.http.count("http://h.test/ad.txt"), 2);
  EXPECT_NE(p.hostsFile().find("localhost\r\n\r\n0.0.0.0 ads.test"), std::string::npos);
}

TEST(Fetch, CloudOfflineTimesOutAfterFiveHundredTicks) {
  SyncProgram p;
  p.start();
  p.http.serve(std::string(kBase) + "ol.css", "0");
  p.fetch.onFetchClicked();
  p.rt.advance(12'900 + 499);
  EXPECT_EQ(p.sync.elapsed, "499ms");
  p.rt.advance(1);
  EXPECT_EQ(p.sync.elapsed, "超时");
  EXPECT_EQ(p.sync.lines().back(), "连接失败，请重试。");
  EXPECT_EQ(p.view.picture, FetchPicture::Error);
  EXPECT_EQ(p.sync.words.back(), "失败");
}

struct Writer : ::testing::Test {
  SyncProgram p;
  void SetUp() override { p.start(); }
  std::string write(const LocalTime& at) {
    p.clock.time = at;
    p.fetch.fetched.mainDone = true;
    p.rt.start(TaskSlot::Writer, p.writer.run());
    p.rt.advance(20'000);
    return p.hostsFile();
  }
};

TEST_F(Writer, OnlyTheMainText) {
  p.fetch.fetched.main = "1.1.1.1 a";
  EXPECT_EQ(write({2016, 1, 22, 9, 5, 3}), toGbk("# 本文件由Zelkora生成，感谢使用：\r\n# 生成时间：2016-1-22-9:5:3\r\n"
                                                 "1.1.1.1 a\r\n# 生成时间：2016年1月22日9时5分3秒\r\n\r\n"));
  EXPECT_FALSE(p.fetch.fetched.mainDone);
}

TEST_F(Writer, MainEndingInCrLfThenTheAdListKeepsTheEmptyLine) {
  p.fetch.fetched.main = "1.1.1.1 a\r\n";
  p.fetch.fetched.ad = "0.0.0.0 ad";
  p.fetch.fetched.adDone = true;
  std::string file = write({2016, 1, 22, 10, 0, 0});
  EXPECT_NE(file.find("1.1.1.1 a\r\n\r\n0.0.0.0 ad\r\n"), std::string::npos);
  EXPECT_NE(file.find(toGbk("# 生成时间：2016-1-22-10:\r\n")), std::string::npos);
  EXPECT_NE(file.find(toGbk("# 生成时间：2016年1月22日10时\r\n\r\n")), std::string::npos);
}

TEST_F(Writer, MidnightAndTheProtectionSwitch) {
  p.settings.write("AQSX", "0");
  p.rt.start(TaskSlot::LoadSettings, p.settings.loadAndApply());
  p.rt.advance(300);
  p.fs.addFile(kHosts, "old");
  p.fetch.fetched.main = "x";
  std::string file = write({2016, 1, 22, 0, 0, 0});
  EXPECT_NE(file.find(toGbk("# 生成时间：2016-1-22-\r\n")), std::string::npos);
  EXPECT_EQ(p.fs.attributes[test::FakeFileSystem::key(kHosts)], 32u);
}

TEST_F(Writer, KeepsBackupsOfThePreviousFiles) {
  p.fs.addFile(kHosts, "original");
  p.fetch.fetched.main = "first";
  write({2016, 1, 22, 9, 0, 1});
  EXPECT_EQ(p.fs.bytes(p.data("Backup\\hosts.1.bak")), "original");
  for (int i = 0; i < 4; ++i) {
    p.fetch.fetched.main = "again";
    write({2016, 1, 22, 9, 0, 2 + i});
  }
  EXPECT_TRUE(p.fs.fileExists(p.data("Backup\\hosts.3.bak")));
  EXPECT_FALSE(p.fs.fileExists(p.data("Backup\\hosts.4.bak")));
}

TEST_F(Writer, HeldFileIsRetriedThenRewrittenInPlace) {
  p.fs.addFile(kHosts, "old");
  p.fs.replaceFailures = 3;
  p.fetch.fetched.main = "new";
  EXPECT_NE(write({2016, 1, 22, 9, 0, 1}).find("new"), std::string::npos);
  EXPECT_EQ(p.fs.replaces, 4);
  p.fs.replaceFailures = 100;
  p.fetch.fetched.main = "newer";
  EXPECT_NE(write({2016, 1, 22, 9, 0, 2}).find("newer"), std::string::npos);
  EXPECT_FALSE(p.fs.fileExists(std::string(kHosts) + ".zelkora-new"));
}

TEST_F(Writer, AFailedWriteIsReportedAndTheOldFileStays) {
  p.fs.addFile(kHosts, "old");
  p.fs.readOnlyFiles.insert(test::FakeFileSystem::key(kHosts));
  p.fs.replaceFailures = 100;
  p.fetch.fetched.main = "new";
  EXPECT_EQ(write({2016, 1, 22, 9, 0, 1}), "old");
  auto lines = p.sync.lines();
  EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
            (std::vector<std::string>{"写入失败！", "请检查目录是否可写！", "并排查杀毒软件问题！"}));
  EXPECT_EQ(p.view.picture, FetchPicture::Failed);
  EXPECT_TRUE(p.sync.controlsEnabled);
}

TEST(HostsWrite, ACrashBetweenAnyTwoStepsLeavesTheOldOrTheNewFile) {
  for (int crash = 0; crash < 12; ++crash) {
    test::FakeFileSystem fs;
    fs.addFile("C:\\etc\\hosts", "old content");
    fs.addFolder("C:\\data");
    fs.crashAfterChanges = crash;
    bool ok = writeHostsFile(fs, "C:\\etc\\hosts", "new content", {"C:\\data\\Backup", 3, nullptr});
    std::string now = fs.bytes("C:\\etc\\hosts");
    EXPECT_TRUE(now == "old content" || now == "new content") << crash << ": " << now;
    EXPECT_EQ(ok, now == "new content") << crash;
    if (now == "new content") {
      EXPECT_EQ(fs.bytes("C:\\data\\Backup\\hosts.1.bak"), "old content") << crash;
    }
  }
}

TEST(HostsStamp, FromAFileReadInPiecesStoppingAtTheStamp) {
  test::FakeFileSystem fs;
  std::string tail(4000, 'x');
  for (std::size_t offset = 0; offset < 8; ++offset) {
    fs.addFile("C:\\h", std::string(offset, 'a') + "# Ti:161207091\r\n" + tail);
    fs.chunksRead = 0;
    EXPECT_EQ(hostsStampOfFile(fs, "C:\\h"), "161207091") << offset;
    EXPECT_LT(fs.chunksRead, 10) << offset;  // read only as far as the stamp
  }
  // Every piece size against every marker position, with decoys that share the marker's bytes:
  // the first whole marker wins and its stamp comes out whole, whichever pieces carry it.
  for (std::size_t piece = 1; piece <= 20; ++piece) {
    fs.chunkSize = piece;
    for (std::size_t offset = 0; offset < 24; ++offset) {
      std::string file = std::string(offset, 'T') + "# T# Ti# TI:Ti:# Ti:123456789# Ti:999999999\r\n";
      fs.addFile("C:\\h", file);
      EXPECT_EQ(hostsStampOfFile(fs, "C:\\h"), "123456789") << piece << " " << offset;
    }
  }
  fs.chunkSize = 4;
  fs.addFile("C:\\h", tail + "# Ti:12");
  EXPECT_EQ(hostsStampOfFile(fs, "C:\\h"), "12");
  fs.addFile("C:\\h", tail);
  EXPECT_EQ(hostsStampOfFile(fs, "C:\\h"), std::nullopt);
  EXPECT_EQ(hostsStampOfFile(fs, "C:\\missing"), std::nullopt);
}

TEST(HostsStamp, FirstMarkerAndNineBytes) {
  EXPECT_EQ(hostsStamp("a\r\n# Ti:161207091\r\n# Ti:999999999"), "161207091");
  EXPECT_EQ(hostsStamp("# Ti:12"), "12");
  EXPECT_EQ(hostsStamp("# ti:161207091"), std::nullopt);
  EXPECT_EQ(dashedStamp("2016年1月22日"), "2016-1-22-");
  EXPECT_EQ(leadingNumber("161207091"), 161207091.0);
  EXPECT_EQ(leadingNumber("x1"), 0.0);
}

struct Status : ::testing::Test {
  SyncProgram p;
  void SetUp() override {
    p.start();
    p.cloud.connect();
    p.rt.advance(1200);  // connected; the indicator is still showing
    p.rt.stop(TaskSlot::Indicator);
  }
  void read() {
    p.status.start();
    p.rt.advance(10'000);
  }
};

TEST_F(Status, MatchingStampsTurnGreenAndBlinkGreen) {
  p.fs.addFile(kHosts, "# Ti:161207091\r\n1.1.1.1 a\r\n");
  read();
  EXPECT_EQ(p.sync.local, "161207091");
  EXPECT_EQ(p.sync.statusLineText, kStatusMatch);
  EXPECT_EQ(p.sync.cloudColour, (Rgb{0, 128, 0}));
  EXPECT_EQ(p.sync.localColour, (Rgb{0, 128, 0}));
  EXPECT_EQ(p.sync.statusColours.back(), (Rgb{0, 128, 0}));
  EXPECT_EQ(p.sync.statusColours.size(), 1u + 11u + 2u);
  EXPECT_EQ(p.status.localHover(), "您本地文件与云端文件一致，云端暂无更新内容！");
  EXPECT_FALSE(p.sync.busyLocal || p.sync.busyCloud);
}

TEST_F(Status, CloudNewer) {
  p.fs.addFile(kHosts, "# Ti:161207080\r\n");
  read();
  EXPECT_EQ(p.sync.statusLineText, "云端发现最新内容，请及时更新！");
  EXPECT_EQ(p.sync.cloudColour, (Rgb{0, 255, 0}));
  EXPECT_EQ(p.sync.localColour, (Rgb{255, 0, 255}));
  EXPECT_EQ(p.sync.statusColours.back(), (Rgb{255, 0, 0}));
}

TEST_F(Status, LocalNewerChangesNothingMore) {
  p.fs.addFile(kHosts, "# Ti:161207099\r\n");
  read();
  EXPECT_EQ(p.sync.statusLineText, "正在读取本地、云端文件！");
  EXPECT_EQ(p.sync.localColour, (Rgb{0, 0, 0}));
  EXPECT_EQ(p.sync.cloud, "161207091");
}

TEST_F(Status, FileFromAnotherToolOrMissing) {
  p.view.setRadioChecked(Server::Custom, true);  // keeps the cloud side from comparing
  p.fs.addFile(kHosts, "127.0.0.1 localhost\r\n");
  read();
  EXPECT_EQ(p.sync.local, "尚未使用！");
  EXPECT_EQ(p.sync.localColour, (Rgb{255, 128, 0}));
  p.fs.deleteFile(kHosts);
  read();
  EXPECT_EQ(p.sync.local, "尚未发现！");
  EXPECT_EQ(p.sync.localColour, (Rgb{128, 128, 128}));
  EXPECT_EQ(p.status.localHover(), "本地尚未发现Hosts文件，请一键获取！");
}

TEST_F(Status, CloudStampWithALineBreakIsACloudError) {
  p.http.serve(std::string(kBase) + "filetime.css", "161207091\r\n");
  read();
  EXPECT_EQ(p.sync.cloud, "云端错误！");
  p.http.serve(std::string(kBase) + "filetime.css", "", 404);
  read();
  EXPECT_EQ(p.sync.cloud, "读取错误");
}

TEST_F(Status, ALocalFileWithoutStampComparesAsZero) {
  p.fs.addFile(kHosts, "127.0.0.1 localhost\r\n");
  read();
  EXPECT_EQ(p.sync.local, "尚未使用！");
  EXPECT_EQ(p.sync.statusLineText, "云端发现最新内容，请及时更新！");
  EXPECT_EQ(p.sync.localColour, (Rgb{255, 0, 255}));
}

TEST_F(Status, CustomServerIsNotSupported) {
  p.fs.addFile(kHosts, "# Ti:161207091\r\n");
  p.view.setRadioChecked(Server::Custom, true);
  read();
  EXPECT_EQ(p.sync.cloud, "不予支持！");
  EXPECT_EQ(p.sync.cloudColour, (Rgb{255, 0, 0}));
  EXPECT_EQ(p.status.cloudHover(), "不支持自定义服务器！");
}

TEST(NavigationPanel, SlidesOpenThirtyPixelsATickAndClosesFirstWhenOpen) {
  test::VirtualRuntime rt;
  test::FakeMainView main;
  test::FakeSyncView view(main);
  NavigationPanel panel(rt, view);
  rt.start(TaskSlot::NavigationSlide, panel.open());
  rt.advance(5);
  EXPECT_EQ(view.width, 612);
  rt.advance(1);
  EXPECT_EQ(view.width, 630);
  EXPECT_EQ(view.layouts, 1);
  rt.start(TaskSlot::NavigationSlide, panel.open());
  rt.advance(6);
  EXPECT_EQ(view.width, 462);
  rt.advance(600);
  EXPECT_EQ(view.width, 630);
  EXPECT_EQ(view.layouts, 3);
}

}  // namespace
}  // namespace zk
