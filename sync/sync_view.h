// What the cloud synchronisation shows in the main window, in the window's own words.
#pragma once

#include <string>

#include "main/main_view.h"

namespace zk {

enum class Indicator { None, Connecting, ConnectedFirst, Connected, OfflineFirst, Offline };

class SyncView {
 public:
  virtual ~SyncView() = default;
  // Progress log: the whole text, newest line first.
  virtual void setLog(const std::string& text) = 0;
  virtual void setStatusWord(const std::string& word) = 0;
  virtual void setElapsed(const std::string& text) = 0;
  // The start label, the three server buttons and the two blocking boxes.
  virtual void setControlsEnabled(bool enabled) = 0;

  virtual void setIndicator(Indicator state) = 0;
  virtual void setNewsAddress(const std::string& url) = 0;

  // Status area.
  virtual void setLocalLabel(const std::string& text, Rgb colour) = 0;
  virtual void setCloudLabel(const std::string& text, Rgb colour) = 0;
  virtual void setStatusLine(const std::string& text) = 0;
  virtual void setStatusLineColour(Rgb colour) = 0;
  virtual void setBusy(bool local, bool cloud) = 0;
  virtual void setHoverTexts(const std::string& local, const std::string& cloud) = 0;

  // The program ends (the update prompt's path).
  virtual void quit() = 0;
};

}  // namespace zk
