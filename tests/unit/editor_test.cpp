#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

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
  // Once edited, the document is written as its text in GBK, but only after a question that says
  // that the bytes its text does not give back will change. No writes nothing.
  view.sel = {0, 0};
  view.type("# 注释 ");
  prompt.shown.clear();
  prompt.answers = {Answer::Yes, Answer::No};
  command(EditorCommand::Save);
  EXPECT_EQ(hostsBytes(), odd);
  ASSERT_EQ(prompt.shown.size(), 2u);
  EXPECT_EQ(prompt.shown[1].text, "原文件中有无法识别的字节，保存后这些字节将被改写，与原文件不同。仍要保存吗？");
  EXPECT_EQ(prompt.shown[1].title, "询问");
  EXPECT_EQ(prompt.shown[1].flags, box::YesNo);
  prompt.answers = {Answer::Yes, Answer::Yes};
  command(EditorCommand::Save);
  const std::string typed = toGbk("# 注释 ");
  EXPECT_EQ(hostsBytes().substr(0, typed.size() + 1), typed + "1");
  EXPECT_EQ(lastBox().text, "保存完毕！");
}

// A UTF-8 file, with or without its mark, goes back as UTF-8: after an edit on one line every
// other byte is as it was, by every command that writes the document.
TEST_F(Editor, AUtf8FileEditedOnOneLineKeepsEveryOtherByte) {
  const std::string file = "# 中文注释\n127.0.0.1 localhost\n# 广告 \xF0\x9F\x98\x80\n0.0.0.0 ad.example\n";
  const std::string edited = "# 中文注释\n#127.0.0.1 localhost\n# 广告 \xF0\x9F\x98\x80\n0.0.0.0 ad.example\n";
  for (std::string mark : {"", "\xEF\xBB\xBF"}) {
    fs.addFile(kHosts, mark + file);
    open();
    EXPECT_EQ(view.doc, file);
    EXPECT_FALSE(view.yellow);
    view.sel = {7, 0};  // the start of the second line
    view.type("#");
    prompt.shown.clear();
    prompt.answers = {Answer::Yes};
    command(EditorCommand::Save);
    EXPECT_EQ(hostsBytes(), mark + edited);
    EXPECT_EQ(texts(), (std::vector<std::string>{"本操作将会覆盖系统现有的Hosts文件，继续吗？", "保存完毕！"}));
    command(EditorCommand::SaveToDesktop);
    EXPECT_EQ(fs.bytes(kDesktopCopy), mark + edited);
  }
  // Imported, it is written back as it came too.
  fs.addFile("C:\\u.txt", file);
  dialogs.answers = {std::string("C:\\u.txt")};
  command(EditorCommand::Import);
  EXPECT_EQ(view.doc, file);
  command(EditorCommand::SaveToDesktop);
  EXPECT_EQ(fs.bytes(kDesktopCopy), file);
}

// Characters GBK cannot hold would be written as "?": only after a question; No writes nothing.
// A file of ASCII only is GBK, and what is typed into it is written in GBK.
TEST_F(Editor, CharactersGbkCannotHoldAreWrittenOnlyAfterAQuestion) {
  fs.addFile(kHosts, "a.com\r\n");
  open();
  view.sel = {0, 0};
  view.type("中");
  prompt.answers = {Answer::Yes};
  command(EditorCommand::Save);
  EXPECT_EQ(hostsBytes(), toGbk("中") + "a.com\r\n");
  view.type("\xF0\x9F\x98\x80");
  prompt.shown.clear();
  prompt.answers = {Answer::Yes, Answer::No};
  command(EditorCommand::Save);
  EXPECT_EQ(hostsBytes(), toGbk("中") + "a.com\r\n");
  EXPECT_EQ(texts(), (std::vector<std::string>{"本操作将会覆盖系统现有的Hosts文件，继续吗？",
                                               "编辑器中有GBK编码无法保存的字符，保存后它们将变成“?”。仍要保存吗？"}));
  command(EditorCommand::SaveToDesktop);  // No again: nothing written, nothing said
  EXPECT_FALSE(fs.fileExists(kDesktopCopy));
  EXPECT_EQ(prompt.shown.size(), 3u);
  prompt.answers = {Answer::Yes};
  command(EditorCommand::SaveToDesktop);
  EXPECT_EQ(fs.bytes(kDesktopCopy), toGbk("中") + "?a.com\r\n");
}

