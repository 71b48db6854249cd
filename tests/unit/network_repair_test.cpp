#include <gtest/gtest.h>

#include "resources/fixed_texts.h"
#include "tests/unit/network_fixture.h"
#include "text/gbk.h"

namespace zk {
namespace {

struct Repair : ::testing::Test, test::NetworkBench {};

TEST(Connections, TheFixedNameWinsWhereverItExistsElseTheConnectedOnes) {
  using C = NetworkConnection;
  // Present but down: still the one the scripts were written for.
  auto fixed = chooseConnections({{"以太网", true, true}, {"本地连接", false, false}});
  EXPECT_TRUE(fixed.fixed);
  EXPECT_EQ(fixed.names, std::vector<std::string>{"本地连接"});
  auto others =
      chooseConnections({C{"以太网", true, true}, C{"WLAN", true, true}, C{"蓝牙网络连接", false, true},
                         C{"vEthernet (内部)", true, false}, C{"坏\"名", true, true}, C{"a\r\nb", true, true}});
  EXPECT_FALSE(others.fixed);
  EXPECT_EQ(others.names, (std::vector<std::string>{"以太网", "WLAN"}));
  EXPECT_TRUE(chooseConnections({}).names.empty());
  EXPECT_TRUE(chooseConnections({C{"本地连接 2", false, true}}).names.empty());
  EXPECT_EQ(changedConnectionsNote(others), "\r\n\r\n本机没有名为“本地连接”的网络连接，已改为作用于：以太网、WLAN");
  EXPECT_EQ(changedConnectionsNote(fixed), "");
}

TEST(Scripts, BytesAsOnDisk) {
  struct Case {
    const char* text;
    std::size_t size;
  };
  for (Case c : {Case{texts::kDnscacheBat, 69}, Case{texts::kRestartNetworkBat, 211}, Case{texts::kZdIpDnsBat, 284}}) {
    std::string bytes = toGbk(c.text);
    EXPECT_EQ(bytes.size(), c.size);
    EXPECT_EQ(bytes.substr(bytes.size() - 6), "\r\nexit");
  }
  EXPECT_NE(toGbk(texts::kRestartNetworkBat).find(toGbk("\r\n\r\nnetsh interface set interface 本地连接 enabled\r\n")),
            std::string::npos);
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
  EXPECT_EQ(fs.bytes(tem() + "\\Dnscache.bat"), toGbk(texts::kDnscacheBat));
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

TEST_F(Repair, RestartOnTheFixedConnectionRunsTheScriptWithItsWaits) {
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
  EXPECT_EQ(fs.bytes(tem() + "\\Restartnetwork.bat"), toGbk(texts::kRestartNetworkBat));
  processes.outcomes = {ProcessOutcome{true, false, 0}};  // still running at the cap
  run(TaskSlot::RestartAdapter, repair.restartAdapter());
  EXPECT_EQ(lastBox().title, "抱歉");
}

TEST_F(Repair, WithoutTheFixedConnectionTheConnectedOnesAreNamedInTheCommandsAndTheMessage) {
  network.list = {{"以太网", true, true}, {"WLAN 2", true, true}, {"未连接", false, false}};
  run(TaskSlot::RestartAdapter, repair.restartAdapter());
  EXPECT_EQ(processes.waited, (std::vector<std::string>{tool("netsh", "interface set interface \"以太网\" disabled"),
                                                        tool("netsh", "interface set interface \"WLAN 2\" disabled"),
                                                        tool("netsh", "interface set interface \"以太网\" enabled"),
                                                        tool("netsh", "interface set interface \"WLAN 2\" enabled")}));
  EXPECT_FALSE(fs.fileExists(tem() + "\\Restartnetwork.bat"));
  EXPECT_EQ(lastBox().text,
            "已将本地连接所属网卡重启成功！\r\n\r\n本机没有名为“本地连接”的网络连接，已改为作用于：以太网、WLAN 2");
}

TEST_F(Repair, ARefusedCommandNeverKeepsTheRestFromRunning) {
  network.list = {{"以太网", true, true}};
  // A refusal between the disable and the enable: the enable still runs.
  processes.outcomes = {ProcessOutcome{true, true, 1}, ProcessOutcome{true, true, 0}};
  run(TaskSlot::RestartAdapter, repair.restartAdapter());
  EXPECT_EQ(processes.waited, (std::vector<std::string>{tool("netsh", "interface set interface \"以太网\" disabled"),
                                                        tool("netsh", "interface set interface \"以太网\" enabled")}));
  // "Already enabled" on the first command, a refused /release, a hung /renew: every line runs.
  processes.waited.clear();
  processes.outcomes = {ProcessOutcome{true, true, 1}, ProcessOutcome{true, true, 0}, ProcessOutcome{true, true, 0},
                        ProcessOutcome{true, true, 0}, ProcessOutcome{true, true, 1}, ProcessOutcome{true, false, 0},
                        ProcessOutcome{true, true, 0}};
  run(TaskSlot::AutomaticAddressing, repair.setAutomaticAddressing(true));
  ASSERT_EQ(processes.waited.size(), 7u);
  EXPECT_EQ(processes.waited[1], tool("netsh", "interface ip set dns name=\"以太网\" source=dhcp"));
  EXPECT_EQ(processes.waited[5], tool("ipconfig", "/renew"));
  EXPECT_EQ(processes.waited[6], tool("ipconfig", "/flushdns"));
  EXPECT_EQ(lastBox().title, "抱歉");
  network.list = {{"未连接", false, false}};
  run(TaskSlot::AutomaticAddressing, repair.setAutomaticAddressing(true));
  EXPECT_EQ(processes.waited.size(), 7u);
  EXPECT_NE(lastBox().text.find("未做任何更改"), std::string::npos);
}

TEST_F(Repair, AutomaticAddressingCommandsFollowTheScriptsOrder) {
  auto c = automaticAddressingCommands({"以太网"});
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
  EXPECT_EQ(fs.bytes(tem() + "\\ZDipdns.bat"), toGbk(texts::kZdIpDnsBat));
  EXPECT_EQ(processes.waited, std::vector<std::string>{script("ZDipdns.bat")});
  EXPECT_EQ(processes.caps, std::vector<int>{kRenewCapMs});
  EXPECT_EQ(lastBox().text, "已将本地连接配置为：自动获取！");
}

}  // namespace
}  // namespace zk
