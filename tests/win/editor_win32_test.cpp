// The editor's windows on the real editing component, under Wine (or Windows): character
// positions as the user counts them, the document's change reports, the keys and the double
// click that ask for commands, and the search window's two layouts.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "text/replace.h"
#include "ui/add_entry_window.h"
#include "ui/editor_window.h"
#include "ui/search_window.h"

namespace zk {
namespace {

void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

TEST(EditorWindow, SelectionsCountCharactersAcrossLinesAndWideCharacters) {
  ui::EditorWindow w;
  ASSERT_TRUE(w.open());
  // Two-, three- and four-byte UTF-8 characters on three lines.
  const std::string text = "ab\r\n中文é\r\n\xF0\xA0\x80\x80z 末";
  w.setText(text, false);
  EXPECT_EQ(w.text(), text);
  EXPECT_EQ(w.textBytes(), text.size());
  w.select({5, 2});
  EXPECT_EQ(w.selectedText(), "文é");
  EXPECT_EQ(w.selection(), (Selection{5, 2}));
  w.select({10, 1});  // the character beyond the Basic Multilingual Plane counts one
  EXPECT_EQ(w.selectedText(), "z");
  w.select({13, 5});  // past the end: up to the end
  EXPECT_EQ(w.selectedText(), "");
  w.select({12, 1});
  w.replaceSelection("尾");
  EXPECT_EQ(w.text(), "ab\r\n中文é\r\n\xF0\xA0\x80\x80z 尾");
  w.selectAll();
  EXPECT_EQ(w.selection(), (Selection{0, 13}));
  DestroyWindow(w.hwnd());
}

// Above the colouring limit the text goes into a document without style bytes: it must count
// characters the same way, and so must the styled document that a small text brings back.
TEST(EditorWindow, BigAndSmallDocumentsCountCharactersAlike) {
  ui::EditorWindow w;
  ASSERT_TRUE(w.open());
  std::string big;
  while (big.size() <= (9u << 20)) big += "0.0.0.0 广告.example # 注释\r\n";
  for (const std::string& text : {big, std::string("0.0.0.0 广告.example # 注释\r\n")}) {
    w.setText(text, false);
    EXPECT_EQ(w.textBytes(), text.size());
    w.select({8, 2});
    EXPECT_EQ(w.selectedText(), "广告");
    w.select({23, 3});  // the line end, then the next line where there is one
    EXPECT_EQ(w.selectedText(), text.size() > 100 ? "\r\n0" : "\r\n");
  }
  DestroyWindow(w.hwnd());
}

TEST(EditorWindow, ReportsEveryChangeAndTakesF3AsACommand) {
  ui::EditorWindow w;
  ASSERT_TRUE(w.open());
  int changes = 0;
  std::vector<int> commands;
  w.onTextChanged = [&] { ++changes; };
  w.onCommand = [&](int c) { commands.push_back(c); };
  w.setText("abc", true);
  EXPECT_GT(changes, 0);
  changes = 0;
  SendMessageW(w.document(), WM_CHAR, L'x', 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(w.textBytes(), 4u);
  SendMessageW(w.document(), WM_KEYDOWN, VK_F3, 1);
  SendMessageW(w.ctl(ui::IDE_ED_QUICK), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(commands, (std::vector<int>{int(EditorCommand::Comment), int(EditorCommand::QuickSearch)}));
  // A load leaves nothing to undo; other changes can be undone.
  w.setText("loaded", false);
  SendMessageW(w.document(), WM_UNDO, 0, 0);
  EXPECT_EQ(w.text(), "loaded");
  w.setText("typed", true);
  SendMessageW(w.document(), WM_UNDO, 0, 0);
  EXPECT_EQ(w.text(), "loaded");
  DestroyWindow(w.hwnd());
}

// Alt+drag makes a rectangular selection; the toggle must see the one stream selection between
// its corners, as must multiple selections (Ctrl+click).
TEST(EditorWindow, RectangularAndMultipleSelectionsBecomeOneStreamSelection) {
  ui::EditorWindow w;
  ASSERT_TRUE(w.open());
  w.setText("abcd\r\nefgh\r\nijkl", true);
  SendMessageW(w.document(), SCI_SETRECTANGULARSELECTIONANCHOR, 1, 0);
  SendMessageW(w.document(), SCI_SETRECTANGULARSELECTIONCARET, 9, 0);  // line 2, column 3
  ASSERT_EQ(SendMessageW(w.document(), SCI_GETSELECTIONMODE, 0, 0), SC_SEL_RECTANGLE);
  ASSERT_EQ(SendMessageW(w.document(), SCI_GETSELECTIONS, 0, 0), 2);
  w.useStreamSelection();
  EXPECT_EQ(SendMessageW(w.document(), SCI_GETSELECTIONMODE, 0, 0), SC_SEL_STREAM);
  EXPECT_EQ(w.selectedText(), "bcd\r\nefg");
  w.replaceSelection(toggledComment(w.selectedText()));
  EXPECT_EQ(w.text(), "a#bcd\r\nefgh\r\nijkl");
  // Typing afterwards moves the caret, it does not extend a selection.
  SendMessageW(w.document(), WM_CHAR, L'x', 1);
  EXPECT_EQ(w.text(), "a#bcd\r\nefgxh\r\nijkl");

  w.setText("abcd\r\nefgh\r\nijkl", true);
  SendMessageW(w.document(), SCI_SETSELECTION, 13, 12);  // "i"
  SendMessageW(w.document(), SCI_ADDSELECTION, 3, 2);    // "c"
  w.useStreamSelection();
  EXPECT_EQ(w.selectedText(), "cd\r\nefgh\r\ni");
  DestroyWindow(w.hwnd());
}

// A result that arrives after the window is gone reaches nothing: the component's direct pointer
// is not used once the window is being destroyed, and no command is asked for.
TEST(EditorWindow, IgnoresEveryCallOnceDestroyed) {
  ui::EditorWindow w;
  ASSERT_TRUE(w.open());
  w.setText("abc", false);
  int commands = 0;
  w.onCommand = [&](int) { ++commands; };
  DestroyWindow(w.hwnd());
  EXPECT_EQ(w.hwnd(), nullptr);
  w.setText("late", false);
  EXPECT_EQ(w.text(), "");
  EXPECT_EQ(w.textBytes(), 0u);
  w.select({0, 1});
  EXPECT_EQ(w.selectedText(), "");
  w.useStreamSelection();
  w.replaceSelection("x");
  w.setSaveIndicator(true);
  w.setStrip(true, 10);
  w.setQuickSearchText("q");
  EXPECT_EQ(w.quickSearchText(), "");
  w.focusDocument();
  w.close();
  pump();
  EXPECT_EQ(commands, 0);
}

TEST(SearchWindow, LaysOutEitherModeAtItsSize) {
  ui::EditorWindow editor;
  ASSERT_TRUE(editor.open());
  for (SearchMode mode : {SearchMode::Search, SearchMode::Replace}) {
    ui::SearchWindow w;
    ASSERT_TRUE(w.open(editor.hwnd(), editor.document()));
    w.layOut(mode);
    RECT r;
    GetWindowRect(w.hwnd(), &r);
    bool search = mode == SearchMode::Search;
    EXPECT_EQ(w.unscale(r.right - r.left), search ? 466 : 488);
    EXPECT_EQ(w.unscale(r.bottom - r.top), search ? 68 : 100);
    wchar_t title[32] = {};
    GetWindowTextW(w.hwnd(), title, 32);
    EXPECT_STREQ(title, search ? L"搜索" : L"替换");
    EXPECT_EQ((GetWindowLongW(w.ctl(ui::IDE_SR_SEARCH), GWL_STYLE) & WS_VISIBLE) != 0, search);
    EXPECT_EQ((GetWindowLongW(w.ctl(ui::IDB_SR_REPLACE_ALL), GWL_STYLE) & WS_VISIBLE) != 0, !search);
    DestroyWindow(w.hwnd());
  }
  DestroyWindow(editor.hwnd());
}

TEST(AddEntryWindow, TheNameBoxReportsChangesAndDoubleClicksEmptyBoxes) {
  ui::AddEntryWindow w;
  ASSERT_TRUE(w.open(nullptr));
  std::vector<int> commands;
  w.onCommand = [&](int c) { commands.push_back(c); };
  w.setDomain("www.a.com");
  SendMessageW(w.ctl(ui::IDE_AE_IP), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
  SendMessageW(w.ctl(ui::IDE_AE_DOMAIN), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
  EXPECT_EQ(commands, (std::vector<int>{int(AddEntryCommand::DomainChanged), int(AddEntryCommand::EmptyIp),
                                        int(AddEntryCommand::EmptyDomain)}));
  DWORD start = 0, end = 0;
  SendMessageW(w.ctl(ui::IDE_AE_DOMAIN), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 9u);  // the caret at the end
  EXPECT_EQ(w.ip(), "127.0.0.1");
  pump();
  DestroyWindow(w.hwnd());
}

}  // namespace
}  // namespace zk
