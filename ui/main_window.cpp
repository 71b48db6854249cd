#include "ui/main_window.h"

#include <richedit.h>

// GDI+ headers expect min/max and the COM basics.
#include <algorithm>
using std::max;
using std::min;
#include <objidl.h>

#include <gdiplus.h>  // needs objidl.h first

#include "platform/win32/wide.h"
#include "ui/art.h"

namespace zk::ui {

namespace {

constexpr int kWidth = 462;
constexpr int kPanelWidth = 630;
constexpr int kHeight = 390;
constexpr UINT_PTR kSpinTimer = 1;
constexpr UINT_PTR kIndicatorTimer = 2;
// The news view: where the link is, a little wider and taller, above the status line.
constexpr int kNewsW = 176;
constexpr int kNewsH = 24;
// The built-in avatar, a PNG in the program's resources.
constexpr int kDefaultAvatarResource = 3;

struct WebButton {
  int id;
  const char* caption;
  const char* hint;
};
constexpr WebButton kWebButtons[7] = {{IDP_WEB_GOOGLE, "Google", "欢迎使用谷歌搜索：www.google.com"},
                                      {IDP_WEB_YOUTUBE, "YouTube", "全球最大的视频网站！"},
                                      {IDP_WEB_WIKIPEDIA, "Wikipedia", "全球具权威的百科全书！"},
                                      {IDP_WEB_FACEBOOK, "Facebook", "全球最大的社交网站！"},
                                      {IDP_WEB_TWITTER, "Twitter", "全球最大的微博客！"},
                                      {IDP_WEB_DRIVE, "Google Drive", "谷歌旗下超速云盘服务！"},
                                      {IDP_WEB_GMAIL, "Gmail", "谷歌旗下免费邮箱！"}};

int webButtonIndex(int id) {
  for (int i = 0; i < 7; ++i)
    if (kWebButtons[i].id == id) return i;
  return -1;
}

std::vector<ControlSpec> mainControls() {
  std::vector<ControlSpec> c = {
      // Title strip; the five top-right controls follow the navigation panel's layout rule.
      {IDP_LOGO, Kind::Picture, "", 8, 6, 26, 26},
      {IDT_NAV, Kind::ClickLabel, "导航", 220, 10, 30, 18},
      {IDT_ABOUT, Kind::ClickLabel, "关于", 266, 10, 30, 18},
      {IDT_HELP, Kind::ClickLabel, "帮助", 312, 10, 30, 18},
      {IDT_SETTINGS, Kind::ClickLabel, "设置", 358, 10, 30, 18},
      {IDP_SKIN, Kind::Picture, "换肤", 403, 10, 18, 18},
      {IDB_CLOSE, Kind::ClickLabel, "×", 433, 6, 24, 24, "关闭Zelkora！"},
      {IDP_AVATAR, Kind::Picture, "", 6, 3, 31, 31},
      {IDT_AVATAR_FRAME, Kind::ClickLabel, "", 6, 3, 31, 31},
      {IDT_NICKNAME, Kind::Label, "", 42, 2, 170, 18},
      {IDT_EDITION, Kind::Label, "TessalyZelkora私人定制专版", 42, 20, 170, 16},
      // The one-click fetch.
      {IDP_FETCH, Kind::Picture, "", 8, 44, 114, 114},
      {IDT_FETCH, Kind::Picture, "一键获取", 8, 44, 114, 114},
      {IDT_START, Kind::ClickLabel, "", 8, 158, 114, 8},
      {IDT_RESULT_CAP, Kind::Label, "结果：", 126, 50, 40, 18},
      {IDT_RESULT, Kind::Label, "未计算", 164, 50, 70, 18},
      {IDT_ELAPSED_CAP, Kind::Label, "耗时：", 126, 72, 40, 18},
      {IDT_ELAPSED, Kind::Label, "未计算", 164, 72, 70, 18},
      {IDT_MODE_CAP, Kind::Label, "模式：", 126, 94, 40, 18},
      {IDT_MODE, Kind::Label, "手动", 164, 94, 70, 18},
      {IDX_ADBLOCK, Kind::Check, "启用广告屏蔽增强", 124, 120, 118, 20, "开启网页广告屏蔽服务！"},
      {IDX_NAVBLOCK, Kind::Check, "杜绝恶意流氓导航", 124, 142, 118, 20, "拒绝导航，拒绝流氓，从此做起！"},
      // Server choice: three group boxes, one radio button each.
      {IDG_OFFICIAL, Kind::Group, "官方数据", 244, 42, 96, 40},
      {IDG_BACKUP, Kind::Group, "备用数据", 244, 83, 96, 40},
      {IDG_CUSTOM, Kind::Group, "第三方数据", 244, 124, 96, 40},
      {IDR_OFFICIAL, Kind::Radio, "实时", 254, 59, 80, 18, "推荐使用官方实时数据！"},
      {IDR_BACKUP, Kind::Radio, "备用", 254, 100, 80, 18, "备用服务器有助于弥补实时服务器错误"},
      {IDR_CUSTOM, Kind::Radio, "自定", 254, 141, 80, 18, "使用是定义服务器"},
      // Local and cloud status, connection indicator.
      {IDP_LOCAL_BUSY, Kind::Picture, "", 344, 51, 12, 12},
      {IDT_LOCAL_CAP, Kind::Label, "本地：", 356, 48, 40, 18},
      {IDT_LOCAL, Kind::ClickLabel, "未检测", 394, 48, 66, 18},
      {IDP_CLOUD_BUSY, Kind::Picture, "", 344, 73, 12, 12},
      {IDT_CLOUD_CAP, Kind::Label, "云端：", 356, 70, 40, 18},
      {IDT_CLOUD, Kind::ClickLabel, "未检测", 394, 70, 66, 18},
      {IDP_INDICATOR1, Kind::Picture, "", 370, 96, 16, 16},
      {IDP_INDICATOR2, Kind::Picture, "", 390, 96, 16, 16},
      {IDT_SERVICE, Kind::Label, "服务正在运行！", 278, 198, 172, 48},
      // Progress log and the news view.
      {IDT_LOG_CAP, Kind::Label, "过程：↓ ↓ ↓", 14, 172, 100, 16},
      {IDE_LOG, Kind::Log, "", 14, 189, 252, 56},
      {IDT_NEWS, Kind::ClickLabel, "云端资讯（点击打开）", 278, 176, 170, 20},
      {IDE_RETRY, Kind::HiddenEdit, "0", 0, 0, 40, 18},
      // Hosts-file buttons.
      {IDT_EDITOR, Kind::ClickLabel, "编 辑 器", 12, 254, 48, 18, "使用编辑器", true},
      {IDT_ADD_ENTRY, Kind::ClickLabel, "增改条目", 61, 254, 48, 18, "增加或修改单条Hosts条目", true},
      {IDT_OPEN_FILE, Kind::ClickLabel, "打开文件", 110, 254, 48, 18, "打开系统Hosts文件", true},
      {IDT_OPEN_FOLDER, Kind::ClickLabel, "打开目录", 159, 254, 48, 18, "打开系统Hosts文件所在目录", true},
      {IDT_CLEAR, Kind::ClickLabel, "清空文件", 208, 254, 48, 18, "清空并删除系统Hosts文件", true},
      {IDT_SAVE_COPY, Kind::ClickLabel, "另存一份", 257, 254, 48, 18, "将系统Hosts文件另存一份到桌面", true},
      {IDT_IMPORT, Kind::ClickLabel, "导入存储", 306, 254, 48, 18, "将包含Hosts标准条目的文本文件覆盖导入到系统中",
       true},
      {IDT_RESTORE, Kind::ClickLabel, "恢复原生", 355, 254, 48, 18, "恢复到Windows原生状态", true},
      {IDT_COPY_ALL, Kind::ClickLabel, "复制全文", 404, 254, 48, 18, "对系统Hosts文件进行全文复制", true},
      // Tool set.
      {IDG_TOOLS, Kind::Group, "【工具集】（使用时，认真查看提示，再进行。对某些工具不了解，慎用）", 8, 276, 446, 70},
      // Links.
      {IDT_PERSONAL, Kind::ClickLabel, "私人定制", 14, 360, 52, 18, "私人订制，个性Zelkora"},
      {IDT_SHARE, Kind::ClickLabel, "分享发布", 78, 360, 52, 18, "将Zelkora分享到各种渠道"},
      {IDT_SHORTCUT, Kind::ClickLabel, "创建图标", 142, 360, 52, 18, "创建Zelkora的快捷方式"},
      {IDT_ANDROID, Kind::ClickLabel, "安卓版", 206, 360, 40, 18, "安卓版，为安卓用户而生"},
      {IDT_NEWS1, Kind::ClickLabel, "最新动态", 330, 360, 52, 18},
      {IDT_NEWS2, Kind::ClickLabel, "更新日志", 394, 360, 52, 18},
      // Navigation panel, beyond the closed window's right edge.
      {IDT_NAV_CLOSE, Kind::ClickLabel, "----点此收缩导航----", 476, 44, 146, 18},
  };
  struct Entry {
    int id;
    const char* caption;
    const char* tip;
  };
  static const Entry kTools[10] = {{IDT_TOOL_FLUSH_DNS, "清除缓存", "清除本地缓存"},
                                   {IDT_TOOL_REPAIR_DNS, "解析修复", "修复本地解析服务"},
                                   {IDT_TOOL_DNS, "一键DNS", "对DNS进行快速设定"},
                                   {IDT_TOOL_AUTO_IP, "IP自动取", "将本地连接配置为自动获取"},
                                   {IDT_TOOL_RESTART_ADAPTER, "重启网卡", "重启名称为 本地连接的 网卡"},
                                   {IDT_TOOL_EXTERNAL_IP, "显外网IP", "显示当前网络的出入口IP"},
                                   {IDT_TOOL_PING, "IP 测 试", "对指定IP进行测试"},
                                   {IDT_TOOL_WEB_PING, "超级Ping", "使用超级Ping进行相关检测"},
                                   {IDT_TOOL_BEST_DNS, "DNS优选", "在线自动匹配最佳DNS"},
                                   {IDT_TOOL_BANDWIDTH, "宽带换算", "宽带换算小工具"}};
  for (int i = 0; i < 10; ++i)
    c.push_back({kTools[i].id, Kind::ClickLabel, kTools[i].caption, 20 + (i % 5) * 87, 298 + (i / 5) * 24, 80, 18,
                 kTools[i].tip});
  for (int i = 0; i < 7; ++i)
    c.push_back(
        {kWebButtons[i].id, Kind::Picture, kWebButtons[i].caption, 478, 68 + i * 44, 142, 38, kWebButtons[i].hint});
  c.push_back({IDP_LINE, Kind::Picture, "", 0, 39, 0, 2});
  c.push_back({IDP_CURTAIN, Kind::Picture, "", 0, 37, kWidth, 353});
  return c;
}

bool isClickable(int id) {
  return id == IDT_SETTINGS || id == IDT_HELP || id == IDT_ABOUT || id == IDT_NAV || id == IDT_FETCH ||
         id == IDT_START || (id >= IDT_EDITOR && id <= IDT_COPY_ALL) ||
         (id >= IDT_TOOL_FLUSH_DNS && id <= IDT_TOOL_BANDWIDTH) || (id >= IDT_PERSONAL && id <= IDT_NEWS2) ||
         id == IDT_NAV_CLOSE || id == IDB_CLOSE || id == IDT_AVATAR_FRAME || id == IDT_LOCAL || id == IDT_CLOUD ||
         id == IDT_NEWS;
}

}  // namespace

MainWindow::MainWindow() = default;

MainWindow::~MainWindow() {
  if (nicknameFont_) DeleteObject(nicknameFont_);
}

HWND MainWindow::open() {
  art::startup();
  LoadLibraryW(L"Msftedit.dll");
  emoji_ = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(2));
  dragStrip_ = 37;
  HWND h = create(L"ZelkoraMain", "Zelkora", kWidth, kHeight, WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_SYSMENU,
                  WS_EX_APPWINDOW, mainControls(), kPanelWidth);  // the background covers the panel too
  for (int id : {IDT_AVATAR_FRAME, IDT_FETCH, IDP_CURTAIN})       // the curtain ends on top
    SetWindowPos(ctl(id), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  // The frame over the avatar takes clicks and paints nothing: the avatar shows through it.
  SetWindowLongPtrW(ctl(IDT_AVATAR_FRAME), GWL_EXSTYLE,
                    GetWindowLongPtrW(ctl(IDT_AVATAR_FRAME), GWL_EXSTYLE) | WS_EX_TRANSPARENT);
  for (int id : {IDT_EDITION, IDT_NICKNAME, IDP_AVATAR, IDP_LINE}) setVisible(id, false);
  setTextColour(IDT_LOG_CAP, {255, 255, 255});
  SendMessageW(ctl(IDE_LOG), EM_SETBKGNDCOLOR, 0, RGB(250, 250, 255));
  applyLogFormat();
  using C = MainCommand;
  bindCommands({{IDT_FETCH, int(C::Fetch)},
                {IDT_START, int(C::Start)},
                {IDR_OFFICIAL, int(C::Official)},
                {IDR_BACKUP, int(C::Backup)},
                {IDR_CUSTOM, int(C::Custom)},
                {IDX_ADBLOCK, int(C::AdBlocking)},
                {IDX_NAVBLOCK, int(C::NavigationBlocking)},
                {IDT_SETTINGS, int(C::Settings)},
                {IDT_ABOUT, int(C::About)},
                {IDB_CLOSE, int(C::Close)},
                {IDT_NAV, int(C::OpenNavigation)},
                {IDT_NAV_CLOSE, int(C::CloseNavigation)},
                {IDT_LOCAL, int(C::LocalStatus)},
                {IDT_CLOUD, int(C::CloudStatus)},
                {IDT_ANDROID, int(C::Android)},
                {IDT_NEWS, int(C::News)},
                {IDT_NEWS1, int(C::News1)},
                {IDT_NEWS2, int(C::News2)},
                {IDT_EDITOR, int(C::Editor)},
                {IDT_ADD_ENTRY, int(C::AddEntry)},
                {IDT_OPEN_FILE, int(C::OpenHostsFile)},
                {IDT_OPEN_FOLDER, int(C::OpenHostsFolder)},
                {IDT_CLEAR, int(C::ClearHostsFile)},
                {IDT_SAVE_COPY, int(C::SaveHostsCopy)},
                {IDT_IMPORT, int(C::ImportHostsFile)},
                {IDT_RESTORE, int(C::RestoreHostsFile)},
                {IDT_COPY_ALL, int(C::CopyHostsFile)},
                {IDT_PERSONAL, int(C::Customise)},
                {IDT_AVATAR_FRAME, int(C::AvatarFrame)},
                {IDT_SHARE, int(C::Share)},
                {IDT_SHORTCUT, int(C::Shortcuts)},
                {IDT_HELP, int(C::Help)},
                {IDP_WEB_GOOGLE, int(C::WebGoogle)},
                {IDP_WEB_YOUTUBE, int(C::WebYouTube)},
                {IDP_WEB_WIKIPEDIA, int(C::WebWikipedia)},
                {IDP_WEB_FACEBOOK, int(C::WebFacebook)},
                {IDP_WEB_TWITTER, int(C::WebTwitter)},
                {IDP_WEB_DRIVE, int(C::WebDrive)},
                {IDP_WEB_GMAIL, int(C::WebGmail)}},
               int(C::Close));
  // The tool set acts as soon as the mouse button goes down on an entry.
  for (auto [id, command] : {std::pair{IDT_TOOL_FLUSH_DNS, C::FlushDnsCache},
                             {IDT_TOOL_REPAIR_DNS, C::RepairDnsClient},
                             {IDT_TOOL_DNS, C::OneClickDns},
                             {IDT_TOOL_AUTO_IP, C::AutomaticAddressing},
                             {IDT_TOOL_RESTART_ADAPTER, C::RestartAdapter},
                             {IDT_TOOL_EXTERNAL_IP, C::ExternalIp},
                             {IDT_TOOL_PING, C::Ping},
                             {IDT_TOOL_WEB_PING, C::WebPing},
                             {IDT_TOOL_BEST_DNS, C::BestDns},
                             {IDT_TOOL_BANDWIDTH, C::Bandwidth}})
    bindPress(id, int(command));
  return h;
}

// Setting a rich edit's text resets its character format: the log's face, size and colour are
// applied again after every change.
void MainWindow::applyLogFormat() {
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_COLOR | CFM_FACE | CFM_SIZE;
  cf.crTextColor = RGB(128, 128, 255);
  cf.yHeight = 9 * 20;
  lstrcpyW(cf.szFaceName, L"微软雅黑");
  SendMessageW(ctl(IDE_LOG), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
}

void MainWindow::setLog(const std::string& text) {
  setText(IDE_LOG, text);
  applyLogFormat();
}

void MainWindow::paintBackground(HDC dc, int w, int h) {
  art::mainBackground(dc, w, h, skin_.index, s(1000) / 1000.0, logoShown_);
}

void MainWindow::paintPicture(int id, HDC dc, const RECT& r) {
  switch (id) {
    case IDP_LOGO: art::logo(dc, r, skin_.skinButtonAndLogo); break;
    case IDP_SKIN: art::skinButton(dc, r, skin_.skinButtonAndLogo); break;
    case IDP_FETCH:
    case IDT_FETCH: art::fetchPicture(dc, r, picture_, frame_); break;
    case IDP_CURTAIN: art::curtain(dc, r, s(1000) / 1000.0); break;
    case IDP_LOCAL_BUSY:
    case IDP_CLOUD_BUSY: art::busyDot(dc, r, RGB(150, 150, 150)); break;
    case IDP_INDICATOR1:
    case IDP_INDICATOR2: art::indicator(dc, r, indicator_, indicatorFrame_); break;
    case IDP_AVATAR:
      if (avatar_) {
        Gdiplus::Graphics g(dc);
        g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        g.DrawImage(avatar_.get(), static_cast<INT>(r.left), static_cast<INT>(r.top),
                    static_cast<INT>(r.right - r.left), static_cast<INT>(r.bottom - r.top));
      }
      break;
    case IDP_LINE: {
      HBRUSH brush = CreateSolidBrush(RGB(lineColour_.r, lineColour_.g, lineColour_.b));
      FillRect(dc, &r, brush);
      DeleteObject(brush);
      break;
    }
    default:
      if (int web = webButtonIndex(id); web >= 0)
        art::webButton(dc, r, web, win::widen(spec(id)->caption).c_str(), s(1000) / 1000.0);
  }
}

void MainWindow::setSkin(const Skin& skin) {
  bool newBackground = skin.index != skin_.index;  // painting one is the costly part of a look
  skin_ = skin;
  setTextColour(IDT_SETTINGS, skin.settingsLabel);
  setTextColour(IDT_HELP, {255, 255, 255});
  setTextColour(IDT_ABOUT, {255, 255, 255});
  setTextColour(IDT_NAV, skin.navigationLabel);
  if (newBackground) refreshBackground();
  invalidate(IDP_LOGO);
  invalidate(IDP_SKIN);
}

void MainWindow::setFetchPicture(FetchPicture picture) {
  picture_ = picture;
  if (fetchHover) setTip(IDT_FETCH, fetchHover(picture));
  if (picture == FetchPicture::InProgress)
    SetTimer(hwnd(), kSpinTimer, 80, nullptr);
  else
    KillTimer(hwnd(), kSpinTimer);
  invalidate(IDP_FETCH);
  invalidate(IDT_FETCH);
}

// The logic sets all three buttons; each call sets one.
void MainWindow::setRadioChecked(Server which, bool on) {
  if (which == Server::None) return;
  setChecked(which == Server::Official ? IDR_OFFICIAL : which == Server::Backup ? IDR_BACKUP : IDR_CUSTOM, on);
}

void MainWindow::setControlsEnabled(bool enabled) {
  for (int id : {IDT_START, IDR_OFFICIAL, IDR_BACKUP, IDR_CUSTOM, IDX_ADBLOCK, IDX_NAVBLOCK})
    EnableWindow(ctl(id), enabled);
}

void MainWindow::setIndicator(Indicator state) {
  indicator_ = state;
  if (state == Indicator::Connecting)
    SetTimer(hwnd(), kIndicatorTimer, 100, nullptr);
  else
    KillTimer(hwnd(), kIndicatorTimer);
  for (int id : {IDP_INDICATOR1, IDP_INDICATOR2}) {
    invalidate(id);
    if (indicatorHover) setTip(id, indicatorHover(state));
  }
}

void MainWindow::setNewsAddress(const std::string& url) {
  news_ = url;
  if (!webTried_) {
    // Created when the first address arrives, so the start-up does not wait for the engine.
    webTried_ = true;
    const ControlSpec* link = spec(IDT_NEWS);
    RECT area{s(link->x - 2), s(link->y - 4), s(link->x - 2 + kNewsW), s(link->y - 4 + kNewsH)};
    if (web_.create(hwnd(), area)) setVisible(IDT_NEWS, false);
  }
  web_.navigate(win::widen(url));
}

void MainWindow::setLocalLabel(const std::string& t, Rgb colour) {
  setTextColour(IDT_LOCAL, colour);
  setText(IDT_LOCAL, t);
}

void MainWindow::setCloudLabel(const std::string& t, Rgb colour) {
  setTextColour(IDT_CLOUD, colour);
  setText(IDT_CLOUD, t);
}

void MainWindow::setBusy(bool local, bool cloud) {
  setVisible(IDP_LOCAL_BUSY, local);
  setVisible(IDP_CLOUD_BUSY, cloud);
}

void MainWindow::setHoverTexts(const std::string& local, const std::string& cloud) {
  setTip(IDT_LOCAL, local);
  setTip(IDT_CLOUD, cloud);
}

void MainWindow::setWindowWidth(int width) {
  RECT r;
  GetWindowRect(hwnd(), &r);
  SetWindowPos(hwnd(), nullptr, 0, 0, s(width), r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// From the right edge: the close button, then "设置" 45 pixels further left (the skin button sits
// in that gap), then "帮助", "关于" and "导航", 16 pixels apart.
void MainWindow::layoutTopRight() {
  int width = windowWidth();
  int left = width;
  int gap = 5;
  for (int id : {IDB_CLOSE, IDT_SETTINGS, IDT_HELP, IDT_ABOUT, IDT_NAV}) {
    const ControlSpec* c = spec(id);
    left = left - gap - c->w;
    move(id, left, c->y, c->w, c->h);
    gap = id == IDB_CLOSE ? 45 : 16;
    if (id == IDT_SETTINGS) {
      const ControlSpec* skin = spec(IDP_SKIN);
      move(IDP_SKIN, left + c->w + 12, skin->y, skin->w, skin->h);
    }
  }
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindow::showTitleControl(TitleControl which) {
  static constexpr int kIds[] = {IDT_NAV, IDT_ABOUT, IDT_SETTINGS, IDT_HELP, IDP_SKIN};
  setVisible(kIds[static_cast<int>(which)], true);
}

void MainWindow::setLineColour(Rgb colour) {
  lineColour_ = colour;
  invalidate(IDP_LINE);
}

Rect MainWindow::windowRect() const {
  RECT r;
  GetWindowRect(hwnd(), &r);
  return Rect{unscale(r.left), unscale(r.top), unscale(r.right - r.left), unscale(r.bottom - r.top)};
}

void MainWindow::setCurtain(const Rect& r) {
  curtain_ = r;
  move(IDP_CURTAIN, r.left, r.top, r.width, r.height);
}

void MainWindow::setCurtainVisible(bool visible) {
  setVisible(IDP_CURTAIN, visible);
}

void MainWindow::setShown(bool shown) {
  ShowWindow(hwnd(), shown ? SW_SHOW : SW_HIDE);
  if (shown) SetForegroundWindow(hwnd());
}

Rect MainWindow::placeOf(int id) const {
  const ControlSpec* c = spec(id);
  return c ? Rect{c->x, c->y, c->w, c->h} : Rect{};
}

void MainWindow::setLogoVisible(bool visible) {
  setVisible(IDP_LOGO, visible);
  if (visible == logoShown_) return;
  logoShown_ = visible;
  refreshBackground();
}

void MainWindow::setAvatarFrameRect(const Rect& r) {
  move(IDT_AVATAR_FRAME, r.left, r.top, r.width, r.height);
  SetWindowPos(ctl(IDT_AVATAR_FRAME), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// GDI+ reads JPEG, PNG, GIF and BMP from memory; an HTML page or no bytes give no picture.
bool MainWindow::setAvatarPicture(const std::string& bytes) {
  avatar_.reset();
  if (!bytes.empty()) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (memory) {
      if (void* p = GlobalLock(memory)) {
        CopyMemory(p, bytes.data(), bytes.size());
        GlobalUnlock(memory);
      }
      IStream* stream = nullptr;
      if (SUCCEEDED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        std::unique_ptr<Gdiplus::Bitmap> picture(Gdiplus::Bitmap::FromStream(stream));
        // The decoded copy no longer needs the stream.
        // The service sends 100 x 100; a picture that claims far more is not an avatar, and its
        // copy would be a huge allocation.
        constexpr UINT kMaxSide = 1024;
        if (picture && picture->GetLastStatus() == Gdiplus::Ok && picture->GetWidth() > 0 && picture->GetHeight() > 0 &&
            picture->GetWidth() <= kMaxSide && picture->GetHeight() <= kMaxSide) {
          auto copy =
              std::make_unique<Gdiplus::Bitmap>(picture->GetWidth(), picture->GetHeight(), PixelFormat32bppARGB);
          if (copy->GetLastStatus() == Gdiplus::Ok) {
            Gdiplus::Graphics g(copy.get());
            if (g.DrawImage(picture.get(), 0, 0, picture->GetWidth(), picture->GetHeight()) == Gdiplus::Ok)
              avatar_ = std::move(copy);
          }
        }
        picture.reset();
        stream->Release();
      } else {
        GlobalFree(memory);
      }
    }
  }
  invalidate(IDP_AVATAR);
  return avatar_ != nullptr;
}

void MainWindow::setDefaultAvatar() {
  std::string bytes;
  if (HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(kDefaultAvatarResource), MAKEINTRESOURCEW(10)))
    if (HGLOBAL loaded = LoadResource(nullptr, found))
      if (const void* data = LockResource(loaded))
        bytes.assign(static_cast<const char*>(data), SizeofResource(nullptr, found));
  setAvatarPicture(bytes);
}

// 微软雅黑 at a size in points, or the window's own font.
void MainWindow::setNicknameFont(NicknameFont font) {
  HFONT chosen = this->font();
  if (font != NicknameFont::Design) {
    if (nicknameFont_) DeleteObject(nicknameFont_);
    int points = font == NicknameFont::YaHei13 ? 13 : 12;
    nicknameFont_ = CreateFontW(-MulDiv(points, s(96), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"微软雅黑");
    chosen = nicknameFont_;
  }
  SendMessageW(ctl(IDT_NICKNAME), WM_SETFONT, reinterpret_cast<WPARAM>(chosen), TRUE);
}

HCURSOR MainWindow::pointerFor(int id) const {
  bool web = webButtonIndex(id) >= 0;
  if (emojiOnAll_ || web) return emoji_;
  bool hand = isClickable(id) || id == IDP_SKIN || (id >= IDG_OFFICIAL && id <= IDR_CUSTOM);
  return LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW);
}

LRESULT MainWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETCURSOR: {
      Form::handle(msg, wp, lp);  // hover hints come to life here
      HWND over = reinterpret_cast<HWND>(wp);
      if (LOWORD(lp) != HTCLIENT && over == hwnd()) break;
      SetCursor(pointerFor(over == hwnd() ? 0 : GetDlgCtrlID(over)));
      return TRUE;
    }
    case WM_TIMER:
      if (wp == kSpinTimer) {
        ++frame_;
        invalidate(IDP_FETCH);
        invalidate(IDT_FETCH);
        return 0;
      }
      if (wp == kIndicatorTimer) {
        ++indicatorFrame_;
        invalidate(IDP_INDICATOR1);
        invalidate(IDP_INDICATOR2);
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == ctl(IDT_AVATAR_FRAME)) {
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      }
      break;
    case WM_DESTROY:
      web_.destroy();
      PostQuitMessage(0);
      return 0;
  }
  return Form::handle(msg, wp, lp);
}

}  // namespace zk::ui
