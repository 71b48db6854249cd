// Process entry and composition root: the real platform, the views and the logic wired together.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <mutex>

#include "app/startup.h"
#include "editor/add_entry.h"
#include "editor/editor.h"
#include "editor/file_dialog.h"
#include "editor/hosts_access.h"
#include "editor/hosts_commands.h"
#include "editor/search.h"
#include "main/about.h"
#include "main/navigation_panel.h"
#include "main/retry_counter.h"
#include "main/skins.h"
#include "main/temp_folder.h"
#include "main/welcome_animation.h"
#include "nettools/bandwidth.h"
#include "nettools/dns.h"
#include "nettools/external_ip.h"
#include "nettools/network_repair.h"
#include "nettools/ping.h"
#include "nettools/web_ping.h"
#include "personal/customisation.h"
#include "personal/help_file.h"
#include "personal/hosts_pack_task.h"
#include "personal/personal_window.h"
#include "personal/qq_reply.h"
#include "personal/settings_group.h"
#include "personal/share.h"
#include "personal/shortcuts.h"
#include "platform/win32/http_win32.h"
#include "platform/win32/shell_links_win32.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_runtime.h"
#include "platform/zip_minizip.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "sync/cloud.h"
#include "sync/fetch.h"
#include "sync/hosts_writer.h"
#include "sync/status_reader.h"
#include "text/text.h"
#include "ui/about_window.h"
#include "ui/add_entry_window.h"
#include "ui/bandwidth_window.h"
#include "ui/dns_window.h"
#include "ui/editor_window.h"
#include "ui/external_ip_window.h"
#include "ui/main_window.h"
#include "ui/personal_window.h"
#include "ui/ping_window.h"
#include "ui/search_window.h"
#include "ui/settings_window.h"
#include "ui/share_window.h"
#include "ui/web_ping_window.h"

namespace zk {
namespace {

class App {
 public:
  int run();

