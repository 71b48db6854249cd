#include "sync/status_reader.h"

#include <cmath>
#include <optional>

#include "sync/hosts_file.h"
#include "text/gbk.h"
#include "text/number.h"

namespace zk {

namespace {
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 128, 0};
constexpr Rgb kLime{0, 255, 0};
constexpr Rgb kTeal{0, 128, 128};

struct LocalFile {
  bool exists = false;
  std::optional<std::string> stamp;
};
}  // namespace

StatusReader::StatusReader(Runtime& rt, FileSystem& fs, SyncView& view, Cloud& cloud, SettingsStore& settings,
                           ProgramValues& values)
    : rt_(rt), fs_(fs), view_(view), cloud_(cloud), settings_(settings), values_(values) {}

void StatusReader::start() {
  rt_.start(TaskSlot::StatusReader, run());
}
void StatusReader::stop() {
  rt_.stop(TaskSlot::StatusReader);
}
bool StatusReader::onCommand(MainCommand command) {
  if (command != MainCommand::LocalStatus && command != MainCommand::CloudStatus) return false;
  onRefreshClicked();
  return true;
}

void StatusReader::onRefreshClicked() {
  rt_.start(TaskSlot::StatusRefresh, refresh());
}

Task<> StatusReader::refresh() {
  stop();
  co_await rt_.pumpWait(100);
  start();
}

void StatusReader::hover(std::string local, std::string cloud) {
  localHover_ = std::move(local);
  cloudHover_ = std::move(cloud);
  view_.setHoverTexts(localHover_, cloudHover_);
}

void StatusReader::setLocal(const std::string& text, Rgb colour) {
  localLabel_ = text;
  view_.setLocalLabel(text, colour);
}

void StatusReader::setStatusLine(const std::string& text) {
  statusLine_ = text;
  view_.setStatusLine(text);
}

Task<> StatusReader::blink() {
  if (statusLine_ != kStatusMatch) {
    for (int i = 0; i < 8; ++i) {
      view_.setStatusLineColour(kRed);
      co_await rt_.pumpWait(200);
      view_.setStatusLineColour(kBlack);
      co_await rt_.pumpWait(200);
    }
    view_.setStatusLineColour(kRed);
    co_return;
  }
  for (int i = 0; i < 11; ++i) {
    view_.setStatusLineColour(i % 2 == 0 ? kGreen : kLime);
    co_await rt_.pumpWait(200);
  }
  view_.setStatusLineColour(kTeal);
  co_await rt_.pumpWait(200);
  view_.setStatusLineColour(kGreen);
}

Task<> StatusReader::run() {
  view_.setBusy(true, true);
  setLocal("    读取中..", kBlack);
  view_.setCloudLabel("    读取中..", kBlack);
  setStatusLine("正在读取本地、云端文件！");
  view_.setStatusLineColour(kTeal);
  co_await rt_.pumpWait(1000);
  hover("正在读取系统文件！", "正在读取云端文件！");
  co_await rt_.pumpWait(1000);

  // Local side: the file can be tens of megabytes; it is read and scanned on a worker.
  FileSystem* fs = &fs_;
  const std::string path = values_.systemHostsPath;
  auto reading = rt_.offload([fs, path] {
    LocalFile f;
    if (!fs->fileExists(path)) return f;
    f.exists = true;
    f.stamp = hostsStampOfFile(*fs, path);
    return f;
  });
  LocalFile local = co_await reading;
  Rgb localColour = kBlack;
  if (local.exists) {
    std::string stamp = local.stamp ? fromGbk(*local.stamp) : std::string();
    view_.setBusy(false, true);
    if (!stamp.empty()) {
      setLocal(stamp, localColour);
      hover("本地文件信息：" + stamp, cloudHover_);
    } else {
      localColour = {255, 128, 0};
      setLocal("尚未使用！", localColour);
      setStatusLine("本地已发现Hosts文件，但未使用Zelkora更新，请更新！");
      hover(statusLine_, cloudHover_);
      co_await blink();
    }
  } else {
    view_.setBusy(false, true);
    localColour = {128, 128, 128};
    setLocal("尚未发现！", localColour);
    setStatusLine("本地文件没有发现，请一键获取！");
    co_await blink();
    hover("本地尚未发现Hosts文件，请一键获取！", cloudHover_);
  }

  // Cloud side.
  if (settings_.ticked() == Server::Custom) {
    view_.setBusy(false, false);
    view_.setCloudLabel("不予支持！", kRed);
    setStatusLine("不支持自定义服务器！");
    co_await blink();
    hover(localHover_, "不支持自定义服务器！");
    // The cloud connection keeps being retried while it is down, whichever server is chosen.
    if (cloud_.values.online != "1") cloud_.connect();
  } else if (cloud_.values.online != "1") {
    view_.setCloudLabel("连接失败", kRed);
    hover(localHover_, "连接服务器失败！");
    cloud_.connect();
  } else {
    std::string cloudStamp = co_await cloud_.read(cloud_.values.base + "filetime.css");
    cloud_.values.fileTime = cloudStamp;
    if (cloudStamp.empty()) {
      view_.setBusy(false, false);
      view_.setCloudLabel("读取错误", kRed);
      hover(localHover_, "云端文件读取错误！");
    } else if (cloudStamp.size() != 9) {
      view_.setBusy(false, false);
      view_.setCloudLabel("云端错误！", kRed);
      setStatusLine("云端文件读取错误,请排查相关问题！");
      co_await blink();
      hover(localHover_, "云端文件读取错误,请排查相关问题！");
    } else {
      std::string cloudText = fromGbk(cloudStamp);
      view_.setCloudLabel(cloudText, kBlack);
      view_.setBusy(false, false);
      double cloudValue = leadingDecimal(cloudText);
      double localValue = leadingDecimal(localLabel_);
      if (cloudValue - localValue > 0.0000001) {
        view_.setCloudLabel(cloudText, kLime);
        setLocal(localLabel_, {255, 0, 255});
        setStatusLine("云端发现最新内容，请及时更新！");
        co_await blink();
        hover("新消息：本地文件陈旧，云端有新内容，请更新！", "新消息：云端文件有新内容，请点击环绕箭头进行获取！");
      } else if (std::fabs(cloudValue - localValue) <= 0.0000001) {
        view_.setCloudLabel(cloudText, kGreen);
        setLocal(localLabel_, kGreen);
        setStatusLine(kStatusMatch);
        co_await blink();
        hover("您本地文件与云端文件一致，云端暂无更新内容！", "您本地文件与云端文件一致，云端暂无更新内容！");
      }
    }
  }
  view_.setBusy(false, false);
}

}  // namespace zk
