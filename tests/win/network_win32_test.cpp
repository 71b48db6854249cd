// The connections as Windows (or Wine) reports them, and the one-click DNS window's buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "nettools/network_repair.h"
#include "platform/win32/win32_platform.h"
#include "text/address.h"
#include "ui/dns_window.h"

namespace zk {
namespace {

// The machine's connection in use is the one its default route leaves through (Wine's eth0 here):
// it is chosen, and read back with its DNS servers as addresses in their canonical text.
TEST(NetworkInfo, TheConnectionInUseIsChosenAndReadBack) {
  win::Win32NetworkInfo net;
  std::vector<NetworkConnection> all = net.connections();
  int routes = 0;
  for (const NetworkConnection& c : all) {
    routes += c.defaultRoute;
    EXPECT_FALSE(c.defaultRoute && c.tunnel) << c.name;
  }
  EXPECT_LE(routes, 1);
  ConnectionChoice choice = chooseConnection(all);
  if (!choice.found()) GTEST_SKIP() << "no default route on this machine";
  std::optional<ConnectionState> state = net.connectionState(choice.name);
  ASSERT_TRUE(state.has_value()) << choice.name;
  std::printf("connection in use: %s, up %d, DHCP %d, DNS %zu IPv4 %zu IPv6%s%s\n", choice.name.c_str(), state->up,
              state->dhcp, state->dnsV4.size(), state->dnsV6.size(), state->dnsV4.empty() ? "" : ", first ",
              state->dnsV4.empty() ? "" : state->dnsV4.front().c_str());
  EXPECT_TRUE(state->up);
  for (const std::string& a : state->dnsV4) EXPECT_TRUE(isIpv4Address(a)) << a;
  for (const std::string& a : state->dnsV6) {
    EXPECT_TRUE(isIpv6Address(a)) << a;
    EXPECT_EQ(a.find(":::"), std::string::npos) << a;
    for (char ch : a) EXPECT_FALSE(ch >= 'A' && ch <= 'F') << a;
  }
  EXPECT_FALSE(net.connectionState("Zelkora 没有这个连接").has_value());
  EXPECT_NE(net.scriptCodePage(), 0u);
}

// A preset acts on the button's release over it, as a push button does; the press alone does
// nothing, nor does a release after the pointer has left the button.
TEST(DnsWindow, APresetActsOnTheReleaseInsideTheButton) {
  ui::DnsWindow w;
  ASSERT_TRUE(w.open());
  ShowWindow(w.hwnd(), SW_SHOW);
  std::vector<int> commands;
  w.onCommand = [&](int c) { commands.push_back(c); };
  HWND preset = w.ctl(ui::IDB_DNS_PRESET + 8);
  SendMessageW(preset, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  EXPECT_TRUE(commands.empty());
  SendMessageW(preset, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  EXPECT_EQ(commands, std::vector<int>{8});
  SendMessageW(preset, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageW(preset, WM_LBUTTONUP, 0, MAKELPARAM(400, 4));  // released beside it
  SendMessageW(preset, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));    // a release without a press
  EXPECT_EQ(commands, std::vector<int>{8});
  // The notification a picture control sends on a press reaches no command either.
  SendMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(ui::IDB_DNS_PRESET + 9, STN_CLICKED), reinterpret_cast<LPARAM>(preset));
  EXPECT_EQ(commands, std::vector<int>{8});
  DestroyWindow(w.hwnd());
}

}  // namespace
}  // namespace zk
