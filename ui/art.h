// The program's pictures, drawn with GDI+: backgrounds, logo, fetch states, indicator, curtain.
#pragma once

#include <windows.h>

#include "main/main_view.h"
#include "sync/sync_view.h"

namespace zk::ui::art {

void startup();  // GDI+ for the life of the process

// A main-window background for a skin (0 = the start-up look), with the title strip.
void mainBackground(HDC dc, int w, int h, int skin, double scale);
void plainBackground(HDC dc, int w, int h, COLORREF top, COLORREF bottom, int stripHeight);
void logo(HDC dc, const RECT& r, Rgb colour);
void skinButton(HDC dc, const RECT& r, Rgb colour);
void fetchPicture(HDC dc, const RECT& r, FetchPicture state, int frame);
void curtain(HDC dc, const RECT& r, double scale);
void webButton(HDC dc, const RECT& r, int index, const wchar_t* caption, double scale);
void busyDot(HDC dc, const RECT& r, COLORREF colour);
// The search icon: a lens with its handle.
void magnifier(HDC dc, const RECT& r);
// frame: the step of the connecting animation (a turning arc).
void indicator(HDC dc, const RECT& r, Indicator state, int frame = 0);

}  // namespace zk::ui::art
