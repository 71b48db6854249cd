#include <gtest/gtest.h>

#include <cctype>
#include <optional>

#include "personal/share.h"
#include "tests/support/fakes.h"

namespace zk {
namespace {

const std::string kPage = "http://www.zelkora.example/Under/Kpr/index.html";
const std::string kPageEncoded = "http%3A%2F%2Fwww.zelkora.example%2FUnder%2FKpr%2Findex.html";

// Reads a query value back: only "%XX" with upper-case digits and the unreserved characters may
// appear; anything else makes the value unreadable (nothing).
std::optional<std::string> decodeStrict(std::string_view v) {
  std::string out;
  for (std::size_t i = 0; i < v.size(); ++i) {
    char c = v[i];
    if (c == '%') {
      if (i + 2 >= v.size()) return std::nullopt;
      auto digit = [](char d) { return d >= '0' && d <= '9' ? d - '0' : d >= 'A' && d <= 'F' ? d - 'A' + 10 : -1; };
      int hi = digit(v[i + 1]), lo = digit(v[i + 2]);
      if (hi < 0 || lo < 0) return std::nullopt;
      out += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += c;
    } else {
      return std::nullopt;
    }
  }
  return out;
}

TEST(Share, QueryValuesKeepOnlyUnreservedCharactersAndEncodeUtf8Bytes) {
  EXPECT_EQ(percentEncodeQueryValue("AZaz09-._~"), "AZaz09-._~");
  EXPECT_EQ(percentEncodeQueryValue("a b&c#d%e+f/g?h=i"), "a%20b%26c%23d%25e%2Bf%2Fg%3Fh%3Di");
  EXPECT_EQ(percentEncodeQueryValue("，"), "%EF%BC%8C");  // U+FF0C
  EXPECT_EQ(percentEncodeQueryValue("谷歌"), "%E8%B0%B7%E6%AD%8C");
  EXPECT_EQ(percentEncodeQueryValue(std::string_view("\0\x7F\xFF\n", 4)), "%00%7F%FF%0A");
  EXPECT_EQ(percentEncodeQueryValue(""), "");
  EXPECT_EQ(percentEncodeQueryValue(kPage), kPageEncoded);
}

TEST(Share, TextsAreTheFixedSentences) {
  EXPECT_EQ(shareText(kPage),
            "Zelkora，一键解析，找到所需。它可以帮助您快速解决谷歌无法访问的难题，谷歌上不去，寻找最新google hosts，"
            "就用Zelkora！Zelkora官方网址：http://www.zelkora.example/Under/Kpr/index.html");
  EXPECT_EQ(std::string(kShortShareText),
            "Zelkora，一键解析，找到所需。谷歌上不去，寻找最新google hosts，就用Zelkora！");
}

TEST(Share, EachPictureOpensItsServiceWithTheEncodedTexts) {
  EXPECT_EQ(shareUrl(ShareCommand::QZone, kPage),
            "http://sns.qzone.qq.com/cgi-bin/qzshare/cgi_qzshare_onekey?url=" + kPageEncoded);
  // The long texts: the value is nothing but unreserved characters and %XX and reads back whole.
  struct Case {
    ShareCommand picture;
    std::string prefix;
    std::string text;
  } cases[] = {
      {ShareCommand::Weibo, "http://service.weibo.com/share/share.php?title=", shareText(kPage)},
      {ShareCommand::TencentWeibo, "http://share.v.t.qq.com/index.php?c=share&a=index&title=", shareText(kPage)},
      {ShareCommand::Twitter, "https://twitter.com/intent/tweet?text=", shareText(kPage)},
      {ShareCommand::Tieba,
       "http://tieba.baidu.com/f/commit/share/openShareApi?url=" + kPageEncoded + "&title=", kShortShareText},
  };
  for (const Case& c : cases) {
    std::string url = shareUrl(c.picture, kPage);
    ASSERT_EQ(url.rfind(c.prefix, 0), 0u) << url;
    EXPECT_EQ(decodeStrict(url.substr(c.prefix.size())), c.text) << url;
  }
  // The start of the Weibo title, worked out by hand: "Zelkora，一键".
  EXPECT_NE(shareUrl(ShareCommand::Weibo, kPage).find("title=Zelkora%EF%BC%8C%E4%B8%80%E9%94%AE"), std::string::npos);
  for (ShareCommand none : {ShareCommand::QrCode, ShareCommand::Copy, ShareCommand::Close})
    EXPECT_EQ(shareUrl(none, kPage), "");
}

TEST(Share, BlanksAmpersandsHashesAndPercentsOfThePageStayInsideTheValue) {
  const std::string odd = "http://h.example/a b&c#d%e";
  const std::string oddEncoded = "http%3A%2F%2Fh.example%2Fa%20b%26c%23d%25e";
  EXPECT_EQ(shareUrl(ShareCommand::QZone, odd),
            "http://sns.qzone.qq.com/cgi-bin/qzshare/cgi_qzshare_onekey?url=" + oddEncoded);
  EXPECT_EQ(shareUrl(ShareCommand::Tieba, odd), "http://tieba.baidu.com/f/commit/share/openShareApi?url=" + oddEncoded +
                                                    "&title=" + percentEncodeQueryValue(kShortShareText));
  EXPECT_EQ(webButtonUrl(MainCommand::WebYouTube, odd), "https://www.youtube.com/?url=" + oddEncoded);
  std::string weibo = shareUrl(ShareCommand::Twitter, odd);
  EXPECT_EQ(weibo.find_first_of(" #"), std::string::npos) << weibo;
  EXPECT_NE(weibo.find("%EF%BC%9A" + oddEncoded), std::string::npos) << weibo;  // after "："
}

TEST(Share, EachWebButtonOpensItsServiceWithThePage) {
  const std::pair<MainCommand, std::string> expected[] = {
      {MainCommand::WebGoogle, "https://www.google.com/webhp?cr=countryUS&gws_rd=ssl?url=" + kPageEncoded},
      {MainCommand::WebYouTube, "https://www.youtube.com/?url=" + kPageEncoded},
      {MainCommand::WebWikipedia, "https://www.wikipedia.org/?url=" + kPageEncoded},
      {MainCommand::WebFacebook, "https://www.facebook.com/?url=" + kPageEncoded},
      {MainCommand::WebTwitter, "https://twitter.com/?lang=zh-cn#?url=" + kPageEncoded},
      {MainCommand::WebDrive, "https://drive.google.com/?url=" + kPageEncoded},
      {MainCommand::WebGmail, "https://mail.google.com/?url=" + kPageEncoded},
  };
  test::FakeShell shell;
  WebButtons buttons(shell, kPage);
  for (const auto& [command, url] : expected) {
    EXPECT_EQ(webButtonUrl(command, kPage), url);
    EXPECT_TRUE(buttons.onCommand(command));
    ASSERT_FALSE(shell.opened.empty());
    EXPECT_EQ(shell.opened.back(), url);
  }
  EXPECT_EQ(shell.opened.size(), 7u);
  // Commands of other logic are left to it.
  for (MainCommand other : {MainCommand::Share, MainCommand::Help, MainCommand::News, MainCommand::WebPing})
    EXPECT_FALSE(buttons.onCommand(other));
  EXPECT_EQ(shell.opened.size(), 7u);
}

TEST(Share, OnlyWebAddressesReachTheShell) {
  test::FakeShell shell;
  for (const char* refused : {"", "file:///C:/Windows/notepad.exe", "C:\\Windows\\notepad.exe", "http://", "https:///x",
                              "http://a b", "http://a\r\nb", "calc.exe", "javascript:alert(1)"})
    EXPECT_FALSE(openWebAddress(shell, refused)) << refused;
  EXPECT_TRUE(shell.opened.empty());
  EXPECT_TRUE(openWebAddress(shell, "HTTPS://www.example.com/?q=%20"));
  EXPECT_EQ(shell.opened, std::vector<std::string>{"HTTPS://www.example.com/?q=%20"});
}

class FakeShareView : public ShareView {
 public:
  void setShareText(const std::string& t) override { text = t; }
  void close() override { ++closes; }
  std::string text;
  int closes = 0;
};

struct ShareFixture : ::testing::Test {
  test::FakeMainView main;
  test::FakeShell shell;
  test::FakeClipboard clipboard;
  test::FakeFileSystem fs;
  test::FakeFolders folders;
  test::FakePrompter prompt;
  FakeShareView view;
  // Bytes a text write would spoil: a NUL, CR LF, high bytes.
  const std::string qr = std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\r\n\x80\xFF\xD9", 16);
  ShareLogic logic{ShareServices{main, shell, clipboard, fs, folders, prompt}, view, kPage, qr};
  std::string qrPath() const { return folders.desktopPath + "分享二维码.jpg"; }
  ShareFixture() { fs.addFolder(folders.desktopPath); }
};

TEST_F(ShareFixture, OpeningHidesTheMainWindowAndPutsTheTextOnTheClipboard) {
  logic.onCreated();
  EXPECT_FALSE(main.shown);
  EXPECT_EQ(clipboard.content, shareText(kPage));
  EXPECT_EQ(view.text, shareText(kPage));
  EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(ShareFixture, ClosingPutsTheTextBackShowsTheMainWindowAndCloses) {
  logic.onCreated();
  clipboard.content = "something else";
  logic.onCommand(ShareCommand::Close);
  EXPECT_EQ(clipboard.content, shareText(kPage));
  EXPECT_TRUE(main.shown);
  EXPECT_EQ(view.closes, 1);
}

TEST_F(ShareFixture, PicturesOpenTheirServices) {
  logic.onCreated();
  for (ShareCommand p : {ShareCommand::QZone, ShareCommand::Weibo, ShareCommand::Tieba, ShareCommand::TencentWeibo,
                         ShareCommand::Twitter}) {
    logic.onCommand(p);
    ASSERT_FALSE(shell.opened.empty());
    EXPECT_EQ(shell.opened.back(), shareUrl(p, kPage));
  }
  EXPECT_EQ(shell.opened.size(), 5u);
  EXPECT_TRUE(prompt.shown.empty());
  EXPECT_EQ(view.closes, 0);
}

TEST_F(ShareFixture, CopySaysSoOnlyWhenTheClipboardTookTheText) {
  clipboard.content = "other";
  logic.onCommand(ShareCommand::Copy);
  EXPECT_EQ(clipboard.content, shareText(kPage));
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].text, "已经复制好啦，赶紧发到QQ群、QQ好友、空间、微博、微信、贴吧都可以哦~");
  EXPECT_EQ(prompt.shown[0].title, "I love you");
  EXPECT_EQ(prompt.shown[0].flags, 0u);

