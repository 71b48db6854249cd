// The add-entry dialog "增/改条目": an address, a name, and the quick inputs.
#pragma once

#include "editor/add_entry.h"
#include "ui/form.h"

namespace zk::ui {

enum AddEntryId : int {
  IDT_AE_IP_CAP = 400,
  IDE_AE_IP = 401,
  IDT_AE_DOMAIN_CAP = 402,
  IDE_AE_DOMAIN = 403,
  IDT_AE_EXAMPLE = 404,
  IDT_AE_HINT = 405,
  IDT_AE_CLEAR = 406,
  IDT_AE_127 = 407,
  IDT_AE_SEARCH = 408,
  IDT_AE_SOCIAL = 409,
  IDB_AE_CONFIRM = 410,
};

class AddEntryWindow : public Form, public AddEntryView {
 public:
  HWND open(HWND owner);

  std::string ip() const override { return text(IDE_AE_IP); }
  std::string domain() const override { return text(IDE_AE_DOMAIN); }
  void setIp(const std::string& t) override { setBox(IDE_AE_IP, t); }
  void setDomain(const std::string& t) override { setBox(IDE_AE_DOMAIN, t); }
  void putDomainCaretAtEnd() override;
  void close() override { destroyLater(); }

 protected:
  void paintBackground(HDC dc, int w, int h) override;

 private:
  void setBox(int id, const std::string& t);
};

}  // namespace zk::ui
