#include <gtest/gtest.h>

#include "personal/customisation.h"
#include "personal/qq_reply.h"
#include "tests/support/sync_fakes.h"
#include "tests/support/virtual_runtime.h"
#include "tests/unit/startup_fixture.h"
#include "text/gbk.h"

namespace zk {
namespace {

using test::FakeHttp;

const std::string kStart = "-1,0,0,0,\"";
const std::string kEnd = "\",0]})";
// A reply of the nickname service around a nickname given as GBK bytes.
std::string reply(const std::string& gbkNickname) {
  return "portraitCallBack({\"12345\":[\"http://qlogo/12345\",0,0,0,0,0,0,-1,0,0,0,\"" + gbkNickname + kEnd;
}

TEST(QqReply, TheNicknameLiesBetweenTheFirstStartAndTheFirstEndAfterIt) {
  struct Case {
    std::string body, nickname;
  } cases[] = {
      {reply(toGbk("小明")), "小明"},
      {reply("  Tom  "), "Tom"},
      {kEnd + kStart + "A" + kEnd + "B" + kEnd, "A"},  // an end before the start does not count
      {kStart + "one" + kEnd + kStart + "two" + kEnd, "one"},
      {kStart + "no end", ""},
      {"no start" + kEnd, ""},
      {kStart + kEnd, ""},
      {kStart + "   " + kEnd, ""},
      {"", ""},
      {"<html><body>502 Bad Gateway</body></html>", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(qqNicknameFromReply(c.body), c.nickname) << c.body;
}

TEST(QqReply, ControlsAndCharactersGbkCannotHoldGoBeforeTheTrimAndTheCut) {
  struct Case {
    std::string gbk, nickname;
  } cases[] = {
      {"\tA\x01"
       "B\x7F\r\n",
       "AB"},
      {" \x1B Tom \x07 ", "Tom"},  // controls removed first, then the blanks around are trimmed
      // A lead byte without a second byte is no character; what follows it stays.
      {"\x81 A", "A"},
      {"\xFF\x80"
       "Bob",
       "Bob"},
      // Controls do not count towards the 20 bytes: 21 letters and 3 controls keep 20 letters.
      {"\x01\x02\x03"
       "abcdefghijklmnopqrstu",
       "abcdefghijklmnopqrst"},
  };
  for (const Case& c : cases) EXPECT_EQ(qqNicknameFromReply(reply(c.gbk)), c.nickname) << c.gbk;
}

TEST(QqReply, CutsAtTwentyBytesOnACharacterBoundary) {
  struct Case {
    std::string utf8, kept;
  } cases[] = {
      {"一二三四五六七八九十", "一二三四五六七八九十"},      // exactly 20 bytes
      {"一二三四五六七八九十壹", "一二三四五六七八九十"},    // 22 bytes: the last goes
      {"a一二三四五六七八九十", "a一二三四五六七八九"},      // 21: the split character goes whole
      {"abcdefghijklmnopqrs一", "abcdefghijklmnopqrs"},      // 19 + 2
      {"abcdefghijklmnopqrst", "abcdefghijklmnopqrst"},      // 20 ASCII
      {"abcdefghijklmnopqrstuvwx", "abcdefghijklmnopqrst"},  // 24 ASCII
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cutToGbkBytes(c.utf8, 20), c.kept) << c.utf8;
    EXPECT_EQ(qqNicknameFromReply(reply(toGbk(c.utf8))), c.kept) << c.utf8;
    EXPECT_LE(gbkByteLength(c.kept), 20u);
  }
  // A cut inside blanks leaves none at the end of the nickname.
  EXPECT_EQ(qqNicknameFromReply(reply(toGbk("一二三四五六七八九 十"))), "一二三四五六七八九");
  EXPECT_EQ(qqNicknameFromReply(reply(toGbk("abcdefghijklmnopqrs    t"))), "abcdefghijklmnopqrs");
}

TEST(QqReply, TheFontFollowsTheByteLength) {
  struct Case {
    std::string text;
    NicknameFont font;
  } cases[] = {
      {"abcdefghijklmno", NicknameFont::YaHei13},    // 15
      {"一二三四五六七八", NicknameFont::Design},    // 16
      {"abcdefghijklmnop", NicknameFont::Design},    // 16
      {"一二三四五六七八a", NicknameFont::YaHei12},  // 17
      {"", NicknameFont::YaHei13},
  };
  for (const Case& c : cases) EXPECT_EQ(nicknameFontFor(c.text), c.font) << c.text;
}

TEST(QqReply, OnlyFiveToElevenAsciiDigitsGoIntoAnAddress) {
  for (std::string ok : {"12345", "12345678901", "10000"}) EXPECT_TRUE(isQqNumber(ok)) << ok;
  for (std::string bad : {"", "1", "1234", "123456789012", "12 345", "12345&x=1", "１２３４５", "12345\r\n", "-12345"})
    EXPECT_FALSE(isQqNumber(bad)) << bad;
  EXPECT_EQ(qqNicknameUrl("http://n.test", "12345"), "http://n.test/fcg-bin/cgi_get_portrait.fcg?uins=12345");
  EXPECT_EQ(qqAvatarUrl("http://a.test", "12345"), "http://a.test/headimg_dl?dst_uin=12345&spec=100&img_type=jpg");
  EXPECT_EQ(qqServiceBase("", "http://q1.qlogo.cn"), "http://q1.qlogo.cn");
  EXPECT_EQ(qqServiceBase(" http://127.0.0.1:8080/ ", "http://q1.qlogo.cn"), "http://127.0.0.1:8080");
  EXPECT_EQ(qqServiceBase("file:///C:/x", "http://q1.qlogo.cn"), "http://q1.qlogo.cn");
}

// The start-up application against a Personal.ini, two scripted services and the views.
struct Customised {
  test::FakeFileSystem fs;
  test::VirtualRuntime rt;
  FakeHttp nicknames, avatars;
  test::FakePrompter prompt;
  test::FakeMainView main;
  test::FakeSyncView log;
  ProgramValues values;
  Customisation logic{CustomisationServices{rt, nicknames, avatars, prompt, main, log, values}};
  static constexpr const char* kIni = "C:\\data\\Personal.ini";
  static constexpr const char* kNickUrl = "http://n.test/fcg-bin/cgi_get_portrait.fcg?uins=";
  static constexpr const char* kAvatarUrl = "http://a.test/headimg_dl?dst_uin=";

  explicit Customised(const std::string& keys) {
    fs.addFile(kIni, toGbk("[Personal]\r\nSRDZ=1\r\n" + keys));
    values.srdzValue = "1";
    // As start-up leaves them.
    main.avatarVisible = false;
    main.nicknameVisible = false;
  }
  static std::string avatarUrl(const std::string& qq) { return kAvatarUrl + qq + "&spec=100&img_type=jpg"; }
  void start() {
    rt.start(TaskSlot::Customisation, logic.apply(IniFile(fs, kIni), QqServices{"http://n.test", "http://a.test"}));
  }
  void run() {
    start();
    rt.runUntilIdle();
    ASSERT_FALSE(rt.isRunning(TaskSlot::Customisation));
  }
};

TEST(Customisation, ATypedNicknameWithAvatarWelcomeBoxAndGold) {
  Customised c("NAME=小明\r\nQQTX=12345\r\nHYTS=1\r\nQQNC=0\r\nTHYS=1\r\n");
  c.avatars.serve(Customised::avatarUrl("12345"), "JPEG-bytes");
  std::vector<bool> shownWhileBoxOpen;
  c.prompt.whileShown = [&] { shownWhileBoxOpen.push_back(c.main.shown); };
  c.run();
  EXPECT_TRUE(c.nicknames.requests.empty());
  EXPECT_EQ(c.values.currentNickname, "小明");
  EXPECT_EQ(c.main.avatarPicture, "JPEG-bytes");
  // The avatar sits on the logo's place, 3 pixels higher, and the frame label exactly over it.
  EXPECT_EQ(c.main.avatar, (Rect{8, 3, 31, 31}));
  EXPECT_EQ(c.main.avatarFrame, c.main.avatar);
  EXPECT_TRUE(c.main.avatarVisible);
  EXPECT_TRUE(c.main.editionVisible);
  EXPECT_EQ(c.log.log, "\r\n欢迎使用【小明】私人订制专版，鼠标轻点上方环绕箭头开始！");
  ASSERT_EQ(c.prompt.shown.size(), 1u);
  EXPECT_EQ(c.prompt.shown[0].text, "欢迎使用【小明】私人订制专版！");
  EXPECT_EQ(c.prompt.shown[0].title, "悄悄地说：");
  EXPECT_EQ(c.prompt.shown[0].flags, 0x40000u);
  EXPECT_EQ(shownWhileBoxOpen, std::vector<bool>{false});
  EXPECT_TRUE(c.main.shown);
  EXPECT_EQ(c.main.nicknameText, "小明");
  EXPECT_TRUE(c.main.nicknameVisible);
  EXPECT_FALSE(c.main.logoVisible);
  EXPECT_EQ(c.main.nicknameFont, NicknameFont::YaHei13);
  EXPECT_EQ(c.main.nicknameColour, (Rgb{211, 168, 9}));
}

TEST(Customisation, QqNicknameLookup) {
  struct Case {
    std::string what;
    HttpResponse answer;
    std::string nickname;
  } cases[] = {
      {"served", {true, 200, false, reply(toGbk("小红"))}, "小红"},
      {"24 bytes cut to 20", {true, 200, false, reply(toGbk("一二三四五六七八九十壹贰"))}, "一二三四五六七八九十"},
      {"no delimiters", {true, 200, false, "portraitCallBack({})"}, "12345"},
      {"an HTML page", {true, 200, false, "<html>portal</html>"}, "12345"},
      {"empty 200", {true, 200, false, ""}, "12345"},
      {"not 2xx", {true, 404, false, reply("Tom")}, "12345"},
      {"over the cap", {true, 200, true, reply("Tom")}, "12345"},
      {"unreachable", {}, "12345"},
  };
  for (const Case& k : cases) {
    Customised c("NAME=12345\r\nQQTX=1\r\nQQNC=1\r\nHYTS=0\r\nTHYS=0\r\n");
    c.nicknames.answers[std::string(Customised::kNickUrl) + "12345"] = {k.answer};
    c.run();
    EXPECT_EQ(c.nicknames.requests.size(), 1u) << k.what;
    EXPECT_EQ(c.values.currentNickname, k.nickname) << k.what;
    EXPECT_EQ(c.main.nicknameText, k.nickname) << k.what;
    EXPECT_FALSE(c.main.logoVisible) << k.what;
    EXPECT_NE(c.log.log.find("【" + k.nickname + "】"), std::string::npos) << k.what;
  }
}

TEST(Customisation, OnlyAQqNumberIsEverLookedUp) {
  for (std::string name : {"1234", "abcde", "12345&uins=9", "123456789012"}) {
    Customised c("NAME=" + name + "\r\nQQTX=1\r\nQQNC=1\r\n");
    c.run();
    EXPECT_TRUE(c.nicknames.requests.empty()) << name;
    EXPECT_EQ(c.main.nicknameText, name);
  }
}

TEST(Customisation, Avatar) {
  struct Case {
    std::string qq;
    bool served;  // a picture is served for it
    std::string request;
    std::string picture;
    bool shown;
  } cases[] = {
      {"12345", true, Customised::avatarUrl("12345"), "JPEG-bytes", true},
      {"54321", false, Customised::avatarUrl("54321"), "default", true},  // nothing came back
      {"", false, "", "default", true},  // no number: nothing asked, the built-in avatar
      {"12a45", false, "", "default", true},
      {"1", false, "", "none", false},  // exactly "1": no avatar at all
      {"01", false, "", "default", true},
  };
  for (const Case& k : cases) {
    Customised c("NAME=小明\r\nQQTX=" + k.qq + "\r\n");
    if (k.served) c.avatars.serve(k.request, "JPEG-bytes");
    c.run();
    EXPECT_EQ(c.avatars.requests, k.request.empty() ? std::vector<std::string>{} : std::vector{k.request}) << k.qq;
    EXPECT_EQ(c.main.avatarPicture, k.picture) << k.qq;
    EXPECT_EQ(c.main.avatarVisible, k.shown) << k.qq;
    EXPECT_EQ(c.main.editionVisible, k.shown) << k.qq;
  }
}

TEST(Customisation, ABodyThatIsNoPictureGivesTheDefaultAvatar) {
  for (HttpResponse answer : {HttpResponse{true, 200, false, "<html>login</html>"}, HttpResponse{true, 200, false, ""},
                              HttpResponse{true, 500, false, "JPEG-bytes"}, HttpResponse{true, 200, true, "JPEG-b"}}) {
    Customised c("NAME=小明\r\nQQTX=12345\r\n");
    c.avatars.answers[Customised::avatarUrl("12345")] = {answer};
    c.run();
    EXPECT_EQ(c.main.avatarPicture, "default") << answer.body;
  }
}

TEST(Customisation, AnEmptyNameHidesEverythingAndAsksNothing) {
  Customised c("NAME=\r\nQQTX=12345\r\nHYTS=1\r\nQQNC=1\r\nTHYS=1\r\n");
  c.run();
  EXPECT_TRUE(c.nicknames.requests.empty());
  EXPECT_TRUE(c.avatars.requests.empty());
  EXPECT_FALSE(c.main.avatarVisible);
  EXPECT_FALSE(c.main.nicknameVisible);
  EXPECT_TRUE(c.main.logoVisible);
  EXPECT_TRUE(c.prompt.shown.empty());
  EXPECT_EQ(c.log.log, "");
}

TEST(Customisation, WelcomeBoxOnlyWithHytsExactlyOne) {
  for (std::string hyts : {"0", "", "11", "true"}) {
    Customised c("NAME=小明\r\nQQTX=1\r\nHYTS=" + hyts + "\r\n");
    c.run();
    EXPECT_TRUE(c.prompt.shown.empty()) << hyts;
    EXPECT_TRUE(c.main.shown);
    EXPECT_EQ(c.main.nicknameColour, (Rgb{255, 255, 255}));
  }
}

// A fetch started while the lookup was slow owns the log: the welcome line stays out of it.
TEST(Customisation, AFetchStartedMeanwhileKeepsItsLog) {
  Customised c("NAME=12345\r\nQQTX=1\r\nQQNC=1\r\n");
  c.nicknames.serve(std::string(Customised::kNickUrl) + "12345", reply("Tom"));
  c.rt.workDelayMs = 5000;
  c.start();
  c.rt.advance(1000);
  c.values.fetchStarted = true;
  c.log.setLog("09:00:00：欢迎您使用Zelkora新标版！\r\n");
  c.rt.runUntilIdle();
  EXPECT_EQ(c.log.log, "09:00:00：欢迎您使用Zelkora新标版！\r\n");
  EXPECT_EQ(c.main.nicknameText, "Tom");
}

TEST(Customisation, TheFrameOverTheAvatarOpensOnesOwnCustomisation) {
  Customised c("NAME=小明\r\n");
  EXPECT_FALSE(c.logic.onCommand(MainCommand::Settings));
  EXPECT_TRUE(c.logic.onCommand(MainCommand::AvatarFrame));
  EXPECT_EQ(c.values.customisationMode, "自己");
  EXPECT_EQ(c.main.settingsOpened, std::vector<bool>{false});
}

TEST(Startup, OnlyACustomisationFileBesideTheProgramIsCopied) {
  struct Case {
    std::string beside;
    bool copied;
  } cases[] = {
      {"[Personal]\r\nSRDZ=1\r\nNAME=小明\r\n", true},
      {"[personal]\r\nSRDZ=\r\n", true},  // the key is there, even empty: still a customisation
      {"[Personal]\r\nNAME=小明\r\n", false},
      {"[Other]\r\nSRDZ=1\r\n", false},
      {"SRDZ=1\r\n", false},
      {"", false},
      // A customisation padded past 64 KB is no file the packs write: not read at all.
      {"[Personal]\r\nSRDZ=1\r\nNAME=小明\r\n" + std::string(64 * 1024, ';'), false},
  };
  for (const Case& k : cases) {
    test::Program p;
    p.fs.addFile(p.folders.ownFolderPath + "\\Personal.ini", k.beside);
    p.fs.addFile(p.data("Personal.ini"), "[Personal]\r\nSRDZ=1\r\nNAME=own\r\n");
    p.start();
    EXPECT_EQ(p.fs.bytes(p.data("Personal.ini")), k.copied ? k.beside : "[Personal]\r\nSRDZ=1\r\nNAME=own\r\n")
        << k.beside;
  }
}

}  // namespace
}  // namespace zk
