#include "nettools/dns.h"

#include <cctype>

#include "text/address.h"
#include "text/replace.h"

namespace zk {

// clang-format off
const DnsPreset kDnsPresets[kDnsPresetCount] = {
    {1, "东北地区", "202.96.64.68", "202.97.224.69", DnsFamily::IPv4,
     "辽宁、吉林、黑龙江用户应选择该区DNS。"},
    {1, "华北地区", "219.141.136.10", "219.148.162.31", DnsFamily::IPv4,
     "北京、天津、河北、山西、内蒙用户应选择该区DNS。"},
    {1, "华中地区", "222.88.88.88", "202.103.24.68", DnsFamily::IPv4,
     "湖北、湖南、江西、河南用户应选择该区DNS。"},
    {1, "华东地区", "202.101.172.35", "202.101.224.69", DnsFamily::IPv4,
     "上海、福建、浙江、江苏、安徽、山东用户应选择该区DNS。"},
    {1, "华南地区", "202.96.128.86", "202.103.225.68", DnsFamily::IPv4,
     "广东、广西、海南用户应选择该区DNS。"},
    {1, "西南地区", "202.115.64.33", "61.128.128.68", DnsFamily::IPv4,
     "云南、贵州、四川、西藏用户应选择该区DNS。"},
    {1, "西北地区", "61.128.99.133", "202.100.64.68", DnsFamily::IPv4,
     "陕西、甘肃、宁夏、青海、新疆用户应选择该区DNS。"},
    {2, "国家中心", "1.2.4.8", "210.2.4.8", DnsFamily::IPv4,
     "中国国家互联网络信息中心的公共DNS，即SDNS。"},
    {2, "114DNS", "114.114.114.114", "114.114.115.115", DnsFamily::IPv4,
     "114DNS是国内使用较为广泛的公共DNS之一。由南京信风公司运营。"},
    {2, "百度DNS", "180.76.76.77", "180.76.76.76", DnsFamily::IPv4,
     "百度DNS旗下近年推出的公共域名解析服务，有着“云防护，0劫持”特点。"},
    {2, "腾讯DNS", "119.29.29.29", "182.254.116.116", DnsFamily::IPv4,
     "腾讯旗下DnsPod近年推出的公共域名解析服务，有“快速、稳定、准确”特点。"},
    {2, "阿里DNS", "223.5.5.5", "223.6.6.6", DnsFamily::IPv4,
     "AliDNS是阿里巴巴近年推出的公共域名解析服务，有着“快速、稳定、智能”特点。"},
    {2, "DNS派", "101.226.4.6", "123.125.81.6", DnsFamily::IPv4,
     "DNS派是聚流科技旗下早年推出的公共域名解析服务，有着“高速、稳定、可靠”特点。"},
    {2, "中国联通", "61.50.244.21", "210.76.0.2", DnsFamily::IPv4,
     "中国联通(中国网通)的DNS解析服务，Zelkora引用给大家的IP可以双网通用，即电信、联通都可互用。"},
    {3, "香港地区", "202.60.252.8", "202.67.240.222", DnsFamily::IPv4,
     "香港网络快车公司的公共DNS。"},
    {3, "台湾地区", "168.95.192.1", "168.95.192.2", DnsFamily::IPv4,
     "台湾网络运营商中华电信的DNS。"},
    {3, "日本", "203.119.1.1", "203.119.40.1", DnsFamily::IPv4,
     "日本公共DNS之一。"},
    {3, "韩国", "210.220.163.82", "164.124.107.9", DnsFamily::IPv4,
     "韩国公共DNS之一。"},
    {3, "俄罗斯", "46.146.222.111", "109.195.228.206", DnsFamily::IPv4,
     "俄罗斯公共DNS之一。"},
    {3, "英国", "80.45.150.106", "88.208.250.69", DnsFamily::IPv4,
     "英国公共DNS之一。"},
    {3, "美国", "194.145.226.26", "66.109.128.213", DnsFamily::IPv4,
     "美国公共DNS之一。"},
    {4, "谷歌公司", "8.8.8.8", "8.8.4.4", DnsFamily::IPv4,
     "谷歌公司较早推出的全球公共域名解析服务，8.8.8.8和4.4.4.4，非常好记。是全球最大的公共DNS，可达到其他DNS不能解析的网站。但鉴于国内环境。谷歌的DNS在国内基本是被劫持状态。也就是说，虽然设置谷歌DNS，实际上却不是。"},
    {4, "Open公司", "208.67.220.220", "208.67.222.222", DnsFamily::IPv4,
     "OpenDNS公司较早推出的全球公共域名解析服务，仅次于谷歌，拥有“更干净、更安全、更快速、更智能”特点。但由于某些因素，在国内，OpenDNS与谷歌一样也处于被劫持状态。"},
    {4, "V2exDNS", "199.91.73.222", "178.79.131.110", DnsFamily::IPv4,
     "V2EXDNS是一个可以帮助你获得更快AppStore下载速度的公共域名解析服务。"},
    {4, "GreenTeam", "81.218.119.11", "209.88.198.133", DnsFamily::IPv4,
     "GreenTeam Internet公司，全球著名的公共域名解析服务之一。"},
    {4, "SafeDNS", "195.46.39.39", "195.46.39.40", DnsFamily::IPv4,
     "美国SafeDNS公司，全球著名的公共域名解析服务之一。"},
    {4, "DynDNS", "216.146.35.35", "216.146.36.36", DnsFamily::IPv4,
     "美国Dyn公司，全球著名的公共域名解析服务之一。"},
    {4, "Alternate", "198.101.242.72", "23.253.163.53", DnsFamily::IPv4,
     "Alternate全球著名的公共域名解析服务之一。拦截广告是最大特点。"},
    {4, "ComoDo", "8.26.56.26", "8.20.247.20", DnsFamily::IPv4,
     "科摩多，美国软件公司。全球著名的公共域名解析服务之一。"},
    {4, "Norton", "", "", DnsFamily::None,
     "Norton推出的公共域名解析服务。全球著名的DNS之一。"},
    {4, "Level3", "209.244.0.3", "209.244.0.4", DnsFamily::IPv4,
     "Level3推出的公共域名解析服务。全球著名的DNS之一。"},
    {4, "FreeDNS", "37.235.1.174", "37.235.1.177", DnsFamily::IPv4,
     "非营利组织FreeDNS推出的公共域名解析服务。全球著名的DNS之一。"},
    {4, "Cisco", "198.133.219.25", "171.68.226.120", DnsFamily::IPv4,
     "Cisco(思科)推出的公共域名解析服务。全球著名的DNS之一。"},
    {4, "Verisign", "64.6.64.6", "64.6.65.6", DnsFamily::IPv4,
     "Verisign推出的公共域名解析服务。全球著名的DNS之一。"},
    {4, "Yandex", "77.88.8.8", "77.88.8.1", DnsFamily::IPv4,
     "Yandex推出的公共域名解析服务。全球著名的DNS之一。"},
    {4, "He全球", "74.82.42.42", "217.174.248.125", DnsFamily::IPv4,
     "He网络公司推出的公共域名解析服务。全球著名的DNS之一。"},
    {4, "SmartViper", "208.76.50.50", "208.76.51.51", DnsFamily::IPv4,
     "SmartViper推出的公共域名解析服务。全球著名的DNS之一。"},
    {4, "OpenNIC", "203.167.220.153", "82.229.244.191", DnsFamily::IPv4,
     "OpenNIC推出的公共域名解析服务。全球著名的DNS之一。"},
    {4, "NeuStar", "156.154.70.1", "156.154.71.1", DnsFamily::IPv4,
     "NeuStar推出的公共域名解析服务。全球著名的DNS之一。"},
    {4, "Iamonsys", "84.200.69.80", "84.200.70.40", DnsFamily::IPv4,
     "Iamonsys推出的公共域名解析服务。全球著名的DNS之一。"},
    {4, "PowerNS", "77.220.232.44", "194.145.226.26", DnsFamily::IPv4,
     "PowerNS推出的公共域名解析服务。全球著名的DNS之一。"},
    {4, "Exetel", "220.233.0.4", "58.96.3.34", DnsFamily::IPv4,
     "Exetl推出的公共域名解析服务。全球著名的DNS之一。"},
    {5, "谷歌公司V6", "2001:4860:4860::8888", "2001:4860:4860::8844", DnsFamily::IPv6,
     "谷歌公司的IPv6DNS解析服务。"},
    {5, "He全球V6", "2001:470:20::2", "2001:638:902:1::10", DnsFamily::IPv6,
     "HE网络公司的IPv6DNS解析服务。"},
    {5, "ISCV6", "2001:500:2e::1", "2607:f470:1002::2:3", DnsFamily::IPv6,
     "ISC机构的IPv6DNS解析服务。"},
    {5, "OpenV6", "2620:0:ccc::2", "2620:0:ccd::2", DnsFamily::IPv6,
     "Open的IPv6DNS解析服务。"},
    {5, "国家中心V6", "2001:dc7:1000::1", "2001:da8:8000:1:202:120:2:101", DnsFamily::IPv6,
     "CNNIC的IPv6DNS解析服务。"},
    {5, "清华大学V6", "2001:da8:200:ffff::28", "2001:da8:8000:1:202:120:2:101", DnsFamily::IPv6,
     "清华大学的IPv6DNS解析服务。"},
    {5, "上海交大V6", "2001:da8:8000:1:202:120:2:101", "2001:da8:200:ffff::28", DnsFamily::IPv6,
     "上海交通大学的IPv6DNS解析服务。"},
    {6, "根A(美国)", "198.41.0.4", "74.82.42.42", DnsFamily::IPv4,
     "根域，A，位于美国。遍布地球多处。目前由美国VeriSign公司管理。"},
    {6, "根B(美国)", "192.228.79.201", "74.82.42.42", DnsFamily::IPv4,
     "根域，B，位于美国加州马里纳戴尔雷伊。目前由美国南加州大学信息科学研究所管理。"},
    {6, "根C(美国)", "192.33.4.12", "74.82.42.42", DnsFamily::IPv4,
     "根域，C，位于美国。遍布地球多处。目前由美国CogentCommunications公司管理。"},
    {6, "根D(美国)", "199.7.91.13", "74.82.42.42", DnsFamily::IPv4,
     "根域，D，位于美国。遍布地球多处。目前由美国南加州大学信息科学研究所管理。"},
    {6, "根E(美国)", "192.203.230.10", "74.82.42.42", DnsFamily::IPv4,
     "根域，E，位于美国。遍布地球多处。目前由美国国家航空航天局管理。"},
    {6, "根F(美国)", "192.5.5.241", "74.82.42.42", DnsFamily::IPv4,
     "根域，F，位于美国。遍布地球多处。目前由国际互联网系统协会管理。"},
    {6, "根G(美国)", "192.112.36.4", "74.82.42.42", DnsFamily::IPv4,
     "根域，G，位于美国。遍布地球多处。目前由美国国防部国防信息系统局管理。"},
    {6, "根H(美国)", "128.63.2.53", "74.82.42.42", DnsFamily::IPv4,
     "根域，H，位于美国马里兰州阿伯丁。目前由美国国防部陆军研究所管理。"},
    {6, "根I(瑞典)", "192.36.148.17", "74.82.42.42", DnsFamily::IPv4,
     "根域，I，位于瑞典。遍布地球多处。目前由瑞典Netnod公司管理。"},
    {6, "根J(美国)", "192.58.128.30", "74.82.42.42", DnsFamily::IPv4,
     "根域，J，位于美国。遍布地球多处。目前由美国VeriSign公司管理。"},
    {6, "根K(英国)", "193.0.14.129", "74.82.42.42", DnsFamily::IPv4,
     "根域，K，位于英国。遍布地球多处。目前由荷兰RIPENCC公司管理。"},
    {6, "根L(美国)", "198.32.64.12", "74.82.42.42", DnsFamily::IPv4,
     "根域，L，位于美国。遍布地球多处。目前由美国ICANN管理。"},
    {6, "根M(日本)", "202.12.27.33", "74.82.42.42", DnsFamily::IPv4,
     "根域，M，位于日本。遍布地球多处。目前由日本WIDE Project管理。"},
};
// clang-format on

const char* const kDnsGroupCaptions[6] = {"国内电信（IPv4）：",
                                          "国家、国内公司、联通用户（IPv4)：",
                                          "港台、各国（IPv4)：",
                                          "国外知名公司、非盈利组织（IPv4)：",
                                          "知名公司、非营利组织、国内高校（IPv6)：",
                                          "全球根域（IPv4）："};

namespace {

// The arguments of the system's netsh, which is started by its full path.
struct Template {
  const char* arguments;
  const char* placeholder;
};
const Template kTemplates[2][2] = {
    {{"interface IP Set dns \"本地连接\" static 首选DNS primary", "首选DNS"},
     {"interface IP add dns \"本地连接\" 备用DNS", "备用DNS"}},
    {{"interface ipv6 add dnsservers \"本地连接\" 首要DNS", "首要DNS"},
     {"interface ipv6 add dnsserver \"本地连接\" 备要DNS index=2", "备要DNS"}},
};

const char* const kNotes =
    "请根据您的需求进行有选择性的设置操作。\r\n选择DNS，应选择与你地理位置相近的。\r\n一般地，私营公司/"
    "非营利组织运营的DNS有助于避免网络服务商DNS恶意行为。\r\n关于填写自定义DNS，需按IP格式填写。如：114.114."
    "114.114，或：8.8.8.8，若错误的填写可能导致不可用。(无法上网，是最明显现象)";

}  // namespace

ToolCommand dnsCommand(DnsFamily family, int order, const std::string& address, const std::string& connection) {
  const Template& t = kTemplates[family == DnsFamily::IPv6 ? 1 : 0][order == 2 ? 1 : 0];
  std::string arguments = t.arguments;
  // The address first: a connection's own name could hold the placeholder word.
  replaceAll(arguments, t.placeholder, address);
  if (connection != kFixedConnection)
    replaceAll(arguments, "\"" + std::string(kFixedConnection) + "\"", "\"" + connection + "\"");
  return ToolCommand{"netsh", arguments};
}

std::string dnsAppliedMessage(DnsFamily family, const std::string& primary, const std::string& secondary) {
  std::string head = family == DnsFamily::IPv6 ? "您的 IPv6 DNS设置完毕！\r\n\r\n详情如下：\r\n首选："
                                               : "您的 IPv4 DNS设置完毕！\r\n\r\n详情如下：\r\n首选：";
  return head + primary + "\r\n备用：" + secondary + "\r\n\r\nDNS已生效！";
}

namespace {

bool sameAddress(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

DnsReadBack judgeDns(DnsFamily family, const std::string& primary, const std::string& secondary,
                     const std::optional<ConnectionState>& state) {
  DnsReadBack r;
  if (!state) return r;
  r.readable = true;
  const std::vector<std::string>& list = family == DnsFamily::IPv6 ? state->dnsV6 : state->dnsV4;
  if (!list.empty()) r.firstNow = list.front();
  r.primaryFirst = !list.empty() && sameAddress(list.front(), primary);
  for (const std::string& a : list)
    if (sameAddress(a, secondary)) r.secondaryListed = true;
  return r;
}

std::pair<std::string, std::string> dnsOutcomeMessage(DnsFamily family, const std::string& primary,
                                                      const std::string& secondary, const DnsReadBack& result,
                                                      const std::vector<std::string>& refused) {
  if (result.tookEffect()) return {dnsAppliedMessage(family, primary, secondary), "恭喜！"};
  std::string text;
  if (!result.readable) {
    text = "无法读回该连接现在的DNS设置（网卡可能没有启用），无法确认DNS是否生效。";
  } else {
    std::string v = family == DnsFamily::IPv6 ? "IPv6" : "IPv4";
    std::string details = "\r\n\r\n详情如下：\r\n首选：" + primary +
                          (result.primaryFirst ? "（已生效）" : "（未生效）") + "\r\n备用：" + secondary +
                          (result.secondaryListed ? "（已设置）" : "（未能设置）");
    if (result.primaryFirst)
      text = "您的 " + v + " DNS只设置了一部分。" + details + "\r\n\r\n首选DNS已生效，备用DNS未生效。";
    else
      text = "DNS设置没有成功，DNS未生效。" + details + "\r\n\r\n该连接现在首先使用的DNS：" +
             (result.firstNow.empty() ? std::string("（无）") : result.firstNow);
  }
  if (!refused.empty()) text += "\r\n\r\n没有成功的命令：\r\n" + joinedLines(refused);
  return {text, "抱歉！"};
}

DnsLogic::DnsLogic(DnsServices s, DnsView& view)
    : s_(s), view_(view), progress_(s.rt, [this] { s_.rt.start(TaskSlot::DnsTicker, tick()); }) {}

DnsLogic::~DnsLogic() {
  s_.rt.stop(TaskSlot::DnsApply);
  s_.rt.stop(TaskSlot::DnsTicker);
}

void DnsLogic::onCreated() {
  s_.main.setShown(false);
  view_.setOverlay(false);
  view_.setBusy(false);
  view_.setStatus(kDnsIdleText);
}

void DnsLogic::onCommand(DnsCommand command) {
  if (command == DnsCommand::Close) {
    // Refused while the overlay is up: stopping the apply would leave its command lines running
    // unseen and the outcome unreported.
    if (busy_) return;
    s_.rt.stop(TaskSlot::DnsApply);
    s_.rt.stop(TaskSlot::DnsTicker);
    progress_.setPeriod(0);
    s_.main.setShown(true);
    view_.close();
    return;
  }
  if (busy_) return;  // the overlay takes these clicks; one sent past it is ignored
  int index = static_cast<int>(command);
  if (index >= 0 && index < kDnsPresetCount) {
    const DnsPreset& p = kDnsPresets[index];
    if (p.family == DnsFamily::None) return;
    primary_ = p.primary;
    secondary_ = p.secondary;
    s_.rt.start(TaskSlot::DnsApply, apply(p.family));
    return;
  }
  switch (command) {
    case DnsCommand::Apply: {
      std::string typed = view_.customServer();
      // The server goes into a command line, and a wrong one cuts the machine off: an IPv4
      // address only, as the notes ask.
      if (!isIpv4Address(typed)) {
        s_.prompt.show("填写错误，请严格按照格式填写！", "抱歉！", box::Ok);
        return;
      }
      primary_ = typed;
      secondary_ = kFixedSecondaryDns;
      s_.rt.start(TaskSlot::DnsApply, apply(DnsFamily::IPv4));
      return;
    }
    case DnsCommand::Notes: s_.prompt.show(kNotes, "相关说明", box::Ok); return;
    case DnsCommand::Suggest:
      if (openSuggestion) openSuggestion();
      return;
    case DnsCommand::Automatic: s_.rt.start(TaskSlot::DnsApply, automatic()); return;
    default: return;
  }
}

Task<> DnsLogic::tick() {
  view_.setStatus("正在设置中，请稍后.");
  co_await s_.rt.pumpWait(80);
  view_.setStatus("正在设置中，请稍后..");
  co_await s_.rt.pumpWait(80);
  view_.setStatus("正在设置中，请稍后...");
}

Task<> DnsLogic::apply(DnsFamily family) {
  busy_ = true;
  view_.setStatus("开始中...");
  view_.setBusy(true);
  view_.setOverlay(true);
  if (rebuildTempFolder) rebuildTempFolder();
  co_await s_.rt.pumpWait(1000);
  progress_.setPeriod(600);
  view_.setCommandLines("", "");
  ConnectionChoice choice = co_await s_.repair.choose();
  std::vector<ToolCommand> commands;
  std::vector<std::string> refused;
  if (choice.found()) {
    commands = {dnsCommand(family, 1, primary_, choice.name), dnsCommand(family, 2, secondary_, choice.name)};
    view_.setCommandLines(s_.repair.commandLine(commands[0]), s_.repair.commandLine(commands[1]));
    refused = co_await s_.repair.runTools(std::move(commands));
  }
  co_await s_.rt.pumpWait(4000);
  // Whatever the commands returned, the connection's list as the system holds it now decides.
  std::optional<ConnectionState> state;
  if (choice.found()) state = co_await s_.repair.readBack(choice.name, false);
  DnsReadBack result = judgeDns(family, primary_, secondary_, state);
  progress_.setPeriod(0);
  s_.rt.stop(TaskSlot::DnsTicker);
  co_await s_.rt.pumpWait(700);
  view_.setStatus(result.tookEffect() ? "设置完毕！" : "设置失败！");
  view_.setBusy(false);
  co_await s_.rt.pumpWait(1000);
  if (!choice.found()) {
    s_.prompt.show("本机没有已启用的“本地连接”，也没有找到正在使用（承载默认路由）的网络连接，DNS未做更改。", "抱歉！",
                   box::Ok);
  } else {
    auto [text, title] = dnsOutcomeMessage(family, primary_, secondary_, result, refused);
    s_.prompt.show(text + changedConnectionNote(choice), title, box::Ok);
  }
  co_await s_.rt.pumpWait(500);
  view_.setOverlay(false);
  view_.setStatus(kDnsIdleText);
  busy_ = false;
}

Task<> DnsLogic::automatic() {
  busy_ = true;
  view_.setOverlay(true);
  co_await s_.repair.setAutomaticAddressing(false);
  view_.setOverlay(false);
  busy_ = false;
}

}  // namespace zk
