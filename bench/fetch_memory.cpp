// Peak memory of a one-click fetch whose hosts text is 50 MB: the whole pipeline (narration,
// download rules, composition, backup and atomic write of a real file) in virtual time, with the
// download answered from memory. Prints the payload, the peak resident size and the goal.
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>

#include "bench/posix_fs.h"
#include "main/navigation_panel.h"
#include "sync/cloud.h"
#include "sync/fetch.h"
#include "sync/hosts_writer.h"
#include "tests/support/sync_fakes.h"
#include "tests/support/virtual_runtime.h"

using namespace zk;

int main() {
  std::string dir = (std::filesystem::temp_directory_path() / "zelkora-fetch-memory").string();
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir + "/data");
  bench::PosixFileSystem fs;
  test::VirtualRuntime rt;
  test::FakeMainView main;
  test::FakeSyncView view;
  test::FakePrompter prompt;
  test::FakeShell shell;
  test::FakeProcesses processes;
  test::FakeClock clock;
  test::FakeHttp http;
  ProgramValues values;
  values.dataFolder = dir + "/data";
  values.systemHostsPath = dir + "/hosts";
  WelcomeAnimation welcome(rt, main);
  RetryCounter retry(main);
  SettingsStore settings(fs, prompt, rt, main, values, welcome, retry);
  Cloud cloud(http, rt, prompt, shell, main, view, values, welcome);
  ProgressLog log(view, clock);
  DecorativeLine line(rt, main);
  FetchPipeline fetch(rt, fs, main, view, cloud, settings, values, retry, log, line);
  NavigationPanel navigation(rt, main);
  HostsWriter writer({rt, fs, processes, clock}, view, values, settings, fetch, log, navigation);
  fetch.startWriter = [&](Fetched texts) { writer.start(std::move(texts)); };
  writer.sleep = [](int) {};

  std::size_t payload = 0;
  {
    std::string text = bench::bigHostsText();
    payload = text.size();
    http.serve("http://c/kpr.css", "http://c/");
    http.serve("http://c/ol.css", "1");
    http.serve("http://c/hostsserverurl.css", "[Server]\r\nServer1=http://c/main.txt\r\n");
    http.serve("http://c/main.txt", std::move(text));
  }
  fs.writeFile(values.systemHostsPath, "127.0.0.1 localhost\r\n");
  cloud.setIndexUrl("http://c/kpr.css");
  settings.tick(Server::Official);
  // The served body is the fake server's copy; the client's own copies are what is measured
  // beyond it, so it is dropped from the figure below.
  fetch.onFetchClicked();
  rt.advance(200'000);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  double peakMb = usage.ru_maxrss / 1024.0;
  double payloadMb = payload / 1048576.0;
  bool written = fs.fileSize(values.systemHostsPath) > static_cast<std::int64_t>(payload);
  std::printf("payload %.1f MB, hosts file written: %s\n", payloadMb, written ? "yes" : "NO");
  std::printf("peak resident %.1f MB (includes the fake server's copy of the body, %.1f MB)\n", peakMb, payloadMb);
  std::printf("goal: at most 4 x payload + 30 MB = %.1f MB\n", 4 * payloadMb + 30);
  std::filesystem::remove_all(dir);
  return written ? 0 : 1;
}
