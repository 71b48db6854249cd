#include "sync/fetch.h"

#include <cstdlib>

#include "platform/ini_file.h"
#include "sync/downloads.h"
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
                             SettingsStore& settings, ProgramValues& values, ProgressLog& log,
                             DecorativeLine& line)
    : rt_(rt),
      fs_(fs),
      main_(main),
      view_(view),
      cloud_(cloud),
      settings_(settings),
      values_(values),
      log_(log),
      line_(line),
      connectTimer_(rt, [this] { connectTick(); }),
      fetchTimer_(rt, [this] { fetchTick(); }) {}

std::string FetchPipeline::fetchHover(FetchPicture shown) {
  if (shown == FetchPicture::Done) return "已完成！";
  if (shown == FetchPicture::InProgress) return "正在进行时！";
  return "开始行动！";
}

void FetchPipeline::setRetryBox(const std::string& text) {
  main_.setRetryCounterText(text);
  if (std::atoi(text.c_str()) == 3) values_.retryCount = 0;
}

int FetchPipeline::retryBoxValue() const {
  return std::atoi(main_.retryCounterText().c_str());
}

void FetchPipeline::reset() {
  syncDone_ = false;
  connectTimer_.setPeriod(0);
  fetchTimer_.setPeriod(0);
  rt_.stop(TaskSlot::Sync);
}

void FetchPipeline::onFetchClicked() {
  FetchPicture shown = view_.fetchPicture();
  if (shown != FetchPicture::Idle && shown != FetchPicture::Failed && shown != FetchPicture::Error) return;
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
  view_.showTitleControl(TitleControl::Navigation);
  co_await rt_.pumpWait(500);
  view_.showTitleControl(TitleControl::About);
  line_.start();
  view_.showTitleControl(TitleControl::Settings);
  co_await rt_.pumpWait(500);
  view_.showTitleControl(TitleControl::Help);
  view_.showTitleControl(TitleControl::SkinButton);
}

void FetchPipeline::onStartClicked() {
  rt_.start(TaskSlot::FetchStart, fetchStart());
}

