#include "nettools/external_ip.h"

#include <boost/regex.hpp>

#include "platform/prompt.h"
#include "text/gbk.h"
#include "text/replace.h"
#include "text/text.h"

namespace zk {

namespace {

bool isUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int n = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (n < 0 || s.size() - i <= static_cast<std::size_t>(n)) return false;
    for (int k = 1; k <= n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n + 1;
  }
  return true;
}

std::optional<std::string> firstGroup(const std::string& page, const boost::regex& re) {
  boost::smatch m;
  if (!boost::regex_search(page, m, re)) return std::nullopt;
  return m[1].str();
}

}  // namespace

std::string lookupPageText(std::string_view body) {
  std::string head = asciiLower(body.substr(0, 4096));
  std::size_t at = head.find("charset=");
  if (at != std::string::npos) {
    std::string_view name = std::string_view(head).substr(at + 8);
    while (!name.empty() && (name.front() == '"' || name.front() == '\'' || name.front() == ' ')) name.remove_prefix(1);
    for (std::string_view gbk : {"gb2312", "gbk", "gb18030"})
      if (name.substr(0, gbk.size()) == gbk) return fromGbk(body);
  }
  return isUtf8(body) ? std::string(body) : fromGbk(body);
}

ExternalIpFound extractExternalIp(std::string_view pageUtf8) {
  // "." stops at line breaks: a value never runs across lines of the page.
  static const boost::regex location("<p>该IP所在地为：<span>(.*?)</span></p>",
                                     boost::regex::perl | boost::regex::no_mod_s);
  static const boost::regex ip("您当前的IP为：(.*?)</span></p>", boost::regex::perl | boost::regex::no_mod_s);
  ExternalIpFound found;
  const std::string page(pageUtf8.substr(0, kLookupPageCap));
  try {
    found.location = firstGroup(page, location);
    found.ip = firstGroup(page, ip);
  } catch (const std::exception&) {
    // Boost gives up on a page that would take too long to search.
    return ExternalIpFound{};
  }
  if (found.location) replaceAll(*found.location, "&nbsp;", " ");
  if (found.ip) replaceAll(*found.ip, "<span class=\"red\">", "");
  return found;
}

std::string lookupPageUnder(std::string_view base) {
  if (!isWebAddress(base)) return {};
  return std::string(base) + (base.back() == '/' ? "" : "/") + "ip/";
}

ExternalIpLogic::ExternalIpLogic(ExternalIpServices s, ExternalIpView& view, LookupAddress where)
    : s_(s), view_(view), where_(std::move(where)) {}

ExternalIpLogic::~ExternalIpLogic() {
  s_.rt.stop(TaskSlot::ExternalIpLookup);
}

void ExternalIpLogic::onCreated() {
  s_.main.setShown(false);
  s_.rt.start(TaskSlot::ExternalIpLookup, lookup(300));
}

void ExternalIpLogic::show(const std::string& ip, const std::string& location) {
  ip_ = ip;
  location_ = location;
  view_.setIp(ip);
  view_.setLocation(location);
}

void ExternalIpLogic::onCommand(ExternalIpCommand command) {
  switch (command) {
    case ExternalIpCommand::Refetch:
      show(kFetchingText, kFetchingText);
      s_.rt.start(TaskSlot::ExternalIpLookup, lookup(0));
      return;
    case ExternalIpCommand::Copy: {
      // What the window shows, also while it is still fetching.
      std::string text = "您当前网络的外网地址为：" + ip_ + " 地理位置为：" + location_;
      if (s_.clipboard.setText(text))
        s_.prompt.show("复制完毕！", "恭喜！", box::Ok);
      else
        s_.prompt.show("抱歉，复制失败！", "抱歉！", box::Ok);
      return;
    }
    case ExternalIpCommand::Close:
      s_.main.setShown(true);
      s_.rt.stop(TaskSlot::ExternalIpLookup);
      view_.close();
      return;
  }
}

Task<> ExternalIpLogic::lookup(int delayMs) {
  if (delayMs > 0) co_await s_.rt.pumpWait(delayMs);
  enum class Outcome { Unreachable, Unreadable, Read };
  struct Result {
    Outcome outcome = Outcome::Unreachable;
    ExternalIpFound found;
  };
  std::string url = isWebAddress(where_.own) ? where_.own : std::string();
  if (url.empty() && where_.cloudBase) url = lookupPageUnder(where_.cloudBase());
  Http* http = &s_.http;
  auto fetching = s_.rt.offload([http, url, index = where_.cloudIndex]() mutable {
    Result result;
    if (url.empty()) {
      HttpResponse r = http->get(index);
      if (!r.reached) return result;
      if (r.status >= 200 && r.status < 300 && !r.truncated) url = lookupPageUnder(trimBlanks(textUpToNul(r.body)));
      if (url.empty()) {
        result.outcome = Outcome::Unreadable;
        return result;
      }
    }
    HttpResponse r = http->get(url);
    if (!r.reached) return result;
    // Reached, but no page to read: an error status, nothing, or more than a lookup page holds.
    result.outcome =
        r.status >= 200 && r.status < 300 && !r.truncated && !r.body.empty() ? Outcome::Read : Outcome::Unreadable;
    if (result.outcome == Outcome::Read) result.found = extractExternalIp(lookupPageText(textUpToNul(r.body)));
    return result;
  });
  Result result = co_await fetching;
  if (result.outcome != Outcome::Read) {
    show("获取失败", result.outcome == Outcome::Unreachable ? kLookupUnreachableText : kLookupUnreadableText);
    co_return;
  }
  show(result.found.ip.value_or("未能识别"),
       result.found.location.value_or("查询页面中没有找到地址信息，请稍后点击“重新获取”。"));
}

}  // namespace zk
