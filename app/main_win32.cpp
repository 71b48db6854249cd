// Process entry and composition root: the real platform, the views and the logic wired together.
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "app/about.h"
#include "app/skins.h"
#include "app/startup.h"
#include "app/temp_folder.h"
#include "personal/navigation_panel.h"
#include "platform/win32/http_win32.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_runtime.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "settings/welcome_animation.h"
#include "sync/cloud.h"
#include "sync/fetch.h"
#include "sync/hosts_writer.h"
#include "sync/status_reader.h"
#include "ui/about_window.h"
#include "ui/main_window.h"
#include "ui/settings_window.h"

namespace zk {
namespace {

class App {
 public:
  int run();

 private:
  void wireMainWindow();
  void wireSync();
  void openSettings(bool modal);
  void openAbout();
  // A secondary window and its logic are freed after the window is gone, never from inside its
  // own messages.
  template <class View, class Logic>
  void freeWhenGone(std::unique_ptr<View>& view, std::unique_ptr<Logic>& logic) {
    view->onDestroyed = [this, &view, &logic] {
      rt_.post([&view, &logic] {
        logic.reset();
        view.reset();
      });
    };
  }

  win::Win32Runtime rt_;
  win::Win32FileSystem fs_;
  win::Win32Registry registry_;
  win::Win32Folders folders_;
  win::Win32Processes processes_;
  win::Win32Shell shell_;
  win::Win32Clock clock_;
  win::Win32Prompter prompt_;
  ProgramValues values_;
  ui::MainWindow main_;
  WelcomeAnimation welcome_{rt_, main_};
  SettingsStore settings_{fs_, prompt_, rt_, main_, values_, welcome_};
  TempFolder temp_{fs_, processes_, rt_, values_};
  SkinRotation skins_{rt_, main_};
  win::WinInetHttp http_;
  Cloud cloud_{http_, rt_, prompt_, shell_, main_, main_, values_, welcome_};
  ProgressLog log_{main_, clock_};
  DecorativeLine line_{rt_, main_};
  FetchPipeline fetch_{rt_, fs_, main_, main_, cloud_, settings_, values_, log_, line_};
  NavigationPanel navigation_{rt_, main_};
  HostsWriter writer_{
      WriterServices{rt_, fs_, processes_, clock_}, main_, main_, values_, settings_, fetch_, log_, navigation_};
  StatusReader status_{rt_, fs_, main_, main_, cloud_, values_};

