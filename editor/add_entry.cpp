#include "editor/add_entry.h"

#include <algorithm>

#include "editor/document_encoding.h"
#include "editor/domain_cleaning.h"
#include "text/address.h"
#include "text/gbk.h"

namespace zk {
namespace {

constexpr const char* kSorry = "抱歉";

// A TAB is allowed: it separates the aliases of one address in a hosts line.
bool hasControlCharacter(const std::string& s) {
  return std::any_of(s.begin(), s.end(),
                     [](char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F; });
}

std::string trimmedBlanks(const std::string& s) {
  std::size_t first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

void AddEntryLogic::onCommand(AddEntryCommand command) {
  using C = AddEntryCommand;
  switch (command) {
    // A confirm that has handed its write to a worker runs to its end and reports: a second click
    // meanwhile (a double click) is ignored, never allowed to stop it.
    case C::Confirm:
      if (!rt_.isRunning(TaskSlot::AddEntry)) rt_.start(TaskSlot::AddEntry, confirm());
      break;
    case C::ClearBoth:
      view_.setIp("");
      view_.setDomain("");
      break;
    case C::Quick127: view_.setIp(kInitialIp); break;
    case C::QuickSearch: view_.setDomain(kSearchHost); break;
    case C::QuickSocial: view_.setDomain(kSocialHost); break;
    case C::EmptyIp: view_.setIp(""); break;
    case C::EmptyDomain: view_.setDomain(""); break;
    case C::DomainChanged: onDomainChanged(); break;
    case C::Close: view_.close(); break;
  }
}

void AddEntryLogic::onDomainChanged() {
  if (cleaning_) return;
  const std::string text = view_.domain();
  std::string clean = cleanDomain(text);
  if (clean == text) {
    view_.putDomainCaretAtEnd();
    return;
  }
  cleaning_ = true;
  view_.setDomain(clean);
  cleaning_ = false;
}

Task<> AddEntryLogic::confirm() {
  // Blanks around a pasted address are no part of it.
  const std::string ip = trimmedBlanks(view_.ip()), domain = view_.domain();
  if (ip.empty() || domain.empty()) {
    prompt_.show("您尚未填写内容！", kSorry, box::Ok);
    co_return;
  }
  // Only an address goes in front of the name: anything else would make the line mean nothing,
  // or something else.
  if (!isIpAddress(ip)) {
    prompt_.show("IP格式错误，请重新填写！", kSorry, box::Ok);
    co_return;
  }
  // A name GBK cannot hold would reach the file as '?'.
  if (domain.find('.') == std::string::npos || hasControlCharacter(domain) || !isGbkEncodable(domain)) {
    prompt_.show("域名格式错误，请重新填写！", kSorry, box::Ok);
    co_return;
  }
  std::string old;
  if (hosts_.exists()) {
    auto bytes = co_await hosts_.readSystem();
    // A file that is there but cannot be read is not empty, and one that holds a NUL (a UTF-16
    // "Unicode" file) is no GBK text: writing would lose it, or everything after the NUL.
    if (!bytes || bytes->find('\0') != std::string::npos) {
      prompt_.show("很遗憾，增改失败，请手动操作！", kSorry, box::Ok);
      co_return;
    }
    old = std::move(*bytes);
  }
  // The line in the file's own encoding, after its byte-order mark: a GBK line on top of a UTF-8
  // file would turn its other lines into garbage when the file is read again.
  const std::string line = ip + "   " + domain + "\r\n";
  std::string bytes;
  switch (encodingOf(old)) {
    case TextEncoding::Utf8WithMark: bytes = old.substr(0, 3) + line + old.substr(3); break;
    case TextEncoding::Utf8: bytes = line + old; break;
    case TextEncoding::Gbk: bytes = toGbk(line) + old; break;
  }
  bool written = co_await hosts_.writeSystem(std::move(bytes));
  if (written)
    prompt_.show("增改成功！", "恭喜", box::Ok);
  else
    prompt_.show("很遗憾，增改失败，请手动操作！", kSorry, box::Ok);
}

}  // namespace zk
