// The external-IP window: the address, its place, and the two links.
#pragma once

#include "nettools/external_ip.h"
#include "ui/form.h"

namespace zk::ui {

enum ExternalIpId : int {
  IDB_IP_CLOSE = 750,
  IDT_IP_CAPTION = 751,
  IDT_IP_VALUE = 752,
  IDT_IP_PLACE_CAPTION = 753,
  IDE_IP_PLACE = 754,
  IDT_IP_REFETCH = 755,
  IDT_IP_COPY = 756,
  IDH_IP_RED = 757,
};

class ExternalIpWindow : public Form, public ExternalIpView {
 public:
  HWND open();
  void setIp(const std::string& t) override { setText(IDT_IP_VALUE, t); }
  void setLocation(const std::string& t) override;
  void close() override { destroyLater(); }

 protected:
  void paintBackground(HDC dc, int w, int h) override;
};

}  // namespace zk::ui
