// The real Windows implementations, run under Wine (or Windows) against a scratch folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/ini_file.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_runtime.h"
#include "resources/fixed_texts.h"
#include "sync/hosts_file.h"
#include "tests/support/gbk_corpus.h"
#include "text/gbk.h"
#include "text/text.h"

namespace zk {
namespace {

using namespace win;

struct Scratch : ::testing::Test {
  Win32FileSystem fs;
  std::string root;
  void SetUp() override {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    root = narrow(tmp) + "zelkora测试_" + std::to_string(GetCurrentProcessId());
    fs.deleteFolderTree(root);
    ASSERT_TRUE(fs.createFolder(root));
  }
  void TearDown() override { fs.deleteFolderTree(root); }
};

// Texts longer than the conversion functions' int go in pieces; no character is cut between two.
TEST(Wide, LongTextsConvertWholeAcrossPieceBoundaries) {
  const std::size_t piece = std::size_t{1} << 26;
  for (std::size_t lead : {piece - 1, piece - 2}) {
    std::string utf8(lead, 'a');
    utf8 += "中😀b";  // three bytes, then a pair of UTF-16 halves, around the boundary
    std::wstring wide = widen(utf8);
    ASSERT_EQ(wide.size(), lead + 4);
    EXPECT_EQ(wide.substr(lead), L"中\U0001F600b");
    EXPECT_EQ(narrow(wide), utf8);
  }
}

TEST_F(Scratch, FilesWithChineseNamesRoundTripByteForByte) {
  std::string folder = root + "\\数据目录";
  EXPECT_TRUE(fs.createFolder(folder));
  EXPECT_TRUE(fs.createFolder(folder));  // existing: no error
  std::string path = folder + "\\请勿随意删除本目录.txt";
  std::string bytes("GBK\xC4\xE3\xBA\xC3\0tail\r\n", 13);
  ASSERT_TRUE(fs.writeFile(path, bytes));
  EXPECT_EQ(fs.readFile(path), bytes);
  EXPECT_TRUE(fs.fileExists(path));
  EXPECT_FALSE(fs.folderExists(path));
  EXPECT_TRUE(fs.folderExists(folder));
  EXPECT_FALSE(fs.fileExists(folder));
  EXPECT_EQ(fs.fileSize(path), 13);
  EXPECT_EQ(fs.fileSize(folder + "\\missing"), -1);
  EXPECT_EQ(fs.readFile(folder + "\\missing"), std::nullopt);
  ASSERT_TRUE(fs.writeFile(path, "x"));  // truncates
  EXPECT_EQ(fs.readFile(path), "x");
  ASSERT_TRUE(fs.writeFile(path, ""));
  EXPECT_EQ(fs.fileSize(path), 0);
  // The doubled backslash of "application data\" + "\Orvik" is accepted.
  EXPECT_TRUE(fs.createFolder(root + "\\\\Orvik"));
  EXPECT_TRUE(fs.folderExists(root + "\\Orvik"));
}

TEST_F(Scratch, ReadsInPiecesInOrderAndStopsWhenAsked) {
  std::string path = root + "\\大文件.txt";
  std::string bytes;
  for (int i = 0; i < 300000; ++i) bytes += std::to_string(i) + "\n";
  ASSERT_TRUE(fs.writeFile(path, bytes));
  std::string joined;
  int pieces = 0;
  EXPECT_TRUE(fs.readChunks(path, [&](std::string_view piece) {
    joined.append(piece);
    return ++pieces > 0;
  }));
  EXPECT_EQ(joined, bytes);
  EXPECT_GT(pieces, 1);
  pieces = 0;
  fs.readChunks(path, [&](std::string_view) { return ++pieces < 1; });
  EXPECT_EQ(pieces, 1);
  EXPECT_FALSE(fs.readChunks(root + "\\missing", [](std::string_view) { return true; }));
}

TEST_F(Scratch, ReplaceKeepsTheOldFileAsBackupInTheSameStep) {
  std::string target = root + "\\hosts", fresh = root + "\\hosts.new", backup = root + "\\hosts.1.bak";
  ASSERT_TRUE(fs.writeFile(target, "old"));
  ASSERT_TRUE(fs.writeFileDurably(fresh, "new"));
  ASSERT_TRUE(fs.replaceFile(target, fresh, backup));
  EXPECT_EQ(fs.readFile(target), "new");
  EXPECT_EQ(fs.readFile(backup), "old");
  EXPECT_FALSE(fs.fileExists(fresh));
  ASSERT_TRUE(fs.writeFile(fresh, "first"));
  std::string missing = root + "\\created";
  EXPECT_TRUE(fs.replaceFile(missing, fresh, ""));  // no target yet: a plain move
  EXPECT_EQ(fs.readFile(missing), "first");
}

// The DNS client and antivirus hold the hosts file open without letting it be deleted. The write
// goes in place, keeps the old file as backup, and leaves nothing beside it (under Wine every
// ReplaceFileW that fails leaves an empty rf*.tmp).
TEST_F(Scratch, AHeldFileIsRewrittenInPlaceAndNothingIsLeftBesideIt) {
  std::string target = root + "\\hosts";
  ASSERT_TRUE(fs.writeFile(target, "old"));
  HANDLE holder = CreateFileW(widen(target).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(fs.replaceFile(target, root + "\\whatever", ""));
  EXPECT_TRUE(writeHostsFile(fs, target, "new", {root + "\\Backup", 3, nullptr}));
  CloseHandle(holder);
  EXPECT_EQ(fs.readFile(target), "new");
  EXPECT_EQ(fs.readFile(root + "\\Backup\\hosts.1.bak"), "old");
  std::vector<std::string> beside;
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW(widen(root + "\\*").c_str(), &fd);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do {
    std::string name = narrow(fd.cFileName);
    if (name != "." && name != "..") beside.push_back(name);
  } while (FindNextFileW(find, &fd));
  FindClose(find);
  std::sort(beside.begin(), beside.end());
  EXPECT_EQ(beside, (std::vector<std::string>{"Backup", "hosts"}));
}

TEST_F(Scratch, WritesAreRefusedWhereWindowsRefusesThem) {
  std::string path = root + "\\只读.txt";
  ASSERT_TRUE(fs.writeFile(path, "old"));
  ASSERT_TRUE(fs.setAttributes(path, FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(fs.writeFile(path, "new"));
  EXPECT_EQ(fs.readFile(path), "old");
  ASSERT_TRUE(fs.setAttributes(path, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(GetFileAttributesW(widen(path).c_str()) & 0x7,
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  EXPECT_FALSE(fs.writeFile(path, "new"));  // hidden + system: refused like CREATE_ALWAYS on Windows
  ASSERT_TRUE(fs.setAttributes(path, FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_TRUE(fs.writeFile(path, "new"));
  EXPECT_EQ(fs.readFile(path), "new");
  EXPECT_FALSE(fs.writeFile(root + "\\no such folder\\a.txt", "x"));
  EXPECT_FALSE(fs.writeFile(root, "a folder is not a file"));
  EXPECT_FALSE(fs.createFolder(path));  // a file of that name blocks the folder
}

TEST_F(Scratch, FolderTreeDeleteTakesReadOnlyAndNestedFilesButRefusesRoots) {
  std::string tem = root + "\\Tem";
  ASSERT_TRUE(fs.createFolder(tem));
  ASSERT_TRUE(fs.createFolder(tem + "\\子目录"));
  ASSERT_TRUE(fs.writeFile(tem + "\\子目录\\a.bat", "x"));
  ASSERT_TRUE(fs.writeFile(tem + "\\ro.txt", "x"));
  fs.setAttributes(tem + "\\ro.txt", FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(fs.deleteFolderTree("  " + tem));
  EXPECT_FALSE(fs.folderExists(tem));
  EXPECT_TRUE(fs.folderExists(root));
  EXPECT_FALSE(fs.deleteFolderTree(""));
  EXPECT_FALSE(fs.deleteFolderTree("C:"));
  EXPECT_FALSE(fs.deleteFolderTree("C:\\"));
  EXPECT_TRUE(fs.folderExists("C:\\windows"));
}

TEST_F(Scratch, IniFilesHoldGbkOnDiskWhateverTheSystemCodePage) {
  std::string path = root + "\\Personal.ini";
  IniFile ini(fs, path);
  EXPECT_EQ(ini.read("Personal", "NAME"), "");
  ASSERT_TRUE(ini.write("Personal", "NAME", "土豪金"));
  ASSERT_TRUE(ini.write("Personal", "SRDZ", "1"));
  EXPECT_EQ(fs.readFile(path), "[Personal]\r\nNAME=\xCD\xC1\xBA\xC0\xBD\xF0\r\nSRDZ=1\r\n");
  EXPECT_EQ(ini.read("personal", "name"), "土豪金");
}

TEST(Codec, UsesCodePage936ExactlyAsTheNativeBuild) {
  EXPECT_EQ(toGbk("解决方案："), "\xBD\xE2\xBE\xF6\xB7\xBD\xB0\xB8\xA3\xBA");
  EXPECT_EQ(fromGbk("\xC4\xE3\xBA\xC3"), "你好");
  EXPECT_EQ(toGbk(texts::kRestartNetworkBat).size(), 217u);  // as the native build converts it
  EXPECT_EQ(gbkByteLength("定制昵称ab"), 10u);
  EXPECT_EQ(toGbk("x😀"), "x?");
}

// Code page 936 itself swallows the byte after a lone lead byte and maps the user-defined areas
// to private-use characters; the program reads them as the native build does.
TEST(Codec, ReadsTheSharedCorpusAsTheNativeBuildDoes) {
  test::GbkCorpus corpus = test::parseGbkCorpus(test::readCorpusFile(ZK_TEST_DATA "gbk_corpus.txt"));
  EXPECT_TRUE(corpus.badLines.empty());
  ASSERT_GE(corpus.cases.size(), 20u);
  for (const auto& c : corpus.cases) EXPECT_EQ(fromGbk(c.bytes), c.text) << "corpus line " << c.line;
  ASSERT_TRUE(corpus.pairsDigest);
  EXPECT_EQ(test::gbkPairsDigest(), *corpus.pairsDigest);
}

TEST(Codec, WritesNoLookAlikeAndSaysWhatItCouldNotHold) {
  EXPECT_EQ(toGbk("À.com"), "?.com");
  EXPECT_FALSE(isGbkEncodable("À.com"));
  EXPECT_FALSE(isGbkEncodable("€"));
  EXPECT_FALSE(isGbkEncodable("a😀"));
  EXPECT_TRUE(isGbkEncodable("# 中文注释 é a.com\r\n"));
  std::string stray = toGbk("\xE4\xB8\r\na");  // cut UTF-8: marks, then every byte after it
  ASSERT_NE(stray.find('\r'), std::string::npos);
  EXPECT_EQ(stray.substr(stray.find('\r')), "\r\na");
  EXPECT_EQ(stray.find_first_not_of('?'), stray.find('\r'));
}

TEST(Registry, ReadsTextValuesExpandsExpandableOnesAndIgnoresOtherTypes) {
  Win32Registry reg;
  const std::string key = "SOFTWARE\\ZelkoraTest";
  ASSERT_TRUE(reg.writeMachineText(key, "DataBasePath", "%SystemRoot%\\System32\\drivers\\etc"));
  std::string expanded = reg.readMachineText(key, "DataBasePath");
  EXPECT_EQ(expanded.find('%'), std::string::npos) << expanded;
  EXPECT_NE(expanded.find("\\System32\\drivers\\etc"), std::string::npos) << expanded;
  HKEY h;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, widen(key).c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &h),
            ERROR_SUCCESS);
  DWORD dword = 7;
  RegSetValueExW(h, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dword), sizeof dword);
  const wchar_t plain[] = L"%SystemRoot%\\plain";
  RegSetValueExW(h, L"Plain", 0, REG_SZ, reinterpret_cast<const BYTE*>(plain), sizeof plain);
  RegCloseKey(h);
  EXPECT_EQ(reg.readMachineText(key, "Number"), "");
  EXPECT_EQ(reg.readMachineText(key, "Plain"), "%SystemRoot%\\plain");
  EXPECT_EQ(reg.readMachineText(key, "Missing"), "");
  EXPECT_EQ(reg.readMachineText("SOFTWARE\\NoSuchKeyZelkora", "X"), "");
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, widen(key).c_str());
}

TEST(SpecialFolders, EndWithABackslashAndExist) {
  Win32Folders f;
  Win32FileSystem fs;
  for (std::string folder : {f.appData(), f.desktop(), f.system()}) {
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\') << folder;
    EXPECT_TRUE(fs.folderExists(folder)) << folder;
  }
  std::string sys = f.system();
  EXPECT_NE(asciiLower(sys).find("\\system32\\"), std::string::npos) << sys;
  EXPECT_EQ(f.ownFileName(), "zk_win_tests.exe");
  EXPECT_TRUE(fs.fileExists(f.ownFolder() + "\\" + f.ownFileName()));
}

TEST_F(Scratch, RunHiddenStartsWithoutWaitingForTheEnd) {
  Win32Processes proc;
  std::string script = root + "\\带空格 的目录";
  ASSERT_TRUE(fs.createFolder(script));
  std::string bat = script + "\\Dnscache.bat";
  std::string out = script + "\\out.txt";
  ASSERT_TRUE(fs.writeFile(bat, toGbk("@echo off\r\necho 完成> \"" + out + "\"\r\nping -n 3 127.0.0.1 >nul\r\nexit")));
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_TRUE(proc.runHidden("\"" + bat + "\""));
  auto spent = std::chrono::steady_clock::now() - t0;
  EXPECT_LT(spent, std::chrono::milliseconds(1900));  // not the script's ~2 s of pings
  for (int i = 0; i < 100 && !fs.fileExists(out); ++i) Sleep(50);
  EXPECT_TRUE(fs.fileExists(out));
  EXPECT_FALSE(proc.runHidden("\"" + root + "\\no-such-program.exe\""));
}

TEST_F(Scratch, RunAndWaitGivesTheExitCodeRunsInTheFolderAndStopsWaitingAtTheCap) {
  Win32Processes proc;
  Win32Folders folders;
  std::string cmd = "\"" + folders.system() + "cmd.exe\" /c ";
  std::string folder = root + "\\工作 目录";
  ASSERT_TRUE(fs.createFolder(folder));
  ProcessOutcome three = proc.runHiddenAndWait(cmd + "exit 3", "", 10000);
  EXPECT_TRUE(three.started && three.ended);
  EXPECT_EQ(three.exitCode, 3u);
  EXPECT_FALSE(three.succeeded());
  EXPECT_TRUE(proc.runHiddenAndWait(cmd + "\"echo x> here.txt\"", folder, 10000).succeeded());
  EXPECT_TRUE(fs.fileExists(folder + "\\here.txt"));
  auto t0 = std::chrono::steady_clock::now();
  ProcessOutcome slow = proc.runHiddenAndWait(cmd + "\"ping -n 5 127.0.0.1 >nul\"", "", 300);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(2500));
  EXPECT_TRUE(slow.started);
  EXPECT_FALSE(slow.ended);
  EXPECT_FALSE(proc.runHiddenAndWait("\"" + root + "\\no-such-program.exe\"", "", 1000).started);
}

// Wine names connections after the Unix interfaces; its loopback "lo" is up, without a gateway.
TEST(NetworkInfo, ListsNamedConnectionsWithoutTheLoopbackAndAsksServices) {
  Win32NetworkInfo net;
  for (const NetworkConnection& c : net.connections()) {
    EXPECT_FALSE(c.name.empty());
    EXPECT_NE(c.name, "lo");
  }
  EXPECT_FALSE(net.serviceRunning("ZelkoraNoSuchService").has_value());
}

Task<> waitsAndOffloads(Runtime& rt, std::vector<std::string>& log, DWORD uiThread) {
  auto t0 = rt.nowMs();
  co_await rt.pumpWait(120);
  log.push_back(rt.nowMs() - t0 >= 100 ? "waited" : "too early");
  DWORD worker = co_await rt.offload([] { return GetCurrentThreadId(); });
  log.push_back(worker != uiThread ? "worker thread" : "ran on ui thread");
  log.push_back(GetCurrentThreadId() == uiThread ? "resumed on ui" : "resumed elsewhere");
  PostQuitMessage(0);
}

TEST(Win32Runtime, WaitsAndOffloadsInsideTheMessageLoop) {
  Win32Runtime rt;
  std::vector<std::string> log;
  int ticks = 0;
  Timer timer(rt, [&] { ++ticks; });
  timer.setPeriod(1);
  rt.start(TaskSlot::MainCommand, waitsAndOffloads(rt, log, GetCurrentThreadId()));
  UINT_PTR guard = SetTimer(nullptr, 0, 5000, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.wParam == guard) break;
    DispatchMessageW(&msg);
  }
  KillTimer(nullptr, guard);
  EXPECT_EQ(log, (std::vector<std::string>{"waited", "worker thread", "resumed on ui"}));
  EXPECT_GT(ticks, 3);  // the window kept processing messages meanwhile
  EXPECT_FALSE(rt.isRunning(TaskSlot::MainCommand));
}

// The runtime ends while its workers are busy: the jobs still queued are freed with it, and so is
// a job posted back and not yet run; a task waiting for work that never ran is not resumed.
TEST(Win32Runtime, EndingFreesQueuedAndPostedJobsAndResumesNothing) {
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> started{0}, finished{0};
  auto queued = std::make_shared<int>(1);
  auto posted = std::make_shared<int>(2);
  std::weak_ptr<int> queuedSeen = queued, postedSeen = posted;
  std::vector<std::string> log;
  {
    auto rt = std::make_unique<Win32Runtime>();
    for (int i = 0; i < 4; ++i)  // every worker busy
      rt->runInBackground([release, &started, &finished] {
        ++started;
        WaitForSingleObject(release, 5000);
        ++finished;
      });
    for (int i = 0; i < 200 && started < 4; ++i) Sleep(5);
    ASSERT_EQ(started, 4);
    rt->runInBackground([q = std::move(queued)] {});
    rt->post([p = std::move(posted)] {});
    auto late = [](Runtime& r, std::vector<std::string>& out, HANDLE ev) -> Task<> {
      auto slow = r.offload([ev] { return WaitForSingleObject(ev, 5000); });
      co_await slow;
      out.push_back("resumed after the end");
    };
    rt->start(TaskSlot::MainCommand, late(*rt, log, release));
  }
  EXPECT_TRUE(queuedSeen.expired());
  EXPECT_TRUE(postedSeen.expired());
  SetEvent(release);
  for (int i = 0; i < 100 && finished < 4; ++i) Sleep(20);
  Sleep(100);  // the late worker posts into the closed mailbox
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_EQ(finished, 4);
  EXPECT_TRUE(log.empty());
  CloseHandle(release);
}

}  // namespace
}  // namespace zk
