// The web-ping window: eight public multi-location ping services shown in the hosted browser.
#pragma once

#include "main/main_view.h"
#include "platform/system.h"

namespace zk {

struct WebPingService {
  const char* caption;
  const char* url;
};
inline constexpr int kWebPingServiceCount = 8;
extern const WebPingService kWebPingServices[kWebPingServiceCount];

// 0 to 7: the service buttons, left to right.
enum class WebPingCommand : int { Close = 100 };

class WebPingView {
 public:
  virtual ~WebPingView() = default;
  // False where the system has no HTML engine for the hosted browser.
  virtual bool hasBrowser() const = 0;
  virtual void navigate(const std::string& url) = 0;
  virtual void hideHint() = 0;
  virtual void maximise() = 0;
  virtual void close() = 0;
};

class WebPingLogic {
 public:
  WebPingLogic(WebPingView& view, MainView& main, Shell& shell) : view_(view), main_(main), shell_(shell) {}
  void onCreated() { main_.setShown(false); }
  void onCommand(WebPingCommand command);

 private:
  WebPingView& view_;
  MainView& main_;
  Shell& shell_;
};

}  // namespace zk