  clipboard.writable = false;
  logic.onCommand(ShareCommand::Copy);
  ASSERT_EQ(prompt.shown.size(), 2u);
  EXPECT_EQ(prompt.shown[1].title, "抱歉！");
}

TEST_F(ShareFixture, TheQrPictureIsWrittenWholeToTheDesktopThenShown) {
  fs.addFile(qrPath(), "an older picture, longer than the new one ....................");
  logic.onCommand(ShareCommand::QrCode);
  EXPECT_EQ(fs.bytes(qrPath()), qr);
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].text, "二维码图片已生成到桌面。");
  EXPECT_EQ(prompt.shown[0].title, "生成完毕");
  EXPECT_EQ(prompt.shown[0].flags, 0u);
  EXPECT_EQ(shell.opened, std::vector<std::string>{qrPath()});
  // A second click writes it again.
  fs.addFile(qrPath(), "edited meanwhile");
  logic.onCommand(ShareCommand::QrCode);
  EXPECT_EQ(fs.bytes(qrPath()), qr);
  EXPECT_EQ(shell.opened.size(), 2u);
}

TEST_F(ShareFixture, ADesktopWithoutItsBackslashStillGetsThePictureInside) {
  folders.desktopPath = "C:\\Users\\张三\\Desktop";
  logic.onCommand(ShareCommand::QrCode);
  EXPECT_EQ(fs.bytes("C:\\Users\\张三\\Desktop\\分享二维码.jpg"), qr);
}

