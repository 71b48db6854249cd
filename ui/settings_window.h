// The settings window: general switches, the custom server, and the customisation group's place.
#pragma once

#include "personal/settings_group.h"
#include "settings/settings_window.h"
#include "ui/form.h"

namespace zk::ui {

enum SettingsId : int {
  IDB_SET_CLOSE = 100,
  IDG_SET_GENERAL = 101,
  IDX_SET_WELCOME = 102,
  IDX_SET_EMOJI = 103,
  IDX_SET_NAVIGATION = 104,
  IDX_SET_PROTECT = 105,
  IDG_SET_CUSTOM = 106,
  IDX_SET_CUSTOM = 107,
  IDE_SET_ADDRESS = 108,
  IDX_SET_CANCEL = 109,
  IDT_SET_RESTORE = 110,
  IDB_SET_SAVE = 111,
  IDT_SET_HEADER = 120,
  IDT_SET_NAME_CAP = 121,
  IDE_SET_NAME = 122,
  IDT_SET_QQ_CAP = 123,
  IDE_SET_QQ = 124,
  IDX_SET_HYTS = 125,
  IDX_SET_QQNC = 126,
  IDX_SET_THYS = 127,
  IDB_SET_SAVE_PERSONAL = 128,
  IDT_SET_HELP1 = 129,
  IDT_SET_HELP2 = 130,
  IDT_SET_HELP3 = 131,
};

class SettingsWindow : public Form, public SettingsView, public PersonalGroupView {
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
  void close() override { destroyLater(); }

  // The customisation group.
  std::string fieldText(PersonalField field) const override { return text(idOf(field)); }
  void setFieldText(PersonalField field, const std::string& t) override;
  bool ticked(PersonalBox box) const override { return checked(idOf(box)); }
  void setTicked(PersonalBox box, bool on) override { setChecked(idOf(box), on); }
  void setNicknameCaption(const std::string& t) override { setText(IDT_SET_NAME_CAP, t); }
  void setNicknameDigitsOnly(bool digitsOnly) override;
  void setNicknameBackground(Rgb colour) override;
  void setActionEnabled(bool enabled) override { EnableWindow(ctl(IDB_SET_SAVE_PERSONAL), enabled); }
  void focus(PersonalField field) override { SetFocus(ctl(idOf(field))); }
  int windowWidth() const override { return width_; }
  void setWindowWidth(int width) override;
  bool cancelTicked() const override { return checked(IDX_SET_CANCEL); }
  void setCancelTicked(bool on) override { setChecked(IDX_SET_CANCEL, on); }

 protected:
  void paintBackground(HDC dc, int w, int h) override;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static int idOf(SettingsBox box);
  static int idOf(PersonalField field);
  static int idOf(PersonalBox box);
  COLORREF addressColour_ = RGB(255, 255, 255);
  HBRUSH addressBrush_ = nullptr;
  COLORREF nicknameColour_ = RGB(255, 255, 255);
  HBRUSH nicknameBrush_ = nullptr;
  int width_ = 0;  // logical pixels
};

}  // namespace zk::ui