 private:
  void wireMainWindow();
  void onMainCommand(MainCommand command);
  void openSettings(bool modal);
  void openAbout();
  void openEditor();
  void openSearch();
  void openAddEntry();
  void openBandwidth();
  void openDns();
  void openPing();
  void openExternalIp();
  void openWebPing();
  void openPersonal();
  void openShare();
  PackOutcome buildPersonal(const PackPlaces& places, const PersonalSettings& s, const LocalTime& now,
                            std::stop_token stop);
  std::mutex personalBuild_;
  // A tool window, opened once (a second open brings it to the front): the view, then its logic
  // made by makeLogic, wired, told it was created, and shown.
  template <class Command, class View, class Logic, class Make>
  void openTool(std::unique_ptr<View>& view, std::unique_ptr<Logic>& logic, Make makeLogic) {
    if (view) {
      ShowWindow(view->hwnd(), SW_SHOW);
      SetForegroundWindow(view->hwnd());
      return;
    }
    view = std::make_unique<View>();
    HWND h = view->open();
    logic = makeLogic(*view);
    wire<Command>(view, logic);
    ShowWindow(h, SW_SHOW);
    logic->onCreated();
  }
  // A modal window: returns once the window has closed; the owner, if any, is disabled meanwhile.
  void runModal(HWND window, HWND owner);
  // A secondary window: its logic takes the window's commands (clicks and every way of closing
  // it), and both are freed after the window is gone, never from inside its own messages.
  template <class Command, class View, class Logic>
  void wire(std::unique_ptr<View>& view, std::unique_ptr<Logic>& logic) {
    Logic* l = logic.get();
    view->onCommand = [l](int command) { l->onCommand(static_cast<Command>(command)); };
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
  win::Win32Clipboard clipboard_;
  win::Win32DomainNames names_;
  win::Win32FileDialogs dialogs_;
  win::Win32Random random_;
  win::Win32NetworkInfo network_;
  ProgramValues values_;
  ui::MainWindow main_;
  WelcomeAnimation welcome_{rt_, main_};
  RetryCounter retry_{main_};
  SettingsStore settings_{fs_, prompt_, rt_, main_, values_, welcome_, retry_};
  TempFolder temp_{fs_, processes_, rt_, values_};
  SkinRotation skins_{rt_, main_};
  win::WinInetHttp http_;
  Cloud cloud_{http_, rt_, prompt_, shell_, main_, main_, values_, welcome_};
  ProgressLog log_{main_, clock_};
  DecorativeLine line_{rt_, main_};
  FetchPipeline fetch_{rt_, fs_, main_, main_, cloud_, settings_, values_, retry_, log_, line_};
  NavigationPanel navigation_{rt_, main_};
  HostsWriter writer_{
      WriterServices{rt_, fs_, processes_, clock_}, main_, values_, settings_, fetch_, log_, navigation_};
  StatusReader status_{rt_, fs_, main_, cloud_, settings_, values_};
  HostsAccess hosts_{rt_, fs_, values_};
  SharedFileDialog fileDialog_{dialogs_};
  HostsCommands hostsCommands_{
      HostsCommandServices{hosts_, prompt_, processes_, shell_, clipboard_, folders_, fileDialog_}, values_};
  NetworkRepair repair_{RepairServices{rt_, processes_, network_, prompt_, temp_, values_}};
  // The lookup page is small: a cap of its own, and shorter waits than a hosts download.
  win::WinInetHttp lookupHttp_{10000, 15000, kLookupPageCap};
  // The packs' zip writer, and the hosts pack, which outlives an editor that "获取数据" closes.
  MinizipWriter zip_{fs_, clock_};
  HostsPackTask hostsPack_{HostsPackServices{rt_, fs_, zip_, folders_, clock_, prompt_, values_}};
  // The QQ services: small answers, short waits.
  win::WinInetHttp qqNicknameHttp_{5000, 8000, kQqNicknameCap};
  win::WinInetHttp qqAvatarHttp_{5000, 10000, kQqAvatarCap};
  Customisation customisation_{
      CustomisationServices{rt_, qqNicknameHttp_, qqAvatarHttp_, prompt_, main_, main_, values_}};
  win::Win32ShellLinks shellLinks_;
  HelpFile help_{HelpServices{rt_, fs_, shell_, clock_, prompt_, temp_, values_}, ZK_WEBSITE};
  Shortcuts shortcuts_{ShortcutServices{shellLinks_, folders_, fs_, prompt_, values_}};

  std::unique_ptr<ui::SettingsWindow> settingsView_;
  std::unique_ptr<SettingsWindowLogic> settingsLogic_;
  std::unique_ptr<PersonalGroupLogic> settingsGroup_;
  std::unique_ptr<ui::PersonalWindow> personalView_;
  std::unique_ptr<PersonalWindowLogic> personalLogic_;
  std::unique_ptr<ui::AboutWindow> aboutView_;
  std::unique_ptr<AboutLogic> aboutLogic_;
  std::unique_ptr<ui::EditorWindow> editorView_;
  std::unique_ptr<EditorLogic> editorLogic_;
  std::unique_ptr<ui::SearchWindow> searchView_;
  std::unique_ptr<SearchLogic> searchLogic_;
  std::unique_ptr<ui::AddEntryWindow> addEntryView_;
  std::unique_ptr<AddEntryLogic> addEntryLogic_;
  std::unique_ptr<ui::BandwidthWindow> bandwidthView_;
  std::unique_ptr<BandwidthLogic> bandwidthLogic_;
  std::unique_ptr<ui::DnsWindow> dnsView_;
  std::unique_ptr<DnsLogic> dnsLogic_;
  std::unique_ptr<ui::PingWindow> pingView_;
  std::unique_ptr<PingLogic> pingLogic_;
  std::unique_ptr<ui::ExternalIpWindow> ipView_;
  std::unique_ptr<ExternalIpLogic> ipLogic_;
  std::unique_ptr<ui::WebPingWindow> webPingView_;
  std::unique_ptr<WebPingLogic> webPingLogic_;
  std::unique_ptr<ui::ShareWindow> shareView_;
  std::unique_ptr<ShareLogic> shareLogic_;
  WebButtons webButtons_{shell_, ZK_OFFICIAL_PAGE_URL};
};

int App::run() {
  if (!main_.open()) return 1;
  wireMainWindow();
  StartupHooks hooks;
  hooks.cloudConnection = [this] {
    std::string own = settings_.read(Key::CloudIndex);
    cloud_.setIndexUrl(own.empty() ? ZK_CLOUD_INDEX_URL : own);
    return cloud_.connection();
  };
  hooks.customisation = [this] {
    QqServices where{qqServiceBase(settings_.read(Key::QqNicknameService), ZK_QQ_NICKNAME_URL),
                     qqServiceBase(settings_.read(Key::QqAvatarService), ZK_QQ_AVATAR_URL)};
    return customisation_.apply(settings_.personalIni(), std::move(where));
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
  main_.fetchHover = &FetchPipeline::fetchHover;
  main_.indicatorHover = &Cloud::indicatorHover;
  main_.onOpenSettings = [this](bool modal) { openSettings(modal); };
  main_.onOpenAbout = [this] { openAbout(); };
  main_.onCommand = [this](int command) { onMainCommand(static_cast<MainCommand>(command)); };
  cloud_.setMakerSite(ZK_WEBSITE);
  cloud_.startStatusReader = [this] { status_.start(); };
  fetch_.startWriter = [this](Fetched texts) { writer_.start(std::move(texts)); };
  writer_.refreshDnsClient = [this] { return temp_.runDnscacheScript(); };
  writer_.stopStatusReader = [this] { status_.stop(); };
  writer_.startStatusReader = [this] { status_.start(); };
  hosts_.sleep = [](int ms) { Sleep(static_cast<DWORD>(ms)); };
}

// Each piece of logic takes its own commands; the windows it opens are this root's.
void App::onMainCommand(MainCommand command) {
  if (settings_.onCommand(command) || fetch_.onCommand(command) || status_.onCommand(command) ||
      navigation_.onCommand(command) || cloud_.onCommand(command) || hostsCommands_.onCommand(command) ||
      customisation_.onCommand(command) || webButtons_.onCommand(command) || help_.onCommand(command) ||
      shortcuts_.onCommand(command))
    return;
  switch (command) {
    case MainCommand::Settings:
      values_.customisationMode.clear();
      openSettings(false);
      break;
    case MainCommand::About: openAbout(); break;
    case MainCommand::Editor: openEditor(); break;
    case MainCommand::AddEntry: openAddEntry(); break;
    case MainCommand::Bandwidth: openBandwidth(); break;
    case MainCommand::FlushDnsCache: rt_.start(TaskSlot::FlushDnsCache, repair_.flushDnsCache()); break;
    case MainCommand::RepairDnsClient: rt_.start(TaskSlot::RepairDnsClient, repair_.repairDnsClient()); break;
    case MainCommand::RestartAdapter: rt_.start(TaskSlot::RestartAdapter, repair_.restartAdapter()); break;
    case MainCommand::AutomaticAddressing:
      rt_.start(TaskSlot::AutomaticAddressing, repair_.setAutomaticAddressing(true));
      break;
    case MainCommand::OneClickDns: openDns(); break;
    case MainCommand::Ping: openPing(); break;
    case MainCommand::ExternalIp: openExternalIp(); break;
    case MainCommand::WebPing: openWebPing(); break;
    case MainCommand::Customise: openPersonal(); break;
    case MainCommand::Share: openShare(); break;
    case MainCommand::Close: DestroyWindow(main_.hwnd()); break;
    default: break;
  }
}

void App::openSettings(bool modal) {
  if (settingsView_) {
    SetForegroundWindow(settingsView_->hwnd());
    return;
  }
  settingsView_ = std::make_unique<ui::SettingsWindow>();
  HWND h = settingsView_->open();
  settingsLogic_ = std::make_unique<SettingsWindowLogic>(settings_, *settingsView_, main_, prompt_, rt_, values_);
  settingsGroup_ =
      std::make_unique<PersonalGroupLogic>(PersonalGroupServices{rt_, fs_, prompt_, values_}, *settingsView_);
  settingsGroup_->closeSettings = [this] { settingsLogic_->onCommand(SettingsCommand::Close); };
  settingsGroup_->openCustomisationWindow = [this] { openPersonal(); };
  // One command space: the general commands, then the customisation group's from 100 on.
  SettingsWindowLogic* general = settingsLogic_.get();
  PersonalGroupLogic* group = settingsGroup_.get();
  settingsView_->onCommand = [general, group](int command) {
    if (command >= int(PersonalGroupCommand::Save))
      group->onCommand(static_cast<PersonalGroupCommand>(command));
    else
      general->onCommand(static_cast<SettingsCommand>(command));
  };
  settingsView_->onDestroyed = [this] {
    rt_.post([this] {
      settingsGroup_.reset();
      settingsLogic_.reset();
      settingsView_.reset();
    });
  };
  settingsLogic_->onCreated();
  settingsGroup_->onCreated();
  ShowWindow(h, SW_SHOW);
  if (modal) runModal(h, nullptr);  // the main window is hidden meanwhile: nothing to disable
}

void App::openAbout() {
  if (aboutView_) {
    SetForegroundWindow(aboutView_->hwnd());
    return;
  }
  aboutView_ = std::make_unique<ui::AboutWindow>();
  HWND h = aboutView_->open();
  aboutLogic_ =
      std::make_unique<AboutLogic>(*aboutView_, main_, clock_, values_, [this] { cloud_.openWebLink("index.html"); });
  wire<AboutCommand>(aboutView_, aboutLogic_);
  aboutLogic_->onCreated();
  ShowWindow(h, SW_SHOW);
}

void App::openEditor() {
  if (editorView_) {
    SetForegroundWindow(editorView_->hwnd());
    return;
  }
  editorView_ = std::make_unique<ui::EditorWindow>();
  HWND h = editorView_->open();
  editorLogic_ = std::make_unique<EditorLogic>(
      EditorServices{rt_, hosts_, prompt_, clipboard_, folders_, random_, fileDialog_}, *editorView_, main_);
  EditorLogic* logic = editorLogic_.get();
  editorView_->onTextChanged = [logic] { logic->onTextChanged(); };
  editorLogic_->startFetch = [this] { fetch_.onCommand(MainCommand::Fetch); };
  editorLogic_->openSearchWindow = [this] { openSearch(); };
  editorLogic_->packDocument = [this](std::string bytes) {
    // The strip of the editor open when the build ends (if any) goes back to nothing.
    hostsPack_.start(std::move(bytes), [this] {
      if (editorLogic_) editorLogic_->packEnded();
    });
  };
  editorLogic_->stopPack = [this] { hostsPack_.stop(); };
  wire<EditorCommand>(editorView_, editorLogic_);
  // The search window is the editor's: it goes first, with its logic, when the editor goes.
  editorView_->onDestroyed = [this] {
    rt_.post([this] {
      searchLogic_.reset();
      searchView_.reset();
      editorLogic_.reset();
      editorView_.reset();
    });
  };
  ShowWindow(h, SW_SHOW);
  editorLogic_->onCreated();
}

// Opened once and left as it is while open: its layout follows the mode only when it is created.
void App::openSearch() {
  if (searchView_) {
    ShowWindow(searchView_->hwnd(), SW_SHOW);
    SetForegroundWindow(searchView_->hwnd());
    return;
  }
  searchView_ = std::make_unique<ui::SearchWindow>();
  HWND h = searchView_->open(editorView_->hwnd(), editorView_->document());
  searchLogic_ = std::make_unique<SearchLogic>(rt_, *searchView_, *editorLogic_);
  wire<SearchCommand>(searchView_, searchLogic_);
  searchLogic_->onCreated();
  ShowWindow(h, SW_SHOW);
}

void App::openAddEntry() {
  if (addEntryView_) return;
  addEntryView_ = std::make_unique<ui::AddEntryWindow>();
  HWND h = addEntryView_->open(main_.hwnd());
  addEntryLogic_ = std::make_unique<AddEntryLogic>(rt_, *addEntryView_, hosts_, prompt_);
  wire<AddEntryCommand>(addEntryView_, addEntryLogic_);
  ShowWindow(h, SW_SHOW);
  runModal(h, main_.hwnd());
}

void App::openBandwidth() {
  openTool<BandwidthCommand>(bandwidthView_, bandwidthLogic_, [this](ui::BandwidthWindow& view) {
    return std::make_unique<BandwidthLogic>(view, main_, clipboard_);
  });
}

void App::openDns() {
  openTool<DnsCommand>(dnsView_, dnsLogic_, [this](ui::DnsWindow& view) {
    view.setIcon(reinterpret_cast<HICON>(SendMessageW(main_.hwnd(), WM_GETICON, ICON_BIG, 0)));
    auto logic = std::make_unique<DnsLogic>(DnsServices{rt_, repair_, prompt_, main_}, view);
    logic->openSuggestion = [this] { cloud_.openWebLink("Dns.html"); };
    logic->rebuildTempFolder = [this] { rt_.start(TaskSlot::TempRebuild, temp_.rebuild()); };
    return logic;
  });
}

void App::openPing() {
  openTool<PingCommand>(pingView_, pingLogic_, [this](ui::PingWindow& view) {
    auto fromConsole = [](std::string_view bytes) { return win::fromConsole(bytes); };
    return std::make_unique<PingLogic>(
        PingServices{rt_, fs_, clipboard_, names_, random_, temp_, main_, values_, fromConsole}, view);
  });
}

void App::openExternalIp() {
  openTool<ExternalIpCommand>(ipView_, ipLogic_, [this](ui::ExternalIpWindow& view) {
    std::string index = settings_.read(Key::CloudIndex);
    LookupAddress where{settings_.read(Key::IpLookup), index.empty() ? ZK_CLOUD_INDEX_URL : index,
                        [this] { return cloud_.values.base; }};
    return std::make_unique<ExternalIpLogic>(ExternalIpServices{rt_, lookupHttp_, clipboard_, prompt_, main_}, view,
                                             std::move(where));
  });
}

// The QR code the build embedded, read once.
const std::string& shareQrImage() {
  static const std::string bytes = [] {
    std::string b;
    if (HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(4), MAKEINTRESOURCEW(10)))
      if (HGLOBAL loaded = LoadResource(nullptr, found))
        if (const void* data = LockResource(loaded))
          b.assign(static_cast<const char*>(data), SizeofResource(nullptr, found));
    return b;
  }();
  return bytes;
}

void App::openShare() {
  openTool<ShareCommand>(shareView_, shareLogic_, [this](ui::ShareWindow& view) {
    return std::make_unique<ShareLogic>(ShareServices{main_, shell_, clipboard_, fs_, folders_, prompt_}, view,
                                        ZK_OFFICIAL_PAGE_URL, shareQrImage());
  });
}

void App::openWebPing() {
  openTool<WebPingCommand>(webPingView_, webPingLogic_, [this](ui::WebPingWindow& view) {
    return std::make_unique<WebPingLogic>(view, main_, shell_);
  });
}

// The customisation window; its first picture button hands over to the settings window.
void App::openPersonal() {
  openTool<PersonalWindowCommand>(personalView_, personalLogic_, [this](ui::PersonalWindow& view) {
    auto build = [this](const PackPlaces& places, const PersonalSettings& s, const LocalTime& now,
                        std::stop_token stop) { return buildPersonal(places, s, now, stop); };
    auto logic = std::make_unique<PersonalWindowLogic>(
        PersonalWindowServices{rt_, prompt_, folders_, clock_, main_, values_, build}, view);
    logic->openSettingsForSelf = [this] {
      values_.customisationMode = "自己";
      openSettings(false);
    };
    return logic;
  });
}

// On a worker: only the file system and a writer of its own, both safe to use from there.
PackOutcome App::buildPersonal(const PackPlaces& places, const PersonalSettings& s, const LocalTime& now,
                               std::stop_token stop) {
  // One build at a time: a build that a closed window stopped may still be letting go of the
  // pack folder when a new window starts the next one in the same folder.
  std::lock_guard<std::mutex> one(personalBuild_);
  if (stop.stop_requested()) return PackOutcome::Stopped;
  MinizipWriter zip(fs_, clock_);
  return buildPersonalPack(fs_, zip, places, s, now, stop);
}

void App::runModal(HWND window, HWND owner) {
  if (owner) EnableWindow(owner, FALSE);
  MSG msg;
  while (IsWindow(window)) {
    int r = GetMessageW(&msg, nullptr, 0, 0);
    if (r <= 0) {
      if (r == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (!owner) return;
  EnableWindow(owner, TRUE);
  SetForegroundWindow(owner);
}

}  // namespace
}  // namespace zk

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  zk::App app;
  return app.run();
}
