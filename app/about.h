// The about window: version, release date and copyright, hiding the main window while open.
#pragma once

#include <string>

#include "platform/system.h"
#include "settings/main_view.h"
#include "settings/program_values.h"

namespace zk {

class AboutView {
 public:
  virtual ~AboutView() = default;
  virtual void setTexts(const std::string& version, const std::string& released, const std::string& copyright) = 0;
  virtual void close() = 0;
};

class AboutLogic {
 public:
  AboutLogic(AboutView& view, MainView& main, Clock& clock, const ProgramValues& values)
      : view_(view), main_(main), clock_(clock), values_(values) {}
  void onCreated();
  void onCloseClicked();

 private:
  AboutView& view_;
  MainView& main_;
  Clock& clock_;
  const ProgramValues& values_;
};

}  // namespace zk
