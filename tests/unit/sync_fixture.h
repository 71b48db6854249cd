// The cloud synchronisation wired to doubles, on top of a started program.
#pragma once

#include "main/navigation_panel.h"
#include "main/temp_folder.h"
#include "sync/cloud.h"
#include "sync/fetch.h"
#include "sync/hosts_writer.h"
#include "sync/status_reader.h"
#include "tests/support/sync_fakes.h"
#include "tests/unit/startup_fixture.h"

namespace zk::test {

inline constexpr const char* kIndex = "http://cloud.test/kpr.css";
inline constexpr const char* kBase = "http://cloud.test/z/";
inline constexpr const char* kHosts = "C:\\Windows\\System32\\drivers\\etc\\hosts";

struct SyncProgram : Program {
  FakeHttp http;
  FakeClock clock;
  FakeSyncView sync;
  Cloud cloud{http, rt, prompt, shell, view, sync, values, welcome};
  ProgressLog log{sync, clock};
  DecorativeLine line{rt, view, [](int lo, int) { return lo; }};
  FetchPipeline fetch{rt, fs, view, sync, cloud, settings, values, retry, log, line};
  NavigationPanel navigation{rt, view};
  HostsWriter writer{WriterServices{rt, fs, processes, clock}, sync, values, settings, fetch, log, navigation};
  StatusReader status{rt, fs, sync, cloud, settings, values};

  SyncProgram() {
    cloud.setIndexUrl(kIndex);
    cloud.startStatusReader = [this] { status.start(); };
    fetch.startWriter = [this](Fetched texts) { writer.start(std::move(texts)); };
    writer.sleep = [](int) {};
    writer.refreshDnsClient = [this] { return temp.runDnscacheScript(); };
    writer.stopStatusReader = [this] { status.stop(); };
    writer.startStatusReader = [this] { status.start(); };
    http.serve(kIndex, kBase);
    http.serve(std::string(kBase) + "ol.css", "1");
    http.serve(std::string(kBase) + "bb.css", "1.6");
    http.serve(std::string(kBase) + "gw.css", "http://www.test/");
    http.serve(std::string(kBase) + "id.css", "http://www.test/news.html");
    http.serve(std::string(kBase) + "filetime.css", "161207091");
    http.serve(std::string(kBase) + "hostsserverurl.css",
               "[Server]\r\nServer1=http://h.test/main.txt\r\nServer2=http://h.test/backup.txt\r\n"
               "Server3=http://h.test/ad.txt\r\nServer4=http://h.test/nav.txt\r\n");
    http.serve("http://h.test/main.txt", "# Ti:161207091\r\n127.0.0.1 localhost\r\n");
    http.serve("http://h.test/backup.txt", "# Ti:161207080\r\n127.0.0.1 backup\r\n");
    http.serve("http://h.test/ad.txt", "0.0.0.0 ads.test\r\n");
    http.serve("http://h.test/nav.txt", "0.0.0.0 nav.test\r\n");
  }

  // Start-up, then the fetch picture clicked, then everything until the program is idle again.
  void clickFetch() {
    fetch.onFetchClicked();
    settle();
  }
  void settle() { rt.advance(120'000); }
  std::string hostsFile() { return fs.bytes(kHosts); }
};

}  // namespace zk::test
