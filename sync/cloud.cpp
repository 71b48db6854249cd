#include "sync/cloud.h"

#include "sync/downloads.h"
#include "text/number.h"
#include "text/text.h"

namespace zk {

Cloud::Cloud(Http& http, Runtime& rt, Prompter& prompt, Shell& shell, MainView& main, SyncView& view,
             ProgramValues& values, WelcomeAnimation& welcome)
    : http_(http),
      rt_(rt),
      prompt_(prompt),
      shell_(shell),
      main_(main),
      view_(view),
      values_(values),
      welcome_(welcome) {}

float versionNumber(const std::string& text) {
  return static_cast<float>(leadingDecimal(text));
}

Task<HttpResponse> Cloud::fetch(std::string url) {
  Http* http = &http_;  // a process-wide service; the worker sees nothing else of ours
  // A named awaiter: GCC 12 destroys a temporary one holding captures twice.
  auto request = rt_.offload([http, url] { return http->get(url); });
  HttpResponse response = co_await request;
  co_return response;
}

Task<std::string> Cloud::fetchHostsText(std::string url) {
  Http* http = &http_;
  auto request = rt_.offload([http, url] { return hostsText(http->get(url)); });
  std::string text = co_await request;
  co_return text;
}

Task<std::string> Cloud::read(std::string url) {
  HttpResponse response = co_await fetch(std::move(url));
  co_return cloudText(response);
}

bool Cloud::onCommand(MainCommand command) {
  switch (command) {
    case MainCommand::BestDns: openWebLink("Dns.html"); return true;
    case MainCommand::Android: openWebLink("Mobile.html"); return true;
    case MainCommand::News1: openInBrowser(makerSite_ + "/News/html/042.html" + clientParameter()); return true;
    case MainCommand::News2: openInBrowser(makerSite_ + "/News/html/041.html" + clientParameter()); return true;
    // Without a browser control the news view is a link that opens the page in the browser.
    case MainCommand::News: openInBrowser(values.newsAddress); return true;
    default: return false;
  }
}

bool Cloud::openInBrowser(const std::string& url) {
  return isWebAddress(url) && shell_.open(url);
}

void Cloud::connect() {
  rt_.start(TaskSlot::CloudConnection, connection());
}

Task<> Cloud::connection() {
  rt_.stop(TaskSlot::Indicator);
  values.online.clear();
  values.base = co_await read(indexUrl_);
  values.online = co_await read(values.base + "ol.css");
  values.latestVersion = co_await read(values.base + "bb.css");
  values.websiteBase = co_await read(values.base + "gw.css");
  values.serverList = co_await read(values.base + "hostsserverurl.css");
  co_await rt_.pumpWait(1000);
  values.newsAddress = co_await read(values.base + "id.css") + clientParameter();
  view_.setNewsAddress(values.newsAddress);
  co_await rt_.pumpWait(100);
  if (versionNumber(values_.programVersion) < versionNumber(values.latestVersion) && !values_.updatePromptShown) {
    values_.updatePromptShown = true;
    main_.setShown(false);
    welcome_.run(false);
    prompt_.show("有新的版本可升级，点击确定进行更新！", "以旧换新", box::Topmost);
    openInBrowser(values.websiteBase + "Up.html?V" + values_.programVersion);
    view_.quit();
    co_return;
  }
  rt_.start(TaskSlot::Indicator, indicatorTask());
}

void Cloud::show(Indicator state) {
  indicator_ = state;
  view_.setIndicator(state);
}

Task<> Cloud::indicatorTask() {
  show(Indicator::None);
  show(Indicator::Connecting);
  co_await rt_.pumpWait(2000);
  if (values.online == "1") {
    show(Indicator::ConnectedFirst);
    co_await rt_.pumpWait(2000);
    show(Indicator::Connected);
  } else {
    show(Indicator::OfflineFirst);
    co_await rt_.pumpWait(2000);
    show(Indicator::Offline);
  }
  if (indicator_ == Indicator::Offline) {
    co_await rt_.pumpWait(3000);
    // Offline, the status reader shows "连接失败" and starts the next connection itself: one
    // reconnection per round, never two racing each other.
    if (!startStatusReader) connect();
  }
  if (startStatusReader) startStatusReader();
}

std::string Cloud::indicatorHover(Indicator shown) {
  if (shown == Indicator::Connected) return "已连接至云端！";
  if (shown == Indicator::Offline) return "云端连接失败！";
  return "连接中！";
}

}  // namespace zk
