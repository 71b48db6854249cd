// The settings window's general group: fill, save, close, restore defaults, address blink.
#pragma once

#include <string>

#include "main/main_view.h"
#include "main/program_values.h"
#include "platform/prompt.h"
#include "platform/runtime.h"
#include "settings/settings_store.h"

namespace zk {

enum class SettingsBox {
  WelcomeAnimation,
  EmojiPointer,
  OpenNavigation,
  ProtectHosts,
  CustomServer,
  CancelCustomisation
};

enum class SettingsCommand { Save, RestoreDefaults, CustomBox, Close };

class SettingsView {
 public:
  virtual ~SettingsView() = default;
  virtual bool ticked(SettingsBox box) const = 0;
  virtual void setTicked(SettingsBox box, bool ticked) = 0;
  virtual void setCancelBoxEnabled(bool enabled) = 0;
  virtual std::string address() const = 0;
  virtual void setAddress(const std::string& text) = 0;
  virtual void setAddressEnabled(bool enabled) = 0;
  virtual void setAddressBackground(Rgb colour) = 0;
  // Width 460 with the narrow background: the customisation group out of view.
  virtual void setNarrow() = 0;
  virtual void close() = 0;
};

class SettingsWindowLogic {
 public:
  SettingsWindowLogic(SettingsStore& store, SettingsView& view, MainView& main, Prompter& prompt, Runtime& rt,
                      const ProgramValues& values);
  ~SettingsWindowLogic();

  // Hides the main window, loads the settings (200 ms) and shows them.
  void onCreated();
  void onCustomBoxClicked();
  void onSaveClicked();
  void onRestoreDefaultsClicked();
  void onCloseClicked();  // the window's own close: no reload
  void onCommand(SettingsCommand command);

  // Validates and writes; on success closes the window with reload. False when refused.
  Task<bool> save();

 private:
  Task<> fill();
  Task<> blinkAddress();
  Task<> restoreDefaults();
  Task<> saveCommand();
  Task<> closeWithReload();
  void finishReload();

  SettingsStore& store_;
  SettingsView& view_;
  MainView& main_;
  Prompter& prompt_;
  Runtime& rt_;
  const ProgramValues& values_;
  bool reloadOwed_ = false;  // a save was accepted and its reload has not run yet
};

}  // namespace zk