TEST(DocumentEncoding, OnlyWellFormedUtf8WithAMultiByteCharacterIsUtf8) {
  EXPECT_EQ(encodingOf("127.0.0.1 a\r\n"), TextEncoding::Gbk);
  EXPECT_EQ(encodingOf("# \xE4\xB8\xAD\n"), TextEncoding::Utf8);
  EXPECT_EQ(encodingOf("\xEF\xBB\xBF# a\n"), TextEncoding::Utf8WithMark);
  EXPECT_EQ(encodingOf(toGbk("# 中文注释\r\n")), TextEncoding::Gbk);
  // Overlong forms, surrogates, beyond U+10FFFF, a sequence cut short, a stray continuation.
  for (std::string bad :
       {"\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE4\xB8", "\x80", "\xF8\x88\x80\x80\x80"}) {
    EXPECT_FALSE(isUtf8("a" + bad + "b")) << bad;
    EXPECT_EQ(encodingOf("\xE4\xB8\xAD" + bad), TextEncoding::Gbk) << bad;
  }
  EXPECT_TRUE(isUtf8("\xF4\x8F\xBF\xBF\xED\x9F\xBF\xC2\x80"));
  // A marked file that is not UTF-8 after its mark: shown with replacement characters, and it
  // does not come back from its text.
  DecodedFile marked = decodeFile(
      "\xEF\xBB\xBF"
      "a\xFF\n");
  EXPECT_EQ(marked.text, "a\xEF\xBF\xBD\n");
  EXPECT_FALSE(marked.comesBack);
  EXPECT_EQ(encodeText("a", TextEncoding::Utf8WithMark),
            "\xEF\xBB\xBF"
            "a");
}

// A rectangular (Alt+drag) selection is toggled as the one stream selection between its limits.
TEST_F(Editor, TheCommentToggleTakesARectangularSelectionAsOneStream) {
  open();
  view.setText("abcd\r\nefgh\r\nijkl", true);
  view.pieces = {{1, 2}, {7, 2}};  // "bc" and "fg"
  command(EditorCommand::Comment);
  EXPECT_EQ(view.doc, "a#bcd\r\nefgh\r\nijkl");
  view.pieces = {{1, 5}, {7, 2}};
  command(EditorCommand::Comment);
  EXPECT_EQ(view.doc, "abcd\r\nefgh\r\nijkl");
}

