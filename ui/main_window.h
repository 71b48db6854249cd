// The main window: every control of the main screen, drawn pictures, pointers; implements MainView.
#pragma once

#include <functional>
#include <memory>

#include "main/main_view.h"
#include "sync/sync_view.h"
#include "ui/form.h"
#include "ui/web_view.h"

namespace Gdiplus {
class Bitmap;
}

namespace zk::ui {

// Control IDs, local to the main window (P picture, T text label, B button, R radio, X check box,
// G group box, E edit box).
enum MainId : int {
  IDP_LOGO = 100,
  IDP_SKIN = 101,
  IDB_CLOSE = 102,
  IDT_SETTINGS = 103,
  IDT_HELP = 104,
  IDT_ABOUT = 105,
  IDT_NAV = 106,
  IDP_FETCH = 110,
  IDT_FETCH = 111,
  IDT_START = 112,
  IDT_RESULT_CAP = 120,
  IDT_RESULT = 121,
  IDT_ELAPSED_CAP = 122,
  IDT_ELAPSED = 123,
  IDT_MODE_CAP = 124,
  IDT_MODE = 125,
  IDG_OFFICIAL = 130,
  IDG_BACKUP = 131,
  IDG_CUSTOM = 132,
  IDR_OFFICIAL = 133,
  IDR_BACKUP = 134,
  IDR_CUSTOM = 135,
  IDX_ADBLOCK = 140,
  IDX_NAVBLOCK = 141,
  IDT_LOCAL_CAP = 150,
  IDT_LOCAL = 151,
  IDP_LOCAL_BUSY = 152,
  IDT_CLOUD_CAP = 153,
  IDT_CLOUD = 154,
  IDP_CLOUD_BUSY = 155,
  IDT_SERVICE = 156,
  IDP_INDICATOR1 = 160,
  IDP_INDICATOR2 = 161,
  IDT_LOG_CAP = 170,
  IDE_LOG = 171,
  IDT_NEWS = 172,
  IDE_RETRY = 173,
  IDT_EDITOR = 180,
  IDT_ADD_ENTRY = 181,
  IDT_OPEN_FILE = 182,
  IDT_OPEN_FOLDER = 183,
  IDT_CLEAR = 184,
  IDT_SAVE_COPY = 185,
  IDT_IMPORT = 186,
  IDT_RESTORE = 187,
  IDT_COPY_ALL = 188,
  IDG_TOOLS = 190,
  // The tool set's ten entries.
  IDT_TOOL_FLUSH_DNS = 191,
  IDT_TOOL_REPAIR_DNS = 192,
  IDT_TOOL_DNS = 193,
  IDT_TOOL_AUTO_IP = 194,
  IDT_TOOL_RESTART_ADAPTER = 195,
  IDT_TOOL_EXTERNAL_IP = 196,
  IDT_TOOL_PING = 197,
  IDT_TOOL_WEB_PING = 198,
  IDT_TOOL_BEST_DNS = 199,
  IDT_TOOL_BANDWIDTH = 200,
  IDT_PERSONAL = 210,
  IDT_SHARE = 211,
  IDT_SHORTCUT = 212,
  IDT_ANDROID = 213,
  IDT_NEWS1 = 214,
  IDT_NEWS2 = 215,
  IDP_AVATAR = 220,
  IDT_AVATAR_FRAME = 221,
  IDT_EDITION = 222,
  IDT_NICKNAME = 223,
  IDP_CURTAIN = 230,
  IDP_LINE = 231,
  IDT_NAV_CLOSE = 240,
  // The navigation panel's seven web buttons.
  IDP_WEB_GOOGLE = 241,
  IDP_WEB_YOUTUBE = 242,
  IDP_WEB_WIKIPEDIA = 243,
  IDP_WEB_FACEBOOK = 244,
  IDP_WEB_TWITTER = 245,
  IDP_WEB_DRIVE = 246,
  IDP_WEB_GMAIL = 247,
};

class MainWindow : public Form, public MainView, public SyncView {
 public:
  MainWindow();
  ~MainWindow() override;
  HWND open();
  std::function<void(bool modal)> onOpenSettings;
  std::function<void()> onOpenAbout;
  // Hover texts of the pictures, as the logic words them.
  std::function<std::string(FetchPicture)> fetchHover;
  std::function<std::string(Indicator)> indicatorHover;