Task<> FetchPipeline::fetchStart() {
  view_.setStatusWord("开始");
  view_.setControlsEnabled(false);
  main_.setFetchPicture(FetchPicture::InProgress);
  log_.clear();
  co_await rt_.pumpWait(400);
  if (restart_) {
    log_.add("重新执行中");
    co_await rt_.pumpWait(400);
    restart_ = false;
  } else {
    log_.add(isOn(values_.srdzValue) ? values_.currentNickname + "，欢迎您使用私人定制版！"
                                     : "欢迎您使用Zelkora新标版！");
    co_await rt_.pumpWait(1000);
    log_.add("谷歌、推特、脸书上不去？");
    co_await rt_.pumpWait(1000);
    log_.add("就用Zelkora！");
    co_await rt_.pumpWait(3000);
    log_.add("好东西不私藏，必须分享小伙伴！");
    co_await rt_.pumpWait(3500);
    log_.add("您发起了指令，现在开始！");
  }
  co_await rt_.pumpWait(3000);
  log_.add("过程大约需要1分钟，请耐心等待");
  co_await rt_.pumpWait(1000);
  if (main_.radioChecked(Server::Official))
    settings_.setServerChoice(Server::Official);
  else if (main_.radioChecked(Server::Backup))
    settings_.setServerChoice(Server::Backup);
  else if (main_.radioChecked(Server::Custom))
    settings_.setServerChoice(Server::Custom);
  if (settings_.serverChoice() == Server::None) {
    log_.add("您尚未选择服务器，指令提前终止。");
    main_.setFetchPicture(FetchPicture::Idle);
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
  main_.setFetchPicture(FetchPicture::Error);
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
    main_.setFetchPicture(FetchPicture::Error);
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
  if (startWriter) startWriter();
}

Task<> FetchPipeline::sync() {
  view_.setStatusWord("过程");
  // The server list passes through Server.txt, from which its four keys are read.
  const std::string listFile = values_.dataFile("Server.txt");
  fs_.writeFile(listFile, cloud_.values.serverList);
  servers_ = IniFile(fs_, listFile).read("Server", {"Server1", "Server2", "Server3", "Server4"});
  fs_.deleteFile(listFile);
  if (!fetched.mainDone) {
    bool ok = settings_.serverChoice() == Server::Custom ? co_await fetchCustom()
                                                         : co_await fetchOfficial(settings_.serverChoice());
    if (!ok) co_return;
  }
  if (main_.adBlockingTicked() && !co_await fetchList(true)) co_return;
  if (main_.navigationBlockingTicked() && !co_await fetchList(false)) co_return;
  syncDone_ = true;
  fs_.deleteFile(listFile);
}

void FetchPipeline::giveUp() {
  setRetryBox("0");
  view_.setControlsEnabled(true);
}

Task<> FetchPipeline::loopBack(int waitMs) {
  log_.add("回环中...");
  restart_ = true;
  co_await rt_.pumpWait(waitMs);
  ++values_.retryCount;
  setRetryBox(std::to_string(values_.retryCount));
  rt_.start(TaskSlot::FetchStart, fetchStart());
}

Task<bool> FetchPipeline::fetchOfficial(Server which) {
  const bool official = which != Server::Backup;
  const std::string label = official ? "【实时】" : "【备用】";
  const int limit = official ? 3 : 2;
  log_.add("正在向" + label + "服获取数据...");
  HttpResponse response = co_await cloud_.fetch(servers_[official ? 0 : 1]);
  std::string text = hostsText(std::move(response));
  co_await rt_.pumpWait(1000);
  if (!text.empty()) {
    fetched.main = std::move(text);
    fetched.mainDone = true;
    log_.add(label + "服数据获取完成！");
    co_await rt_.pumpWait(2000);
    co_return true;
  }
  fetchTimer_.setPeriod(0);
  log_.add(label + "文件出错，请重试。");
  main_.setFetchPicture(FetchPicture::Failed);
  co_await rt_.pumpWait(1000);
  if (retryBoxValue() >= limit) {
    log_.add(label + "服多次失败，请排查相应问题。");
    giveUp();
    main_.setFetchPicture(FetchPicture::Failed);
    view_.setStatusWord("失败");
  } else {
    co_await loopBack(1000);
  }
  co_return false;
}

Task<bool> FetchPipeline::fetchCustom() {
  const std::string address = settings_.read("ZURL");
  if (address.empty()) {
    fetchTimer_.setPeriod(0);
    log_.add("读取自定义地址出错");
    co_await rt_.pumpWait(2000);
    log_.add("请检查您是否正确填写了自定义地址");
    main_.setFetchPicture(FetchPicture::Error);
    view_.setStatusWord("失败");
    giveUp();
    co_await rt_.pumpWait(2000);
    co_return false;
  }
  if (!startsWithIgnoreCase(trimBlanks(address), "http://")) {
    log_.add("错误，自定义地址不规范。请您务必认真填写。或转用官方。");
    main_.setFetchPicture(FetchPicture::Error);
    fetchTimer_.setPeriod(0);
    view_.setStatusWord("错误");
    giveUp();
    co_await rt_.pumpWait(2000);
    co_return false;
  }
  log_.add("正在向【自定】服获取数据...");
  co_await rt_.pumpWait(3000);
  log_.add("从地址：" + address);
  HttpResponse response = co_await cloud_.fetch(trimBlanks(address));
  std::string text = hostsText(std::move(response));
  co_await rt_.pumpWait(1000);
  if (!text.empty()) {
    fetched.main = std::move(text);
    fetched.mainDone = true;
    log_.add("【自定】服数据获取完成！");
    co_await rt_.pumpWait(2000);
    co_return true;
  }
  log_.add("【自定】文件出错，请重试。");
  main_.setFetchPicture(FetchPicture::Failed);
  fetchTimer_.setPeriod(0);
  co_await rt_.pumpWait(1000);
  if (retryBoxValue() >= 1) {
    log_.add("【自定】服失败，正转官方数据...");
    co_await rt_.pumpWait(3000);
    main_.setRadioChecked(Server::Official, true);  // XFWQ stays as it is
    giveUp();
    view_.setStatusWord("转用");
    co_await rt_.pumpWait(1000);
    rt_.start(TaskSlot::FetchStart, fetchStart());
  } else {
    co_await loopBack(3000);
  }
  co_return false;
}

Task<bool> FetchPipeline::fetchList(bool ad) {
  const std::string label = ad ? "【去广】" : "【流导】";
  if (ad) co_await rt_.pumpWait(1000);
  log_.add(ad ? "正在获取广告屏蔽数据..." : "正在获取流氓导航屏蔽数据...");
  HttpResponse response = co_await cloud_.fetch(servers_[ad ? 2 : 3]);
  std::string text = hostsText(std::move(response));
  co_await rt_.pumpWait(1000);
  if (!text.empty()) {
    (ad ? fetched.ad : fetched.navigation) = std::move(text);
    (ad ? fetched.adDone : fetched.navigationDone) = true;
    log_.add(label + "服数据获取完成！");
    co_await rt_.pumpWait(2000);
    co_return true;
  }
  fetchTimer_.setPeriod(0);
  log_.add(label + "文件出错，请重试。");
  main_.setFetchPicture(ad ? FetchPicture::Failed : FetchPicture::Idle);
  co_await rt_.pumpWait(1000);
  if (retryBoxValue() >= 3) {
    log_.add(label + "多次失败，请排查相应问题");
    giveUp();
    if (ad) main_.setFetchPicture(FetchPicture::Failed);
    view_.setStatusWord("失败");
  } else {
    co_await loopBack(1000);
  }
  co_return false;
}

}  // namespace zk
