#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "main/temp_folder.h"
#include "resources/fixed_texts.h"
#include "tests/unit/network_fixture.h"
#include "tests/unit/script_bytes.h"
#include "text/gbk.h"

namespace zk {
namespace {

struct Repair : ::testing::Test, test::NetworkBench {};

TEST(Connections, TheFixedOneWhenUpElseTheOneCarryingTheDefaultRoute) {
  using C = NetworkConnection;
  C ethernet{"以太网", true, true, true, false};
  auto fixed = chooseConnection({ethernet, C{"本地连接", true, true}});
  EXPECT_TRUE(fixed.fixed);
  EXPECT_EQ(fixed.name, "本地连接");
  // Down: the one in use instead.
  auto other = chooseConnection({C{"本地连接", false, false}, C{"WLAN", true, true}, ethernet});
  EXPECT_FALSE(other.fixed);
  EXPECT_EQ(other.name, "以太网");
  // A VPN or dial-up connection carrying the route, a connection merely up with a gateway, one whose
  // name a command line cannot carry, one that is down: none of them.
  for (C refused :
       {C{"VPN", true, true, true, true}, C{"WLAN", true, true, false, false}, C{"坏\"名", true, true, true, false},
        C{"a\r\nb", true, true, true, false}, C{"以太网 2", false, true, true, false}})
    EXPECT_FALSE(chooseConnection({refused, C{"本地连接 2", true, true}}).found()) << refused.name;
  EXPECT_FALSE(chooseConnection({}).found());
  // A name ending in a backslash would turn the closing quote of its argument into a literal one.
  EXPECT_FALSE(chooseConnection({C{"以太网\\", true, true, true, false}}).found());
  EXPECT_TRUE(chooseConnection({C{"以太网\\2", true, true, true, false}}).found());
  EXPECT_EQ(changedConnectionNote(other), "\r\n\r\n本机没有已启用的“本地连接”，已改为作用于正在使用的网络连接：以太网");
  EXPECT_EQ(changedConnectionNote(fixed), "");
}

// Each script byte for byte as the hand-written copy beside the tests gives its lines.
TEST(Scripts, BytesAsTheWrittenOutCopy) {
  std::map<std::string, std::pair<std::vector<std::string>, std::size_t>> copy;  // name: lines, size
  std::string current;
  for (const std::string& line : test::netDataLines("repair_scripts.txt")) {
    if (line.rfind("script ", 0) == 0) {
      std::istringstream words(line.substr(7));
      std::size_t size = 0;
      words >> current >> size;
      copy[current] = {{}, size};
    } else {
      copy[current].first.push_back(line == "~" ? "" : line);
    }
  }
  ASSERT_EQ(copy.size(), 3u);
  std::map<std::string, const char*> program{{"Dnscache.bat", texts::kDnscacheBat},
                                             {"Restartnetwork.bat", texts::kRestartNetworkBat},
                                             {"ZDipdns.bat", texts::kZdIpDnsBat}};
  // As written, each tool that starts a line of the copy is started by its full path.
  ProgramValues v;
  v.systemFolder = "C:\\Windows\\system32\\";
  auto withPath = [&](const std::string& line) {
    for (std::string tool : {"net", "sc", "netsh", "ping", "ipconfig"})
      if (line.rfind(tool + " ", 0) == 0) return v.systemCommand(tool, "") + line.substr(tool.size() + 1);
    return line;
  };
  for (const auto& [name, expected] : copy) {
    ASSERT_TRUE(program.count(name)) << name;
    std::string bytes = toGbk(scriptWithToolPaths(program[name], v).value()), lines, copyBytes;
    for (const std::string& l : expected.first) {
      const char* between = &l == &expected.first.front() ? "" : "\r\n";
      lines += between + toGbk(withPath(l));
      copyBytes += between + toGbk(l);
    }
    EXPECT_EQ(bytes, lines) << name;
    EXPECT_EQ(copyBytes.size(), expected.second) << name;
  }
}

TEST_F(Repair, FlushReportsTheToolsOutcome) {
  run(TaskSlot::FlushDnsCache, repair.flushDnsCache());
  EXPECT_EQ(processes.waited, std::vector<std::string>{tool("ipconfig", "/flushdns")});
  EXPECT_EQ(lastBox().text, "本地DNS缓存已清除！");
  EXPECT_EQ(lastBox().title, "恭喜！");
  for (ProcessOutcome failed :
       {ProcessOutcome{false, false, 0}, ProcessOutcome{true, true, 1}, ProcessOutcome{true, false, 0}}) {
    processes.outcomes = {failed};
    run(TaskSlot::FlushDnsCache, repair.flushDnsCache());
    EXPECT_EQ(lastBox().text, "清除失败，请稍后再试！");
    EXPECT_EQ(lastBox().title, "抱歉");
  }
}

TEST_F(Repair, DnsClientRepairRunsTheScriptFromTheSystemFolderThenAsksTheService) {
  fs.deleteFolderTree(tem());
  fs.addFolder(std::string(test::kNetData));
  run(TaskSlot::RepairDnsClient, repair.repairDnsClient());
  EXPECT_EQ(fs.bytes(tem() + "\\Dnscache.bat"), toGbk(test::kDnscacheOnDisk));
  EXPECT_EQ(processes.waited, std::vector<std::string>{script("Dnscache.bat")});
  EXPECT_EQ(processes.folders, std::vector<std::string>{"C:\\Windows\\system32\\"});
  EXPECT_EQ(network.asked, std::vector<std::string>{"Dnscache"});
  EXPECT_EQ(lastBox().text, "DNS 客户端服务已暂停，完成修复！");
  // Windows 10 1709 and later keep the service running whatever the script does.
  network.running = true;
  run(TaskSlot::RepairDnsClient, repair.repairDnsClient());
  EXPECT_EQ(lastBox().title, "抱歉");
  EXPECT_NE(lastBox().text.find("仍在运行"), std::string::npos);
  network.running.reset();
  run(TaskSlot::RepairDnsClient, repair.repairDnsClient());
  EXPECT_EQ(lastBox().text, "无法确认DNS 客户端服务的状态，修复可能没有完成。");
  processes.outcomes = {ProcessOutcome{}};
  network.running = false;
  run(TaskSlot::RepairDnsClient, repair.repairDnsClient());
  EXPECT_EQ(lastBox().title, "抱歉");
}

TEST_F(Repair, RestartOnTheFixedConnectionRunsTheScriptWithItsWaitsThenReadsTheAdapterBack) {
  fs.addFile(tem() + "\\Restartnetwork.bat", "an older, longer script that must not survive in any part");
  rt.start(TaskSlot::RestartAdapter, repair.restartAdapter());
  rt.advance(199);
  EXPECT_TRUE(processes.waited.empty());  // 100 ms after the delete, 100 after the write
  rt.advance(1);
  EXPECT_EQ(processes.waited, std::vector<std::string>{script("Restartnetwork.bat")});
  rt.advance(999);
  EXPECT_TRUE(prompt.shown.empty());
  rt.advance(1);
  EXPECT_EQ(lastBox().text, "已将本地连接所属网卡重启成功！");
  EXPECT_EQ(lastBox().title, "恭喜！");
  EXPECT_EQ(network.readBacks, std::vector<std::string>{"本地连接"});
  EXPECT_EQ(fs.bytes(tem() + "\\Restartnetwork.bat"), toGbk(test::kRestartNetworkOnDisk));
  // The script's exit code says nothing: an adapter that stays down is reported, after ten looks.
  processes.after = [this] { network.states["本地连接"].up = false; };
  network.readBacks.clear();
  run(TaskSlot::RestartAdapter, repair.restartAdapter());
  EXPECT_EQ(lastBox().title, "抱歉");
  EXPECT_NE(lastBox().text.find("网卡现在没有启用或没有连通"), std::string::npos);
  EXPECT_EQ(network.readBacks.size(), std::size_t(kAdapterUpTries));
}

TEST_F(Repair, ElsewhereTheConnectionInUseIsNamedInTheCommandsAndTheMessage) {
  onlyConnection("以太网");
  network.list.push_back({"VPN", true, true, false, true});
  rt.start(TaskSlot::RestartAdapter, repair.restartAdapter());
  std::vector<bool> upAfterEach;
  processes.after = [this, &upAfterEach] { upAfterEach.push_back(network.states["以太网"].up); };
  rt.runUntilIdle();
  processes.after = nullptr;
  EXPECT_EQ(processes.waited, (std::vector<std::string>{tool("netsh", "interface set interface \"以太网\" disabled"),
                                                        tool("netsh", "interface set interface \"以太网\" enabled")}));
  EXPECT_EQ(upAfterEach, (std::vector<bool>{false, true}));
  EXPECT_EQ(processes.waited.size(), 2u);
  EXPECT_FALSE(fs.fileExists(tem() + "\\Restartnetwork.bat"));
  EXPECT_EQ(lastBox().text,
            "已将本地连接所属网卡重启成功！\r\n\r\n本机没有已启用的“本地连接”，已改为作用于正在使用的网络连接：以太网");
  network.list = {{"未连接", false, false}};
  run(TaskSlot::RestartAdapter, repair.restartAdapter());
  EXPECT_EQ(processes.waited.size(), 2u);
  EXPECT_NE(lastBox().text.find("未做任何更改"), std::string::npos);
}

TEST_F(Repair, ARefusedCommandNeverKeepsTheRestFromRunningAndTheReadBackSaysWhatHolds) {
  onlyConnection("以太网");
  // A refusal between the disable and the enable: the enable still runs, and the adapter that was
  // never down is not called restarted.
  processes.outcomes = {ProcessOutcome{true, true, 1}, ProcessOutcome{true, true, 0}};
  run(TaskSlot::RestartAdapter, repair.restartAdapter());
  EXPECT_EQ(processes.waited, (std::vector<std::string>{tool("netsh", "interface set interface \"以太网\" disabled"),
                                                        tool("netsh", "interface set interface \"以太网\" enabled")}));
  EXPECT_EQ(lastBox().title, "抱歉");
  EXPECT_NE(lastBox().text.find("禁用网卡的命令没有成功"), std::string::npos);
  EXPECT_NE(lastBox().text.find(processes.waited[0]), std::string::npos);
  // A hung enable after a disable: the adapter stays down and the message says so.
  processes.waited.clear();
  processes.outcomes = {ProcessOutcome{true, true, 0}, ProcessOutcome{true, false, 0}};
  run(TaskSlot::RestartAdapter, repair.restartAdapter());
  EXPECT_EQ(processes.waited.size(), 2u);
  EXPECT_NE(lastBox().text.find("网卡现在没有启用"), std::string::npos);
  network.states["以太网"].up = network.list[0].up = true;
  // Already DHCP (the first command refuses), a refused /release, a hung /renew: every line runs,
  // and DHCP on is what counts.
  network.states["以太网"].dhcp = true;
  network.states["以太网"].dnsV4 = {"8.8.8.8"};
  processes.waited.clear();
  processes.outcomes = {ProcessOutcome{true, true, 0}, ProcessOutcome{true, true, 0}, ProcessOutcome{true, true, 0},
                        ProcessOutcome{true, true, 0}, ProcessOutcome{true, true, 1}, ProcessOutcome{true, false, 0},
                        ProcessOutcome{true, true, 0}};
  run(TaskSlot::AutomaticAddressing, repair.setAutomaticAddressing(true));
  ASSERT_EQ(processes.waited.size(), 7u);
  EXPECT_EQ(processes.waited[1], tool("netsh", "interface ip set dns name=\"以太网\" source=dhcp"));
  EXPECT_EQ(network.states["以太网"].dnsV4, std::vector<std::string>{"192.168.1.1"});
  EXPECT_EQ(processes.waited[5], tool("ipconfig", "/renew"));
  EXPECT_EQ(processes.waited[6], tool("ipconfig", "/flushdns"));
  EXPECT_EQ(lastBox().title, "恭喜！");
  EXPECT_EQ(lastBox().text,
            "已将本地连接配置为：自动获取！\r\n\r\n本机没有已启用的“本地连接”，已改为作用于正在使用的网络连接：以太网");
  // A refused switch leaves a static address: a failure that says so.
  network.states["以太网"].dhcp = false;
  processes.outcomes = {ProcessOutcome{true, true, 1}, ProcessOutcome{true, true, 0}};
  run(TaskSlot::AutomaticAddressing, repair.setAutomaticAddressing(true));
  EXPECT_EQ(lastBox().title, "抱歉");
  EXPECT_NE(lastBox().text.find("仍为手动设置"), std::string::npos);
  // A connection that vanished before the read-back.
  processes.outcomes.clear();
  processes.onRun = [this](const std::string&) { network.states.clear(); };
  run(TaskSlot::AutomaticAddressing, repair.setAutomaticAddressing(true));
  EXPECT_NE(lastBox().text.find("无法读取该连接现在的设置"), std::string::npos);
}

// The entry may be clicked again while a restart runs (the new run takes the slot and stops the
// old one): an adapter the old run disabled is enabled all the same, never left off.
TEST_F(Repair, ASecondRestartWhileTheFirstRunsNeverLeavesTheAdapterDisabled) {
  onlyConnection("以太网");
  rt.start(TaskSlot::RestartAdapter, repair.restartAdapter());
  rt.advance(10);
  ASSERT_FALSE(processes.waited.empty());
  EXPECT_EQ(processes.waited[0], tool("netsh", "interface set interface \"以太网\" disabled"));
  rt.start(TaskSlot::RestartAdapter, repair.restartAdapter());
  rt.runUntilIdle();
  EXPECT_TRUE(network.states["以太网"].up);
  ASSERT_FALSE(processes.waited.empty());
  EXPECT_EQ(processes.waited.back(), tool("netsh", "interface set interface \"以太网\" enabled"));
  // And at the program's end, which stops every task.
  processes.waited.clear();
  rt.start(TaskSlot::RestartAdapter, repair.restartAdapter());
  rt.advance(10);
  rt.stopAll();
  rt.runUntilIdle();
  EXPECT_TRUE(network.states["以太网"].up);
}

// The DNS reset is half of what the automatic addressing is for (a wrong server typed by hand is
// the usual reason to use it): a refused reset is not reported as done.
TEST_F(Repair, AutomaticAddressingWithARefusedDnsResetIsNotCalledDone) {
  onlyConnection("以太网", ConnectionState{true, false, {"9.9.9.9"}, {}});
  processes.outcomes = {ProcessOutcome{true, true, 0}, ProcessOutcome{true, true, 1}, ProcessOutcome{true, true, 0}};
  run(TaskSlot::AutomaticAddressing, repair.setAutomaticAddressing(true));
  ASSERT_EQ(processes.waited.size(), 7u);
  EXPECT_TRUE(network.states["以太网"].dhcp);
  EXPECT_EQ(network.states["以太网"].dnsV4, std::vector<std::string>{"9.9.9.9"});
  EXPECT_EQ(lastBox().title, "抱歉");
  EXPECT_NE(lastBox().text.find(processes.waited[1]), std::string::npos);
}

TEST_F(Repair, AutomaticAddressingCommandsFollowTheScriptsOrder) {
  auto c = automaticAddressingCommands("以太网");
  std::vector<ToolCommand> expected{{"netsh", "interface ip set address name=\"以太网\" source=dhcp"},
                                    {"netsh", "interface ip set dns name=\"以太网\" source=dhcp"},
                                    {"netsh", "int ipv6 set privacy state=disable"},
                                    {"netsh", "interface ipv6 delete dnsservers \"以太网\" all"},
                                    {"ipconfig", "/release"},
                                    {"ipconfig", "/renew"},
                                    {"ipconfig", "/flushdns"}};
  EXPECT_EQ(c, expected);
}

TEST_F(Repair, AutomaticAddressingTheTwoFormsDifferInTheFolder) {
  fs.deleteFolderTree(tem());
  fs.addFolder(std::string(test::kNetData));
  // The DNS window's form relies on the folder: without it nothing runs and it says so.
  run(TaskSlot::AutomaticAddressing, repair.setAutomaticAddressing(false));
  EXPECT_TRUE(processes.waited.empty());
  EXPECT_EQ(lastBox().title, "抱歉");
  run(TaskSlot::AutomaticAddressing, repair.setAutomaticAddressing(true));
  EXPECT_EQ(fs.bytes(tem() + "\\ZDipdns.bat"), toGbk(test::kZdIpDnsOnDisk));
  EXPECT_EQ(processes.waited, std::vector<std::string>{script("ZDipdns.bat")});
  EXPECT_EQ(processes.caps, std::vector<int>{kRenewCapMs});
  EXPECT_EQ(lastBox().text, "已将本地连接配置为：自动获取！");
}

// Under another OEM code page cmd would misread the scripts' GBK bytes: they are written as ever,
// and their commands are started one by one instead.
TEST_F(Repair, OutsideCodePage936TheFixedConnectionsScriptsAreWrittenButNotRunThroughCmd) {
  network.codePage = 65001;
  run(TaskSlot::AutomaticAddressing, repair.setAutomaticAddressing(true));
  EXPECT_EQ(fs.bytes(tem() + "\\ZDipdns.bat"), toGbk(test::kZdIpDnsOnDisk));
  std::vector<std::string> lines;
  for (const ToolCommand& c : automaticAddressingCommands("本地连接")) lines.push_back(repair.commandLine(c));
  EXPECT_EQ(processes.waited, lines);
  EXPECT_EQ(lastBox().text, "已将本地连接配置为：自动获取！");
  processes.waited.clear();
  run(TaskSlot::RestartAdapter, repair.restartAdapter());
  EXPECT_EQ(fs.bytes(tem() + "\\Restartnetwork.bat"), toGbk(test::kRestartNetworkOnDisk));
  EXPECT_EQ(processes.waited,
            (std::vector<std::string>{tool("netsh", "interface set interface \"本地连接\" disabled"),
                                      tool("netsh", "interface set interface \"本地连接\" enabled")}));
  EXPECT_EQ(lastBox().title, "恭喜！");
}

}  // namespace
}  // namespace zk
