// Shortcuts and shell verbs through COM, and the folders and uptime they rely on, under Wine.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/win32/shell_links_win32.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace zk {
namespace {

using namespace win;

struct ShellLinkScratch : ::testing::Test {
  Win32FileSystem fs;
  Win32ShellLinks links;
  std::string root;
  void SetUp() override {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    root = narrow(tmp) + "zelkora链接_" + std::to_string(GetCurrentProcessId());
    fs.deleteFolderTree(root);
    ASSERT_TRUE(fs.createFolder(root));
    ASSERT_TRUE(fs.writeFile(root + "\\Nimbet.exe", "MZ"));
  }
  void TearDown() override { fs.deleteFolderTree(root); }
};

struct LinkRead {
  std::wstring target, description, folder;
};

// Loads a saved .lnk through its own COM object, as the shell reads it.
bool readLink(const std::string& path, LinkRead& out) {
  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool ok = false;
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(widen(path).c_str(), STGM_READ))) {
    wchar_t buf[MAX_PATH * 2] = {};
    ok = SUCCEEDED(link->GetPath(buf, MAX_PATH * 2, nullptr, SLGP_RAWPATH));
    out.target = buf;
    buf[0] = 0;
    ok = ok && SUCCEEDED(link->GetDescription(buf, MAX_PATH * 2));
    out.description = buf;
    buf[0] = 0;
    ok = ok && SUCCEEDED(link->GetWorkingDirectory(buf, MAX_PATH * 2));
    out.folder = buf;
  }
  if (file) file->Release();
  if (link) link->Release();
  if (SUCCEEDED(init)) CoUninitialize();
  return ok;
}

TEST_F(ShellLinkScratch, SavedShortcutReadsBackWithTargetDescriptionAndFolder) {
  const std::string lnk = root + "\\Zelkora.lnk";
  ASSERT_TRUE(links.saveShortcut(lnk, root + "\\Nimbet.exe", "一键解析，极速互联！", root));
  LinkRead r;
  ASSERT_TRUE(readLink(lnk, r));
  EXPECT_EQ(narrow(r.target), root + "\\Nimbet.exe");
  EXPECT_EQ(narrow(r.description), "一键解析，极速互联！");
  EXPECT_EQ(narrow(r.folder), root);
  // Saved again over the first: replaced, still one readable link.
  ASSERT_TRUE(links.saveShortcut(lnk, root + "\\Nimbet.exe", "second", root));
  ASSERT_TRUE(readLink(lnk, r));
  EXPECT_EQ(narrow(r.description), "second");
}

TEST_F(ShellLinkScratch, SaveIntoAMissingFolderFails) {
  EXPECT_FALSE(links.saveShortcut(root + "\\没有\\Zelkora.lnk", root + "\\Nimbet.exe", "d", root));
}

// Nothing is handed to the shell for an empty name or a file that is not there. (Wine's shell
// lists a program's verbs, but listing them twice in one process can crash inside it, so the
// matching of names is tested on the list it gives in the native tests.)
TEST_F(ShellLinkScratch, AnEmptyNameOrAMissingFileRunsNothing) {
  EXPECT_FALSE(links.runVerbNamed(root, "Nimbet.exe", ""));
  EXPECT_FALSE(links.runVerbNamed(root + "\\没有", "Nimbet.exe", "打开(&O)"));
  EXPECT_FALSE(links.runVerbNamed(root, "没有.exe", "打开(&O)"));
}

TEST(ShellLinksWin32, PinVerbNameIsTextOrEmpty) {
  Win32ShellLinks links;
  const std::string name = links.pinVerbName();
  // What this system gives is reported; a name it gives is a short line of text.
  std::printf("pin verb name: [%s] (%zu bytes)\n", name.c_str(), name.size());
  EXPECT_LT(name.size(), 256u * 3);
  EXPECT_EQ(name.find('\0'), std::string::npos);
}

TEST(ShellLinksWin32, StartMenuAndUptimeAreThere) {
  Win32Folders folders;
  const std::string start = folders.startMenu();
  ASSERT_FALSE(start.empty());
  EXPECT_EQ(start.back(), '\\');
  Win32Clock clock;
  // The count moves on with the clock (Wine updates it from its server, in steps, later under load).
  const std::uint64_t first = clock.millisecondsSinceStart();
  const DWORD began = GetTickCount();
  std::uint64_t now = first;
  while (now < first + 50 && GetTickCount() - began < 5000) {
    Sleep(10);
    now = clock.millisecondsSinceStart();
  }
  EXPECT_GE(now, first + 50);
  EXPECT_LT(now, first + 60000);
}

}  // namespace
}  // namespace zk
