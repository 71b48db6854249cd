#include "resources/fixed_texts.h"

namespace zk::texts {

const char* const kDefaultSettings =
    "[System]\r\nXFWQ=1\r\nHYDH=1\r\nZFJH=0\r\nZURL=\r\nQBMJ=0\r\nZDDH=1\r\nAQSX=1\r\n";

const char* const kRegistryWarning =
    "很抱歉，Zelkora检测到系统注册表中，与Hosts相关联的项值出现问题。该问题将会直接影响Hosts文件的生效。"
    "\r\n\r\nZelkora刚刚尝试修复，但失败了！点击确定后，自动打开解决方案。";

#define ZK_REG_LINES                                                                 \
  "Windows Registry Editor Version 5.00\r\n"                                         \
  "\r\n"                                                                             \
  "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\Tcpip\\Parameters]\r\n" \
  "\"DataBasePath\"=\"%SystemRoot%\\\\System32\\\\drivers\\\\etc\"\r\n"
#define ZK_79_HYPHENS "-------------------------------------------------------------------------------"

const char* const kRegistryScript = ZK_REG_LINES;
const char* const kRegistryScriptName = "【Zelkora】双击修复文件.reg";

const char* const kRegistryHelp =
    "\r\n"
    "   解决方案：\r\n"
    " \r\n"
    "   [必须步骤]：退出安全软件，重启计算机。其次，重新打开Zelkora。\r\n"
    "\r\n"
    "\r\n"
    "   如果启动Zelkora后，不会提示错误信息。则说明问题已解决。\r\n"
    "\r\n"
    "   如果，仍然错误提示，说明解决失败，请挑选下方方案：\r\n"
    "\r\n"
    "\t1.把Zelkora复制到桌面，对Zelkora进行：右键-属性-兼容性-[打勾：以管理员身份运行此程序]。\r\n"
    "         确定后，打开Zelkora，看看是否能够解决。\r\n"
    "\r\n"
    "\t2.如果仍然这样，请把下方的文字，复制到记事本，保存任意名称，并将后缀改为：.reg\r\n"
    "\r\n"
    "      复制(不包括 虚线)：\r\n"
    "\r\n" ZK_79_HYPHENS "\r\n" ZK_REG_LINES ZK_79_HYPHENS
    "\r\n"
    "\t保存完后，双击打开，会出现：是否继续吗？选择【是】即可。然后运行Zelkora。\r\n"
    "\t即可解决。\r\n"
    "\r\n"
    "       【注：Zelkora已在桌面生成修复文件，您只需双击即可。若没有，需复制上方信息。】\r\n"
    "\r\n\r\n\r\n\r\n";

const char* const kTempReadMeName = "请勿随意删除本目录.txt";
const char* const kTempReadMe = "本目录专为Zelkora使用过程中产生的临时文件而准备的，请勿随意删除，系统会自动清理！";

const char* const kDnscacheBat = "@echo off\r\n{net} stop Dnscache\r\n{sc} config Dnscache start= demand \r\nexit";

const char* const kRestartNetworkBat =
    "echo 禁用本地连接\r\n"
    "\r\n"
    "{netsh} interface set interface 本地连接 disabled\r\n"
    "\r\n"
    "echo 延时1秒。\r\n"
    "\r\n"
    "{ping} -n 1 127.0.0.1>nul\r\n"
    "\r\n"
    "echo 开启本地连接\r\n"
    "\r\n"
    "{netsh} interface set interface 本地连接 enabled\r\n"
    "\r\n"
    "echo 重启操作完成\r\n"
    "exit";

const char* const kZdIpDnsBat =
    "@echo off\r\n"
    "{netsh} interface ip set address name=\"本地连接\" source=dhcp\r\n"
    "{netsh} interface ip set dns name=\"本地连接\" source=dhcp\r\n"
    "{netsh} int ipv6 set privacy state=disable\r\n"
    "{netsh} interface ipv6 delete dnsservers \"本地连接\" all\r\n"
    "{ipconfig} /release\r\n"
    "{ipconfig} /renew\r\n"
    "{ipconfig} /flushdns\r\n"
    "exit";

const char* const kUrlRules =
    "输入错误，所输入的内容不符合标准的URL地址，请重新填写。\r\n"
    "\r\n"
    "标准的URL格式请参考：\r\n"
    "1.http://hosts.example.com/hosts.txt\r\n"
    "2.http://hosts.example.com/hosts.html（源代码不应包含html标准，只包含hosts）\r\n"
    "3.http://hosts.example.com/hosts.js（Javascript脚本语言的文本文件）\r\n"
    "4.http://hosts.example.com/hosts.css（层叠样式表的文本文件）\r\n"
    "\r\n"
    "5.http://hosts.example.com/hosts.mp4（特意修改后缀，实质为文本文件）\r\n"
    "\r\n"
    "以下不合格规范：\r\n"
    "1.hosts（原因：不是地址）\r\n"
    "2.hosts.example.com/hosts.txt（原因：不包含：http://）\r\n"
    "\r\n"
    "地址必须以http://开头，后缀不限，但内容必须是纯文本的hosts条目。";

const char* const kReleaseDate = "2016年1月22日";

std::string registryScriptFileBytes() {
  std::string out = "\xFF\xFE";  // UTF-16LE byte-order mark; the script is ASCII
  for (const char* p = kRegistryScript; *p; ++p) {
    out += *p;
    out += '\0';
  }
  return out;
}

const char* const kWindowsDefaultHosts =
    "# Copyright (c) 1993-2016 Microsoft Corp.\r\n"
    "#\r\n"
    "# This is a sample HOSTS file used by Microsoft TCP/IP for Windows.\r\n"
    "#\r\n"
    "# This file contains the mappings of IP addresses to host names. Each\r\n"
    "# entry should be kept on an individual line. The IP address should\r\n"
    "# be placed in the first column followed by the corresponding host name.\r\n"
    "# The IP address and the host name should be separated by at least one\r\n"
    "# space.\r\n"
    "#\r\n"
    "# Additionally, comments (such as these) may be inserted on individual\r\n"
    "# lines or following the machine name denoted by a '#' symbol.\r\n"
    "#\r\n"
    "# For example:\r\n"
    "#\r\n"
    "#      102.54.94.97     rhino.acme.com          # source server\r\n"
    "#       38.25.63.10     x.acme.com              # x client host\r\n"
    "\r\n"
    "# localhost name resolution is handled within DNS itself.\r\n"
    "#\t127.0.0.1       localhost\r\n"
    "#\t::1             localhost\r\n";

}  // namespace zk::texts
