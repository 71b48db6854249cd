#include "ui/art.h"

// GDI+ headers expect min/max and the COM basics.
#include <algorithm>
using std::max;
using std::min;
#include <objidl.h>

#include <gdiplus.h>  // needs objidl.h first

#include <cmath>

namespace zk::ui::art {

using namespace Gdiplus;

namespace {

Color rgb(Rgb c, BYTE a = 255) {
  return Color(a, c.r, c.g, c.b);
}

struct Palette {
  Color top, bottom, strip;
};

// One palette per skin; index 0 is the start-up look.
const Palette kPalettes[8] = {
    {Color(255, 28, 44, 74), Color(255, 12, 18, 32), Color(255, 255, 61, 0)},
    {Color(255, 62, 56, 40), Color(255, 24, 22, 16), Color(255, 156, 137, 63)},
    {Color(255, 74, 24, 20), Color(255, 30, 10, 8), Color(255, 181, 30, 5)},
    {Color(255, 24, 44, 86), Color(255, 10, 18, 36), Color(255, 66, 133, 244)},
    {Color(255, 14, 60, 40), Color(255, 6, 24, 16), Color(255, 1, 147, 77)},
    {Color(255, 76, 60, 14), Color(255, 30, 24, 6), Color(255, 238, 181, 0)},
    {Color(255, 52, 52, 56), Color(255, 20, 20, 22), Color(255, 88, 88, 90)},
    {Color(255, 58, 14, 58), Color(255, 22, 6, 22), Color(255, 138, 4, 130)},
};

void roundRect(GraphicsPath& p, REAL x, REAL y, REAL w, REAL h, REAL r) {
  p.AddArc(x, y, r * 2, r * 2, 180, 90);
  p.AddArc(x + w - r * 2, y, r * 2, r * 2, 270, 90);
  p.AddArc(x + w - r * 2, y + h - r * 2, r * 2, r * 2, 0, 90);
  p.AddArc(x, y + h - r * 2, r * 2, r * 2, 90, 90);
  p.CloseFigure();
}

// Text goes through GDI, whose font substitution finds a CJK face wherever one is installed.
void text(Graphics& g, const wchar_t* s, const RectF& box, REAL size, Color c, int style = FontStyleBold) {
  HDC dc = g.GetHDC();
  HFONT font = CreateFontW(-static_cast<int>(size), 0, 0, 0, (style & FontStyleBold) ? FW_BOLD : FW_NORMAL, FALSE,
                           FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                           DEFAULT_PITCH, L"微软雅黑");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(c.GetR(), c.GetG(), c.GetB()));
  RECT r{static_cast<LONG>(box.X), static_cast<LONG>(box.Y), static_cast<LONG>(box.X + box.Width),
         static_cast<LONG>(box.Y + box.Height)};
  DrawTextW(dc, s, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(font);
  g.ReleaseHDC(dc);
}

void smooth(Graphics& g) {
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  g.SetTextRenderingHint(TextRenderingHintAntiAliasGridFit);
}

}  // namespace

void startup() {
  static ULONG_PTR token = 0;
  if (token) return;
  GdiplusStartupInput in;
  GdiplusStartup(&token, &in, nullptr);
}

void mainBackground(HDC dc, int w, int h, int skin, double scale, bool wordmark) {
  const Palette& p = kPalettes[skin >= 0 && skin < 8 ? skin : 0];
  Graphics g(dc);
  smooth(g);
  LinearGradientBrush body(Point(0, 0), Point(0, h), p.top, p.bottom);
  g.FillRectangle(&body, 0, 0, w, h);
  // Soft light from the upper left.
  GraphicsPath glow;
  glow.AddEllipse(static_cast<REAL>(-w * 0.3), static_cast<REAL>(-h * 0.6), static_cast<REAL>(w * 1.1),
                  static_cast<REAL>(h * 1.2));
  PathGradientBrush light(&glow);
  light.SetCenterColor(Color(40, 255, 255, 255));
  Color edge(0, 255, 255, 255);
  int n = 1;
  light.SetSurroundColors(&edge, &n);
  g.FillPath(&light, &glow);
  // Title strip with an accent line in the skin colour.
  REAL strip = static_cast<REAL>(37 * scale);
  SolidBrush stripBrush(Color(90, 0, 0, 0));
  g.FillRectangle(&stripBrush, REAL(0), REAL(0), REAL(w), strip);
  SolidBrush accent(p.strip);
  g.FillRectangle(&accent, REAL(0), strip - REAL(2 * scale), REAL(w), REAL(2 * scale));
  if (wordmark)
    text(g, L"Zelkora", RectF(REAL(34 * scale), REAL(0), REAL(90 * scale), strip), REAL(17 * scale),
         Color(255, 255, 255, 255));
  // Panel behind the log and the news view, and the navigation panel's column.
  GraphicsPath panel;
  roundRect(panel, REAL(8 * scale), REAL(170 * scale), REAL(446 * scale), REAL(78 * scale), REAL(6 * scale));
  SolidBrush panelBrush(Color(40, 255, 255, 255));
  g.FillPath(&panelBrush, &panel);
  SolidBrush nav(Color(60, 0, 0, 0));
  g.FillRectangle(&nav, REAL(462 * scale), strip, REAL(w) - REAL(462 * scale), REAL(h) - strip);
}

void plainBackground(HDC dc, int w, int h, COLORREF top, COLORREF bottom, int stripHeight) {
  Graphics g(dc);
  smooth(g);
  LinearGradientBrush body(Point(0, 0), Point(0, h), Color(255, GetRValue(top), GetGValue(top), GetBValue(top)),
                           Color(255, GetRValue(bottom), GetGValue(bottom), GetBValue(bottom)));
  g.FillRectangle(&body, 0, 0, w, h);
  SolidBrush strip(Color(90, 0, 0, 0));
  g.FillRectangle(&strip, 0, 0, w, stripHeight);
}

void logo(HDC dc, const RECT& r, Rgb colour) {
  Graphics g(dc);
  smooth(g);
  REAL w = REAL(r.right - r.left), h = REAL(r.bottom - r.top);
  SolidBrush fill(rgb(colour));
  g.FillEllipse(&fill, REAL(r.left) + 1, REAL(r.top) + 1, w - 2, h - 2);
  text(g, L"Z", RectF(REAL(r.left), REAL(r.top), w, h), h * REAL(0.62), Color(255, 255, 255, 255));
}

void skinButton(HDC dc, const RECT& r, Rgb colour) {
  Graphics g(dc);
  smooth(g);
  GraphicsPath p;
  roundRect(p, REAL(r.left) + 1, REAL(r.top) + 1, REAL(r.right - r.left) - 2, REAL(r.bottom - r.top) - 2, 4);
  SolidBrush fill(rgb(colour));
  g.FillPath(&fill, &p);
  Pen pen(Color(200, 255, 255, 255), 1.2f);
  g.DrawPath(&pen, &p);
}

void fetchPicture(HDC dc, const RECT& r, FetchPicture state, int frame) {
  Graphics g(dc);
  smooth(g);
  REAL side = REAL(std::min(r.right - r.left, r.bottom - r.top)) - 6;
  REAL x = REAL(r.left) + (REAL(r.right - r.left) - side) / 2, y = REAL(r.top) + (REAL(r.bottom - r.top) - side) / 2;
  RectF box(x, y, side, side);
  struct Look {
    Color a, b;
    const wchar_t* label;
  };
  Look look{Color(255, 0, 170, 255), Color(255, 0, 92, 200), L"一键获取"};
  switch (state) {
    case FetchPicture::Idle: break;
    case FetchPicture::InProgress: look = {Color(255, 255, 190, 40), Color(255, 230, 120, 0), L"获取中"}; break;
    case FetchPicture::Done: look = {Color(255, 60, 210, 90), Color(255, 10, 140, 60), L"✔ 成功"}; break;
    case FetchPicture::Failed: look = {Color(255, 255, 140, 60), Color(255, 200, 80, 20), L"✘ 失败"}; break;
    case FetchPicture::Error: look = {Color(255, 255, 70, 70), Color(255, 180, 20, 30), L"! 错误"}; break;
  }
  SolidBrush shadow(Color(70, 0, 0, 0));
  g.FillEllipse(&shadow, x + 3, y + 4, side, side);
  LinearGradientBrush fill(PointF(x, y), PointF(x, y + side), look.a, look.b);
  g.FillEllipse(&fill, box);
  Pen ring(Color(220, 255, 255, 255), side / 22);
  g.DrawEllipse(&ring, x + side * 0.08f, y + side * 0.08f, side * 0.84f, side * 0.84f);
  if (state == FetchPicture::InProgress) {
    Pen arc(Color(255, 255, 255, 255), side / 10);
    arc.SetStartCap(LineCapRound);
    arc.SetEndCap(LineCapRound);
    g.DrawArc(&arc, x + side * 0.08f, y + side * 0.08f, side * 0.84f, side * 0.84f, REAL((frame * 30) % 360), 90);
  }
  text(g, look.label, box, side / 6.2f, Color(255, 255, 255, 255));
}

void curtain(HDC dc, const RECT& r, double scale) {
  Graphics g(dc);
  smooth(g);
  RectF box(REAL(r.left), REAL(r.top), REAL(r.right - r.left), REAL(r.bottom - r.top));
  LinearGradientBrush fill(PointF(0, box.Y - 1), PointF(0, box.Y + box.Height + 1), Color(255, 0, 120, 215),
                           Color(255, 0, 60, 140));
  g.FillRectangle(&fill, box);
  text(g, L"欢迎使用 Zelkora", RectF(box.X, box.Y + REAL(40 * scale), box.Width, REAL(50 * scale)), REAL(26 * scale),
       Color(255, 255, 255, 255));
  text(g, L"一键获取  ·  极速互联", RectF(box.X, box.Y + REAL(90 * scale), box.Width, REAL(30 * scale)),
       REAL(14 * scale), Color(220, 255, 255, 255), FontStyleRegular);
}

void webButton(HDC dc, const RECT& r, int index, const wchar_t* caption, double scale) {
  static const Color kColours[7] = {Color(255, 66, 133, 244), Color(255, 230, 33, 23),  Color(255, 90, 90, 90),
                                    Color(255, 59, 89, 152),  Color(255, 29, 161, 242), Color(255, 15, 157, 88),
                                    Color(255, 219, 68, 55)};
  Graphics g(dc);
  smooth(g);
  GraphicsPath p;
  roundRect(p, REAL(r.left) + 1, REAL(r.top) + 1, REAL(r.right - r.left) - 2, REAL(r.bottom - r.top) - 2,
            REAL(6 * scale));
  SolidBrush fill(kColours[index % 7]);
  g.FillPath(&fill, &p);
  text(g, caption, RectF(REAL(r.left), REAL(r.top), REAL(r.right - r.left), REAL(r.bottom - r.top)), REAL(13 * scale),
       Color(255, 255, 255, 255));
}

void busyDot(HDC dc, const RECT& r, COLORREF colour) {
  Graphics g(dc);
  smooth(g);
  SolidBrush fill(Color(255, GetRValue(colour), GetGValue(colour), GetBValue(colour)));
  REAL side = REAL(std::min(r.right - r.left, r.bottom - r.top)) - 4;
  g.FillEllipse(&fill, REAL(r.left) + 2, REAL(r.top) + 2, side, side);
}

void spinner(HDC dc, const RECT& r, int frame) {
  Graphics g(dc);
  smooth(g);
  REAL side = REAL(std::min(r.right - r.left, r.bottom - r.top)) - 4;
  RectF box(REAL(r.left) + 2, REAL(r.top) + 2, side, side);
  Pen ring(Color(70, 255, 255, 255), side / 7);
  g.DrawEllipse(&ring, box);
  Pen arc(Color(255, 255, 200, 60), side / 7);
  arc.SetStartCap(LineCapRound);
  arc.SetEndCap(LineCapRound);
  g.DrawArc(&arc, box, REAL((frame % 12) * 30), 100.0f);
}

void dnsButton(HDC dc, const RECT& r, wchar_t badge, int colour, const wchar_t* caption, bool active, double scale) {
  static const Color kBadges[8] = {Color(255, 0, 112, 192),  Color(255, 66, 133, 244), Color(255, 230, 120, 20),
                                   Color(255, 15, 157, 88),  Color(255, 150, 60, 170), Color(255, 219, 68, 55),
                                   Color(255, 40, 150, 160), Color(255, 90, 90, 90)};
  Graphics g(dc);
  smooth(g);
  const REAL x = REAL(r.left), y = REAL(r.top), w = REAL(r.right - r.left), h = REAL(r.bottom - r.top);
  GraphicsPath p;
  roundRect(p, x + 0.5f, y + 0.5f, w - 1.5f, h - 1.5f, REAL(4 * scale));
  LinearGradientBrush fill(PointF(x, y), PointF(x, y + h),
                           active ? Color(255, 255, 255, 255) : Color(255, 205, 208, 212),
                           active ? Color(255, 226, 236, 248) : Color(255, 205, 208, 212));
  g.FillPath(&fill, &p);
  Pen edge(Color(255, 150, 175, 210), 1.0f);
  g.DrawPath(&edge, &p);
  // The badge: 21 x 30 at the left, a disc in its middle.
  const REAL bw = REAL(21 * scale), disc = REAL(16 * scale);
  const REAL dx = x + REAL(3 * scale) + (bw - disc) / 2, dy = y + (h - disc) / 2;
  SolidBrush badgeFill(active ? kBadges[colour % 8] : Color(255, 160, 160, 160));
  g.FillEllipse(&badgeFill, dx, dy, disc, disc);
  if (badge == 0) {
    Pen line(Color(255, 255, 255, 255), REAL(1.2 * scale));
    g.DrawEllipse(&line, dx + disc * 0.28f, dy + 1, disc * 0.44f, disc - 2);
    g.DrawLine(&line, dx + 1, dy + disc / 2, dx + disc - 1, dy + disc / 2);
  } else {
    wchar_t letter[2] = {badge, 0};
    text(g, letter, RectF(dx, dy, disc, disc), REAL(10 * scale), Color(255, 255, 255, 255));
  }
  text(g, caption, RectF(x + bw + REAL(3 * scale), y, w - bw - REAL(5 * scale), h), REAL(12 * scale),
       active ? Color(255, 30, 50, 80) : Color(255, 130, 130, 130), FontStyleRegular);
}

void veil(HDC dc, const RECT& r, const wchar_t* line, double scale) {
  Graphics g(dc);
  smooth(g);
  SolidBrush dim(Color(150, 10, 20, 40));
  g.FillRectangle(&dim, REAL(r.left), REAL(r.top), REAL(r.right - r.left), REAL(r.bottom - r.top));
  const REAL h = REAL(60 * scale);
  SolidBrush band(Color(220, 20, 40, 70));
  RectF box(REAL(r.left), (REAL(r.top) + REAL(r.bottom)) / 2 - h / 2, REAL(r.right - r.left), h);
  g.FillRectangle(&band, box);
  text(g, line, box, REAL(16 * scale), Color(255, 255, 255, 255));
}

void magnifier(HDC dc, const RECT& r) {
  Graphics g(dc);
  smooth(g);
  REAL side = REAL(std::min(r.right - r.left, r.bottom - r.top));
  Pen pen(Color(255, 255, 255, 255), side / 9);
  REAL lens = side * 0.55f;
  REAL x = REAL(r.left) + side * 0.12f, y = REAL(r.top) + side * 0.12f;
  g.DrawEllipse(&pen, x, y, lens, lens);
  pen.SetWidth(side / 6);
  pen.SetStartCap(LineCapRound);
  pen.SetEndCap(LineCapRound);
  g.DrawLine(&pen, x + lens * 0.85f, y + lens * 0.85f, REAL(r.left) + side * 0.88f, REAL(r.top) + side * 0.88f);
}

// Connecting: an amber arc turning on a faint ring; connected: green (large at first, then
// 10 px); offline: red (then 12 px).
void indicator(HDC dc, const RECT& r, Indicator state, int frame) {
  if (state == Indicator::None) return;
  Graphics g(dc);
  smooth(g);
  if (state == Indicator::Connecting) {
    REAL side = REAL(std::min(r.right - r.left, r.bottom - r.top)) - 4;
    RectF box(REAL(r.left) + 2, REAL(r.top) + 2, side, side);
    Pen ring(Color(90, 255, 176, 0), 2.5f), arc(Color(255, 255, 176, 0), 2.5f);
    g.DrawEllipse(&ring, box);
    g.DrawArc(&arc, box, REAL((frame % 8) * 45), 120.0f);
    return;
  }
  Color c = state == Indicator::Connecting                                        ? Color(255, 255, 176, 0)
            : state == Indicator::ConnectedFirst || state == Indicator::Connected ? Color(255, 40, 200, 80)
                                                                                  : Color(255, 230, 40, 40);
  REAL full = REAL(std::min(r.right - r.left, r.bottom - r.top));
  REAL side = state == Indicator::Connected ? full * 10 / 16 : state == Indicator::Offline ? full * 12 / 16 : full - 2;
  SolidBrush fill(c);
  g.FillEllipse(&fill, REAL(r.left) + (full - side) / 2, REAL(r.top) + (full - side) / 2, side, side);
}

void shareTile(HDC dc, const RECT& r, Rgb colour, const wchar_t* mark, const wchar_t* caption, double scale) {
  Graphics g(dc);
  smooth(g);
  const REAL x = REAL(r.left), y = REAL(r.top), w = REAL(r.right - r.left), h = REAL(r.bottom - r.top);
  GraphicsPath p;
  roundRect(p, x + 1, y + 1, w - 2, h - 2, REAL(8 * scale));
  LinearGradientBrush fill(PointF(x, y), PointF(x, y + h), Color(255, colour.r, colour.g, colour.b),
                           Color(255, BYTE(colour.r * 3 / 4), BYTE(colour.g * 3 / 4), BYTE(colour.b * 3 / 4)));
  g.FillPath(&fill, &p);
  const REAL disc = std::min(w, h) * 0.5f;
  // The disc through GDI: a path of arcs this large comes out as a polygon on some systems.
  {
    HDC plain = g.GetHDC();
    HGDIOBJ oldBrush = SelectObject(plain, GetStockObject(WHITE_BRUSH));
    HGDIOBJ oldPen = SelectObject(plain, GetStockObject(NULL_PEN));
    const int left = static_cast<int>(x + (w - disc) / 2), top = static_cast<int>(y + REAL(6 * scale));
    Ellipse(plain, left, top, left + static_cast<int>(disc) + 1, top + static_cast<int>(disc) + 1);
    SelectObject(plain, oldPen);
    SelectObject(plain, oldBrush);
    g.ReleaseHDC(plain);
  }
  text(g, mark, RectF(x, y + REAL(6 * scale), w, disc), REAL(17 * scale), Color(255, colour.r, colour.g, colour.b));
  text(g, caption, RectF(x, y + h - REAL(24 * scale), w, REAL(20 * scale)), REAL(12 * scale),
       Color(255, 255, 255, 255));
}

}  // namespace zk::ui::art
