#include "sync/fetch.h"

#include "platform/ini_file.h"
#include "text/datetime.h"
#include "text/text.h"

namespace zk {

void ProgressLog::add(const std::string& message) {
  text_ = logTimePrefix(clock_.now()) + message + "\r\n" + text_;
  view_.setLog(text_);
}

void ProgressLog::clear() {
  text_.clear();
  view_.setLog(text_);
}

FetchPipeline::FetchPipeline(Runtime& rt, FileSystem& fs, MainView& main, SyncView& view, Cloud& cloud,
                             SettingsStore& settings, ProgramValues& values, RetryCounter& retry, ProgressLog& log,
                             DecorativeLine& line)
    : rt_(rt),
      fs_(fs),
      main_(main),
      view_(view),
      cloud_(cloud),
      settings_(settings),
      values_(values),
      retry_(retry),
      log_(log),
      line_(line),
      connectTimer_(rt, [this] { connectTick(); }),
      fetchTimer_(rt, [this] { fetchTick(); }) {}

std::string FetchPipeline::fetchHover(FetchPicture shown) {
  if (shown == FetchPicture::Done) return "已完成！";
  if (shown == FetchPicture::InProgress) return "正在进行时！";
  return "开始行动！";
}

void FetchPipeline::setPicture(FetchPicture picture) {
  picture_ = picture;
  main_.setFetchPicture(picture);
}

void FetchPipeline::reset() {
  syncDone_ = false;
  connectTimer_.setPeriod(0);
  fetchTimer_.setPeriod(0);
  rt_.stop(TaskSlot::Sync);
}

bool FetchPipeline::onCommand(MainCommand command) {
  if (command == MainCommand::Fetch) onFetchClicked();
  if (command == MainCommand::Start) onStartClicked();
  return command == MainCommand::Fetch || command == MainCommand::Start;
}

void FetchPipeline::onFetchClicked() {
  if (picture_ != FetchPicture::Idle && picture_ != FetchPicture::Failed && picture_ != FetchPicture::Error) return;
  reset();
  line_.startStepTimer(300);
  rt_.start(TaskSlot::Reveal, reveal());
  rt_.start(TaskSlot::FetchStart, fetchStart());
}

void FetchPipeline::endReveal() {
  rt_.stop(TaskSlot::Reveal);
  line_.stop();
}

Task<> FetchPipeline::reveal() {
  line_.place();
  co_await rt_.pumpWait(3000);
  main_.showTitleControl(TitleControl::Navigation);
  co_await rt_.pumpWait(500);
  main_.showTitleControl(TitleControl::About);
  line_.start();
  main_.showTitleControl(TitleControl::Settings);
  co_await rt_.pumpWait(500);
  main_.showTitleControl(TitleControl::Help);
  main_.showTitleControl(TitleControl::SkinButton);
}

void FetchPipeline::onStartClicked() {
  rt_.start(TaskSlot::FetchStart, fetchStart());
}

Task<> FetchPipeline::narrate(std::vector<Said> lines) {
  for (const Said& line : lines) {
    log_.add(line.text);
    if (line.waitMs > 0) co_await rt_.pumpWait(line.waitMs);
  }
}

Task<> FetchPipeline::fetchStart() {
  values_.fetchStarted = true;
  view_.setStatusWord("开始");
  view_.setControlsEnabled(false);
  setPicture(FetchPicture::InProgress);
  log_.clear();
  co_await rt_.pumpWait(400);
  if (restart_) {
    std::vector<Said> again{{"重新执行中", 400}};
    co_await narrate(std::move(again));
    restart_ = false;
  } else {
    // A customised copy greets its owner by name; without a name it greets as a standard copy.
    const bool byName = isOn(values_.srdzValue) && !values_.currentNickname.empty();
    std::string greeting = byName ? values_.currentNickname + "，欢迎您使用私人定制版！" : "欢迎您使用Zelkora新标版！";
    std::vector<Said> introduction{{greeting, 1000},
                                   {"谷歌、推特、脸书上不去？", 1000},
                                   {"就用Zelkora！", 3000},
                                   {"好东西不私藏，必须分享小伙伴！", 3500},
                                   {"您发起了指令，现在开始！", 0}};
    co_await narrate(std::move(introduction));
  }
  co_await rt_.pumpWait(3000);
  std::vector<Said> patience{{"过程大约需要1分钟，请耐心等待", 1000}};
  co_await narrate(std::move(patience));
  if (settings_.ticked() != Server::None) settings_.setServerChoice(settings_.ticked());
  if (settings_.serverChoice() == Server::None) {
    log_.add("您尚未选择服务器，指令提前终止。");
    setPicture(FetchPicture::Idle);
    view_.setControlsEnabled(true);
    co_return;
  }
  log_.add("正在连接云端...");
  ticks_ = 0;
  cloud_.connect();
  connectTimer_.setPeriod(1);
}

void FetchPipeline::connectTick() {
  ++ticks_;
  view_.setElapsed(std::to_string(ticks_) + "ms");
  if (ticks_ < 500) {
    if (cloud_.values.online != "1") return;
    connectTimer_.setPeriod(0);
    view_.setElapsed("成功");
    log_.add("连接成功！");
    view_.setStatusWord("执行");
    rt_.start(TaskSlot::FetchStart, afterConnected());
    return;
  }
  connectTimer_.setPeriod(0);
  view_.setElapsed("超时");
  setPicture(FetchPicture::Error);
  log_.add("连接失败，请重试。");
  view_.setStatusWord("失败");
}

Task<> FetchPipeline::afterConnected() {
  co_await rt_.pumpWait(1000);
  ticks_ = 0;
  // The timer first: the sync stage may stop it before its first wait.
  fetchTimer_.setPeriod(1);
  rt_.start(TaskSlot::Sync, sync());
}

void FetchPipeline::fetchTick() {
  view_.setStatusWord("执行");
  ++ticks_;
  view_.setElapsed(std::to_string(ticks_) + "ms");
  if (ticks_ > 20000) {
    fetchTimer_.setPeriod(0);
    view_.setElapsed("超时");
    setPicture(FetchPicture::Error);
    log_.add("获取超时，请重试");
    return;
  }
  if (!syncDone_) return;
  fetchTimer_.setPeriod(0);
  view_.setElapsed("处理");
  log_.add("数据已就绪，现在开始处理...");
  rt_.start(TaskSlot::FetchStart, afterReady());
}

Task<> FetchPipeline::afterReady() {
  co_await rt_.pumpWait(1500);
  Fetched texts = std::move(fetched_);  // tens of megabytes: moved, never copied
  fetched_ = Fetched();
  if (startWriter) startWriter(std::move(texts));
}

// The rows of the download table.
DownloadStage FetchPipeline::serverStage(Server server) const {
  const bool official = server != Server::Backup;
  DownloadStage s;
  s.label = official ? "【实时】" : "【备用】";
  s.opening = {{"正在向" + s.label + "服获取数据...", 0}};
  s.address = servers_[official ? 0 : 1];
  s.limit = official ? 3 : 2;
  s.giveUpLine = {s.label + "服多次失败，请排查相应问题。", 0};
  s.giveUpPicture = FetchPicture::Failed;
  return s;
}

DownloadStage FetchPipeline::listStage(DownloadStage::Text which) const {
  const bool ad = which == DownloadStage::Ad;
  DownloadStage s;
  s.text = which;
  s.label = ad ? "【去广】" : "【流导】";
  s.firstWaitMs = ad ? 1000 : 0;
  s.opening = {{ad ? "正在获取广告屏蔽数据..." : "正在获取流氓导航屏蔽数据...", 0}};
  s.address = servers_[ad ? 2 : 3];
  s.failedPicture = ad ? FetchPicture::Failed : FetchPicture::Idle;
  s.giveUpLine = {s.label + "多次失败，请排查相应问题", 0};
  if (ad) s.giveUpPicture = FetchPicture::Failed;
  return s;
}

Task<> FetchPipeline::sync() {
  view_.setStatusWord("过程");
  // The server list passes through Server.txt, from which its four keys are read.
  const std::string listFile = values_.dataFile("Server.txt");
  fs_.writeFile(listFile, cloud_.values.serverList);
  servers_ = IniFile(fs_, listFile).read("Server", {"Server1", "Server2", "Server3", "Server4"});
  fs_.deleteFile(listFile);
  if (!fetched_.mainDone) {
    bool ok = settings_.serverChoice() == Server::Custom ? co_await fetchCustom()
                                                         : co_await download(serverStage(settings_.serverChoice()));
    if (!ok) co_return;
  }
  if (settings_.adBlocking() && !co_await download(listStage(DownloadStage::Ad))) co_return;
  if (settings_.navigationBlocking() && !co_await download(listStage(DownloadStage::Navigation))) co_return;
  syncDone_ = true;
  fs_.deleteFile(listFile);
}

void FetchPipeline::giveUp() {
  retry_.setBox(0);
  view_.setControlsEnabled(true);
}

Task<> FetchPipeline::loopBack(int waitMs) {
  log_.add("回环中...");
  restart_ = true;
  co_await rt_.pumpWait(waitMs);
  retry_.countUp();
  retry_.setBox(retry_.count());
  rt_.start(TaskSlot::FetchStart, fetchStart());
}

// The custom server's address is checked before its row of the table runs.
Task<bool> FetchPipeline::fetchCustom() {
  const std::string address = settings_.read(Key::CustomAddress);
  if (address.empty()) {
    fetchTimer_.setPeriod(0);
    log_.add("读取自定义地址出错");
    co_await rt_.pumpWait(2000);
    log_.add("请检查您是否正确填写了自定义地址");
    setPicture(FetchPicture::Error);
    view_.setStatusWord("失败");
    giveUp();
    co_await rt_.pumpWait(2000);
    co_return false;
  }
  if (!startsWithIgnoreCase(trimBlanks(address), "http://")) {
    log_.add("错误，自定义地址不规范。请您务必认真填写。或转用官方。");
    setPicture(FetchPicture::Error);
    fetchTimer_.setPeriod(0);
    view_.setStatusWord("错误");
    giveUp();
    co_await rt_.pumpWait(2000);
    co_return false;
  }
  DownloadStage s;
  s.label = "【自定】";
  s.opening = {{"正在向【自定】服获取数据...", 3000}, {"从地址：" + address, 0}};
  s.address = trimBlanks(address);
  s.limit = 1;
  s.loopWaitMs = 3000;
  s.giveUpLine = {"【自定】服失败，正转官方数据...", 3000};
  s.toOfficial = true;
  s.giveUpWord = "转用";
  co_return co_await download(std::move(s));
}

Task<bool> FetchPipeline::download(DownloadStage s) {
  if (s.firstWaitMs > 0) co_await rt_.pumpWait(s.firstWaitMs);
  co_await narrate(s.opening);
  std::string text = co_await cloud_.fetchHostsText(s.address);
  co_await rt_.pumpWait(1000);
  if (!text.empty()) {
    switch (s.text) {
      case DownloadStage::Main: fetched_.main = std::move(text), fetched_.mainDone = true; break;
      case DownloadStage::Ad: fetched_.ad = std::move(text), fetched_.adDone = true; break;
      case DownloadStage::Navigation: fetched_.navigation = std::move(text), fetched_.navigationDone = true; break;
    }
    std::vector<Said> done{{s.label + "服数据获取完成！", 2000}};
    co_await narrate(std::move(done));
    co_return true;
  }
  fetchTimer_.setPeriod(0);
  log_.add(s.label + "文件出错，请重试。");
  setPicture(s.failedPicture);
  co_await rt_.pumpWait(1000);
  if (retry_.box() < s.limit) {
    co_await loopBack(s.loopWaitMs);
    co_return false;
  }
  std::vector<Said> giveUpLines{s.giveUpLine};
  co_await narrate(std::move(giveUpLines));
  if (s.toOfficial) settings_.tick(Server::Official);  // the stored choice stays as it is
  giveUp();
  if (s.giveUpPicture) setPicture(*s.giveUpPicture);
  view_.setStatusWord(s.giveUpWord);
  if (s.toOfficial) {
    co_await rt_.pumpWait(1000);
    rt_.start(TaskSlot::FetchStart, fetchStart());
  }
  co_return false;
}

}  // namespace zk
