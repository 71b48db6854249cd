// The one-click fetch: introduction, connect and fetch timers, the sync stage with its retries,
// and the hand-over to the hosts writer. Narrated line by line in the progress log.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/runtime.h"
#include "platform/system.h"
#include "personal/decorative_line.h"
#include "settings/main_view.h"
#include "settings/program_values.h"
#include "settings/settings_store.h"
#include "sync/cloud.h"
#include "sync/sync_view.h"

namespace zk {

// The fetched texts (GBK bytes as downloaded) and their freshness.
struct Fetched {
  std::string main, ad, navigation;
  bool mainDone = false, adDone = false, navigationDone = false;
};

// The progress log: newest line on top, each line with its time prefix.
class ProgressLog {
 public:
  ProgressLog(SyncView& view, Clock& clock) : view_(view), clock_(clock) {}
  void add(const std::string& message);
  void clear();
  const std::string& text() const { return text_; }

 private:
  SyncView& view_;
  Clock& clock_;
  std::string text_;
};

class FetchPipeline {
 public:
  FetchPipeline(Runtime& rt, FileSystem& fs, MainView& main, SyncView& view, Cloud& cloud, SettingsStore& settings,
                ProgramValues& values, ProgressLog& log, DecorativeLine& line);

  // The fetch picture's label: accepted only while the picture is idle, failed or error.
  void onFetchClicked();
  // The captionless start label: the fetch start alone.
  void onStartClicked();
  // Started by the fetch timer when the data is ready.
  std::function<void()> startWriter;

  Fetched fetched;
  int ticks() const { return ticks_; }
  // The retry counter box, with its rule: a value of exactly 3 sets the retry count back to 0.
  void setRetryBox(const std::string& text);
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
  Task<bool> fetchOfficial(Server which);
  Task<bool> fetchCustom();
  Task<bool> fetchList(bool ad);
  // A failed download below its limit: the whole fetch again, with the short introduction.
  Task<> loopBack(int waitMs);
  void giveUp();
  void connectTick();
  void fetchTick();
  int retryBoxValue() const;

  Runtime& rt_;
  FileSystem& fs_;
  MainView& main_;
  SyncView& view_;
  Cloud& cloud_;
  SettingsStore& settings_;
  ProgramValues& values_;
  ProgressLog& log_;
  DecorativeLine& line_;
  Timer connectTimer_;
  Timer fetchTimer_;
  int ticks_ = 0;
  bool syncDone_ = false;
  bool restart_ = false;
  // Server1 to Server4 of the server list: official, backup, ad-blocking, rogue-navigation.
  std::vector<std::string> servers_ = std::vector<std::string>(4);
};

}  // namespace zk
