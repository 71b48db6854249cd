#include "resources/tutorial.h"

#include <string_view>

namespace zk::texts {

const char* const kHostsPackTutorial =
    "\r\n"
    "❤很高兴您使用Zelkora生成的文件，在这里您可以通过以下方式使用它：\r\n"
    "\r\n"
    "=====================================================================\r\n"
    "\r\n"
    "1.安卓用户：\r\n"
    "\t必须取得Root权限，使用RootExplorer这款工具进行复制粘贴。\r\n"
    "\t同时，我们制作了轻松包，直接将目录复制到安卓根目录即可。\r\n"
    "\t(这里的根目录指的是设备存储根目录，不是你的存储卡目录)\r\n"
    "\r\n"
    "\t☆：\r\n"
    "\t安卓目录(方便包)：直接把目录复制粘贴到根目录即可。\r\n"
    "\t\t(繁琐包)：需要将压缩包里头的常规包中的hosts文件，复制粘贴到\r\n"
    "\t\t\t  安卓根目录/system/etc/中。\r\n"
    "\t注意：需重启手机。\r\n"
    "\t      方便包、繁琐包本质无任何区别，只是粘贴的时候方便与不方便有区别。\r\n"
    "\r\n"
    "\t参考教程：http://www.zelkora.example/Under/Kpr/android.html\r\n"
    "\tRootExplorer软件下载：http://www.zelkora.example/Under/Kpr/RootExplorer.apk\r\n"
    "\r\n"
    "---------------------------\r\n"
    "2.iPhone用户：\r\n"
    "\r\n"
    "\t目前适用于越狱机，相当于安卓的Root权限也是必须获取一样。工具也很多\r\n"
    "\t比如iFunBox、PP助手等等这些，在电脑上进行操作。\r\n"
    "\r\n"
    "\tiPhone文件目录：/etc\r\n"
    "\r\n"
    "---------------------------\r\n"
    "3.Mac系统用户：\r\n"
    "\r\n"
    "\t参考教程：http://www.zelkora.example/Under/Kpr/mac.html\r\n"
    "\r\n"
    "---------------------------\r\n"
    "4.Windows系统用户：\r\n"
    "\r\n"
    "\t第一种：把Windows电脑版的hosts复制到：\r\n"
    "                C:\\Windows\\System32\\drivers\\etc\r\n"
    "\r\n"
    "【优先建议】\r\n"
    "\t第二种：下载Zelkora，一键操作。\r\n"
    "\t\t复制到迅雷即可：http://www.zelkora.example/Under/Kpr/Zelkora.zip\r\n"
    "\r\n"
    "\r\n"
    "\t不管是第一种，还是第二种，电脑上先退出杀毒软件。否则可能失败哦。\r\n"
    "\r\n"
    "-----------------------------------------------------------------------------\r\n"
    "本文更新于：2016年1月15日\r\n"
    "\r\n";

std::string hostsPackTutorialBytes() {
  std::string out = "\xFF\xFE";
  auto unit = [&out](unsigned u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  };
  std::string_view s = kHostsPackTutorial;
  for (std::size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    unsigned cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    for (std::size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += n;
    if (cp >= 0x10000) {
      unit(0xD800 + ((cp - 0x10000) >> 10));
      unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      unit(cp);
    }
  }
  return out;
}

}  // namespace zk::texts
