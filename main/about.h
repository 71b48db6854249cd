// The about window: version, release date and copyright, hiding the main window while open.
#pragma once

#include <functional>
#include <string>

#include "main/main_view.h"
#include "main/program_values.h"
#include "platform/system.h"

namespace zk {

class AboutView {
 public:
  virtual ~AboutView() = default;
  virtual void setTexts(const std::string& version, const std::string& released, const std::string& copyright) = 0;
  virtual void close() = 0;
};

enum class AboutCommand { Close, Home };

class AboutLogic {
 public:
  // openHomePage: the home page in the browser, as the web links open it.
  AboutLogic(AboutView& view, MainView& main, Clock& clock, const ProgramValues& values,
             std::function<void()> openHomePage)
      : view_(view), main_(main), clock_(clock), values_(values), openHomePage_(std::move(openHomePage)) {}
  void onCreated();
  void onCloseClicked();
  void onHomeClicked();
  void onCommand(AboutCommand command) { command == AboutCommand::Home ? onHomeClicked() : onCloseClicked(); }

 private:
  AboutView& view_;
  MainView& main_;
  Clock& clock_;
  const ProgramValues& values_;
  std::function<void()> openHomePage_;
};

}  // namespace zk
