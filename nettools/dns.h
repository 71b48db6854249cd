// One-click DNS: the preset servers, the netsh command lines they expand to, and the window's logic.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "main/main_view.h"
#include "nettools/network_repair.h"
#include "platform/prompt.h"
#include "platform/runtime.h"

namespace zk {

enum class DnsFamily { None, IPv4, IPv6 };

struct DnsPreset {
  int group;  // 1 to 6, the caption above its rows
  const char* caption;
  const char* primary;
  const char* secondary;
  DnsFamily family;  // None: a button without servers
  const char* hoverText;
};

inline constexpr int kDnsPresetCount = 62;
extern const DnsPreset kDnsPresets[kDnsPresetCount];
extern const char* const kDnsGroupCaptions[6];
// Every root server and every custom entry is paired with this secondary server.
inline constexpr const char* kFixedSecondaryDns = "74.82.42.42";
inline constexpr const char* kDnsIdleText = "一键DNS，简单操作，免除烦恼！快速且高效！";

// Template 1 (order 1) or 2 of a family: netsh with the placeholder replaced by the address and the
// fixed connection's name by the one given ("interface IP Set dns "本地连接" static 8.8.8.8 primary").
ToolCommand dnsCommand(DnsFamily family, int order, const std::string& address,
                       const std::string& connection = std::string(kFixedConnection));
// The message after a successful apply.
std::string dnsAppliedMessage(DnsFamily family, const std::string& primary, const std::string& secondary);

// What the connection's server list of the family shows after an apply: the primary in effect only
// when the list starts with it; the secondary set when it is anywhere in the list (an add that
// meets an address already there is refused, yet what it asked for holds).
struct DnsReadBack {
  bool readable = false;
  bool primaryFirst = false;
  bool secondaryListed = false;
  std::string firstNow;  // the server the connection asks first now; empty when none
  bool tookEffect() const { return primaryFirst && secondaryListed; }
};
DnsReadBack judgeDns(DnsFamily family, const std::string& primary, const std::string& secondary,
                     const std::optional<ConnectionState>& state);
// The message box after an apply on a connection: text and title. refused: the command lines that
// did not end cleanly.
std::pair<std::string, std::string> dnsOutcomeMessage(DnsFamily family, const std::string& primary,
                                                      const std::string& secondary, const DnsReadBack& result,
                                                      const std::vector<std::string>& refused);

// 0 to 61: the preset buttons, in the table's order.
enum class DnsCommand : int { Apply = 100, Notes, Suggest, Automatic, Close };

class DnsView {
 public:
  virtual ~DnsView() = default;
  virtual void setStatus(const std::string& text) = 0;
  virtual void setBusy(bool shown) = 0;     // the busy picture beside the status
  virtual void setOverlay(bool shown) = 0;  // the layer that takes every click of the window
  // The two command lines of the last apply as started, kept in the window's hidden fields.
  virtual void setCommandLines(const std::string& first, const std::string& second) = 0;
  virtual std::string customServer() const = 0;
  virtual void close() = 0;
};

struct DnsServices {
  Runtime& rt;
  NetworkRepair& repair;
  Prompter& prompt;
  MainView& main;
};

class DnsLogic {
 public:
  DnsLogic(DnsServices s, DnsView& view);
  ~DnsLogic();
  std::function<void()> openSuggestion;     // the cloud's DNS suggestion page
  std::function<void()> rebuildTempFolder;  // started, never waited for

  void onCreated();
  void onCommand(DnsCommand command);
  // While an apply (or the automatic addressing) runs, its command lines may be running: the
  // window cannot be closed until it has reported.
  bool busy() const { return busy_; }
  const std::string& primaryDns() const { return primary_; }
  const std::string& secondaryDns() const { return secondary_; }

 private:
  Task<> apply(DnsFamily family);
  Task<> automatic();
  Task<> tick();

  DnsServices s_;
  DnsView& view_;
  std::string primary_, secondary_;
  bool busy_ = false;
  Timer progress_;
};

}  // namespace zk
