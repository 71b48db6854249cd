// The add-entry dialog: one address and one name put on top of the system hosts file; the name
// box cleaned of URL and punctuation characters as the user types.
#pragma once

#include <string>

#include "editor/hosts_access.h"
#include "platform/prompt.h"
#include "platform/runtime.h"

namespace zk {

enum class AddEntryCommand {
  Confirm,      // "确认"
  ClearBoth,    // "一键清空、"
  Quick127,     // "快速输入127"
  QuickSearch,  // "快输谷歌、"
  QuickSocial,  // "快输脸书"
  EmptyIp,      // a double click in a box
  EmptyDomain,
  DomainChanged,  // any change of the name box, the cleaning's own writes included
  Close,
};

class AddEntryView {
 public:
  virtual ~AddEntryView() = default;
  virtual std::string ip() const = 0;
  virtual std::string domain() const = 0;
  // Each puts the caret at the end of the box.
  virtual void setIp(const std::string& text) = 0;
  virtual void setDomain(const std::string& text) = 0;
  virtual void putDomainCaretAtEnd() = 0;
  virtual void close() = 0;
};

class AddEntryLogic {
 public:
  static constexpr const char* kInitialIp = "127.0.0.1";
  static constexpr const char* kSearchHost = "www.google.com";
  static constexpr const char* kSocialHost = "www.facebook.com";
  static constexpr const char* kExample = "范例：127.0.0.1  www.example.com(不要带“http://”)。中文域名需先转码。";

  AddEntryLogic(Runtime& rt, AddEntryView& view, HostsAccess& hosts, Prompter& prompt)
      : rt_(rt), view_(view), hosts_(hosts), prompt_(prompt) {}
  ~AddEntryLogic() { rt_.stop(TaskSlot::AddEntry); }

  void onCommand(AddEntryCommand command);
  // The name box at rest: every token of the cleaning table gone, in one pass to a fixed point.
  void onDomainChanged();

 private:
  Task<> confirm();

  Runtime& rt_;
  AddEntryView& view_;
  HostsAccess& hosts_;
  Prompter& prompt_;
  bool cleaning_ = false;  // the cleaning's own write comes back as a change
};

}  // namespace zk
