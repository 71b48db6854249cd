// Doubles for the cloud side: scripted HTTP answers and a recording sync view.
#pragma once

#include <algorithm>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/http.h"
#include "sync/sync_view.h"
#include "tests/support/fakes.h"

namespace zk::test {

// Answers by URL; a URL can be given a queue of answers (the last one repeats).
class FakeHttp : public Http {
 public:
  HttpResponse get(const std::string& url) override {
    requests.push_back(url);
    auto it = answers.find(url);
    if (it == answers.end() || it->second.empty()) return HttpResponse{};
    HttpResponse r = it->second.front();
    if (it->second.size() > 1) it->second.pop_front();
    return r;
  }
  void serve(const std::string& url, std::string body, int status = 200) {
    answers[url] = {HttpResponse{true, status, false, std::move(body)}};
  }
  void fail(const std::string& url) { answers[url] = {HttpResponse{}}; }
  int count(const std::string& url) const {
    int n = 0;
    for (auto& r : requests) n += r == url;
    return n;
  }
  std::map<std::string, std::deque<HttpResponse>> answers;
  std::vector<std::string> requests;
};

class FakeSyncView : public SyncView {
 public:
  void setLog(const std::string& t) override {
    if (t.size() > log.size()) everyLine.push_back(messageOf(t.substr(0, t.find("\r\n"))));
    log = t;
  }
  void setStatusWord(const std::string& w) override { words.push_back(w); }
  void setElapsed(const std::string& t) override { elapsed = t; }
  void setControlsEnabled(bool e) override { controlsEnabled = e; }
  void setIndicator(Indicator s) override { indicators.push_back(s); }
  void setNewsAddress(const std::string& url) override { news = url; }
  void setLocalLabel(const std::string& t, Rgb c) override { local = t, localColour = c; }
  void setCloudLabel(const std::string& t, Rgb c) override { cloud = t, cloudColour = c; }
  void setStatusLine(const std::string& t) override { statusLineText = t; }
  void setStatusLineColour(Rgb c) override { statusColours.push_back(c); }
  void setBusy(bool l, bool c) override { busyLocal = l, busyCloud = c; }
  void setHoverTexts(const std::string& l, const std::string& c) override { hoverLocal = l, hoverCloud = c; }
  void quit() override { quitted = true; }

  // A line without a time prefix (the customisation's welcome) is its own message.
  static std::string messageOf(const std::string& line) {
    std::size_t at = line.find("：");
    return at == std::string::npos ? line : line.substr(at + 3);
  }
  std::size_t count(const std::string& message) const {
    return static_cast<std::size_t>(std::count(everyLine.begin(), everyLine.end(), message));
  }
  // The log's messages, oldest first, without their time prefixes.
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    std::size_t end = log.size();
    while (end > 0) {
      std::size_t start = log.rfind("\r\n", end - 3);
      start = start == std::string::npos ? 0 : start + 2;
      std::string line = log.substr(start, end - 2 - start);
      out.push_back(line.substr(line.find("：") + 3));
      end = start;
    }
    return out;
  }

  std::vector<std::string> everyLine;  // every message added since the start, across clears
  std::string log, elapsed, news, local, cloud, statusLineText = "服务正在运行！", hoverLocal, hoverCloud;
  std::vector<std::string> words;
  std::vector<Indicator> indicators;
  std::vector<Rgb> statusColours;
  Rgb localColour, cloudColour;
  bool controlsEnabled = true, busyLocal = false, busyCloud = false, quitted = false;
};

}  // namespace zk::test
