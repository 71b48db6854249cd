// The one-click fetch: introduction, connect and fetch timers, the sync stage with its retries,
// and the hand-over to the hosts writer. Narrated line by line in the progress log.
#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "main/decorative_line.h"
#include "main/main_view.h"
#include "main/program_values.h"
#include "main/retry_counter.h"
#include "platform/files.h"
#include "platform/runtime.h"
#include "platform/system.h"
#include "settings/settings_store.h"
#include "sync/cloud.h"
#include "sync/hosts_file.h"
#include "sync/sync_view.h"

namespace zk {

// The progress log: newest line on top, each line with its time prefix.
class ProgressLog {
 public:
  ProgressLog(SyncView& view, Clock& clock) : view_(view), clock_(clock) {}
  void add(const std::string& message);
  void clear();

 private:
  SyncView& view_;
  Clock& clock_;
  std::string text_;
};

// A narrated line and the wait after it.
struct Said {
  std::string text;
  int waitMs = 0;
};

// One download of the sync stage: the main text from a server, or a blocking list. Each runs the
// same steps (download, then succeed, retry or give up) with the values of its row.
struct DownloadStage {
  enum Text { Main, Ad, Navigation };
  Text text = Main;
  std::string label;          // 【实时】, 【备用】, 【自定】, 【去广】, 【流导】
  int firstWaitMs = 0;        // before the opening lines
  std::vector<Said> opening;  // the lines before the download
  std::string address;
  FetchPicture failedPicture = FetchPicture::Failed;
  int limit = 3;          // give up when the retry counter box is at least this
  int loopWaitMs = 1000;  // after "回环中..." before the retry
  // Giving up.
  Said giveUpLine;
  bool toOfficial = false;  // the custom server's fall-back: official ticked, the fetch again
  std::optional<FetchPicture> giveUpPicture;
  std::string giveUpWord = "失败";
};

class FetchPipeline {
 public:
  FetchPipeline(Runtime& rt, FileSystem& fs, MainView& main, SyncView& view, Cloud& cloud, SettingsStore& settings,
                ProgramValues& values, RetryCounter& retry, ProgressLog& log, DecorativeLine& line);

  // The fetch picture's label and the start label.
  bool onCommand(MainCommand command);
  // The fetch picture's label: accepted only while the picture is idle, failed or error.
  void onFetchClicked();
  // The captionless start label: the fetch start alone.
  void onStartClicked();
  // Started by the fetch timer when the data is ready; the texts move to the writer.
  std::function<void(Fetched)> startWriter;

  // The fetch picture's state, shown by the main window.
  void setPicture(FetchPicture picture);
  // Stops the timers and the sync stage (the writer's first step).
  void reset();
  // Ends the reveal and stops and hides the decorative line (the writer, after a write).
  void endReveal();
  static std::string fetchHover(FetchPicture shown);

 private:
  Task<> fetchStart();
  // The title strip comes back piece by piece while the fetch runs.
  Task<> reveal();
  Task<> afterConnected();
  Task<> afterReady();
  Task<> sync();
  Task<bool> fetchCustom();
  Task<bool> download(DownloadStage stage);
  DownloadStage serverStage(Server server) const;
  DownloadStage listStage(DownloadStage::Text which) const;
  Task<> narrate(std::vector<Said> lines);
  // A failed download below its limit: the whole fetch again, with the short introduction.
  Task<> loopBack(int waitMs);
  void giveUp();
  void connectTick();
  void fetchTick();

  Runtime& rt_;
  FileSystem& fs_;
  MainView& main_;
  SyncView& view_;
  Cloud& cloud_;
  SettingsStore& settings_;
  ProgramValues& values_;
  RetryCounter& retry_;
  ProgressLog& log_;
  DecorativeLine& line_;
  Timer connectTimer_;
  Timer fetchTimer_;
  Fetched fetched_;
  FetchPicture picture_ = FetchPicture::Idle;
  int ticks_ = 0;
  bool syncDone_ = false;
  bool restart_ = false;
  // Server1 to Server4 of the server list: official, backup, ad-blocking, rogue-navigation.
  std::vector<std::string> servers_ = std::vector<std::string>(4);
};

}  // namespace zk
