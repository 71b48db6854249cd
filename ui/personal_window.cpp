#include "ui/personal_window.h"

#include "platform/win32/wide.h"
#include "ui/art.h"
#include "ui/edit_limits.h"

namespace zk::ui {

namespace {
constexpr int kWidth = 520, kHeight = 430;
constexpr const char* kForSelfTip = "为自己定制，个性自己的Zelkora！";
}  // namespace

HWND PersonalWindow::open() {
  dragStrip_ = 28;
  std::vector<ControlSpec> c = {
      {IDB_PER_CLOSE, Kind::ClickLabel, "×", 490, 2, 26, 26, "关闭"},
      {IDT_PER_HEADER, Kind::Label, "定制专属特色尊贵Zelkora", 20, 40, 300, 22},
      {IDT_PER_NAME_CAP, Kind::Label, "定制昵称，输入你/TA的昵称，1-20字符（必填）：", 20, 72, 480, 18},
      {IDE_PER_NAME, Kind::Edit, "", 20, 94, 300, 26},
      {IDT_PER_QQ_CAP, Kind::Label, "定制头像(使用第三方平台QQ头像，输入QQ号码即可)（可选）：", 20, 130, 480, 18},
      {IDE_PER_QQ, Kind::Edit, "", 20, 152, 300, 26},
      {IDX_PER_HYTS, Kind::Check, "在新的定制包中，使用欢迎提示", 20, 192, 480, 22},
      {IDX_PER_QQNC, Kind::Check, "在新的定制包中，使用QQ昵称作为Zelkora昵称", 20, 218, 480, 22},
      {IDX_PER_THYS, Kind::Check, "在新的定制包中，将昵称的颜色改成土豪金（默认白色）", 20, 244, 480, 22},
      {IDB_PER_START, Kind::Button, kPersonalStartCaption, 20, 284, 160, 36},
      {IDT_PER_HELP1, Kind::ClickLabel, "什么是打包定制？", 20, 340, 120, 18},
      {IDT_PER_HELP2, Kind::ClickLabel, "定制注意事项？", 150, 340, 110, 18},
      {IDT_PER_HELP3, Kind::ClickLabel, "特别说明", 270, 340, 80, 18},
      {IDT_PER_HELP4, Kind::ClickLabel, "如何使用新生成的定制包？", 20, 366, 200, 18},
      {IDP_PER_OUTLINE, Kind::Picture, "", 1, 29, kWidth - 2, kHeight - 30},
      {IDP_PER_SELF, Kind::Picture, "为自己定制", 70, 180, 170, 60, kForSelfTip},
      {IDP_PER_FRIEND, Kind::Picture, "为好友定制", 280, 180, 170, 60, kForSelfTip},
      {IDP_PER_OVERLAY, Kind::Picture, "", 0, 0, kWidth, kHeight},
  };
  HWND h = create(L"ZelkoraPersonal", "私人订制", kWidth, kHeight, WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU,
                  WS_EX_APPWINDOW, c);
  // The outline lies over the form and its two choices over it; the overlay over everything.
  for (int id : {IDP_PER_OUTLINE, IDP_PER_SELF, IDP_PER_FRIEND, IDP_PER_OVERLAY})
    SetWindowPos(ctl(id), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  setVisible(IDP_PER_OVERLAY, false);
  nicknameBrush_ = CreateSolidBrush(nicknameColour_);
  setBoxLimit(ctl(IDE_PER_NAME), false);
  setBoxLimit(ctl(IDE_PER_QQ), true);
  setTextColour(IDT_PER_HEADER, {255, 220, 90});
  for (int id : {IDT_PER_HELP1, IDT_PER_HELP2, IDT_PER_HELP3, IDT_PER_HELP4}) setTextColour(id, {150, 210, 255});
  using C = PersonalWindowCommand;
  bindCommands({{IDB_PER_START, int(C::Start)},
                {IDB_PER_CLOSE, int(C::Close)},
                {IDP_PER_SELF, int(C::ForSelf)},
                {IDP_PER_FRIEND, int(C::ForFriend)},
                {IDX_PER_QQNC, int(C::QqNicknameBox)},
                {IDT_PER_HELP1, int(C::HelpPacking)},
                {IDT_PER_HELP2, int(C::HelpNotes)},
                {IDT_PER_HELP3, int(C::HelpSpecial)},
                {IDT_PER_HELP4, int(C::HelpUsing)}},
               int(C::Close));
  bindChange(IDE_PER_NAME, int(C::NicknameChanged));
  bindChange(IDE_PER_QQ, int(C::QqChanged));
  bindKey(IDE_PER_NAME, VK_RETURN, int(C::NicknameEnter));
  return h;
}

PersonalWindow::~PersonalWindow() {
  if (nicknameBrush_) DeleteObject(nicknameBrush_);
}

int PersonalWindow::idOf(PersonalBox box) {
  switch (box) {
    case PersonalBox::Welcome: return IDX_PER_HYTS;
    case PersonalBox::QqNickname: return IDX_PER_QQNC;
    case PersonalBox::Gold: return IDX_PER_THYS;
  }
  return 0;
}

void PersonalWindow::setFieldText(PersonalField field, const std::string& t) {
  setTextAtEnd(ctl(idOf(field)), t);
}

void PersonalWindow::setNicknameDigitsOnly(bool digitsOnly) {
  setBoxLimit(ctl(IDE_PER_NAME), digitsOnly);
}

void PersonalWindow::setNicknameBackground(Rgb colour) {
  nicknameColour_ = RGB(colour.r, colour.g, colour.b);
  if (nicknameBrush_) DeleteObject(nicknameBrush_);
  nicknameBrush_ = CreateSolidBrush(nicknameColour_);
  InvalidateRect(ctl(IDE_PER_NAME), nullptr, TRUE);
}

void PersonalWindow::setStartCaption(const std::string& t) {
  startCaption_ = win::widen(t);
  setText(IDB_PER_START, t);
  if (IsWindowVisible(ctl(IDP_PER_OVERLAY))) InvalidateRect(ctl(IDP_PER_OVERLAY), nullptr, FALSE);
}

void PersonalWindow::setOutlineShown(bool shown) {
  for (int id : {IDP_PER_OUTLINE, IDP_PER_SELF, IDP_PER_FRIEND}) setVisible(id, shown);
}

void PersonalWindow::setOverlay(bool shown) {
  showOverlay(IDP_PER_OVERLAY, shown);
}

void PersonalWindow::paintBackground(HDC dc, int w, int h) {
  titledBackground(dc, w, h, RGB(88, 40, 96), RGB(30, 16, 44), L"私人订制");
}

void PersonalWindow::paintPicture(int id, HDC dc, const RECT& r) {
  double scale = s(1000) / 1000.0;
  if (id == IDP_PER_OUTLINE) {
    HBRUSH fill = CreateSolidBrush(RGB(52, 26, 64));
    FillRect(dc, &r, fill);
    DeleteObject(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(230, 190, 90));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    HGDIOBJ oldFont = SelectObject(dc, font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 230, 160));
    RECT line{r.left, r.top + s(80), r.right, r.top + s(110)};
    DrawTextW(dc, L"定制专属特色尊贵Zelkora：为谁定制？", -1, &line, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, oldFont);
  } else if (id == IDP_PER_SELF || id == IDP_PER_FRIEND) {
    art::webButton(dc, r, id == IDP_PER_SELF ? 0 : 5, id == IDP_PER_SELF ? L"为自己定制" : L"为好友定制", scale);
  } else if (id == IDP_PER_OVERLAY) {
    paintOverlaySnapshot(dc, r);
    // The start button keeps showing its caption under the overlay.
    RECT b;
    GetWindowRect(ctl(IDB_PER_START), &b);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&b), 2);
    FillRect(dc, &b, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &b, EDGE_RAISED, BF_RECT);
    HGDIOBJ oldFont = SelectObject(dc, font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dc, startCaption_.c_str(), -1, &b, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, oldFont);
  }
}

LRESULT PersonalWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CTLCOLOREDIT && reinterpret_cast<HWND>(lp) == ctl(IDE_PER_NAME)) {
    SetBkColor(reinterpret_cast<HDC>(wp), nicknameColour_);
    return reinterpret_cast<LRESULT>(nicknameBrush_);
  }
  return Form::handle(msg, wp, lp);
}

}  // namespace zk::ui
