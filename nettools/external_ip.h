// The external-IP window: one lookup page fetched on a worker, the address and its place cut out.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "main/main_view.h"
#include "platform/http.h"
#include "platform/prompt.h"
#include "platform/runtime.h"
#include "platform/system.h"

namespace zk {

// Nothing larger is read as a lookup page.
inline constexpr std::size_t kLookupPageCap = 1u << 20;

// The page's bytes as UTF-8: GBK when the page says so (charset gb2312, gbk, gb18030) or when
// its bytes are no UTF-8.
std::string lookupPageText(std::string_view body);

struct ExternalIpFound {
  std::optional<std::string> ip;        // "<span class=\"red\">" removed
  std::optional<std::string> location;  // each "&nbsp;" one blank
};
// The first match of each fragment within one line of the page; nothing where there is none or
// the page is too hard to search.
ExternalIpFound extractExternalIp(std::string_view pageUtf8);

inline constexpr const char* kFetchingText = "获取中...";

enum class ExternalIpCommand { Refetch, Copy, Close };

class ExternalIpView {
 public:
  virtual ~ExternalIpView() = default;
  virtual void setIp(const std::string& text) = 0;
  virtual void setLocation(const std::string& text) = 0;
  virtual void close() = 0;
};

// Where the lookup page is: the installation's own address (System.btx) when it is a web
// address, else the page "ip/" under the cloud's base address, which the cloud publishes and
// serves; the base is read from the cloud index when the connection has not read it yet.
struct LookupAddress {
  std::string own;
  std::string cloudIndex;
  std::function<std::string()> cloudBase;  // empty while unknown
};
// The lookup page under a base address; empty when the base is no web address.
std::string lookupPageUnder(std::string_view base);

inline constexpr const char* kLookupUnreachableText = "无法连接到查询页面，请检查网络后点击“重新获取”。";
inline constexpr const char* kLookupUnreadableText = "查询页面无法读取，请稍后点击“重新获取”。";

struct ExternalIpServices {
  Runtime& rt;
  Http& http;
  Clipboard& clipboard;
  Prompter& prompt;
  MainView& main;
};

class ExternalIpLogic {
 public:
  ExternalIpLogic(ExternalIpServices s, ExternalIpView& view, LookupAddress where);
  ~ExternalIpLogic();
  void onCreated();
  void onCommand(ExternalIpCommand command);

 private:
  Task<> lookup(int delayMs);
  void show(const std::string& ip, const std::string& location);

  ExternalIpServices s_;
  ExternalIpView& view_;
  LookupAddress where_;
  std::string ip_ = kFetchingText, location_ = kFetchingText;  // as shown
};

}  // namespace zk
