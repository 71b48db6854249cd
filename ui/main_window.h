// The main window: every control of the main screen, drawn pictures, pointers; implements MainView.
#pragma once

#include <functional>

#include "settings/main_view.h"
#include "sync/sync_view.h"
#include "ui/form.h"
#include "ui/web_view.h"

namespace zk::ui {

// Control IDs, local to the main window (P picture, T text label, B button, R radio, X check box,
// G group box, E edit box).
enum MainId : int {
  IDP_LOGO = 100,
  IDP_SKIN,
  IDB_CLOSE,
  IDT_SETTINGS,
  IDT_HELP,
  IDT_ABOUT,
  IDT_NAV,
  IDP_FETCH = 110,
  IDT_FETCH,
  IDT_START,
  IDT_RESULT_CAP = 120,
  IDT_RESULT,
  IDT_ELAPSED_CAP,
  IDT_ELAPSED,
  IDT_MODE_CAP,
  IDT_MODE,
  IDG_OFFICIAL = 130,
  IDG_BACKUP,
  IDG_CUSTOM,
  IDR_OFFICIAL,
  IDR_BACKUP,
  IDR_CUSTOM,
  IDX_ADBLOCK = 140,
  IDX_NAVBLOCK,
  IDT_LOCAL_CAP = 150,
  IDT_LOCAL,
  IDP_LOCAL_BUSY,
  IDT_CLOUD_CAP,
  IDT_CLOUD,
  IDP_CLOUD_BUSY,
  IDT_SERVICE,
  IDP_INDICATOR1 = 160,
  IDP_INDICATOR2,
  IDT_LOG_CAP = 170,
  IDE_LOG,
  IDT_NEWS,
  IDE_RETRY,
  IDT_EDITOR = 180,
  IDT_ADD_ENTRY,
  IDT_OPEN_FILE,
  IDT_OPEN_FOLDER,
  IDT_CLEAR,
  IDT_SAVE_COPY,
  IDT_IMPORT,
  IDT_RESTORE,
  IDT_COPY_ALL,
  IDG_TOOLS = 190,
  IDT_TOOL_FIRST,  // ten tool entries follow
  IDT_PERSONAL = 210,
  IDT_SHARE,
  IDT_SHORTCUT,
  IDT_ANDROID,
  IDT_NEWS1,
  IDT_NEWS2,
  IDP_AVATAR = 220,
  IDT_AVATAR_FRAME,
  IDT_EDITION,
  IDT_NICKNAME,
  IDP_CURTAIN = 230,
  IDP_LINE,
  IDT_NAV_CLOSE = 240,
  IDP_WEB_FIRST,  // seven web buttons follow
};

class MainWindow : public Form, public MainView, public SyncView {
 public:
  HWND open();
  std::function<void(bool modal)> onOpenSettings;
  std::function<void()> onOpenAbout;
  // Hover texts of the pictures, as the logic words them.
  std::function<std::string(FetchPicture)> fetchHover;
  std::function<std::string(Indicator)> indicatorHover;
  const std::string& newsAddress() const { return news_; }

  // SyncView
  void setLog(const std::string& text) override { setText(IDE_LOG, text); }
  void setStatusWord(const std::string& word) override { setText(IDT_RESULT, word); }
  void setElapsed(const std::string& text) override { setText(IDT_ELAPSED, text); }
  void setControlsEnabled(bool enabled) override;
  FetchPicture fetchPicture() const override { return picture_; }
  void setIndicator(Indicator state) override;
  // The news page shows in the embedded browser; without one, the link in its place opens it.
  void setNewsAddress(const std::string& url) override;
  void setLocalLabel(const std::string& text, Rgb colour) override;
  void setCloudLabel(const std::string& text, Rgb colour) override;
  std::string localLabel() const override { return text(IDT_LOCAL); }
  std::string cloudLabel() const override { return text(IDT_CLOUD); }
  void setStatusLine(const std::string& t) override { setText(IDT_SERVICE, t); }
  std::string statusLine() const override { return text(IDT_SERVICE); }
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
  bool radioChecked(Server which) const override;
  void setRadioChecked(Server which, bool checked) override;
  bool adBlockingTicked() const override { return checked(IDX_ADBLOCK); }
  void setAdBlockingTicked(bool t) override { setChecked(IDX_ADBLOCK, t); }
  bool navigationBlockingTicked() const override { return checked(IDX_NAVBLOCK); }
  void setNavigationBlockingTicked(bool t) override { setChecked(IDX_NAVBLOCK, t); }
  std::string retryCounterText() const override { return text(IDE_RETRY); }
  void setRetryCounterText(const std::string& t) override { setText(IDE_RETRY, t); }
  void setEmojiPointerOnAll(bool on) override { emojiOnAll_ = on; }
  Rect windowRect() const override;
  void setCurtain(const Rect& r) override;
  Rect curtain() const override { return curtain_; }
  void setCurtainVisible(bool visible) override;
  void setAvatarVisible(bool visible) override { setVisible(IDP_AVATAR, visible); }
  void setNicknameVisible(bool visible) override { setVisible(IDT_NICKNAME, visible); }
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
};

}  // namespace zk::ui
