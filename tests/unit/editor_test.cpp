#include <gtest/gtest.h>

#include <algorithm>

#include "resources/fixed_texts.h"
#include "tests/unit/editor_fixture.h"
#include "text/gbk.h"

namespace zk {
namespace {

struct Editor : ::testing::Test, test::EditorBench {
  test::FakeEditorView view;
  EditorLogic editor{EditorServices{rt, hosts, prompt, clipboard, folders, random, dialog}, view, main};
  Editor() {
    view.onChange = [this] { editor.onTextChanged(); };
  }

  void open() {
    editor.onCreated();
    rt.runUntilIdle();
  }
  void command(EditorCommand c) {
    editor.onCommand(c);
    rt.runUntilIdle();
  }
};

TEST_F(Editor, LoadShowsReadingForHalfASecondThenTextAndSnapshotTogether) {
  fs.addFile(kHosts, "127.0.0.1   a.com\r\n");
  editor.onCreated();
  EXPECT_FALSE(main.shown);
  rt.advance(0);
  EXPECT_EQ(view.doc, "读取中...");
  rt.advance(499);
  EXPECT_EQ(view.doc, "读取中...");
  rt.advance(1);
  EXPECT_EQ(view.doc, "127.0.0.1   a.com\r\n");
  EXPECT_FALSE(view.yellow);  // the change it set off saw the new snapshot
  rt.runUntilIdle();
  EXPECT_FALSE(view.yellow);
  EXPECT_TRUE(view.undo.empty());  // nothing to undo after a load
}

TEST_F(Editor, MissingEmptyAndNulFiles) {
  open();
  EXPECT_EQ(view.doc, "系统Hosts文件不存在。可点击上方 获取。");
  EXPECT_TRUE(view.yellow);  // differs from the empty snapshot
  fs.addFile(kHosts, std::string("\0abc", 4));
  command(EditorCommand::Load);
  EXPECT_EQ(view.doc, "系统Hosts文件是空白的。无内容。可点击上方 获取。");
  fs.addFile(kHosts, toGbk("# 中文\r\n") + std::string("\0after", 6));
  command(EditorCommand::Load);
  EXPECT_EQ(view.doc, "# 中文\r\n");
  fs.addFile(kHosts, toGbk("# 中文\r\n"));
  fs.unreadableFiles.insert(test::FakeFileSystem::key(kHosts));
  command(EditorCommand::Load);
  EXPECT_EQ(view.doc, "系统Hosts文件暂时无法读取。可稍后点击上方 读取。");
}

TEST_F(Editor, TheIndicatorFollowsTypingAndUndoAtAConstantCostPerKeystroke) {
  fs.addFile(kHosts, "a.com\r\n");
  open();
  view.sel = {5, 0};
  int reads = view.textReads;
  for (char c : std::string("xyz")) view.type(std::string(1, c));
  EXPECT_TRUE(view.yellow);
  EXPECT_EQ(view.textReads, reads);  // sizes differ: no comparison of the contents
  for (int i = 0; i < 3; ++i) view.undoLast();
  EXPECT_TRUE(view.yellow);  // same size again: compared once typing pauses
  rt.advance(299);
  EXPECT_TRUE(view.yellow);
  rt.advance(1);
  EXPECT_FALSE(view.yellow);
  EXPECT_EQ(view.textReads, reads + 1);
  // Same size, other content: yellow once compared; a command that asks does not wait.
  view.sel = {0, 1};
  view.replaceSelection("b");
  EXPECT_TRUE(editor.changed());
  EXPECT_TRUE(view.yellow);
}

// The snapshot of a GBK file is its bytes: a text of the same size is the snapshot exactly when it
// converts back to them. A file whose bytes do not come back from its text keeps its text.
TEST_F(Editor, SameSizedEditsAreComparedWithTheSnapshot) {
  for (const std::string& file : {toGbk("# 中文 a.com\r\n"), std::string("# \x81\x40\xff a.com\r\n")}) {
    fs.addFile(kHosts, file);
    open();
    EXPECT_FALSE(view.yellow);
    const std::string loaded = view.doc;
    view.sel = {5, 1};  // "a" becomes "b": same size, other text
    view.replaceSelection("b");
    rt.runUntilIdle();
    EXPECT_TRUE(view.yellow);
    view.sel = {5, 1};
    view.replaceSelection("a");
    rt.runUntilIdle();
    EXPECT_FALSE(view.yellow);
    EXPECT_EQ(view.doc, loaded);
  }
}

TEST_F(Editor, AnUnchangedDocumentSavesTheBytesItLoaded) {
  // A lead byte before CR LF and bytes that are not GBK would not survive a conversion both ways.
  const std::string odd = std::string("127.0.0.1 a\x81\r\n") + "\xff\xfe#\x81\x40\r\n" + "\x80";
  fs.addFile(kHosts, odd);
  open();
  prompt.answers = {Answer::Yes};
  command(EditorCommand::Save);
  EXPECT_EQ(hostsBytes(), odd);
  EXPECT_EQ(lastBox().text, "保存完毕！");
  EXPECT_EQ(lastBox().title, "恭喜！");
  // Once edited, the document is written as its text in GBK.
  view.sel = {0, 0};
  view.type("# 注释 ");
  prompt.answers = {Answer::Yes};
  command(EditorCommand::Save);
  const std::string typed = toGbk("# 注释 ");
  EXPECT_EQ(hostsBytes().substr(0, typed.size() + 1), typed + "1");
}

TEST_F(Editor, SaveAsksFirstKeepsABackupAndStaysYellow) {
  fs.addFile(kHosts, "old\r\n");
  open();
  view.sel = {3, 0};
  view.type("!");
  command(EditorCommand::Save);  // No
  EXPECT_EQ(hostsBytes(), "old\r\n");
  EXPECT_EQ(prompt.shown[0].text, "本操作将会覆盖系统现有的Hosts文件，继续吗？");
  EXPECT_EQ(prompt.shown[0].flags, box::YesNo);
  prompt.answers = {Answer::Yes};
  command(EditorCommand::Save);
  EXPECT_EQ(hostsBytes(), "old!\r\n");
  EXPECT_EQ(fs.bytes(values.dataFile("Backup\\hosts.1.bak")), "old\r\n");
  EXPECT_TRUE(view.yellow);  // saving does not touch the snapshot
  // So closing asks again.
  prompt.shown.clear();
  command(EditorCommand::Close);
  EXPECT_EQ(prompt.shown.at(0).text, "内容已被更改，是否保存到系统中？");
}

TEST_F(Editor, AProtectedSystemFileIsNotOverwritten) {
  for (std::uint32_t attr : {1u, 2u, 4u}) {
    fs.addFile(kHosts, "keep\r\n");
    fs.attributes[test::FakeFileSystem::key(kHosts)] = attr;
    open();
    view.type("x");
    prompt.answers = {Answer::Yes};
    command(EditorCommand::Save);
    EXPECT_EQ(hostsBytes(), "keep\r\n") << attr;
    EXPECT_EQ(lastBox().text, "抱歉，保存失败！");
    EXPECT_EQ(lastBox().title, "抱歉！");
  }
}

TEST_F(Editor, ClearThenSaveWritesAnEmptyFile) {
  fs.addFile(kHosts, "a\r\n");
  open();
  prompt.answers = {Answer::Yes, Answer::Yes};
  command(EditorCommand::Clear);
  EXPECT_EQ(prompt.shown[0].text, "清空编辑器的内容，继续吗？");
  EXPECT_EQ(view.doc, "");
  EXPECT_TRUE(view.yellow);
  command(EditorCommand::Save);
  EXPECT_EQ(fs.fileSize(kHosts), 0);
}

TEST_F(Editor, CloseWaitsAsksAndShowsTheMainWindow) {
  fs.addFile(kHosts, "a\r\n");
  open();
  view.type("b");
  editor.onCommand(EditorCommand::Close);
  rt.advance(99);
  EXPECT_TRUE(prompt.shown.empty());
  rt.advance(1);
  ASSERT_EQ(prompt.shown.size(), 1u);  // answered No
  EXPECT_EQ(prompt.shown[0].flags, box::YesNo);
  editor.onCommand(EditorCommand::Save);  // ignored while closing
  rt.advance(599);
  EXPECT_EQ(view.closed, 0);
  EXPECT_FALSE(main.shown);
  rt.advance(1);
  EXPECT_EQ(view.closed, 1);
  EXPECT_TRUE(main.shown);
  EXPECT_EQ(hostsBytes(), "a\r\n");
  EXPECT_EQ(prompt.shown.size(), 1u);
}

TEST_F(Editor, CloseStopsALoadUnderWay) {
  fs.addFile(kHosts, "a\r\n");
  editor.onCreated();
  rt.advance(100);  // "读取中..." shown, the text not yet
  editor.onCommand(EditorCommand::Close);
  rt.runUntilIdle();
  EXPECT_EQ(view.doc, "读取中...");
  EXPECT_EQ(view.closed, 1);
}

// A status text shown for a file that exists is not the file: neither the close question nor
// "保存" ever writes it, whatever the answers. The missing file's text may be saved.
TEST(EditorStatus, ClosingInTheReadingPauseWritesNothingWhateverTheAnswers) {
  for (EditorCommand leave : {EditorCommand::Close, EditorCommand::Fetch}) {
    test::EditorBench b;
    test::FakeEditorView v;
    EditorLogic e{EditorServices{b.rt, b.hosts, b.prompt, b.clipboard, b.folders, b.random, b.dialog}, v, b.main};
    v.onChange = [&] { e.onTextChanged(); };
    int fetches = 0;
    e.startFetch = [&] { ++fetches; };
    b.fs.addFile(b.kHosts, "a\r\n");
    e.onCreated();
    b.rt.advance(100);  // in the reading pause
    ASSERT_EQ(v.doc, "读取中...");
    b.prompt.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
    e.onCommand(leave);
    b.rt.runUntilIdle();
    EXPECT_EQ(b.hostsBytes(), "a\r\n");
    EXPECT_TRUE(b.prompt.shown.empty());
    EXPECT_EQ(v.closed, 1);
    EXPECT_TRUE(b.main.shown);
    EXPECT_EQ(fetches, leave == EditorCommand::Fetch ? 1 : 0);
  }
}

TEST_F(Editor, SaveRefusesTheUnreadableAndBlankTextsButWritesTheMissingOne) {
  for (bool blank : {false, true}) {
    test::EditorBench b;
    test::FakeEditorView v;
    EditorLogic e{EditorServices{b.rt, b.hosts, b.prompt, b.clipboard, b.folders, b.random, b.dialog}, v, b.main};
    v.onChange = [&] { e.onTextChanged(); };
    b.fs.addFile(kHosts, blank ? "" : "a\r\n");
    if (!blank) b.fs.unreadableFiles.insert(test::FakeFileSystem::key(kHosts));
    e.onCreated();
    b.rt.runUntilIdle();
    EXPECT_FALSE(v.yellow);
    b.fs.unreadableFiles.clear();  // the file can be written now
    b.prompt.answers = {Answer::Yes, Answer::Yes};
    e.onCommand(EditorCommand::Save);
    b.rt.runUntilIdle();
    EXPECT_EQ(b.hostsBytes(), blank ? "" : "a\r\n");
    ASSERT_EQ(b.prompt.shown.size(), 1u);
    EXPECT_EQ(b.prompt.shown[0].text, "编辑器中只有提示文字，不是系统Hosts文件的内容，未保存。");
    EXPECT_EQ(b.prompt.shown[0].title, "抱歉！");
    // What the user typed into it is theirs.
    v.type("1.2.3.4 x\r\n");
    b.prompt.answers = {Answer::Yes};
    e.onCommand(EditorCommand::Save);
    b.rt.runUntilIdle();
    EXPECT_EQ(b.hostsBytes().substr(0, 11), "1.2.3.4 x\r\n");
  }
  open();  // no file
  EXPECT_TRUE(view.yellow);
  prompt.answers = {Answer::Yes};
  command(EditorCommand::Save);
  EXPECT_EQ(hostsBytes(), toGbk("系统Hosts文件不存在。可点击上方 获取。"));
}

// The close (and "获取数据") asked to save and the save failed: the editor stays with its text,
// the main window stays hidden; once the file can be written the same close goes through.
TEST_F(Editor, AFailedSaveAskedByTheCloseKeepsTheEditorAndItsText) {
  int fetches = 0;
  editor.startFetch = [&] { ++fetches; };
  fs.addFile(kHosts, "a\r\n");
  open();
  view.type("b");
  fs.attributes[test::FakeFileSystem::key(kHosts)] = 1;  // read-only
  for (EditorCommand leave : {EditorCommand::Close, EditorCommand::Fetch}) {
    prompt.shown.clear();
    prompt.answers = {Answer::Yes, Answer::Yes};
    command(leave);
    EXPECT_EQ(texts(), (std::vector<std::string>{"内容已被更改，是否保存到系统中？",
                                                 "本操作将会覆盖系统现有的Hosts文件，继续吗？", "抱歉，保存失败！"}));
    EXPECT_EQ(view.closed, 0);
    EXPECT_FALSE(main.shown);
    EXPECT_EQ(view.doc, "ba\r\n");
    EXPECT_EQ(hostsBytes(), "a\r\n");
  }
  EXPECT_EQ(fetches, 0);
  fs.attributes[test::FakeFileSystem::key(kHosts)] = 0;
  prompt.answers = {Answer::Yes, Answer::Yes};
  command(EditorCommand::Close);
  EXPECT_EQ(hostsBytes(), "ba\r\n");
  EXPECT_EQ(view.closed, 1);
  EXPECT_TRUE(main.shown);
}

TEST_F(Editor, FetchAsksOnlyWhenChangedThenHandsOver) {
  int fetches = 0;
  editor.startFetch = [&] { ++fetches; };
  fs.addFile(kHosts, "a\r\n");
  open();
  command(EditorCommand::Fetch);
  EXPECT_TRUE(prompt.shown.empty());
  EXPECT_EQ(fetches, 1);
  EXPECT_EQ(view.closed, 1);
  EXPECT_TRUE(main.shown);
}

TEST_F(Editor, FetchWithChangesSavesOnYesYes) {
  editor.startFetch = [] {};
  fs.addFile(kHosts, "a\r\n");
  open();
  view.type("#");
  prompt.answers = {Answer::Yes, Answer::Yes};
  command(EditorCommand::Fetch);
  EXPECT_EQ(texts(), (std::vector<std::string>{"内容已被更改，是否保存到系统中？",
                                               "本操作将会覆盖系统现有的Hosts文件，继续吗？", "保存完毕！"}));
  EXPECT_EQ(hostsBytes(), "#a\r\n");
}

TEST_F(Editor, PasteCopyAndTheDefaultText) {
  open();
  command(EditorCommand::Paste);  // a picture, or nothing: no text
  EXPECT_EQ(lastBox().text, "粘贴板没有任何内容，无法粘贴。");
  EXPECT_EQ(lastBox().title, "抱歉！");
  clipboard.content = "";
  command(EditorCommand::Paste);
  EXPECT_EQ(lastBox().text, "粘贴板没有任何内容，无法粘贴。");
  clipboard.content = "1.2.3.4 中文.com";
  prompt.answers = {Answer::Yes};
  clipboard.reads = 0;
  command(EditorCommand::Paste);
  EXPECT_EQ(view.doc, "1.2.3.4 中文.com");
  EXPECT_EQ(clipboard.reads, 2);  // read again after the question

  command(EditorCommand::InsertDefault);
  EXPECT_EQ(view.doc, texts::kWindowsDefaultHosts);
  EXPECT_EQ(toGbk(view.doc).size(), 824u);
  EXPECT_EQ(std::count(view.doc.begin(), view.doc.end(), '\n'), 21);
  clipboard.content.reset();
  command(EditorCommand::Copy);
  EXPECT_EQ(clipboard.content, texts::kWindowsDefaultHosts);
  EXPECT_EQ(view.sel, (Selection{0, 824}));
  EXPECT_EQ(lastBox().text, "全部复制完毕！");
  clipboard.writable = false;
  command(EditorCommand::Copy);
  EXPECT_EQ(lastBox().title, "抱歉！");
}

TEST_F(Editor, DesktopAndSaveAsReportWhatHappened) {
  open();
  view.setText("1.1.1.1 中.com\r\n", true);
  command(EditorCommand::SaveToDesktop);
  command(EditorCommand::SaveToDesktop);  // replaces without asking
  EXPECT_EQ(fs.bytes(kDesktopCopy), toGbk("1.1.1.1 中.com\r\n"));
  EXPECT_EQ(texts(), (std::vector<std::string>{"编辑器中的内容已另存到桌面！", "编辑器中的内容已另存到桌面！"}));
  fs.readOnlyFiles.insert(test::FakeFileSystem::key(kDesktopCopy));
  command(EditorCommand::SaveToDesktop);
  EXPECT_EQ(lastBox().text, "抱歉，保存失败！");

  dialogs.answers = {std::nullopt, std::string("D:\\备份\\my.txt"), std::string("D:\\备份\\my.txt")};
  command(EditorCommand::SaveAs);  // cancelled: nothing written, nothing said
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_TRUE(dialogs.requests[0].save);
  EXPECT_EQ(dialogs.requests[0].title, "另存编辑器中的文件");
  EXPECT_EQ(dialogs.requests[0].folder, folders.desktopPath);
  EXPECT_EQ(dialogs.requests[0].name, "hosts");
  EXPECT_EQ(prompt.shown.size(), 3u);
  command(EditorCommand::SaveAs);  // the folder does not exist: the write fails
  EXPECT_EQ(lastBox().text, "抱歉，保存失败！");
  EXPECT_FALSE(dialog.state.save);  // back to opening
  fs.addFolder("D:\\备份");
  command(EditorCommand::SaveAs);
  EXPECT_EQ(fs.bytes("D:\\备份\\my.txt"), toGbk("1.1.1.1 中.com\r\n"));
}

TEST_F(Editor, ImportKeepsTheDialogsLastNameAndTakesTextUpToNul) {
  open();
  fs.addFile("C:\\Users\\张三\\Desktop\\list.txt", toGbk("0.0.0.0 广告.com\r\n") + std::string("\0rest", 5));
  dialog.state.name = "C:\\Users\\张三\\Desktop\\list.txt";
  dialogs.answers = {std::string("C:\\Users\\张三\\Desktop\\list.txt")};
  command(EditorCommand::Import);
  EXPECT_EQ(prompt.shown[0].title, "指导");
  EXPECT_FALSE(dialogs.requests[0].save);
  EXPECT_EQ(dialogs.requests[0].title, "导入文本文件到编辑器");
  EXPECT_EQ(dialogs.requests[0].name, "C:\\Users\\张三\\Desktop\\list.txt");
  EXPECT_EQ(view.doc, "0.0.0.0 广告.com\r\n");
  EXPECT_TRUE(view.yellow);
  dialogs.answers = {std::string("C:\\none.txt")};
  command(EditorCommand::Import);
  EXPECT_EQ(lastBox().title, "抱歉！");
  EXPECT_EQ(view.doc, "0.0.0.0 广告.com\r\n");
}

TEST_F(Editor, FindNextStartsOneCharacterAfterTheSelectionAndNeverWraps) {
  open();
  view.setText("hosts 中文 hosts Hosts", true);
  view.sel = {0, 0};
  EXPECT_TRUE(editor.findNext("ho"));
  EXPECT_EQ(view.sel, (Selection{9, 2}));  // position 0 is skipped; positions count characters
  EXPECT_TRUE(editor.findNext("Hosts"));
  EXPECT_EQ(view.sel, (Selection{15, 5}));
  EXPECT_FALSE(editor.findNext("Hosts"));  // after the last: no wrap, the selection stays
  EXPECT_EQ(view.sel, (Selection{15, 5}));
  view.sel = {0, 0};
  EXPECT_TRUE(editor.findNext("文"));
  EXPECT_EQ(view.sel, (Selection{7, 1}));
  EXPECT_FALSE(editor.findNext(""));
  view.setText("only", true);
  EXPECT_FALSE(editor.findNext("only"));
}

TEST_F(Editor, QuickSearchSaysNotFoundForOneSecond) {
  open();
  view.setText("abc", true);
  view.quick = "zzz";
  editor.onCommand(EditorCommand::QuickSearch);
  rt.advance(200);
  EXPECT_EQ(view.quick, "错误，没有找到！");
  rt.advance(999);
  EXPECT_EQ(view.quick, "错误，没有找到！");
  rt.advance(1);
  EXPECT_EQ(view.quick, "");
  EXPECT_EQ(view.focus, std::vector<std::string>{"document"});
  rt.advance(1000);
  EXPECT_EQ(view.focus, (std::vector<std::string>{"document", "quick"}));
  view.quick = "c";
  command(EditorCommand::QuickSearch);
  EXPECT_EQ(view.sel, (Selection{2, 1}));
  EXPECT_EQ(view.quick, "c");
}

TEST_F(Editor, ReplaceAllAndTheCommentToggle) {
  open();
  view.setText("aaa", true);
  editor.replaceAll("aa", "b");
  EXPECT_EQ(view.doc, "ba");
  editor.replaceAll("", "x");
  EXPECT_EQ(view.doc, "ba");
  view.setText("abc\r\ndef", true);
  view.sel = {0, 8};
  command(EditorCommand::Comment);
  EXPECT_EQ(view.doc, "#abc\r\ndef");
  view.setText("x#abc#dy", true);
  view.sel = {1, 6};
  command(EditorCommand::Comment);
  EXPECT_EQ(view.doc, "xabcdy");
  view.sel = {2, 0};
  command(EditorCommand::Comment);
  EXPECT_EQ(view.doc, "xa#bcdy");
}

// The fault of a byte-wise replace on GBK text: "@" (0x40) is the second byte of 丂 (0x81 0x40).
TEST_F(Editor, ReplacingNeverTouchesTheSecondByteOfAChineseCharacter) {
  const std::string gbk = "\x81\x40@\x81\x5C\\\x81\x7C|a@b\r\n";
  fs.addFile(kHosts, gbk);
  open();
  editor.replaceAll("@", "");
  editor.replaceAll("\\", "/");
  editor.replaceAll("|", "");
  prompt.answers = {Answer::Yes};
  command(EditorCommand::Save);
  EXPECT_EQ(hostsBytes(),
            "\x81\x40\x81\x5C/\x81\x7C"
            "ab\r\n");
}

TEST_F(Editor, FindAndReplaceModesOpenTheSearchWindow) {
  int opened = 0;
  editor.openSearchWindow = [&] { ++opened; };
  command(EditorCommand::Replace);
  EXPECT_EQ(editor.searchMode(), SearchMode::Replace);
  command(EditorCommand::Find);
  EXPECT_EQ(editor.searchMode(), SearchMode::Search);
  EXPECT_EQ(opened, 2);
}

TEST_F(Editor, PackSaysItIsNotAvailableUntilThereIsABuilder) {
  open();
  command(EditorCommand::Pack);
  EXPECT_EQ(lastBox().text, "打包功能尚未开放，将在后续版本中提供。");
  EXPECT_FALSE(view.stripVisible);
  int built = 0;
  editor.packBuilder = [&] { ++built; };
  random.value = 7;
  view.width = 700;
  editor.onCommand(EditorCommand::Pack);
  EXPECT_EQ(random.calls.back(), (std::pair<int, int>{5, 20}));
  rt.advance(3);
  EXPECT_EQ(view.stripWidth, 21);
  rt.runUntilIdle();
  EXPECT_EQ(built, 1);
  EXPECT_EQ(view.stripWidth, 707);  // the first width past the window's
}

struct Search : Editor {
  test::FakeSearchView win;
  SearchLogic search{rt, win, editor};
};

TEST_F(Search, LaysOutFromTheModeAndTitlesTheResult) {
  editor.onCommand(EditorCommand::Replace);
  search.onCreated();
  EXPECT_EQ(win.layouts, std::vector<SearchMode>{SearchMode::Replace});
  view.setText("a.com b.com", true);
  win.search = "b.com";
  search.onCommand(SearchCommand::Find);
  rt.advance(199);
  EXPECT_EQ(win.title, "搜索替换");
  rt.advance(1);
  EXPECT_EQ(win.title, "找到内容：b.com");
  EXPECT_EQ(view.sel, (Selection{6, 5}));
  search.onCommand(SearchCommand::FindByEnter);
  rt.advance(200);
  EXPECT_EQ(win.title, "错误，没有找到！");
  EXPECT_EQ(view.sel, (Selection{6, 5}));
  EXPECT_EQ(win.focus.back(), "document");
  rt.advance(1000);
  EXPECT_EQ(win.focus.back(), "search");
  win.find = ".com";
  win.replacement = ".net";
  search.onCommand(SearchCommand::ReplaceAll);
  EXPECT_EQ(view.doc, "a.net b.net");
  EXPECT_TRUE(view.yellow);
}

}  // namespace
}  // namespace zk
