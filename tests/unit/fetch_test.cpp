// The one-click fetch: narration, waits, retries, give-ups and fall-backs.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/unit/sync_fixture.h"
#include "text/gbk.h"

namespace zk {
namespace {

using test::kBase;
using test::kHosts;
using test::SyncProgram;

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
  EXPECT_EQ(p.processes.started.front(), "\"C:\\Windows\\system32\\ipconfig.exe\" /flushdns");
  EXPECT_EQ(p.processes.waited.back(),
            "\"C:\\Windows\\system32\\cmd.exe\" /d /c \"\"" + p.data("Tem\\Dnscache.bat") + "\"\"");
  EXPECT_FALSE(p.fs.fileExists(p.data("Server.txt")));
  EXPECT_EQ(p.view.width, 630);  // ZDDH is on by default: the navigation panel opened
  EXPECT_EQ(p.view.layouts, 1);
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
  p.view.lineVisible = true;  // a line left over from an earlier sweep is laid out again
  p.view.line = Rect{200, 39, 100, 2};
  p.fetch.onFetchClicked();
  EXPECT_EQ(p.view.line, (Rect{0, 39, 0, 2}));
  p.rt.advance(2999);
  EXPECT_TRUE(p.view.titleShown.empty());
  p.rt.advance(1);
  using T = TitleControl;
  EXPECT_EQ(p.view.titleShown, (std::vector<T>{T::Navigation}));
  p.rt.advance(500);
  EXPECT_EQ(p.view.titleShown, (std::vector<T>{T::Navigation, T::About, T::Settings}));
  EXPECT_TRUE(p.line.sweeping());
  p.rt.advance(5);
  EXPECT_EQ(p.view.line, (Rect{0, 39, 5, 2}));  // the fixture's step is 1 pixel a tick
  p.rt.advance(495);
  EXPECT_EQ(p.view.titleShown, (std::vector<T>{T::Navigation, T::About, T::Settings, T::Help, T::SkinButton}));
  // The fetch runs to its end: after the write the line is stopped and hidden.
  p.settle();
  EXPECT_FALSE(p.line.sweeping());
  EXPECT_FALSE(p.view.lineVisible);
  EXPECT_EQ(p.sync.words.back(), "成功");
}

TEST(Fetch, ClicksAreIgnoredWhileInProgressOrDone) {
  SyncProgram p;
  p.start();
  p.fetch.onFetchClicked();
  p.rt.advance(500);
  p.fetch.onFetchClicked();
  p.rt.advance(500);
  EXPECT_EQ(p.sync.lines().size(), 1u);  // not restarted
  EXPECT_EQ(FetchPipeline::fetchHover(FetchPicture::Done), "已完成！");
  EXPECT_EQ(FetchPipeline::fetchHover(FetchPicture::InProgress), "正在进行时！");
  EXPECT_EQ(FetchPipeline::fetchHover(FetchPicture::Idle), "开始行动！");
}

TEST(Fetch, AClickWhileThePictureShowsDoneIsIgnored) {
  SyncProgram p;
  p.start();
  p.fetch.setPicture(FetchPicture::Done);
  p.fetch.onCommand(MainCommand::Fetch);
  p.rt.advance(60'000);
  EXPECT_TRUE(p.sync.everyLine.empty());
  EXPECT_EQ(p.http.count("http://h.test/main.txt"), 0);
  EXPECT_EQ(p.view.picture, FetchPicture::Done);
  for (FetchPicture accepted : {FetchPicture::Failed, FetchPicture::Error}) {
    SyncProgram q;
    q.start();
    q.fetch.setPicture(accepted);
    q.fetch.onCommand(MainCommand::Fetch);
    q.rt.advance(400);
    EXPECT_EQ(q.sync.lines(), std::vector<std::string>{"欢迎您使用Zelkora新标版！"});
  }
}

// The captionless start label runs the fetch start alone: no acceptance test, no reveal.
TEST(Fetch, TheStartLabelRunsTheFetchStart) {
  SyncProgram p;
  p.start();
  p.fetch.setPicture(FetchPicture::Done);
  p.fetch.onCommand(MainCommand::Start);
  p.rt.advance(400);
  EXPECT_EQ(p.sync.lines(), std::vector<std::string>{"欢迎您使用Zelkora新标版！"});
  EXPECT_EQ(p.view.picture, FetchPicture::InProgress);
  p.settle();
  EXPECT_TRUE(p.view.titleShown.empty());
  EXPECT_NE(p.hostsFile().find("127.0.0.1 localhost"), std::string::npos);
}

TEST(Fetch, ACustomisedCopyGreetsByNickname) {
  SyncProgram p;
  p.start();
  p.values.srdzValue = "1";
  p.values.currentNickname = "小明";
  p.fetch.onFetchClicked();
  p.rt.advance(400);
  EXPECT_EQ(p.sync.lines(), std::vector<std::string>{"小明，欢迎您使用私人定制版！"});
}

// The customisation's welcome line is the log's only until a fetch starts; an empty nickname
// greets as a standard copy, never "，欢迎您…".
TEST(Fetch, AStartedFetchIsMarkedAndANamelessCustomisedCopyGreetsAsStandard) {
  SyncProgram p;
  p.start();
  p.values.srdzValue = "1";
  p.values.currentNickname = "";
  EXPECT_FALSE(p.values.fetchStarted);
  p.fetch.onFetchClicked();
  p.rt.advance(400);
  EXPECT_TRUE(p.values.fetchStarted);
  EXPECT_EQ(p.sync.lines(), std::vector<std::string>{"欢迎您使用Zelkora新标版！"});
}

// A download that hangs: the fetch timer gives up at 20,000 ticks and says so.
TEST(Fetch, TheFetchTimerTimesOutAfterTwentyThousandTicks) {
  SyncProgram p;
  p.start();
  p.fetch.onFetchClicked();
  while (p.sync.count("连接成功！") == 0) p.rt.advance(1);
  p.rt.workDelayMs = 600'000;  // every download from now on takes ten minutes
  p.rt.advance(1000 + 20'000);
  EXPECT_EQ(p.sync.elapsed, "20000ms");
  p.rt.advance(1);
  EXPECT_EQ(p.sync.elapsed, "超时");
  EXPECT_EQ(p.sync.lines().back(), "获取超时，请重试");
  EXPECT_EQ(p.view.picture, FetchPicture::Error);
  p.rt.workDelayMs = 0;
}

TEST(Fetch, NoServerChosenEndsEarly) {
  SyncProgram p;
  p.start();
  p.settings.tick(Server::None);
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
  // Each retry loops back and starts again with the short introduction.
  EXPECT_EQ(p.sync.count("回环中..."), 3u);
  EXPECT_EQ(p.sync.count("重新执行中"), 3u);
  EXPECT_EQ(p.sync.count("欢迎您使用Zelkora新标版！"), 1u);
  EXPECT_EQ(p.sync.lines().front(), "重新执行中");
  EXPECT_EQ(p.view.retryText, "0");
  EXPECT_EQ(p.retry.count(), 0);
  EXPECT_EQ(p.view.picture, FetchPicture::Failed);
  EXPECT_EQ(p.sync.words.back(), "失败");
  EXPECT_FALSE(p.fs.fileExists(kHosts));  // no bad body ever reaches the hosts file
}

TEST(Fetch, BackupServerFailingCarriesItsCountIntoTheNextFetch) {
  SyncProgram p;
  p.start();
  p.settings.tick(Server::Backup);
  p.http.fail("http://h.test/backup.txt");
  p.clickFetch();
  p.rt.advance(200'000);
  EXPECT_EQ(p.http.count("http://h.test/backup.txt"), 3);
  EXPECT_EQ(p.retry.count(), 2);
  EXPECT_EQ(p.sync.lines().back(), "【备用】服多次失败，请排查相应问题。");
  p.clickFetch();
  p.rt.advance(200'000);
  EXPECT_EQ(p.http.count("http://h.test/backup.txt"), 5);  // one retry (box 3), then give-up
  EXPECT_EQ(p.retry.count(), 0);
}

TEST(Fetch, CustomServerFailingTwiceSwitchesToOfficial) {
  SyncProgram p;
  p.start();
  p.settings.write(Key::CustomServerOn, "1");
  p.settings.write(Key::CustomAddress, "http://my.test/hosts.txt");
  p.settings.tick(Server::Custom);
  p.http.serve("http://my.test/hosts.txt", "", 404);
  p.clickFetch();
  p.rt.advance(200'000);
  EXPECT_EQ(p.http.count("http://my.test/hosts.txt"), 2);
  EXPECT_TRUE(p.view.radioChecked(Server::Official));
  EXPECT_EQ(p.http.count("http://h.test/main.txt"), 1);
  EXPECT_NE(p.hostsFile().find("127.0.0.1 localhost"), std::string::npos);
  auto lines = p.sync.lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "★ 好消息，春天到了！★"), lines.end());
  EXPECT_EQ(p.settings.read(Key::Server), "1");  // from start-up; the fall-back writes nothing
}

TEST(Fetch, CustomAddressMissingOrInvalid) {
  SyncProgram p;
  p.start();
  p.settings.tick(Server::Custom);
  p.clickFetch();
  EXPECT_EQ(p.sync.lines().back(), "请检查您是否正确填写了自定义地址");
  EXPECT_EQ(p.view.picture, FetchPicture::Error);
  p.settings.write(Key::CustomAddress, "ftp://my.test/hosts.txt");
  p.clickFetch();
  EXPECT_EQ(p.sync.lines().back(), "错误，自定义地址不规范。请您务必认真填写。或转用官方。");
  EXPECT_EQ(p.sync.words.back(), "错误");
  EXPECT_TRUE(p.http.count("ftp://my.test/hosts.txt") == 0);
}

TEST(Fetch, AdListFailingOnceKeepsTheMainText) {
  SyncProgram p;
  p.start();
  p.settings.onAdBlockingClicked();
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

}  // namespace
}  // namespace zk
