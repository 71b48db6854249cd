// What the cloud synchronisation shows in the main window, in the window's own words.
#pragma once

#include <string>

#include "settings/main_view.h"

namespace zk {

enum class Indicator { None, Connecting, ConnectedFirst, Connected, OfflineFirst, Offline };
// The controls of the title strip that the fetch's reveal shows one after another.
enum class TitleControl { Navigation, About, Settings, Help, SkinButton };

class SyncView {
 public:
  virtual ~SyncView() = default;
  // Progress log: the whole text, newest line first.
  virtual void setLog(const std::string& text) = 0;
  virtual void setStatusWord(const std::string& word) = 0;
  virtual void setElapsed(const std::string& text) = 0;
  // The start label, the three server buttons and the two blocking boxes.
  virtual void setControlsEnabled(bool enabled) = 0;
  virtual FetchPicture fetchPicture() const = 0;

  virtual void setIndicator(Indicator state) = 0;
  virtual void setNewsAddress(const std::string& url) = 0;

  // Status area.
  virtual void setLocalLabel(const std::string& text, Rgb colour) = 0;
  virtual void setCloudLabel(const std::string& text, Rgb colour) = 0;
  virtual std::string localLabel() const = 0;
  virtual std::string cloudLabel() const = 0;
  virtual void setStatusLine(const std::string& text) = 0;
  virtual std::string statusLine() const = 0;
  virtual void setStatusLineColour(Rgb colour) = 0;
  virtual void setBusy(bool local, bool cloud) = 0;
  virtual void setHoverTexts(const std::string& local, const std::string& cloud) = 0;

  // Navigation panel: the window's width (462 closed, 630 open) and the top-right controls.
  virtual int windowWidth() const = 0;
  virtual void setWindowWidth(int width) = 0;
  virtual void layoutTopRight() = 0;
  virtual void showTitleControl(TitleControl which) = 0;

  // The decorative line under the title strip.
  virtual void setLineGeometry(const Rect& r) = 0;
  virtual void setLineColour(Rgb colour) = 0;
  virtual void setLineVisible(bool visible) = 0;

  // The program ends (the update prompt's path).
  virtual void quit() = 0;
};

}  // namespace zk
