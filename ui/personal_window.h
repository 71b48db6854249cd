// The customisation window: the outline panel with its two choices, the form, and the overlay.
#pragma once

#include "personal/personal_window.h"
#include "ui/form.h"

namespace zk::ui {

enum PersonalId : int {
  IDB_PER_CLOSE = 800,
  IDT_PER_HEADER = 801,
  IDT_PER_NAME_CAP = 802,
  IDE_PER_NAME = 803,
  IDT_PER_QQ_CAP = 804,
  IDE_PER_QQ = 805,
  IDX_PER_HYTS = 806,
  IDX_PER_QQNC = 807,
  IDX_PER_THYS = 808,
  IDB_PER_START = 809,
  IDT_PER_HELP1 = 810,
  IDT_PER_HELP2 = 811,
  IDT_PER_HELP3 = 812,
  IDT_PER_HELP4 = 813,
  IDP_PER_OUTLINE = 820,
  IDP_PER_SELF = 821,
  IDP_PER_FRIEND = 822,
  IDP_PER_OVERLAY = 830,
};

class PersonalWindow : public Form, public PersonalWindowView {
 public:
  ~PersonalWindow() override;
  HWND open();

  std::string fieldText(PersonalField field) const override { return text(idOf(field)); }
  void setFieldText(PersonalField field, const std::string& t) override;
  bool ticked(PersonalBox box) const override { return checked(idOf(box)); }
  void setTicked(PersonalBox box, bool on) override { setChecked(idOf(box), on); }
  void setNicknameCaption(const std::string& t) override { setText(IDT_PER_NAME_CAP, t); }
  void setNicknameDigitsOnly(bool digitsOnly) override;
  void setNicknameBackground(Rgb colour) override;
  void setActionEnabled(bool enabled) override { EnableWindow(ctl(IDB_PER_START), enabled); }
  void focus(PersonalField field) override { SetFocus(ctl(idOf(field))); }
  void setStartCaption(const std::string& t) override;
  void setOverlay(bool shown) override;
  void setOutlineShown(bool shown) override;
  void close() override { destroyLater(); }

 protected:
  void paintBackground(HDC dc, int w, int h) override;
  void paintPicture(int id, HDC dc, const RECT& r) override;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static int idOf(PersonalField field) { return field == PersonalField::Nickname ? IDE_PER_NAME : IDE_PER_QQ; }
  static int idOf(PersonalBox box);
  COLORREF nicknameColour_ = RGB(255, 255, 255);
  HBRUSH nicknameBrush_ = nullptr;
  std::wstring startCaption_;  // drawn on the overlay, over the start button's place
};

}  // namespace zk::ui
