#include "ui/settings_window.h"

#include "ui/art.h"
#include "ui/edit_limits.h"

namespace zk::ui {

namespace {
constexpr int kNarrow = 460;
constexpr int kWide = 696;
constexpr int kHeight = 330;
}  // namespace

HWND SettingsWindow::open() {
  dragStrip_ = 32;
  std::vector<ControlSpec> c = {
      {IDB_SET_CLOSE, Kind::ClickLabel, "×", 430, 4, 24, 24, "关闭"},
      {IDG_SET_GENERAL, Kind::Group, "常规设置", 12, 40, 436, 146},
      {IDX_SET_WELCOME, Kind::Check, "开启欢迎动画", 26, 60, 410, 22},
      {IDX_SET_EMOJI, Kind::Check, "将导航列表的Emoji鼠标指针应用到所有组件中", 26, 90, 410, 22},
      {IDX_SET_NAVIGATION, Kind::Check, "获取成功后，自动弹出导航列表", 26, 120, 410, 22},
      {IDX_SET_PROTECT, Kind::Check, "获取成功后，将HOSTS文件的属性设置为隐藏、只读（有助于安全性）", 26, 150, 418, 22},
      {IDG_SET_CUSTOM, Kind::Group, "第三方服务器", 12, 192, 436, 82},
      {IDX_SET_CUSTOM, Kind::Check, "使用自定义服务器文件（注：失败时，将会自动转用官方实时数据）", 26, 212, 418, 22},
      {IDE_SET_ADDRESS, Kind::Edit, "", 26, 240, 408, 24},
      {IDX_SET_CANCEL, Kind::Check, "不使用私人订制", 14, 288, 140, 22},
      {IDT_SET_RESTORE, Kind::ClickLabel, "恢复默认", 236, 291, 60, 18},
      {IDB_SET_SAVE, Kind::Button, "保存", 340, 284, 106, 30},
      // The customisation group, in view only when the window widens for one's own customisation.
      {IDT_SET_HEADER, Kind::ClickLabel, "定制专属特色尊贵Zelkora", 476, 42, 206, 20},
      {IDT_SET_NAME_CAP, Kind::Label, "定制昵称。1-20字符（必选）：", 476, 70, 206, 18},
      {IDE_SET_NAME, Kind::Edit, "", 476, 90, 206, 24},
      {IDT_SET_QQ_CAP, Kind::Label, "定制头像(输入QQ号码即可)（可选）：", 476, 120, 206, 18},
      {IDE_SET_QQ, Kind::Edit, "", 476, 140, 206, 24},
      {IDX_SET_HYTS, Kind::Check, "使用欢迎提示", 476, 170, 206, 22},
      {IDX_SET_QQNC, Kind::Check, "使用QQ昵称作为Zelkora昵称", 476, 194, 206, 22},
      {IDX_SET_THYS, Kind::Check, "昵称颜色改为土豪金（默认白色）", 476, 218, 206, 22},
      {IDB_SET_SAVE_PERSONAL, Kind::Button, "保存定制", 476, 246, 100, 28},
      {IDT_SET_HELP1, Kind::ClickLabel, "什么是打包定制？", 476, 284, 100, 18},
      {IDT_SET_HELP2, Kind::ClickLabel, "定制注意事项？", 582, 284, 100, 18},
      {IDT_SET_HELP3, Kind::ClickLabel, "特别说明", 476, 304, 100, 18},
  };
  HWND h = create(L"ZelkoraSettings", "Zelkora设置", kNarrow, kHeight, WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU,
                  WS_EX_APPWINDOW, c, kWide);
  width_ = kNarrow;
  addressBrush_ = CreateSolidBrush(addressColour_);
  nicknameBrush_ = CreateSolidBrush(nicknameColour_);
  setBoxLimit(ctl(IDE_SET_NAME), false);
  setBoxLimit(ctl(IDE_SET_QQ), true);
  using C = SettingsCommand;
  bindCommands({{IDB_SET_SAVE, int(C::Save)},
                {IDT_SET_RESTORE, int(C::RestoreDefaults)},
                {IDX_SET_CUSTOM, int(C::CustomBox)},
                {IDB_SET_CLOSE, int(C::Close)}},
               int(C::Close));
  // The customisation group's commands, in the same command space (its numbers start at 100).
  using P = PersonalGroupCommand;
  bindClick(IDB_SET_SAVE_PERSONAL, int(P::Save));
  bindClick(IDX_SET_CANCEL, int(P::CancelBox));
  bindClick(IDX_SET_QQNC, int(P::QqNicknameBox));
  bindClick(IDT_SET_HEADER, int(P::Header));
  bindClick(IDT_SET_HELP1, int(P::HelpPacking));
  bindClick(IDT_SET_HELP2, int(P::HelpNotes));
  bindClick(IDT_SET_HELP3, int(P::HelpSpecial));
  bindChange(IDE_SET_NAME, int(P::NicknameChanged));
  bindChange(IDE_SET_QQ, int(P::QqChanged));
  bindKey(IDE_SET_NAME, VK_RETURN, int(P::NicknameEnter));
  bindKey(IDE_SET_NAME, VK_TAB, int(P::NicknameEnter));
  for (int id : {IDT_SET_HEADER, IDT_SET_HELP1, IDT_SET_HELP2, IDT_SET_HELP3}) setTextColour(id, {255, 220, 90});
  return h;
}

int SettingsWindow::idOf(PersonalField field) {
  return field == PersonalField::Nickname ? IDE_SET_NAME : IDE_SET_QQ;
}

int SettingsWindow::idOf(PersonalBox box) {
  switch (box) {
    case PersonalBox::Welcome: return IDX_SET_HYTS;
    case PersonalBox::QqNickname: return IDX_SET_QQNC;
    case PersonalBox::Gold: return IDX_SET_THYS;
  }
  return 0;
}

void SettingsWindow::setFieldText(PersonalField field, const std::string& t) {
  setTextAtEnd(ctl(idOf(field)), t);
}

void SettingsWindow::setNicknameDigitsOnly(bool digitsOnly) {
  setBoxLimit(ctl(IDE_SET_NAME), digitsOnly);
}

void SettingsWindow::setNicknameBackground(Rgb colour) {
  nicknameColour_ = RGB(colour.r, colour.g, colour.b);
  if (nicknameBrush_) DeleteObject(nicknameBrush_);
  nicknameBrush_ = CreateSolidBrush(nicknameColour_);
  InvalidateRect(ctl(IDE_SET_NAME), nullptr, TRUE);
}

void SettingsWindow::setWindowWidth(int width) {
  width_ = width;
  SetWindowPos(hwnd(), nullptr, 0, 0, s(width), s(kHeight), SWP_NOMOVE | SWP_NOZORDER);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

int SettingsWindow::idOf(SettingsBox box) {
  switch (box) {
    case SettingsBox::WelcomeAnimation: return IDX_SET_WELCOME;
    case SettingsBox::EmojiPointer: return IDX_SET_EMOJI;
    case SettingsBox::OpenNavigation: return IDX_SET_NAVIGATION;
    case SettingsBox::ProtectHosts: return IDX_SET_PROTECT;
    case SettingsBox::CustomServer: return IDX_SET_CUSTOM;
    case SettingsBox::CancelCustomisation: return IDX_SET_CANCEL;
  }
  return 0;
}

void SettingsWindow::setAddressBackground(Rgb colour) {
  addressColour_ = RGB(colour.r, colour.g, colour.b);
  if (addressBrush_) DeleteObject(addressBrush_);
  addressBrush_ = CreateSolidBrush(addressColour_);
  InvalidateRect(ctl(IDE_SET_ADDRESS), nullptr, TRUE);
}

void SettingsWindow::setNarrow() {
  width_ = kNarrow;
  SetWindowPos(hwnd(), nullptr, 0, 0, s(kNarrow), s(kHeight), SWP_NOMOVE | SWP_NOZORDER);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void SettingsWindow::paintBackground(HDC dc, int w, int h) {
  titledBackground(dc, w, h, RGB(30, 52, 90), RGB(12, 20, 38), L"Zelkora 设置");
}

LRESULT SettingsWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lp) == ctl(IDE_SET_ADDRESS)) {
        SetBkColor(reinterpret_cast<HDC>(wp), addressColour_);
        return reinterpret_cast<LRESULT>(addressBrush_);
      }
      if (reinterpret_cast<HWND>(lp) == ctl(IDE_SET_NAME)) {
        SetBkColor(reinterpret_cast<HDC>(wp), nicknameColour_);
        return reinterpret_cast<LRESULT>(nicknameBrush_);
      }
      break;
    case WM_NCDESTROY:
      if (addressBrush_) DeleteObject(addressBrush_);
      addressBrush_ = nullptr;
      if (nicknameBrush_) DeleteObject(nicknameBrush_);
      nicknameBrush_ = nullptr;
      break;
  }
  return Form::handle(msg, wp, lp);
}

}  // namespace zk::ui
