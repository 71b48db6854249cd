// What the main window shows, in the window's own words. Implemented by the Win32 main window.
#pragma once

#include <cstdint>
#include <string>

namespace zk {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

enum class Server { None = 0, Official = 1, Backup = 2, Custom = 3 };
enum class FetchPicture { Idle, InProgress, Done, Failed, Error };

// A look of the main window: skin 0 is the start-up look, 1 to 7 the rotating skins.
struct Skin {
  int index = 0;
  Rgb settingsLabel;
  Rgb navigationLabel;
  Rgb skinButtonAndLogo;
  bool operator==(const Skin&) const = default;
};

class MainView {
 public:
  virtual ~MainView() = default;

  virtual void setSkin(const Skin& skin) = 0;
  virtual void setFetchPicture(FetchPicture picture) = 0;

  virtual bool radioChecked(Server which) const = 0;
  virtual void setRadioChecked(Server which, bool checked) = 0;
  virtual bool adBlockingTicked() const = 0;
  virtual void setAdBlockingTicked(bool ticked) = 0;
  virtual bool navigationBlockingTicked() const = 0;
  virtual void setNavigationBlockingTicked(bool ticked) = 0;
  virtual std::string retryCounterText() const = 0;
  virtual void setRetryCounterText(const std::string& text) = 0;

  // Emoji pointer on every control of the list, or the standard pointers (the seven picture
  // buttons keep the Emoji pointer either way).
  virtual void setEmojiPointerOnAll(bool on) = 0;

  virtual Rect windowRect() const = 0;
  virtual void setCurtain(const Rect& r) = 0;
  virtual Rect curtain() const = 0;
  virtual void setCurtainVisible(bool visible) = 0;
  virtual void setAvatarVisible(bool visible) = 0;
  virtual void setNicknameVisible(bool visible) = 0;

  virtual void setShown(bool shown) = 0;
  virtual void openSettingsWindow(bool modal) = 0;
  virtual void openAboutWindow() = 0;
};

}  // namespace zk
