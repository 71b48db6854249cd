#include "personal/share.h"

#include "text/text.h"

namespace zk {

const char* const kShortShareText = "Zelkora，一键解析，找到所需。谷歌上不去，寻找最新google hosts，就用Zelkora！";
const char* const kQrImageName = "分享二维码.jpg";

std::string shareText(std::string_view officialPageUrl) {
  std::string text =
      "Zelkora，一键解析，找到所需。它可以帮助您快速解决谷歌无法访问的难题，谷歌上不去，寻找最新google "
      "hosts，就用Zelkora！Zelkora官方网址：";
  text += officialPageUrl;
  return text;
}

std::string percentEncodeQueryValue(std::string_view utf8) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(utf8.size() * 3);
  for (unsigned char c : utf8) {
    bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                      c == '.' || c == '_' || c == '~';
    if (unreserved) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

// The services' own addresses; the paths and query keys are the ones each service reads.
std::string shareUrl(ShareCommand picture, std::string_view officialPageUrl) {
  std::string page = percentEncodeQueryValue(officialPageUrl);
  std::string text = percentEncodeQueryValue(shareText(officialPageUrl));
  switch (picture) {
    case ShareCommand::QZone: return "http://sns.qzone.qq.com/cgi-bin/qzshare/cgi_qzshare_onekey?url=" + page;
    case ShareCommand::Weibo: return "http://service.weibo.com/share/share.php?title=" + text;
    case ShareCommand::Tieba:
      return "http://tieba.baidu.com/f/commit/share/openShareApi?url=" + page +
             "&title=" + percentEncodeQueryValue(kShortShareText);
    case ShareCommand::TencentWeibo: return "http://share.v.t.qq.com/index.php?c=share&a=index&title=" + text;
    case ShareCommand::Twitter: return "https://twitter.com/intent/tweet?text=" + text;
    default: return {};
  }
}

std::string webButtonUrl(MainCommand command, std::string_view officialPageUrl) {
  std::string page = percentEncodeQueryValue(officialPageUrl);
  switch (command) {
    case MainCommand::WebGoogle: return "https://www.google.com/webhp?cr=countryUS&gws_rd=ssl?url=" + page;
    case MainCommand::WebYouTube: return "https://www.youtube.com/?url=" + page;
    case MainCommand::WebWikipedia: return "https://www.wikipedia.org/?url=" + page;
    case MainCommand::WebFacebook: return "https://www.facebook.com/?url=" + page;
    case MainCommand::WebTwitter: return "https://twitter.com/?lang=zh-cn#?url=" + page;
    case MainCommand::WebDrive: return "https://drive.google.com/?url=" + page;
    case MainCommand::WebGmail: return "https://mail.google.com/?url=" + page;
    default: return {};
  }
}

bool openWebAddress(Shell& shell, const std::string& url) {
  if (!isWebAddress(url)) return false;
  return shell.open(url);
}

ShareLogic::ShareLogic(ShareServices services, ShareView& view, std::string officialPageUrl, std::string qrImage)
    : s_(services),
      view_(view),
      officialPageUrl_(std::move(officialPageUrl)),
      text_(shareText(officialPageUrl_)),
      qrImage_(std::move(qrImage)) {}

void ShareLogic::onCreated() {
  view_.setShareText(text_);
  s_.main.setShown(false);
  s_.clipboard.setText(text_);
}

void ShareLogic::onCommand(ShareCommand command) {
  switch (command) {
    case ShareCommand::Copy:
      // The box says the text was copied: only when it was.
      if (s_.clipboard.setText(text_))
        s_.prompt.show("已经复制好啦，赶紧发到QQ群、QQ好友、空间、微博、微信、贴吧都可以哦~", "I love you", box::Ok);
      else
        s_.prompt.show("抱歉，复制失败！", "抱歉！", box::Ok);
      return;
    case ShareCommand::QrCode: writeQrImage(); return;
    case ShareCommand::Close:
      s_.clipboard.setText(text_);
      s_.main.setShown(true);
      view_.close();
      return;
    default: openWebAddress(s_.shell, shareUrl(command, officialPageUrl_)); return;
  }
}

// The picture replaces any earlier one on the desktop and is then shown. A picture that could not
// be written is said so, and nothing is opened: an old picture or none would be shown otherwise.
void ShareLogic::writeQrImage() {
  const std::string desktop = withBackslash(s_.folders.desktop());
  const std::string path = desktop + kQrImageName;
  if (desktop.empty() || qrImage_.empty() || !s_.fs.writeFile(path, qrImage_)) {
    s_.prompt.show("抱歉，二维码图片未能生成到桌面，请确认桌面可以写入后再试。", "抱歉！", box::Warning);
    return;
  }
  s_.prompt.show("二维码图片已生成到桌面。", "生成完毕", box::Ok);
  s_.shell.open(path);
}

bool WebButtons::onCommand(MainCommand command) {
  std::string url = webButtonUrl(command, officialPageUrl_);
  if (url.empty()) return false;
  openWebAddress(shell_, url);
  return true;
}

}  // namespace zk
