#include "sync/hosts_writer.h"

#include <chrono>
#include <thread>

#include "text/text.h"

namespace zk {

namespace {
constexpr std::uint32_t kArchive = 32;
constexpr std::uint32_t kProtected = 38;  // archive + system + hidden
}  // namespace

HostsWriter::HostsWriter(WriterServices s, SyncView& view, ProgramValues& values, SettingsStore& settings,
                         FetchPipeline& fetch, ProgressLog& log, NavigationPanel& navigation)
    : sleep([](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }),
      s_(s),
      view_(view),
      values_(values),
      settings_(settings),
      fetch_(fetch),
      log_(log),
      navigation_(navigation) {}

void HostsWriter::start(Fetched texts) {
  s_.rt.start(TaskSlot::Writer, run(std::move(texts)));
}

Task<> HostsWriter::run(Fetched parts) {
  Runtime& rt = s_.rt;
  const std::string path = values_.systemHostsPath;
  fetch_.reset();
  log_.add("正在解锁本地文件...");
  s_.fs.setAttributes(path, kArchive);
  co_await rt.pumpWait(1000);
  log_.add("正在编排数据...");
  co_await rt.pumpWait(1000);
  log_.add("开始存入...");
  LocalTime longAt = s_.clock.now();
  LocalTime dashedAt = s_.clock.now();
  std::string bytes = composeHostsFile(parts, longAt, dashedAt);
  parts = Fetched();

  HostsWriteOptions options{values_.dataFolder.empty() ? "" : values_.dataFile("Backup"), 3, sleep};
  FileSystem* fs = &s_.fs;
  auto writing =
      rt.offload([fs, path, bytes = std::move(bytes), options] { return writeHostsFile(*fs, path, bytes, options); });
  bool written = co_await writing;

  if (written) {
    log_.add("存入成功！");
    if (settings_.loaded().protectHostsFile) s_.fs.setAttributes(path, kProtected);
    co_await rt.pumpWait(1000);
    log_.add("正在清除本地缓存...");
    Processes* processes = &s_.processes;
    auto flushing = rt.offload([processes, command = values_.systemCommand("ipconfig", "/flushdns")] {
      return processes->runHidden(command);
    });
    co_await flushing;
    co_await rt.pumpWait(500);
    log_.add("清除完毕！");
    co_await rt.pumpWait(500);
    log_.add("正在刷新DNS解析服务...");
    if (refreshDnsClient) co_await refreshDnsClient();
    if (stopStatusReader) stopStatusReader();
    co_await rt.pumpWait(600);
    if (startStatusReader) startStatusReader();
    log_.add("刷新完毕！");
    co_await rt.pumpWait(1000);
    fetch_.endReveal();
    fetch_.setPicture(FetchPicture::Done);
    log_.add("★ 好消息，春天到了！★");
    view_.setStatusWord("成功");
    co_await rt.pumpWait(1000);
    // The setting "获取成功后，自动弹出导航列表" decides whether the panel opens.
    if (settings_.loaded().openNavigation) co_await navigation_.open();
    co_await rt.pumpWait(4000);
    fetch_.setPicture(FetchPicture::Idle);
  } else {
    log_.add("写入失败！");
    fetch_.setPicture(FetchPicture::Failed);
    co_await rt.pumpWait(2000);
    log_.add("请检查目录是否可写！");
    co_await rt.pumpWait(2000);
    log_.add("并排查杀毒软件问题！");
    view_.setStatusWord("失败");
    co_await rt.pumpWait(4000);
  }
  view_.setControlsEnabled(true);
}

}  // namespace zk
