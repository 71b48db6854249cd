// The rich edits that show outside text: plain text only, whatever the text looks like.
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ui/external_ip_window.h"
#include "ui/main_window.h"
#include "ui/ping_window.h"

namespace zk {
namespace {

// A page whose text is an RTF document shows as the characters it is made of, and the box stays
// in plain-text mode (where no later text can be read as a document either).
void expectLiteral(ui::Form& w, int id, const std::function<void(const std::string&)>& set) {
  for (const char* text : {"{\\rtf1 x}", "{\\urtf1 y}", "{\\rtf1\\ansi{\\field{\\*\\fldinst HYPERLINK \"z\"}}}"}) {
    set(text);
    EXPECT_EQ(w.text(id), text);
  }
  EXPECT_EQ(SendMessageW(w.ctl(id), EM_GETTEXTMODE, 0, 0) & (TM_PLAINTEXT | TM_RICHTEXT), TM_PLAINTEXT);
}

TEST(RichText, OutsideTextIsNeverReadAsRtf) {
  LoadLibraryW(L"Msftedit.dll");  // the main window loads it in the program
  {
    ui::ExternalIpWindow w;
    ASSERT_TRUE(w.open());
    EXPECT_EQ(w.text(ui::IDE_IP_PLACE), "获取中...");
    expectLiteral(w, ui::IDE_IP_PLACE, [&](const std::string& t) { w.setLocation(t); });
    DestroyWindow(w.hwnd());
  }
  {
    ui::PingWindow w;
    ASSERT_TRUE(w.open());
    expectLiteral(w, ui::IDE_PG_OUTPUT, [&](const std::string& t) { w.setOutput(t); });
    DestroyWindow(w.hwnd());
  }
  {
    ui::MainWindow w;
    ASSERT_TRUE(w.open());
    expectLiteral(w, ui::IDE_LOG, [&](const std::string& t) { w.setLog(t); });
    DestroyWindow(w.hwnd());
    MSG quit;  // the main window ends the message loop as it goes
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
}

}  // namespace
}  // namespace zk
