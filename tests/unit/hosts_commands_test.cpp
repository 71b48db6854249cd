#include <gtest/gtest.h>

#include "resources/fixed_texts.h"
#include "tests/unit/editor_fixture.h"
#include "text/gbk.h"

namespace zk {
namespace {

struct AddEntry : ::testing::Test, test::EditorBench {
  test::FakeAddEntryView win;
  AddEntryLogic logic{rt, win, hosts, prompt};
  AddEntry() {
    win.onDomainChange = [this] { logic.onCommand(AddEntryCommand::DomainChanged); };
  }
  void confirm(const std::string& ip, const std::string& domain) {
    win.ipText = ip;
    win.domainText = domain;
    logic.onCommand(AddEntryCommand::Confirm);
    rt.runUntilIdle();
  }
};

TEST_F(AddEntry, PutsTheLineOnTopAndKeepsEverythingBelow) {
  fs.addFile(kHosts, "1.1.1.1 old.com\r\n");
  confirm("127.0.0.1", "www.中文.com");
  confirm("127.0.0.1", "www.中文.com");
  const std::string line = toGbk("127.0.0.1   www.中文.com\r\n");
  EXPECT_EQ(hostsBytes(), line + line + "1.1.1.1 old.com\r\n");
  EXPECT_EQ(lastBox().text, "增改成功！");
  EXPECT_EQ(lastBox().title, "恭喜");
  confirm("::1", "v6.example");
  EXPECT_EQ(hostsBytes().substr(0, 18), "::1   v6.example\r\n");
}

TEST_F(AddEntry, WithNoFileTheFileHoldsJustTheLine) {
  confirm("0.0.0.0", "ads.example.com");
  EXPECT_EQ(hostsBytes(), "0.0.0.0   ads.example.com\r\n");
}

TEST_F(AddEntry, RefusedInputWritesNothing) {
  fs.addFile(kHosts, "keep\r\n");
  struct Case {
    const char *ip, *domain, *message;
  };
  for (const Case& c :
       {Case{"", "a.com", "您尚未填写内容！"}, Case{"1.2.3.4", "", "您尚未填写内容！"},
        Case{"1.2.3.4", "localhost", "域名格式错误，请重新填写！"}, Case{"abc", "a.com", "IP格式错误，请重新填写！"},
        Case{"1.2.3.4 evil.com\r\n5.6.7.8", "a.com", "IP格式错误，请重新填写！"},
        Case{"1.2.3.4", "a.com\r\n6.6.6.6 bank.com", "域名格式错误，请重新填写！"}}) {
    confirm(c.ip, c.domain);
    EXPECT_EQ(lastBox().text, c.message) << c.ip << " " << c.domain;
    EXPECT_EQ(lastBox().title, "抱歉");
  }
  EXPECT_EQ(hostsBytes(), "keep\r\n");
}

TEST_F(AddEntry, AFileThatCannotBeReadOrWrittenStaysAsItIs) {
  fs.addFile(kHosts, "keep\r\n");
  fs.unreadableFiles.insert(test::FakeFileSystem::key(kHosts));
  confirm("1.2.3.4", "a.com");
  EXPECT_EQ(lastBox().text, "很遗憾，增改失败，请手动操作！");
  fs.unreadableFiles.clear();
  fs.attributes[test::FakeFileSystem::key(kHosts)] = 2;  // hidden
  confirm("1.2.3.4", "a.com");
  EXPECT_EQ(lastBox().text, "很遗憾，增改失败，请手动操作！");
  EXPECT_EQ(hostsBytes(), "keep\r\n");
}

// A UTF-16 ("Unicode") hosts file holds NULs: cut at the first one it would keep three bytes.
TEST_F(AddEntry, AFileHoldingANulIsNotCutButLeftAsItIs) {
  const std::string utf16(
      "\xFF\xFE"
      "1\0"
      "2\0"
      "7\0"
      ".\0"
      "0\0"
      " \0"
      "a\0"
      "\r\0"
      "\n\0",
      20);
  const std::string gbkWithNul = std::string("1.1.1.1 a.com\r\n\0", 16) + "2.2.2.2 b.com\r\n";
  for (const std::string& file : {utf16, gbkWithNul}) {
    fs.addFile(kHosts, file);
    confirm("1.2.3.4", "x.com");
    EXPECT_EQ(lastBox().text, "很遗憾，增改失败，请手动操作！");
    EXPECT_EQ(lastBox().title, "抱歉");
    EXPECT_EQ(hostsBytes(), file);
  }
}

TEST_F(AddEntry, BlanksAroundTheAddressGoAndTheNameMayHoldAliases) {
  fs.addFile(kHosts, "old\r\n");
  confirm("  1.2.3.4\t ", "a.com\twww.a.com");
  EXPECT_EQ(lastBox().text, "增改成功！");
  EXPECT_EQ(hostsBytes(), "1.2.3.4   a.com\twww.a.com\r\nold\r\n");
  confirm(" ", "a.com");
  EXPECT_EQ(lastBox().text, "您尚未填写内容！");
}

TEST_F(AddEntry, ANameGbkCannotHoldIsRefusedNotWrittenAsQuestionMarks) {
  fs.addFile(kHosts, "keep\r\n");
  for (const char* name : {"한국.kr", "emoji😀.com", "À.com"}) {
    confirm("1.2.3.4", name);
    EXPECT_EQ(lastBox().text, "域名格式错误，请重新填写！") << name;
  }
  EXPECT_EQ(hostsBytes(), "keep\r\n");
  confirm("1.2.3.4", "中文.com");
  EXPECT_EQ(hostsBytes(), toGbk("1.2.3.4   中文.com\r\n") + "keep\r\n");
}

// A double click on 确认: the second click comes while the first one's write is on a worker.
TEST_F(AddEntry, ASecondConfirmNeverStopsAWriteUnderWay) {
  fs.addFile(kHosts, "old\r\n");
  rt.workDelayMs = 50;
  win.ipText = "1.2.3.4";
  win.domainText = "a.com";
  logic.onCommand(AddEntryCommand::Confirm);
  rt.advance(60);  // read, and the write handed over
  logic.onCommand(AddEntryCommand::Confirm);
  rt.runUntilIdle();
  const std::string line = "1.2.3.4   a.com\r\n";
  std::size_t lines = 0;
  for (std::size_t at = hostsBytes().find(line); at != std::string::npos; at = hostsBytes().find(line, at + 1)) ++lines;
  // Every line that reached the file was reported.
  EXPECT_EQ(texts(), std::vector<std::string>(lines, "增改成功！"));
  EXPECT_EQ(lines, 1u);
}

// A file kept in UTF-8 stays UTF-8: the new line goes after its mark, in its encoding.
TEST_F(AddEntry, AUtf8FileGetsAUtf8LineAfterItsMark) {
  const std::string rest = "# 本机\r\n127.0.0.1 localhost\r\n";
  for (const std::string& mark : {std::string("\xEF\xBB\xBF"), std::string()}) {
    fs.addFile(kHosts, mark + rest);
    confirm("1.2.3.4", "中文.com");
    EXPECT_EQ(lastBox().text, "增改成功！");
    EXPECT_EQ(hostsBytes(), mark + "1.2.3.4   中文.com\r\n" + rest) << mark.size();
  }
  fs.addFile(kHosts, toGbk(rest));  // a GBK file stays GBK
  confirm("1.2.3.4", "中文.com");
  EXPECT_EQ(hostsBytes(), toGbk("1.2.3.4   中文.com\r\n" + rest));
}

TEST_F(AddEntry, TheNameBoxComesToRestInOneWrite) {
  win.typeDomain("http://www.a.com/path_x:8080");
  EXPECT_EQ(win.domainText, "www.a.com/pathx8080");
  EXPECT_EQ(win.domainWrites, 1);
  EXPECT_TRUE(win.domainCaretAtEnd);
  win.domainText.clear();
  win.typeDomain("HTTP://WWW.A。COM");
  EXPECT_EQ(win.domainText, "HTTP/WWW.A.COM");
  win.domainText.clear();
  win.typeDomain("https://b、c，d");
  EXPECT_EQ(win.domainText, "https/b.c，d");
  int writes = win.domainWrites;
  win.typeDomain("e");  // nothing to clean: no write, the caret goes to the end
  EXPECT_EQ(win.domainWrites, writes);
}

TEST_F(AddEntry, QuickInputsAndDoubleClicks) {
  logic.onCommand(AddEntryCommand::QuickSearch);
  EXPECT_EQ(win.domainText, "www.google.com");
  logic.onCommand(AddEntryCommand::QuickSocial);
  EXPECT_EQ(win.domainText, "www.facebook.com");
  logic.onCommand(AddEntryCommand::EmptyIp);
  EXPECT_EQ(win.ipText, "");
  logic.onCommand(AddEntryCommand::Quick127);
  EXPECT_EQ(win.ipText, "127.0.0.1");
  EXPECT_TRUE(win.ipCaretAtEnd);
  logic.onCommand(AddEntryCommand::EmptyDomain);
  EXPECT_EQ(win.domainText, "");
  logic.onCommand(AddEntryCommand::QuickSearch);
  logic.onCommand(AddEntryCommand::ClearBoth);
  EXPECT_EQ(win.ipText + win.domainText, "");
}

struct HostsFile : ::testing::Test, test::EditorBench {
  HostsCommands commands{HostsCommandServices{hosts, prompt, processes, shell, clipboard, folders, dialog}, values};
  void run(MainCommand c) {
    EXPECT_TRUE(commands.onCommand(c));
    rt.runUntilIdle();
  }
};

TEST_F(HostsFile, NotepadByItsFullPathWithTheFileQuoted) {
  run(MainCommand::OpenHostsFile);
  EXPECT_EQ(lastBox().text, "尚未发现Hosts文件，请到主界面一键获取！");
  EXPECT_EQ(lastBox().title, "抱歉");
  values.systemHostsPath = "D:\\my hosts\\hosts";
  fs.addFile(values.systemHostsPath, "a");
  run(MainCommand::OpenHostsFile);
  EXPECT_EQ(processes.startedNormal,
            std::vector<std::string>{"\"C:\\Windows\\system32\\notepad.exe\" \"D:\\my hosts\\hosts\""});
  EXPECT_TRUE(shell.opened.empty());
  processes.normalStarts = false;
  run(MainCommand::OpenHostsFile);
  EXPECT_EQ(shell.opened, std::vector<std::string>{"D:\\my hosts\\hosts"});
}

TEST_F(HostsFile, TheFolderIsTheParentOfThePath) {
  values.systemHostsPath = "D:\\myhosts\\hosts";
  run(MainCommand::OpenHostsFolder);
  EXPECT_EQ(shell.explored, std::vector<std::string>{"D:\\myhosts"});
}

TEST_F(HostsFile, ClearDeletesEvenAProtectedFileAndSaysWhenItCannot) {
  run(MainCommand::ClearHostsFile);
  EXPECT_EQ(lastBox().text, "尚未发现Hosts文件，无需删除！");
  EXPECT_EQ(lastBox().title, "恭喜！");
  fs.addFile(kHosts, "x");
  run(MainCommand::ClearHostsFile);  // No
  EXPECT_TRUE(fs.fileExists(kHosts));
  fs.attributes[test::FakeFileSystem::key(kHosts)] = 1 | 2 | 4;
  prompt.answers = {Answer::Yes};
  run(MainCommand::ClearHostsFile);
  EXPECT_FALSE(fs.fileExists(kHosts));
  EXPECT_EQ(lastBox().text, "清空完毕，已删除！");
  EXPECT_EQ(fs.bytes(values.dataFile("Backup") + "\\hosts.1.bak"), "x");  // kept where the writer keeps them
  fs.addFile(kHosts, "x");
  fs.readOnlyFiles.insert(test::FakeFileSystem::key(kHosts));  // in use: the delete fails
  prompt.answers = {Answer::Yes};
  run(MainCommand::ClearHostsFile);
  EXPECT_EQ(lastBox().text, "删除失败，请手动删除！");
  EXPECT_EQ(shell.explored, std::vector<std::string>{"C:\\Windows\\System32\\drivers\\etc"});
}

// The backup is the user's only copy once the file is gone: no backup, no delete.
TEST_F(HostsFile, ClearWithoutItsBackupDeletesNothing) {
  fs.addFile(kHosts, "1.1.1.1 mine.com\r\n");
  fs.addFile(values.dataFile("Backup"), "a file in the way of the folder");
  prompt.answers = {Answer::Yes};
  run(MainCommand::ClearHostsFile);
  EXPECT_EQ(hostsBytes(), "1.1.1.1 mine.com\r\n");
  EXPECT_EQ(lastBox().text, "删除失败，请手动删除！");
  EXPECT_EQ(lastBox().title, "抱歉");
  EXPECT_EQ(shell.explored, std::vector<std::string>{"C:\\Windows\\System32\\drivers\\etc"});
}

TEST_F(HostsFile, SaveCopyCopiesEveryByteWhileCopyAllStopsAtNul) {
  run(MainCommand::SaveHostsCopy);
  EXPECT_EQ(lastBox().title, "抱歉！");
  fs.addFile(kHosts, "");
  run(MainCommand::SaveHostsCopy);
  EXPECT_EQ(lastBox().text, "您的Hosts文件不包含任何内容，请到主界面一键获取！");
  run(MainCommand::CopyHostsFile);
  EXPECT_EQ(lastBox().text, "您的Hosts文件不包含任何内容，请到主界面一键获取！");
  const std::string bytes = toGbk("# 中文\r\n") + std::string("\0tail", 5);
  fs.addFile(kHosts, bytes);
  run(MainCommand::SaveHostsCopy);
  EXPECT_EQ(fs.bytes(kDesktopCopy), bytes);
  EXPECT_EQ(prompt.shown.back().title, "指导！");
  run(MainCommand::CopyHostsFile);
  EXPECT_EQ(clipboard.content, "# 中文\r\n");
  EXPECT_EQ(lastBox().text, "已复制到粘贴板，您可以粘贴到各类渠道上！");
  fs.readOnlyFiles.insert(test::FakeFileSystem::key(kDesktopCopy));
  prompt.shown.clear();
  run(MainCommand::SaveHostsCopy);
  EXPECT_EQ(texts(), std::vector<std::string>{"很遗憾，另存失败，请手动操作！"});
}

// A hosts file kept in UTF-8 is copied as its text, not as its bytes read as GBK.
TEST_F(HostsFile, CopyAllOfAUtf8FileCopiesItsText) {
  for (const std::string& mark : {std::string("\xEF\xBB\xBF"), std::string()}) {
    fs.addFile(kHosts, mark + "# 本机\r\n127.0.0.1 localhost\r\n");
    run(MainCommand::CopyHostsFile);
    EXPECT_EQ(clipboard.content, "# 本机\r\n127.0.0.1 localhost\r\n") << mark.size();
  }
}

TEST_F(HostsFile, ImportWritesTheTextUpToNulAndFailsOnAProtectedFile) {
  const std::string chosen = "C:\\Users\\张三\\Desktop\\new.txt";
  fs.addFile(chosen, std::string("\0abc", 4));
  fs.addFile(kHosts, "old");
  dialogs.answers = {std::nullopt, chosen};
  run(MainCommand::ImportHostsFile);  // cancelled
  EXPECT_EQ(hostsBytes(), "old");
  EXPECT_EQ(dialogs.requests[0].title, "请导入包含标准Hosts规范的文件");
  EXPECT_FALSE(dialogs.requests[0].save);
  run(MainCommand::ImportHostsFile);
  EXPECT_EQ(hostsBytes(), "");
  EXPECT_EQ(lastBox().text, "文件导入完成！");
  EXPECT_EQ(dialogs.requests[1].name, "");  // the field keeps what it last held
  fs.addFile(chosen, "1.2.3.4 a.com");
  fs.attributes[test::FakeFileSystem::key(kHosts)] = 1;
  dialogs.answers = {chosen};
  run(MainCommand::ImportHostsFile);
  EXPECT_EQ(dialogs.requests[2].name, chosen);
  EXPECT_EQ(hostsBytes(), "");
  EXPECT_EQ(lastBox().text, "很遗憾，导入失败，请手动操作！");
  EXPECT_EQ(shell.explored.size(), 1u);
  fs.attributes.clear();
  fs.unreadableFiles.insert(test::FakeFileSystem::key(chosen));
  fs.addFile(kHosts, "keep");
  dialogs.answers = {chosen};
  run(MainCommand::ImportHostsFile);
  EXPECT_EQ(hostsBytes(), "keep");  // an unreadable file is not an empty one
}

TEST_F(HostsFile, AFileThatCannotBeReadIsAFailureNotAnEmptyFile) {
  fs.addFile(kHosts, "1.1.1.1 a.com\r\n");
  fs.unreadableFiles.insert(test::FakeFileSystem::key(kHosts));
  run(MainCommand::SaveHostsCopy);
  run(MainCommand::CopyHostsFile);
  EXPECT_EQ(texts(), (std::vector<std::string>{"很遗憾，另存失败，请手动操作！", "很遗憾，复制失败，请手动操作！"}));
  EXPECT_FALSE(fs.fileExists(kDesktopCopy));
  EXPECT_FALSE(clipboard.content);
}

TEST_F(HostsFile, ImportOfAUtf16FileFailsAndLeavesTheSystemFile) {
  const std::string chosen = "C:\\Users\\张三\\Desktop\\unicode.txt";
  fs.addFile(kHosts, "keep");
  for (const std::string& marked : {std::string("\xFF\xFE"
                                                "1\0.\0",
                                                6),
                                    std::string("\xFE\xFF\0"
                                                "1\0.",
                                                6)}) {
    fs.addFile(chosen, marked);
    dialogs.answers = {chosen};
    run(MainCommand::ImportHostsFile);
    EXPECT_EQ(lastBox().text, "很遗憾，导入失败，请手动操作！");
    EXPECT_EQ(hostsBytes(), "keep");
  }
  EXPECT_EQ(shell.explored.size(), 2u);
}

// The import's write is on a worker when 清空文件 is clicked: the click is ignored, the import
// ends and reports, and the file is not deleted under it (nor recreated after "已删除").
TEST_F(HostsFile, ACommandOfTheRowNeverStopsOneThatRuns) {
  const std::string chosen = "C:\\Users\\张三\\Desktop\\new.txt";
  fs.addFile(chosen, "1.2.3.4 a.com\r\n");
  fs.addFile(kHosts, "old");
  dialogs.answers = {chosen};
  rt.workDelayMs = 50;
  EXPECT_TRUE(commands.onCommand(MainCommand::ImportHostsFile));
  rt.advance(60);  // read, and the write handed over
  prompt.answers = {Answer::Yes};
  EXPECT_TRUE(commands.onCommand(MainCommand::ClearHostsFile));
  EXPECT_TRUE(commands.onCommand(MainCommand::RestoreHostsFile));
  rt.runUntilIdle();
  EXPECT_EQ(hostsBytes(), "1.2.3.4 a.com\r\n");
  EXPECT_EQ(lastBox().text, "文件导入完成！");
  prompt.shown.clear();
  run(MainCommand::ClearHostsFile);  // once it is over, the row takes commands again
  EXPECT_EQ(texts(), (std::vector<std::string>{"此操作将会清空您的本地Hosts文件，您继续吗？", "清空完毕，已删除！"}));
  EXPECT_FALSE(fs.fileExists(kHosts));
}

struct SizedFiles : test::FakeFileSystem {
  std::int64_t reported = -1;
  std::int64_t fileSize(const std::string& path) override {
    return reported >= 0 ? reported : FakeFileSystem::fileSize(path);
  }
};

Task<> readInto(HostsAccess& access, std::string path, std::optional<std::string>& out) {
  out = co_await access.read(std::move(path));
}

TEST(HostsAccessLimit, NoReadTakesMoreThan256Megabytes) {
  test::VirtualRuntime rt;
  SizedFiles fs;
  ProgramValues values;
  HostsAccess access{rt, fs, values};
  fs.addFile("C:\\big.txt", "1.1.1.1 a.com");
  std::optional<std::string> got;
  for (std::int64_t size : {256ll << 20, (256ll << 20) + 1}) {
    fs.reported = size;
    got = std::string("unset");
    rt.start(TaskSlot::HostsCommand, readInto(access, "C:\\big.txt", got));
    rt.runUntilIdle();
    EXPECT_EQ(got.has_value(), size == 256ll << 20) << size;
    EXPECT_EQ(HostsAccess::readWithinLimit(fs, "C:\\big.txt").has_value(), size == 256ll << 20);
  }
  EXPECT_TRUE(HostsAccess::withinReadLimit(256u << 20));
  EXPECT_FALSE(HostsAccess::withinReadLimit((256u << 20) + 1));
}

TEST_F(HostsFile, RestoreWritesTheDefaultOrPutsItOnTheDesktop) {
  prompt.answers = {Answer::Yes};
  run(MainCommand::RestoreHostsFile);
  EXPECT_EQ(hostsBytes(), texts::kWindowsDefaultHosts);
  EXPECT_EQ(hostsBytes().size(), 824u);
  EXPECT_EQ(lastBox().text, "恢复成功！");
  run(MainCommand::CopyHostsFile);
  EXPECT_EQ(clipboard.content, texts::kWindowsDefaultHosts);
  fs.addFile(kHosts, "mine");
  fs.attributes[test::FakeFileSystem::key(kHosts)] = 2;
  prompt.answers = {Answer::Yes};
  run(MainCommand::RestoreHostsFile);
  EXPECT_EQ(hostsBytes(), "mine");
  EXPECT_EQ(fs.bytes(kDesktopCopy), texts::kWindowsDefaultHosts);
  EXPECT_EQ(lastBox().text, "很遗憾，恢复失败，一个原生的Hosts已经保存到桌面，请将它自行覆盖！");
  run(MainCommand::RestoreHostsFile);  // No
  EXPECT_EQ(hostsBytes(), "mine");
}

TEST_F(HostsFile, TheWindowsOfTheRowAreNotItsOwn) {
  EXPECT_FALSE(commands.onCommand(MainCommand::Editor));
  EXPECT_FALSE(commands.onCommand(MainCommand::AddEntry));
  EXPECT_FALSE(commands.onCommand(MainCommand::Fetch));
}

}  // namespace
}  // namespace zk
