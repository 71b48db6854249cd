// The settings window: general switches, the custom server, and the customisation group's place.
#pragma once

#include "settings/settings_window.h"
#include "ui/form.h"

namespace zk::ui {

enum SettingsId : int {
  IDB_SET_CLOSE = 100,
  IDG_SET_GENERAL,
  IDX_SET_WELCOME,
  IDX_SET_EMOJI,
  IDX_SET_NAVIGATION,
  IDX_SET_PROTECT,
  IDG_SET_CUSTOM,
  IDX_SET_CUSTOM,
  IDE_SET_ADDRESS,
  IDX_SET_CANCEL,
  IDT_SET_RESTORE,
  IDB_SET_SAVE,
  IDT_SET_HEADER = 120,
  IDT_SET_NAME_CAP,
  IDE_SET_NAME,
  IDT_SET_QQ_CAP,
  IDE_SET_QQ,
  IDX_SET_HYTS,
  IDX_SET_QQNC,
  IDX_SET_THYS,
  IDB_SET_SAVE_PERSONAL,
  IDT_SET_HELP1,
  IDT_SET_HELP2,
  IDT_SET_HELP3,
};

class SettingsWindow : public Form, public SettingsView {
 public:
  HWND open();

  bool ticked(SettingsBox box) const override { return checked(idOf(box)); }
  void setTicked(SettingsBox box, bool on) override { setChecked(idOf(box), on); }
  void setCancelBoxEnabled(bool enabled) override { EnableWindow(ctl(IDX_SET_CANCEL), enabled); }
  std::string address() const override { return text(IDE_SET_ADDRESS); }
  void setAddress(const std::string& t) override { setText(IDE_SET_ADDRESS, t); }
  void setAddressEnabled(bool enabled) override { EnableWindow(ctl(IDE_SET_ADDRESS), enabled); }
  void setAddressBackground(Rgb colour) override;
  void setNarrow() override;
  // Deferred, so that the command that closes the window finishes first.
  void close() override { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

 protected:
  void paintBackground(HDC dc, int w, int h) override;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static int idOf(SettingsBox box);
  COLORREF addressColour_ = RGB(255, 255, 255);
  HBRUSH addressBrush_ = nullptr;
};

}  // namespace zk::ui
