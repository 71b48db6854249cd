// The shared window code and the main window's log, run under Wine (or Windows).
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "ui/form.h"
#include "ui/main_window.h"

namespace zk {
namespace {

class TestWindow : public ui::Form {
 public:
  static constexpr int kCloseLabel = 100;
  static constexpr int kCloseCommand = 7;
  static constexpr int kBox = 101;
  HWND open() {
    HWND h = create(
        L"ZelkoraTestForm", "测试窗口", 200, 100, WS_POPUP | WS_SYSMENU, 0,
        {{kCloseLabel, ui::Kind::ClickLabel, "×", 170, 4, 24, 24}, {kBox, ui::Kind::Edit, "text", 10, 40, 100, 24}});
    bindCommands({{kCloseLabel, kCloseCommand}}, kCloseCommand);
    return h;
  }
  void pressToCommand(int id, int command) { bindPress(id, command); }

 protected:
  void paintBackground(HDC, int, int) override {}
};

// Every way a window can end asks its logic to close it: its own × label, Alt+F4 (the system
// menu's close), the taskbar's "关闭窗口" and WM_CLOSE from outside all run the same command,
// and the window stays until the logic ends it.
TEST(Form, EveryWayOfClosingRunsTheWindowsCloseCommand) {
  TestWindow w;
  ASSERT_TRUE(w.open());
  std::vector<int> commands;
  w.onCommand = [&](int c) { commands.push_back(c); };
  SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(TestWindow::kCloseLabel, STN_CLICKED),
               reinterpret_cast<LPARAM>(w.ctl(TestWindow::kCloseLabel)));
  SendMessageW(w.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  SendMessageW(w.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(commands, (std::vector<int>{7, 7, 7}));
  ASSERT_TRUE(IsWindow(w.hwnd()));
  bool gone = false;
  w.onDestroyed = [&] { gone = true; };
  w.destroyLater();
  MSG msg;
  while (!gone && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_TRUE(gone);
}

COLORREF logColour(ui::MainWindow& w) {
  HWND log = w.ctl(ui::IDE_LOG);
  SendMessageW(log, EM_SETSEL, 0, -1);
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  SendMessageW(log, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  return (cf.dwEffects & CFE_AUTOCOLOR) ? GetSysColor(COLOR_WINDOWTEXT) : cf.crTextColor;
}

// Each new line replaces the log's whole text, which resets a rich edit's character format.
// An edit box bound to a press acts when the button goes down (the box has taken its focus by
// then), and its release adds nothing.
TEST(Form, APressBindingActsOnTheButtonGoingDown) {
  TestWindow w;
  ASSERT_TRUE(w.open());
  ShowWindow(w.hwnd(), SW_SHOW);
  std::vector<int> commands;
  w.onCommand = [&](int c) { commands.push_back(c); };
  w.pressToCommand(TestWindow::kBox, 9);
  SendMessageW(w.ctl(TestWindow::kBox), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(commands, std::vector<int>{9});
  EXPECT_EQ(GetFocus(), w.ctl(TestWindow::kBox));
  SendMessageW(w.ctl(TestWindow::kBox), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(commands, std::vector<int>{9});
  DestroyWindow(w.hwnd());
}

TEST(MainWindow, TheLogKeepsItsColourLineAfterLine) {
  ui::MainWindow w;
  ASSERT_TRUE(w.open());
  w.setLog("09:05:07：欢迎您使用Zelkora新标版！\r\n");
  EXPECT_EQ(logColour(w), RGB(128, 128, 255));
  w.setLog("09:05:08：谷歌、推特、脸书上不去？\r\n09:05:07：欢迎您使用Zelkora新标版！\r\n");
  EXPECT_EQ(logColour(w), RGB(128, 128, 255));
  DestroyWindow(w.hwnd());
  MSG quit;  // the main window ends the message loop as it goes; the next test has its own
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

std::string fileBytes(const std::wstring& path) {
  std::string out;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return out;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  CloseHandle(f);
  return out;
}

// The avatar takes what GDI+ reads as a picture; an HTML page, a cut-off picture or no bytes are
// none, and the customisation then puts the built-in avatar in their place.
TEST(MainWindow, TheAvatarTakesOnlyPictures) {
  ui::MainWindow w;
  ASSERT_TRUE(w.open());
  const std::string png = fileBytes(win::widen(ZK_TEST_DATA "../../resources/default_avatar.png"));
  ASSERT_GT(png.size(), 100u);
  EXPECT_TRUE(w.setAvatarPicture(png));
  EXPECT_FALSE(w.setAvatarPicture("<html><body>请先登录</body></html>"));
  EXPECT_FALSE(w.setAvatarPicture(""));
  EXPECT_FALSE(w.setAvatarPicture(png.substr(0, 60)));
  // The same picture claiming 50,000 x 50,000 pixels (its header's check sum made right).
  std::string huge = png;
  for (int at : {16, 20}) huge.replace(at, 4, std::string("\x00\x00\xC3\x50", 4));
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(huge.data() + 12), 17);
  for (int i = 0; i < 4; ++i) huge[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
  EXPECT_FALSE(w.setAvatarPicture(huge));
  EXPECT_TRUE(w.setAvatarPicture(png));
  DestroyWindow(w.hwnd());
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

}  // namespace
}  // namespace zk
