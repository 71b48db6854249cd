// The cloud: its index and small files, the connection with its update check, the connection
// indicator with its reconnection loop, and the web links that carry the client version.
#pragma once

#include <functional>
#include <string>

#include "main/main_view.h"
#include "main/program_values.h"
#include "main/welcome_animation.h"
#include "platform/http.h"
#include "platform/prompt.h"
#include "platform/runtime.h"
#include "platform/system.h"
#include "sync/sync_view.h"

namespace zk {

struct CloudValues {
  std::string base;    // index body: prefix of the file names
  std::string online;  // "1" when the cloud serves
  std::string latestVersion;
  std::string websiteBase;  // prefix of Up.html, Dns.html, Mobile.html, index.html
  std::string serverList;   // INI text, section Server, keys Server1..Server4
  std::string fileTime;     // read by the status reader
  std::string newsAddress;  // id.css with the client parameter: the news view's page
};

// The cloud index address: a System.btx key of this name, when set, else the built-in one.
inline constexpr const char* kCloudIndexKey = "YDSY";

class Cloud {
 public:
  Cloud(Http& http, Runtime& rt, Prompter& prompt, Shell& shell, MainView& main, SyncView& view, ProgramValues& values,
        WelcomeAnimation& welcome);

  void setIndexUrl(std::string url) { indexUrl_ = std::move(url); }
  // The maker's web site, where the two news pages are.
  void setMakerSite(std::string url) { makerSite_ = std::move(url); }
  // The web links of the main window.
  bool onCommand(MainCommand command);
  // Run when the indicator has shown its result.
  std::function<void()> startStatusReader;

  // Starts (or restarts) the connection in its slot.
  void connect();
  // The connection itself, for a caller that starts it in the slot (start-up).
  Task<> connection();
  // One GET through a worker, with the download rules for small cloud files.
  Task<std::string> read(std::string url);
  Task<HttpResponse> fetch(std::string url);
  // A hosts text through a worker: downloaded and checked there (the checks read the whole body,
  // tens of megabytes), empty when it is no usable hosts text.
  Task<std::string> fetchHostsText(std::string url);

  CloudValues values;
  Indicator indicator() const { return indicator_; }
  static std::string indicatorHover(Indicator shown);
  // "?Client:V1.6" and the web links built with it.
  std::string clientParameter() const { return "?Client:V" + values_.programVersion; }
  std::string webLink(const std::string& page) const { return values.websiteBase + page + clientParameter(); }
  void openWebLink(const std::string& page) { openInBrowser(webLink(page)); }
  // Addresses from the cloud reach the browser only when they are web addresses; anything else
  // is dropped without a word (there is nobody to report it to). False when dropped.
  bool openInBrowser(const std::string& url);

 private:
  Task<> indicatorTask();
  void show(Indicator state);

  Http& http_;
  Runtime& rt_;
  Prompter& prompt_;
  Shell& shell_;
  MainView& main_;
  SyncView& view_;
  ProgramValues& values_;
  WelcomeAnimation& welcome_;
  std::string indexUrl_;
  std::string makerSite_;
  Indicator indicator_ = Indicator::None;
};

// A version text as a number: its leading decimal number, 0 when there is none.
float versionNumber(const std::string& text);

}  // namespace zk
