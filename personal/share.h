// Sharing: the share texts and addresses, the share window's logic and the seven web buttons.
#pragma once

#include <string>
#include <string_view>

#include "main/main_view.h"
#include "platform/files.h"
#include "platform/prompt.h"
#include "platform/system.h"

namespace zk {

// The share text as the window shows it: the sentence, then the official page's address.
std::string shareText(std::string_view officialPageUrl);
// The shorter sentence the Tieba share carries.
extern const char* const kShortShareText;
// The name of the QR image on the desktop.
extern const char* const kQrImageName;

// A query value as UTF-8 bytes: letters, digits and "-._~" kept, every other byte %XX upper-case.
std::string percentEncodeQueryValue(std::string_view utf8);

// The share window's clickable controls. The pictures keep their numbers; 3 is the QR code.
enum class ShareCommand : int {
  QZone = 1,
  Weibo = 2,
  QrCode = 3,
  Tieba = 4,
  TencentWeibo = 6,
  Twitter = 7,
  Copy = 20,
  Close = 21,  // the window's own ×, Alt+F4, the taskbar
};

// The address a share picture opens; empty for the QR code and anything else.
std::string shareUrl(ShareCommand picture, std::string_view officialPageUrl);
// The address a web button of the navigation panel opens; empty for any other command.
std::string webButtonUrl(MainCommand command, std::string_view officialPageUrl);
// The one way an address reaches the browser: only a web address is handed to the shell, so a
// build setting gone wrong can never make it open a file or a program. True when handed over.
bool openWebAddress(Shell& shell, const std::string& url);

class ShareView {
 public:
  virtual ~ShareView() = default;
  // The read-only box with the text that the clipboard gets.
  virtual void setShareText(const std::string& text) = 0;
  virtual void close() = 0;
};

struct ShareServices {
  MainView& main;
  Shell& shell;
  Clipboard& clipboard;
  FileSystem& fs;
  SpecialFolders& folders;
  Prompter& prompt;
};

class ShareLogic {
 public:
  // qrImage: the picture's bytes as the program carries them, written to the desktop unchanged.
  ShareLogic(ShareServices services, ShareView& view, std::string officialPageUrl, std::string qrImage);
  void onCreated();
  void onCommand(ShareCommand command);

 private:
  void writeQrImage();
  ShareServices s_;
  ShareView& view_;
  std::string officialPageUrl_;
  std::string text_;
  std::string qrImage_;
};

// The navigation panel's seven web buttons: each opens its service with the official page.
class WebButtons {
 public:
  WebButtons(Shell& shell, std::string officialPageUrl) : shell_(shell), officialPageUrl_(std::move(officialPageUrl)) {}
  // True when the command is one of the seven.
  bool onCommand(MainCommand command);

 private:
  Shell& shell_;
  std::string officialPageUrl_;
};

}  // namespace zk
