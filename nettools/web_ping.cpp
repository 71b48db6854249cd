#include "nettools/web_ping.h"

namespace zk {

const WebPingService kWebPingServices[kWebPingServiceCount] = {
    {"站长工具(超级Ping)", "http://ping.chinaz.com/"},  {"卡卡网(超级Ping)", "http://www.webkaka.com/Ping.aspx"},
    {"Website(超级Ping)", "http://www.just-ping.com/"}, {"奇云测(超级Ping)", "http://ce.cloud.360.cn/"},
    {"17CE(超级Ping)", "http://www.17ce.com/"},         {"百度(超级Ping)", "http://ce.baidu.com/"},
    {"CA(超级Ping)", "https://asm.ca.com/en/ping.php"}, {"Opena(超级Ping)", "https://ping.pe/zh-cn/"},
};

void WebPingLogic::onCommand(WebPingCommand command) {
  if (command == WebPingCommand::Close) {
    main_.setShown(true);
    view_.close();
    return;
  }
  int index = static_cast<int>(command);
  if (index < 0 || index >= kWebPingServiceCount) return;
  const char* url = kWebPingServices[index].url;
  // Without an HTML engine the window would stay blank: the service opens in the browser instead.
  if (!view_.hasBrowser()) {
    shell_.open(url);
    return;
  }
  view_.navigate(url);
  view_.hideHint();
  view_.maximise();
}

}  // namespace zk
