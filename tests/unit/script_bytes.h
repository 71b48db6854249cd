// The repair scripts as they land in Tem on a machine whose system folder is
// C:\Windows\system32\: every tool by its full path, everything else as the fixed texts.
#pragma once

namespace zk::test {

inline constexpr const char* kDnscacheOnDisk =
    "@echo off\r\n"
    "\"C:\\Windows\\system32\\net.exe\" stop Dnscache\r\n"
    "\"C:\\Windows\\system32\\sc.exe\" config Dnscache start= demand \r\n"
    "exit";

inline constexpr const char* kRestartNetworkOnDisk =
    "echo 禁用本地连接\r\n"
    "\r\n"
    "\"C:\\Windows\\system32\\netsh.exe\" interface set interface 本地连接 disabled\r\n"
    "\r\n"
    "echo 延时1秒。\r\n"
    "\r\n"
    "\"C:\\Windows\\system32\\ping.exe\" -n 1 127.0.0.1>nul\r\n"
    "\r\n"
    "echo 开启本地连接\r\n"
    "\r\n"
    "\"C:\\Windows\\system32\\netsh.exe\" interface set interface 本地连接 enabled\r\n"
    "\r\n"
    "echo 重启操作完成\r\n"
    "exit";

inline constexpr const char* kZdIpDnsOnDisk =
    "@echo off\r\n"
    "\"C:\\Windows\\system32\\netsh.exe\" interface ip set address name=\"本地连接\" source=dhcp\r\n"
    "\"C:\\Windows\\system32\\netsh.exe\" interface ip set dns name=\"本地连接\" source=dhcp\r\n"
    "\"C:\\Windows\\system32\\netsh.exe\" int ipv6 set privacy state=disable\r\n"
    "\"C:\\Windows\\system32\\netsh.exe\" interface ipv6 delete dnsservers \"本地连接\" all\r\n"
    "\"C:\\Windows\\system32\\ipconfig.exe\" /release\r\n"
    "\"C:\\Windows\\system32\\ipconfig.exe\" /renew\r\n"
    "\"C:\\Windows\\system32\\ipconfig.exe\" /flushdns\r\n"
    "exit";

}  // namespace zk::test