  std::unique_ptr<ui::SettingsWindow> settingsView_;
  std::unique_ptr<SettingsWindowLogic> settingsLogic_;
  std::unique_ptr<ui::AboutWindow> aboutView_;
  std::unique_ptr<AboutLogic> aboutLogic_;
};

int App::run() {
  if (!main_.open()) return 1;
  wireMainWindow();
  wireSync();
  StartupHooks hooks;
  hooks.cloudConnection = [this] {
    std::string own = settings_.read(kCloudIndexKey);
    cloud_.setIndexUrl(own.empty() ? ZK_CLOUD_INDEX_URL : own);
    return cloud_.connection();
  };
  Startup startup(StartupServices{fs_, registry_, folders_, shell_, prompt_, rt_}, values_, main_, settings_, temp_,
                  skins_, welcome_, std::move(hooks));
  rt_.start(TaskSlot::Startup, startup.run());
  ShowWindow(main_.hwnd(), SW_SHOW);
  UpdateWindow(main_.hwnd());

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // Every task unwinds here; workers still blocked in a slow call are not waited for.
  rt_.stopAll();
  return 0;
}

void App::wireMainWindow() {
  using namespace ui;
  main_.onClick(IDR_OFFICIAL, [this] { settings_.onOfficialClicked(); });
  main_.onClick(IDR_BACKUP, [this] { settings_.onBackupClicked(); });
  main_.onClick(IDR_CUSTOM, [this] { settings_.onCustomClicked(); });
  main_.onClick(IDX_ADBLOCK, [this] { settings_.onAdBlockingClicked(); });
  main_.onClick(IDX_NAVBLOCK, [this] { settings_.onNavigationBlockingClicked(); });
  main_.onClick(IDT_SETTINGS, [this] {
    values_.customisationMode.clear();
    openSettings(false);
  });
  main_.onClick(IDT_ABOUT, [this] { openAbout(); });
  main_.onClick(IDB_CLOSE, [this] { DestroyWindow(main_.hwnd()); });
  main_.onOpenSettings = [this](bool modal) { openSettings(modal); };
  main_.onOpenAbout = [this] { openAbout(); };
}

void App::wireSync() {
  using namespace ui;
  main_.fetchHover = &FetchPipeline::fetchHover;
  main_.indicatorHover = &Cloud::indicatorHover;
  cloud_.startStatusReader = [this] { status_.start(); };
  fetch_.startWriter = [this] { writer_.start(); };
  writer_.refreshDnsClient = [this] { return temp_.runDnscacheScript(); };
  writer_.stopStatusReader = [this] { status_.stop(); };
  writer_.startStatusReader = [this] { status_.start(); };
  main_.onClick(IDT_FETCH, [this] { fetch_.onFetchClicked(); });
  main_.onClick(IDT_START, [this] { fetch_.onStartClicked(); });
  main_.onClick(IDT_LOCAL, [this] { status_.onRefreshClicked(); });
  main_.onClick(IDT_CLOUD, [this] { status_.onRefreshClicked(); });
  main_.onClick(IDT_NAV, [this] { rt_.start(TaskSlot::NavigationSlide, navigation_.open()); });
  main_.onClick(IDT_NAV_CLOSE, [this] { navigation_.close(); });
  main_.onClick(IDT_TOOL_FIRST + 8, [this] { cloud_.openWebLink("Dns.html"); });
  main_.onClick(IDT_ANDROID, [this] { cloud_.openWebLink("Mobile.html"); });
  main_.onClick(IDT_NEWS1,
                [this] { shell_.open(std::string(ZK_WEBSITE) + "/News/html/042.html" + cloud_.clientParameter()); });
  main_.onClick(IDT_NEWS2,
                [this] { shell_.open(std::string(ZK_WEBSITE) + "/News/html/041.html" + cloud_.clientParameter()); });
  // Without a browser control the news page opens in the browser.
  main_.onClick(IDT_NEWS, [this] {
    if (!main_.newsAddress().empty()) shell_.open(main_.newsAddress());
  });
}

void App::openSettings(bool modal) {
  if (settingsView_) {
    SetForegroundWindow(settingsView_->hwnd());
    return;
  }
  settingsView_ = std::make_unique<ui::SettingsWindow>();
  HWND h = settingsView_->open();
  settingsLogic_ = std::make_unique<SettingsWindowLogic>(settings_, *settingsView_, main_, prompt_, rt_, values_);
  using namespace ui;
  SettingsWindowLogic* logic = settingsLogic_.get();
  settingsView_->onClick(IDB_SET_SAVE, [logic] { logic->onSaveClicked(); });
  settingsView_->onClick(IDT_SET_RESTORE, [logic] { logic->onRestoreDefaultsClicked(); });
  settingsView_->onClick(IDX_SET_CUSTOM, [logic] { logic->onCustomBoxClicked(); });
  settingsView_->onClick(IDB_SET_CLOSE, [logic] { logic->onCloseClicked(); });
  freeWhenGone(settingsView_, settingsLogic_);
  settingsLogic_->onCreated();
  ShowWindow(h, SW_SHOW);
  if (!modal) return;
  // Modal: this command returns when the window has closed.
  MSG msg;
  while (IsWindow(h)) {
    int r = GetMessageW(&msg, nullptr, 0, 0);
    if (r <= 0) {
      if (r == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void App::openAbout() {
  if (aboutView_) {
    SetForegroundWindow(aboutView_->hwnd());
    return;
  }
  aboutView_ = std::make_unique<ui::AboutWindow>();
  HWND h = aboutView_->open();
  aboutLogic_ = std::make_unique<AboutLogic>(*aboutView_, main_, clock_, values_);
  AboutLogic* logic = aboutLogic_.get();
  aboutView_->onClick(ui::IDB_ABOUT_CLOSE, [logic] { logic->onCloseClicked(); });
  freeWhenGone(aboutView_, aboutLogic_);
  aboutLogic_->onCreated();
  ShowWindow(h, SW_SHOW);
}

}  // namespace
}  // namespace zk

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  zk::App app;
  return app.run();
}
