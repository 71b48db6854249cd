// A top-level window built from a table of controls: scaling, transparent labels, tooltips, clicks.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "main/main_view.h"

namespace zk::ui {

enum class Kind { Label, ClickLabel, Picture, Button, Check, Radio, Group, Edit, Log, HiddenEdit };

struct ControlSpec {
  int id;
  Kind kind;
  const char* caption;  // UTF-8; the control's window text
  int x, y, w, h;       // logical pixels (96 dpi)
  const char* tip = nullptr;
  bool small = false;  // the smaller font, for dense rows
};

class Form {
 public:
  Form() = default;
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Both are null from WM_DESTROY on: every call of the logic after that reaches nothing.
  HWND hwnd() const { return live() ? hwnd_ : nullptr; }
  HWND ctl(int id) const { return live() ? GetDlgItem(hwnd_, id) : nullptr; }
  // The window exists and is not being destroyed.
  bool live() const { return hwnd_ != nullptr && !ending_; }
  // The window's logic takes its commands here: a click on a control of the command table, and
  // the close command, which every way of closing the window runs (its own ×, Alt+F4, the
  // taskbar's "关闭窗口", WM_CLOSE from outside).
  std::function<void(int command)> onCommand;
  // Called once the window is gone; the owner may free this object then (deferred).
  std::function<void()> onDestroyed;
  // Ends the window after the current message: a command never destroys its own window.
  void destroyLater() {
    if (live()) PostMessageW(hwnd_, kDestroyLater, 0, 0);
  }

  void setText(int id, const std::string& utf8);
  std::string text(int id) const;
  void setTextColour(int id, Rgb c);
  void setVisible(int id, bool visible);
  // A control's hover hint, now or whenever the hints come to life.
  void setTip(int id, const std::string& utf8);
  // Takes away a hint that is showing.
  void hideTip();
  // An input-blocking overlay (a picture control over the whole form): shown, it holds the
  // form's picture as it was on the screen at that moment, which paintOverlaySnapshot draws.
  void showOverlay(int id, bool shown);
  void paintOverlaySnapshot(HDC dc, const RECT& r) const;
  bool checked(int id) const;
  void setChecked(int id, bool on);
  // Logical pixels <-> device pixels.
  int s(int v) const { return MulDiv(v, dpi_, 96); }
  int unscale(int v) const { return MulDiv(v, 96, dpi_); }

 private:
  static void setRichText(HWND h, const std::string& utf8);

 protected:
  // backgroundW: the painted width when the window can grow wider than it opens (0: w).
  HWND create(const wchar_t* className, const std::string& title, int w, int h, DWORD style, DWORD exStyle,
              const std::vector<ControlSpec>& controls, int backgroundW = 0);
  // The window's background (logical size w x h), painted into a bitmap and used under labels.
  virtual void paintBackground(HDC dc, int w, int h) = 0;
  virtual void paintPicture(int /*id*/, HDC /*dc*/, const RECT& /*r*/) {}
  virtual LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void refreshBackground();
  // A plain gradient background with a title strip of dragStrip_ logical pixels and its title.
  void titledBackground(HDC dc, int w, int h, COLORREF top, COLORREF bottom, const wchar_t* title);
  void placeAll();
  void move(int id, int x, int y, int w, int h);
  const ControlSpec* spec(int id) const;
  HFONT font() const { return font_; }
  // Which control asks for which command (the logic's command enum), and the close command.
  void bindCommands(std::initializer_list<std::pair<int, int>> idToCommand, int closeCommand);
  // More ways for a control to ask for a command: a change of an edit box's text, a key pressed
  // in it (Enter is then not also typed), a double click on it.
  void bindChange(int id, int command) { changes_[id] = command; }
  void bindKey(int id, UINT virtualKey, int command);
  void bindDoubleClick(int id, int command);
  // One more click-to-command pair, for tables built in a loop.
  void bindClick(int id, int command) { commands_[id] = command; }
  // A control that acts as soon as the left mouse button goes down on it (not on its release).
  void bindPress(int id, int command);
  static constexpr UINT kDestroyLater = WM_APP + 40;

  std::vector<ControlSpec> specs_;
  int logicalW_ = 0, logicalH_ = 0;
  int dragStrip_ = 0;     // height of the title strip that moves the window (no system caption)
  HWND owner_ = nullptr;  // set before create() for an owned window

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK groupProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data);
  static LRESULT CALLBACK inputProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data);
  void watchInput(int id);
  void runCommand(int command);
  void makeControls();
  void makeTips();
  void addTip(int id, bool update);
  void makeFonts();

  HWND hwnd_ = nullptr;
  bool ending_ = false;
  HWND tips_ = nullptr;
  HFONT font_ = nullptr;
  HBITMAP overlaySnapshot_ = nullptr;
  HFONT smallFont_ = nullptr;
  HBRUSH background_ = nullptr;
  HBRUSH white_ = nullptr;
  int dpi_ = 96;
  std::map<int, int> commands_;
  std::map<int, int> changes_;
  std::map<std::pair<int, UINT>, int> keys_;
  std::map<int, int> doubleClicks_;
  std::map<int, int> presses_;
  int closeCommand_ = -1;
  std::map<int, COLORREF> colours_;
  std::map<int, std::wstring> tipTexts_;
};

int systemDpi(HWND hwnd);

}  // namespace zk::ui
