// The program's pictures, drawn with GDI+: backgrounds, logo, fetch states, indicator, curtain.
#pragma once

#include <windows.h>

#include "main/main_view.h"
#include "sync/sync_view.h"

namespace zk::ui::art {

void startup();  // GDI+ for the life of the process

// A main-window background for a skin (0 = the start-up look), with the title strip.
// wordmark: the name beside the logo (a customised copy shows its nickname there instead).
void mainBackground(HDC dc, int w, int h, int skin, double scale, bool wordmark = true);
void plainBackground(HDC dc, int w, int h, COLORREF top, COLORREF bottom, int stripHeight);
void logo(HDC dc, const RECT& r, Rgb colour);
void skinButton(HDC dc, const RECT& r, Rgb colour);
void fetchPicture(HDC dc, const RECT& r, FetchPicture state, int frame);
void curtain(HDC dc, const RECT& r, double scale);
void webButton(HDC dc, const RECT& r, int index, const wchar_t* caption, double scale);
void busyDot(HDC dc, const RECT& r, COLORREF colour);
// A turning arc, one step per frame.
void spinner(HDC dc, const RECT& r, int frame);
// A preset button of the DNS window: a badge (21 x 30 at 96 dpi) and the caption. badge: a
// letter on a colour of its own; a globe when the letter is 0. A button that does nothing is flat
// and grey.
void dnsButton(HDC dc, const RECT& r, wchar_t badge, int colour, const wchar_t* caption, bool active, double scale);
// A dimmed layer with a line of text in its middle.
void veil(HDC dc, const RECT& r, const wchar_t* line, double scale);
// The search icon: a lens with its handle.
void magnifier(HDC dc, const RECT& r);
// A share service's tile: a rounded square of its colour, a white disc with its mark and the
// caption under it.
void shareTile(HDC dc, const RECT& r, Rgb colour, const wchar_t* mark, const wchar_t* caption, double scale);
// frame: the step of the connecting animation (a turning arc).
void indicator(HDC dc, const RECT& r, Indicator state, int frame = 0);

}  // namespace zk::ui::art
