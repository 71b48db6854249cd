#include <gtest/gtest.h>

#include <sstream>

#include "resources/fixed_texts.h"
#include "tests/unit/script_bytes.h"
#include "tests/unit/startup_fixture.h"
#include "text/gbk.h"

namespace zk {
namespace {

using test::Program;

TEST(DeletableFolderPath, RefusesEmptyPathsAndDriveRoots) {
  for (const char* bad : {"", "   ", "C:", "c:\\", " D:\\", "\\", "C:\\\\"})
    EXPECT_FALSE(deletableFolderPath(bad).has_value()) << bad;
  EXPECT_EQ(deletableFolderPath("  C:\\a\\Tem"), "C:\\a\\Tem");
  EXPECT_EQ(deletableFolderPath("C:\\a\\Tem\\"), "C:\\a\\Tem");
}

TEST(TempFolder, RebuildWipesUserFilesAndWritesTheReadMe) {
  Program p;
  p.fs.addFile(p.data("Tem\\junk.txt"), "user file");
  p.fs.addFile(p.data("Tem\\sub\\deep.bat"), "x");
  p.fs.addFile(p.data("System.btx"), "[System]\r\n");
  p.start();
  EXPECT_EQ(p.fs.filesUnder(p.data("Tem")), std::vector<std::string>{"请勿随意删除本目录.txt"});
  std::string readMe = p.fs.bytes(p.data("Tem\\请勿随意删除本目录.txt"));
  EXPECT_EQ(readMe, toGbk(texts::kTempReadMe));
  EXPECT_EQ(readMe.substr(readMe.size() - 2), "\xA3\xA1");  // "！", no line break, no NUL
  EXPECT_EQ(readMe.find('\n'), std::string::npos);
}

TEST(TempFolder, RebuildPausesHalfASecondBetweenDeleteAndCreate) {
  Program p;
  p.values.dataFolder = test::kData;
  p.fs.addFile(p.data("Tem\\old.txt"), "x");
  p.rt.start(TaskSlot::TempRebuild, p.temp.rebuild());
  EXPECT_FALSE(p.fs.folderExists(p.data("Tem")));
  p.rt.advance(499);
  EXPECT_FALSE(p.fs.folderExists(p.data("Tem")));
  p.rt.advance(1);
  EXPECT_TRUE(p.fs.fileExists(p.data("Tem\\请勿随意删除本目录.txt")));
}

TEST(TempFolder, ALockedTemDoesNotStopStartUp) {
  Program p;
  p.fs.addFile(p.data("Tem\\in-use.txt"), "held");
  p.fs.undeletableFolders.insert(test::FakeFileSystem::key(p.data("Tem")));
  p.fs.readOnlyFiles.insert(test::FakeFileSystem::key(p.data("Tem\\请勿随意删除本目录.txt")));
  p.start();
  EXPECT_EQ(p.fs.bytes(p.data("Tem\\in-use.txt")), "held");
  EXPECT_TRUE(p.view.radioChecked(Server::Official));
}

TEST(TempFolder, NeverWipesATemOutsideAKnownDataFolder) {
  Program p;
  p.fs.addFile("C:\\Tem\\precious.doc", "keep");
  p.values.dataFolder = "";
  p.rt.start(TaskSlot::TempRebuild, p.temp.rebuild());
  p.rt.runUntilIdle();
  EXPECT_EQ(p.fs.bytes("C:\\Tem\\precious.doc"), "keep");
  EXPECT_FALSE(p.temp.writeScript("Dnscache.bat", "x"));
}

TEST(TempFolder, DnscacheScriptIsRewrittenWholeThenStartedHiddenThenAwaited) {
  Program p;
  p.start();
  p.fs.writeFile(p.data("Tem\\Dnscache.bat"), "stale content that is longer than the script itself....");
  p.rt.start(TaskSlot::MainCommand, p.temp.runDnscacheScript());
  EXPECT_EQ(p.fs.bytes(p.data("Tem\\Dnscache.bat")), toGbk(test::kDnscacheOnDisk));  // whole, nothing stale left
  EXPECT_EQ(p.processes.waited, std::vector<std::string>{"\"C:\\Windows\\system32\\cmd.exe\" /d /c \"\"" +
                                                         p.data("Tem\\Dnscache.bat") + "\"\""});
  EXPECT_EQ(p.processes.folders, std::vector<std::string>{"C:\\Windows\\system32\\"});
  EXPECT_TRUE(p.rt.isRunning(TaskSlot::MainCommand));
  p.rt.advance(999);
  EXPECT_TRUE(p.rt.isRunning(TaskSlot::MainCommand));
  p.rt.advance(1);
  EXPECT_FALSE(p.rt.isRunning(TaskSlot::MainCommand));
  p.rt.start(TaskSlot::MainCommand, p.temp.runDnscacheScript());
  EXPECT_EQ(p.fs.bytes(p.data("Tem\\Dnscache.bat")), toGbk(test::kDnscacheOnDisk));
}

// Only a tool's placeholder that starts a line changes; a bare name, a placeholder elsewhere or
// an unknown one stays; with no system folder known there is no script at all.
TEST(ScriptTools, OnlyAPlaceholderThatStartsALineIsFilledWithTheToolsPath) {
  ProgramValues v;
  v.systemFolder = "D:\\W%x%\\system32\\";
  EXPECT_EQ(scriptWithToolPaths("echo {ping}\r\n{ping} -n 1 x\r\nping a\r\n{pinger} a\r\n{netsh}\r\n\r\n{sc} q", v),
            "echo {ping}\r\n\"D:\\W%%x%%\\system32\\ping.exe\" -n 1 x\r\nping a\r\n{pinger} a\r\n{netsh}\r\n\r\n"
            "\"D:\\W%%x%%\\system32\\sc.exe\" q");
  v.systemFolder.clear();
  EXPECT_EQ(scriptWithToolPaths("{net} stop x", v), std::nullopt);
}

// Every tool a fixed script starts is named by its placeholder: filled in, no line of the written
// script starts a tool by its bare name.
TEST(ScriptTools, FixedScriptsStartNoToolByItsBareName) {
  ProgramValues v;
  v.systemFolder = "C:\\Windows\\system32\\";
  for (const char* text : {texts::kDnscacheBat, texts::kRestartNetworkBat, texts::kZdIpDnsBat}) {
    std::string script = scriptWithToolPaths(text, v).value();
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);)
      for (std::string tool : {"net", "sc", "netsh", "ping", "ipconfig"})
        EXPECT_NE(line.rfind(tool + " ", 0), 0u) << line;
    EXPECT_EQ(script.find('{'), std::string::npos) << script;
  }
}

}  // namespace
}  // namespace zk