  // SyncView
  void setLog(const std::string& text) override;
  void setStatusWord(const std::string& word) override { setText(IDT_RESULT, word); }
  void setElapsed(const std::string& text) override { setText(IDT_ELAPSED, text); }
  void setControlsEnabled(bool enabled) override;
  void setIndicator(Indicator state) override;
  // The news page shows in the embedded browser; without one, the link in its place opens it.
  void setNewsAddress(const std::string& url) override;
  void setLocalLabel(const std::string& text, Rgb colour) override;
  void setCloudLabel(const std::string& text, Rgb colour) override;
  void setStatusLine(const std::string& t) override { setText(IDT_SERVICE, t); }
  void setStatusLineColour(Rgb colour) override { setTextColour(IDT_SERVICE, colour); }
  void setBusy(bool local, bool cloud) override;
  void setHoverTexts(const std::string& local, const std::string& cloud) override;
  int windowWidth() const override { return windowRect().width; }
  void setWindowWidth(int width) override;
  void layoutTopRight() override;
  void showTitleControl(TitleControl which) override;
  void setLineGeometry(const Rect& r) override { move(IDP_LINE, r.left, r.top, r.width, r.height); }
  void setLineColour(Rgb colour) override;
  void setLineVisible(bool visible) override { setVisible(IDP_LINE, visible); }
  void quit() override { DestroyWindow(hwnd()); }

  // MainView
  void setSkin(const Skin& skin) override;
  void setFetchPicture(FetchPicture picture) override;
  void setRadioChecked(Server which, bool checked) override;
  void setAdBlockingTicked(bool t) override { setChecked(IDX_ADBLOCK, t); }
  void setNavigationBlockingTicked(bool t) override { setChecked(IDX_NAVBLOCK, t); }
  void setRetryCounterText(const std::string& t) override { setText(IDE_RETRY, t); }
  void setEmojiPointerOnAll(bool on) override { emojiOnAll_ = on; }
  Rect windowRect() const override;
  void setCurtain(const Rect& r) override;
  Rect curtain() const override { return curtain_; }
  void setCurtainVisible(bool visible) override;
  void setAvatarVisible(bool visible) override { setVisible(IDP_AVATAR, visible); }
  void setNicknameVisible(bool visible) override { setVisible(IDT_NICKNAME, visible); }
  void setLogoVisible(bool visible) override;
  void setEditionCaptionVisible(bool visible) override { setVisible(IDT_EDITION, visible); }
  Rect logoRect() const override { return placeOf(IDP_LOGO); }
  Rect avatarRect() const override { return placeOf(IDP_AVATAR); }
  void setAvatarRect(const Rect& r) override { move(IDP_AVATAR, r.left, r.top, r.width, r.height); }
  void setAvatarFrameRect(const Rect& r) override;
  bool setAvatarPicture(const std::string& bytes) override;
  void setDefaultAvatar() override;
  void setNicknameText(const std::string& text) override { setText(IDT_NICKNAME, text); }
  void setNicknameFont(NicknameFont font) override;
  void setNicknameColour(Rgb colour) override { setTextColour(IDT_NICKNAME, colour); }
  void setShown(bool shown) override;
  void openSettingsWindow(bool modal) override {
    if (onOpenSettings) onOpenSettings(modal);
  }
  void openAboutWindow() override {
    if (onOpenAbout) onOpenAbout();
  }

 protected:
  void paintBackground(HDC dc, int w, int h) override;
  void paintPicture(int id, HDC dc, const RECT& r) override;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HCURSOR pointerFor(int id) const;
  // A control's place in logical pixels, relative to the window.
  Rect placeOf(int id) const;
  void applyLogFormat();
  void invalidate(int id) { InvalidateRect(ctl(id), nullptr, TRUE); }

  Skin skin_;  // index 0, the start-up look, is painted at creation
  FetchPicture picture_ = FetchPicture::Idle;
  int frame_ = 0;
  Rect curtain_{0, 37, 462, 353};
  Indicator indicator_ = Indicator::None;
  int indicatorFrame_ = 0;
  Rgb lineColour_{255, 61, 0};
  std::string news_;
  WebView web_;
  bool webTried_ = false;
  bool emojiOnAll_ = false;
  HCURSOR emoji_ = nullptr;
  std::unique_ptr<Gdiplus::Bitmap> avatar_;
  HFONT nicknameFont_ = nullptr;
  bool logoShown_ = true;  // the logo and the name beside it
};

}  // namespace zk::ui
