// The one-click DNS window: the preset grid, the custom box, the links and the overlay.
#pragma once

#include "nettools/dns.h"
#include "ui/form.h"

namespace zk::ui {

enum DnsId : int {
  IDB_DNS_CLOSE = 600,
  IDT_DNS_STATUS = 601,
  IDP_DNS_BUSY = 602,
  IDT_DNS_AUTOMATIC = 603,
  IDT_DNS_NOTES = 604,
  IDT_DNS_SUGGEST = 605,
  IDE_DNS_CUSTOM = 606,
  IDB_DNS_APPLY = 607,
  IDT_DNS_CUSTOM_CAP = 608,
  IDT_DNS_IPV4_CAP = 609,
  IDH_DNS_LINE1 = 610,
  IDH_DNS_LINE2 = 611,
  IDP_DNS_OVERLAY = 612,
  IDT_DNS_GROUP = 620,   // 620 to 625, the six group captions
  IDB_DNS_PRESET = 630,  // 630 to 691, the preset buttons in the table's order
};

class DnsWindow : public Form, public DnsView {
 public:
  HWND open();
  void setIcon(HICON icon);
  void setStatus(const std::string& text) override;
  void setBusy(bool shown) override;
  void setOverlay(bool shown) override;
  void setCommandLines(const std::string& first, const std::string& second) override;
  std::string customServer() const override { return text(IDE_DNS_CUSTOM); }
  void close() override { destroyLater(); }

 protected:
  void paintBackground(HDC dc, int w, int h) override;
  void paintPicture(int id, HDC dc, const RECT& r) override;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // A preset acts as a push button does: on the release of the left button over it, after a
  // press on it (a press alone, or a release after the pointer left it, does nothing).
  static LRESULT CALLBACK presetProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data);
  std::wstring status_;
  int frame_ = 0;
};

}  // namespace zk::ui