// Nothing larger than the editor holds is read into it: said as a file it cannot read.
TEST(EditorLimits, ATooLargeFileIsNotRead) {
  struct HugeFiles : test::FakeFileSystem {
    std::int64_t fileSize(const std::string&) override { return (std::int64_t{256} << 20) + 1; }
    std::optional<std::string> readFile(const std::string& path) override {
      ++reads;
      return FakeFileSystem::readFile(path);
    }
    int reads = 0;
  };
  test::EditorBench b;
  HugeFiles files;
  files.addFolder("C:\\Windows\\System32\\drivers\\etc");
  files.addFile(b.kHosts, "a\r\n");
  HostsAccess hosts{b.rt, files, b.values};
  test::FakeEditorView v;
  EditorLogic e{EditorServices{b.rt, hosts, b.prompt, b.clipboard, b.folders, b.random, b.dialog}, v, b.main};
  v.onChange = [&] { e.onTextChanged(); };
  e.onCreated();
  b.rt.runUntilIdle();
  EXPECT_EQ(v.doc, "系统Hosts文件暂时无法读取。可稍后点击上方 读取。");
  EXPECT_EQ(files.reads, 0);
  files.addFile("C:\\big.txt", "x");
  b.dialogs.answers = {std::string("C:\\big.txt")};
  e.onCommand(EditorCommand::Import);
  b.rt.runUntilIdle();
  EXPECT_EQ(b.prompt.shown.back().text, "抱歉，这个文件无法读取！");
  EXPECT_EQ(files.reads, 0);
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

// The eight commands share one slot: a save whose write is on a worker runs to its end and
// reports; another command meanwhile is ignored.
TEST_F(Editor, ACommandDuringASaveNeverStopsIt) {
  fs.addFile(kHosts, "a\r\n");
  open();
  view.type("b");
  rt.workDelayMs = 50;  // each worker step takes its time
  prompt.answers = {Answer::Yes};
  editor.onCommand(EditorCommand::Save);
  rt.advance(60);  // converted; the write is on the worker
  clipboard.content.reset();
  // 读取 too: its text would replace the edits, which the save may yet fail to write.
  for (EditorCommand c : {EditorCommand::Copy, EditorCommand::SaveToDesktop, EditorCommand::Clear, EditorCommand::Load})
    editor.onCommand(c);
  rt.runUntilIdle();
  EXPECT_EQ(texts(), (std::vector<std::string>{"本操作将会覆盖系统现有的Hosts文件，继续吗？", "保存完毕！"}));
  EXPECT_EQ(hostsBytes(), "ba\r\n");
  EXPECT_FALSE(clipboard.content.has_value());
  EXPECT_EQ(view.doc, "ba\r\n");
  command(EditorCommand::Copy);  // once it has ended, commands run again
  EXPECT_EQ(clipboard.content, "ba\r\n");
}

// 读取 during a save that then fails would leave the user with the old file's text.
TEST_F(Editor, AReloadDuringASaveIsIgnoredSoAFailedSaveKeepsTheEdits) {
  fs.addFile(kHosts, "a\r\n");
  open();
  view.type("b");
  fs.attributes[test::FakeFileSystem::key(kHosts)] = 1;  // read-only: the write fails
  rt.workDelayMs = 50;
  prompt.answers = {Answer::Yes};
  editor.onCommand(EditorCommand::Save);
  rt.advance(60);
  editor.onCommand(EditorCommand::Load);
  rt.runUntilIdle();
  EXPECT_EQ(lastBox().text, "抱歉，保存失败！");
  EXPECT_EQ(view.doc, "ba\r\n");
  EXPECT_TRUE(view.yellow);
}

// The close waits for a write under way, which reports, then asks its own question.
TEST_F(Editor, CloseDuringASaveWaitsForItsWrite) {
  fs.addFile(kHosts, "a\r\n");
  open();
  view.type("b");
  rt.workDelayMs = 50;
  prompt.answers = {Answer::Yes};
  editor.onCommand(EditorCommand::Save);
  rt.advance(60);
  editor.onCommand(EditorCommand::Close);
  rt.runUntilIdle();
  EXPECT_EQ(texts(), (std::vector<std::string>{"本操作将会覆盖系统现有的Hosts文件，继续吗？", "保存完毕！",
                                               "内容已被更改，是否保存到系统中？"}));
  EXPECT_EQ(hostsBytes(), "ba\r\n");
  EXPECT_EQ(view.closed, 1);
}

// Everything that is not a write stops when the window closes, by "×" or by "获取数据": no
// worker's result reaches the window afterwards.
TEST_F(Editor, TheClosePathStopsLoadsAndImports) {
  int fetches = 0;
  editor.startFetch = [&] { ++fetches; };
  fs.addFile(kHosts, "a\r\n");
  rt.workDelayMs = 50;
  editor.onCreated();
  rt.advance(10);  // the file is being read
  editor.onCommand(EditorCommand::Fetch);
  rt.runUntilIdle();
  EXPECT_EQ(view.doc, "");
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(view.afterClose, 0);
  EXPECT_EQ(fetches, 1);
  EXPECT_TRUE(prompt.shown.empty());

  test::EditorBench b;
  test::FakeEditorView v;
  EditorLogic e{EditorServices{b.rt, b.hosts, b.prompt, b.clipboard, b.folders, b.random, b.dialog}, v, b.main};
  v.onChange = [&] { e.onTextChanged(); };
  b.fs.addFile(b.kHosts, "a\r\n");
  b.fs.addFile("C:\\list.txt", "0.0.0.0 x\r\n");
  e.onCreated();
  b.rt.runUntilIdle();
  b.rt.workDelayMs = 50;
  b.dialogs.answers = {std::string("C:\\list.txt")};
  e.onCommand(EditorCommand::Import);
  b.rt.advance(10);
  e.onCommand(EditorCommand::Close);
  b.rt.runUntilIdle();
  EXPECT_EQ(v.doc, "a\r\n");
  EXPECT_EQ(v.closed, 1);
  EXPECT_EQ(v.afterClose, 0);
  EXPECT_EQ(b.prompt.shown.size(), 1u);  // the import's guidance only: nothing changed
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
  // Saved as "Unicode": refused as unreadable, not taken as the byte or two before its first NUL.
  fs.addFile("C:\\u16.txt", std::string("\xFF\xFE"
                                        "1\0.\0"
                                        "1\0",
                                        8));
  dialogs.answers = {std::string("C:\\u16.txt")};
  std::size_t boxes = prompt.shown.size();
  command(EditorCommand::Import);
  EXPECT_EQ(prompt.shown.size(), boxes + 2);  // the guidance, then the failure
  EXPECT_EQ(lastBox().text, "抱歉，这个文件无法读取！");
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
  // Case counts: "Hosts" passes over "hosts" and "HOSTS" to the "Hosts" after them.
  view.setText("x hosts HOSTS Hosts", true);
  view.sel = {0, 0};
  EXPECT_TRUE(editor.findNext("Hosts"));
  EXPECT_EQ(view.sel, (Selection{14, 5}));
  view.setText("x hosts", true);
  EXPECT_FALSE(editor.findNext("Hosts"));
  EXPECT_EQ(view.sel, (Selection{0, 0}));
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

TEST_F(Editor, PackHandsTheDocumentBytesOverOnceTheStripHasRun) {
  const std::string file = "127.0.0.1 a\r\n# \xD6\xD0\r\n";  // GBK, loaded as it is
  fs.addFile(kHosts, file);
  open();
  command(EditorCommand::Pack);
  EXPECT_EQ(lastBox().text, "打包功能尚未开放，将在后续版本中提供。");
  EXPECT_FALSE(view.stripVisible);
  std::vector<std::string> handed;
  editor.packDocument = [&](std::string bytes) { handed.push_back(std::move(bytes)); };
  random.value = 7;
  view.width = 700;
  editor.onCommand(EditorCommand::Pack);
  EXPECT_EQ(random.calls.back(), (std::pair<int, int>{5, 20}));
  rt.advance(3);
  EXPECT_EQ(view.stripWidth, 21);
  EXPECT_TRUE(handed.empty());
  editor.onCommand(EditorCommand::Pack);  // a second click while the strip runs changes nothing
  rt.runUntilIdle();
  EXPECT_EQ(handed, std::vector<std::string>{file});
  EXPECT_EQ(view.stripWidth, 707);  // the first width past the window's, until the build ends
  editor.packEnded();
  EXPECT_EQ(view.stripWidth, 0);

  // An edited document goes as a save would write it; an empty one as no bytes at all.
  view.sel = {0, 0};
  view.type("#");
  command(EditorCommand::Pack);
  EXPECT_EQ(handed.back(), "#" + file);
  prompt.answers = {Answer::Yes};
  command(EditorCommand::Clear);
  command(EditorCommand::Pack);
  EXPECT_EQ(handed.back(), "");
  EXPECT_EQ(handed.size(), 3u);
}

TEST_F(Editor, OnlyTheCloseStopsAPackFetchLetsItFinish) {
  for (EditorCommand leave : {EditorCommand::Fetch, EditorCommand::Close}) {
    test::EditorBench b;
    test::FakeEditorView v;
    EditorLogic e{EditorServices{b.rt, b.hosts, b.prompt, b.clipboard, b.folders, b.random, b.dialog}, v, b.main};
    int stops = 0;
    e.stopPack = [&] { ++stops; };
    e.packDocument = [](std::string) {};
    b.fs.addFile(b.kHosts, "a\r\n");
    e.onCreated();
    b.rt.runUntilIdle();
    e.onCommand(leave);
    b.rt.runUntilIdle();
    EXPECT_EQ(stops, leave == EditorCommand::Close ? 1 : 0);
  }
}

// The close stops the pack it started; when the close then stays (its save failed), the strip
// says so instead of standing full as if the pack went on.
TEST_F(Editor, AStoppedPackLeavesNoStripBehindAnEditorThatStays) {
  fs.addFile(kHosts, "a\r\n");
  open();
  int stops = 0;
  editor.stopPack = [&] { ++stops; };
  editor.packDocument = [](std::string) {};
  command(EditorCommand::Pack);  // handed over: the build runs on
  view.type("b");
  fs.attributes[test::FakeFileSystem::key(kHosts)] = 1;  // read-only: the close's save fails
  prompt.answers = {Answer::Yes, Answer::Yes};
  command(EditorCommand::Close);
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(view.closed, 0);
  EXPECT_FALSE(view.stripVisible);
  EXPECT_EQ(view.stripWidth, 0);
}

TEST_F(Editor, ASaveAskedDuringTheStripMeansNoPack) {
  fs.addFile(kHosts, "a\r\n");
  open();
  int handed = 0;
  editor.packDocument = [&](std::string) { ++handed; };
  editor.onCommand(EditorCommand::Pack);
  rt.advance(2);
  prompt.answers = {Answer::Yes};
  rt.workDelayMs = 1000;
  editor.onCommand(EditorCommand::Save);  // its write is still on a worker when the strip runs out
  rt.runUntilIdle();
  EXPECT_EQ(handed, 0);
  EXPECT_EQ(view.stripWidth, 0);
  EXPECT_EQ(lastBox().text, "保存完毕！");
}

TEST_F(Editor, PackRefusesAStatusText) {
  fs.addFile(kHosts, "");
  open();
  int handed = 0;
  editor.packDocument = [&](std::string) { ++handed; };
  command(EditorCommand::Pack);
  EXPECT_EQ(handed, 0);
  EXPECT_EQ(lastBox().text, "编辑器中只有提示文字，不是系统Hosts文件的内容，未打包。");
  EXPECT_EQ(view.stripWidth, 0);
}

// A file that holds a NUL is shown up to it: what follows is not in the document, so writing the
// document (unchanged or edited) would cut the file there. That is said first; No writes nothing.
TEST_F(Editor, AFileCutAtANulIsNotWrittenCutWithoutAQuestion) {
  const std::string file = std::string("127.0.0.1 a\r\n\0", 14) + "0.0.0.0 b\r\n";
  fs.addFile(kHosts, file);
  open();
  ASSERT_EQ(view.doc, "127.0.0.1 a\r\n");
  EXPECT_FALSE(view.yellow);
  prompt.answers = {Answer::Yes, Answer::No};
  command(EditorCommand::Save);
  EXPECT_EQ(hostsBytes(), file);
  ASSERT_EQ(prompt.shown.size(), 2u);
  EXPECT_EQ(prompt.shown[1].text, "原文件中有无法识别的字节，保存后这些字节将被改写，与原文件不同。仍要保存吗？");
  view.sel = {0, 0};
  view.type("#");
  prompt.shown.clear();
  prompt.answers = {Answer::Yes, Answer::No};
  command(EditorCommand::Save);
  EXPECT_EQ(hostsBytes(), file);
  EXPECT_EQ(prompt.shown.size(), 2u);
  prompt.answers = {Answer::Yes, Answer::Yes};
  command(EditorCommand::Save);
  EXPECT_EQ(hostsBytes(), "#127.0.0.1 a\r\n");
}

// The question of "保存" is modal, and a reload started just before it can land while it is open.
// What is written is decided when the answer comes: a status text of the load is never written,
// nor the bytes of an earlier load over the file that is there now.
TEST(EditorStatus, ASaveAnsweredWhileAReloadShowsItsStatusWritesNothing) {
  struct DuringQuestion : test::FakePrompter {
    std::function<void()> during;
    Answer show(const std::string& text, const std::string& title, unsigned flags) override {
      if (auto d = std::exchange(during, nullptr)) d();
      return FakePrompter::show(text, title, flags);
    }
  };
  test::EditorBench b;
  DuringQuestion prompt;
  test::FakeEditorView v;
  EditorLogic e{EditorServices{b.rt, b.hosts, prompt, b.clipboard, b.folders, b.random, b.dialog}, v, b.main};
  v.onChange = [&] { e.onTextChanged(); };
  b.fs.addFile(b.kHosts, "old\r\n");
  e.onCreated();
  b.rt.runUntilIdle();
  v.type("x");
  b.fs.addFile(b.kHosts, "new\r\n");  // another program wrote the file since
  b.rt.workDelayMs = 50;
  e.onCommand(EditorCommand::Load);            // the read is on a worker
  prompt.during = [&] { b.rt.advance(100); };  // it lands during the question: "读取中..."
  prompt.answers = {Answer::Yes, Answer::Yes};
  e.onCommand(EditorCommand::Save);
  b.rt.runUntilIdle();
  EXPECT_EQ(b.hostsBytes(), "new\r\n");
  EXPECT_EQ(v.doc, "new\r\n");
  EXPECT_NE(prompt.shown.back().text, "保存完毕！");
}

// Bytes of a marked UTF-8 file that are not UTF-8 are shown as U+FFFD. Cleared (or pasted over)
// and then undone, the document holds them again: they are still written only after the question.
TEST_F(Editor, UnreadBytesBroughtBackByUndoAreStillAskedAbout) {
  const std::string file = "\xEF\xBB\xBF# a\xFF\r\n127.0.0.1 b\r\n";
  for (EditorCommand over : {EditorCommand::Clear, EditorCommand::Paste}) {
    fs.addFile(kHosts, file);
    open();
    clipboard.content = "1.2.3.4 c\r\n";
    prompt.answers = {Answer::Yes};
    command(over);
    ASSERT_EQ(view.doc.find("127.0.0.1"), std::string::npos);
    view.undoLast();
    view.sel = {0, 0};
    view.type("#");
    prompt.shown.clear();
    prompt.answers = {Answer::Yes, Answer::No};
    command(EditorCommand::Save);
    EXPECT_EQ(hostsBytes(), file);
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1].text, "原文件中有无法识别的字节，保存后这些字节将被改写，与原文件不同。仍要保存吗？");
  }
}

