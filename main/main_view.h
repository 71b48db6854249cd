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
// The controls of the title strip that the fetch's reveal shows one after another.
enum class TitleControl { Navigation, About, Settings, Help, SkinButton };
enum class FetchPicture { Idle, InProgress, Done, Failed, Error };
// The nickname label's font: as designed, or 微软雅黑 at size 13 or 12.
enum class NicknameFont { Design, YaHei13, YaHei12 };

// What the main window's clickable controls ask for, whatever the control. Each piece of logic
// takes the commands that are its own (onCommand returns true); the window's table says which
// control asks for which.
enum class MainCommand {
  Fetch,     // the fetch picture's label
  Start,     // the captionless start label
  Official,  // the three server radio buttons
  Backup,
  Custom,
  AdBlocking,  // the two blocking boxes
  NavigationBlocking,
  Settings,  // the tool row
  About,
  Close,           // the window's own ×, Alt+F4, the taskbar
  OpenNavigation,  // "导航" and the panel's own closing label
  CloseNavigation,
  LocalStatus,  // the two status labels: a refresh
  CloudStatus,
  BestDns,  // web links (and a tool set entry)
  Android,
  News,
  News1,
  News2,
  Editor,  // the row of hosts-file buttons
  AddEntry,
  OpenHostsFile,
  OpenHostsFolder,
  ClearHostsFile,
  SaveHostsCopy,
  ImportHostsFile,
  RestoreHostsFile,
  CopyHostsFile,
  FlushDnsCache,  // the tool set
  RepairDnsClient,
  OneClickDns,
  AutomaticAddressing,
  RestartAdapter,
  ExternalIp,
  Ping,
  WebPing,
  Bandwidth,
  Customise,    // "私人定制": the customisation window
  AvatarFrame,  // the frame label over the avatar: one's own customisation
  Share,        // "分享发布": the share window
  Shortcuts,    // "创建图标"
  Help,         // "帮助": the help file
  WebGoogle,    // the navigation panel's seven web buttons, top to bottom
  WebYouTube,
  WebWikipedia,
  WebFacebook,
  WebTwitter,
  WebDrive,
  WebGmail,
};

// A look of the main window: skin 0 is the start-up look, 1 to 7 the rotating skins.
struct Skin {
  int index = 0;
  Rgb settingsLabel;
  Rgb navigationLabel;
  Rgb skinButtonAndLogo;
  bool operator==(const Skin&) const = default;
};

// The view mirrors what the logic holds; nothing is read back from it for a decision.
class MainView {
 public:
  virtual ~MainView() = default;

  virtual void setSkin(const Skin& skin) = 0;
  virtual void setFetchPicture(FetchPicture picture) = 0;

  virtual void setRadioChecked(Server which, bool checked) = 0;
  virtual void setAdBlockingTicked(bool ticked) = 0;
  virtual void setNavigationBlockingTicked(bool ticked) = 0;
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

  // The customised title strip: the logo, the avatar with the frame label over it and the caption
  // "TessalyZelkora私人定制专版" beside it, the nickname label.
  virtual void setLogoVisible(bool visible) = 0;
  virtual void setEditionCaptionVisible(bool visible) = 0;
  virtual Rect logoRect() const = 0;
  virtual Rect avatarRect() const = 0;
  virtual void setAvatarRect(const Rect& r) = 0;
  virtual void setAvatarFrameRect(const Rect& r) = 0;
  // The avatar from picture bytes (JPEG, PNG, GIF, BMP); false, with nothing shown, when the
  // bytes are no picture (or none).
  virtual bool setAvatarPicture(const std::string& bytes) = 0;
  virtual void setDefaultAvatar() = 0;
  virtual void setNicknameText(const std::string& text) = 0;
  virtual void setNicknameFont(NicknameFont font) = 0;
  virtual void setNicknameColour(Rgb colour) = 0;

  // Navigation panel: the window's width (462 closed, 630 open) and the top-right controls.
  virtual int windowWidth() const = 0;
  virtual void setWindowWidth(int width) = 0;
  virtual void layoutTopRight() = 0;
  virtual void showTitleControl(TitleControl which) = 0;

  // The decorative line under the title strip.
  virtual void setLineGeometry(const Rect& r) = 0;
  virtual void setLineColour(Rgb colour) = 0;
  virtual void setLineVisible(bool visible) = 0;

  virtual void setShown(bool shown) = 0;
  virtual void openSettingsWindow(bool modal) = 0;
  virtual void openAboutWindow() = 0;
};

}  // namespace zk