TEST_F(ShareFixture, AFailedWriteIsSaidAndNothingIsOpened) {
  fs.addFile(qrPath(), "old");
  fs.attributes[test::FakeFileSystem::key(qrPath())] = 1;  // read-only
  logic.onCommand(ShareCommand::QrCode);
  EXPECT_EQ(fs.bytes(qrPath()), "old");
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].title, "抱歉！");
  EXPECT_NE(prompt.shown[0].flags & box::Warning, 0u);
  EXPECT_TRUE(shell.opened.empty());

  // No desktop folder at all.
  test::FakeFileSystem empty;
  ShareLogic other{ShareServices{main, shell, clipboard, empty, folders, prompt}, view, kPage, qr};
  other.onCommand(ShareCommand::QrCode);
  ASSERT_EQ(prompt.shown.size(), 2u);
  EXPECT_EQ(prompt.shown[1].title, "抱歉！");
  EXPECT_TRUE(shell.opened.empty());
}

TEST_F(ShareFixture, AProgramWithoutItsPictureWritesNoEmptyFile) {
  ShareLogic bare{ShareServices{main, shell, clipboard, fs, folders, prompt}, view, kPage, ""};
  bare.onCommand(ShareCommand::QrCode);
  EXPECT_FALSE(fs.fileExists(qrPath()));
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].title, "抱歉！");
  EXPECT_TRUE(shell.opened.empty());
}

}  // namespace
}  // namespace zk