// An import undone brings back the text of the system file: it is written in that file's encoding,
// not in the encoding of the file that was imported and undone.
TEST_F(Editor, AnUndoneImportDoesNotChangeTheEncodingOfTheSystemFile) {
  const std::string file = toGbk("# 中文注释\r\n127.0.0.1 a\r\n");
  fs.addFile(kHosts, file);
  open();
  fs.addFile("C:\\u.txt", "# 广告\n0.0.0.0 x\n");
  dialogs.answers = {std::string("C:\\u.txt")};
  command(EditorCommand::Import);
  ASSERT_EQ(view.doc, "# 广告\n0.0.0.0 x\n");
  view.undoLast();
  rt.runUntilIdle();
  EXPECT_FALSE(view.yellow);
  prompt.answers = {Answer::Yes};
  command(EditorCommand::Save);
  EXPECT_EQ(hostsBytes(), file);
  view.sel = {0, 0};
  view.type("#");
  prompt.answers = {Answer::Yes};
  command(EditorCommand::Save);
  EXPECT_EQ(hostsBytes(), "#" + file);
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

// The fetch that 获取数据 starts may show a message box, whose message loop frees the closed
// editor: it starts only once the editor's own close has returned.
TEST(EditorLifetime, TheFetchStartsAfterTheCloseThatFreesTheEditor) {
  test::EditorBench b;
  b.fs.addFile(b.kHosts, "a\r\n");
  test::FakeEditorView view;
  auto editor = std::make_unique<EditorLogic>(
      EditorServices{b.rt, b.hosts, b.prompt, b.clipboard, b.folders, b.random, b.dialog}, view, b.main);
  int fetches = 0;
  editor->startFetch = [&] {
    editor.reset();  // as the message loop of the fetch's box would
    ++fetches;
  };
  editor->onCreated();
  b.rt.runUntilIdle();
  editor->onCommand(EditorCommand::Fetch);
  b.rt.runUntilIdle();
  EXPECT_EQ(fetches, 1);
  EXPECT_EQ(editor, nullptr);
  EXPECT_EQ(view.closed, 1);
}

}  // namespace zk
