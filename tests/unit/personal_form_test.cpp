#include <gtest/gtest.h>

#include "personal/settings_group.h"
#include "tests/support/fakes.h"
#include "tests/support/personal_fakes.h"
#include "tests/support/virtual_runtime.h"
#include "text/gbk.h"

namespace zk {
namespace {

using F = PersonalField;
constexpr const char* kNoQq = "尚未输入QQ号码，请重新填写！";
constexpr const char* kNoName = "昵称是必填项目，请重新填写！";
constexpr const char* kLength = "QQ号码长度填写错误，请重新填写！";

TEST(PersonalValidation, FirstFailingRuleInOrderWithItsFocus) {
  struct Case {
    const char* nickname;
    const char* qq;
    bool qqNickname;
    std::optional<PersonalRefusal> expected;
  };
  const Case cases[] = {
      {"", "", true, PersonalRefusal{kNoQq, F::Nickname}},  // rule 1 before rule 2
      {"", "1234", true, PersonalRefusal{kNoQq, F::Nickname}},
      {"", "", false, PersonalRefusal{kNoName, F::Nickname}},
      {"", "1234", false, PersonalRefusal{kNoName, F::Nickname}},     // rule 2 before rule 4
      {"1234", "1234", true, PersonalRefusal{kLength, F::Nickname}},  // rule 3 before rule 4
      {"1234", "", true, PersonalRefusal{kLength, F::Nickname}},
      {"张三", "1234", false, PersonalRefusal{kLength, F::Qq}},
      {"1234", "", false, std::nullopt},  // a short nickname is fine without QQNC
      {"张三", "", false, std::nullopt},
      {"张三", "12345", false, std::nullopt},
      {"12345", "", true, std::nullopt},
      {"12345", "12345678901", true, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(validatePersonal(c.nickname, c.qq, c.qqNickname), c.expected)
        << "nickname '" << c.nickname << "' qq '" << c.qq << "' qqnc " << c.qqNickname;
}

TEST(PersonalValidation, LengthsCountGbkBytes) {
  // Three Chinese characters are six bytes: enough for the five a QQ number needs.
  EXPECT_EQ(validatePersonal("张三丰", "", true), std::nullopt);
  EXPECT_EQ(validatePersonal("张三", "", true), (PersonalRefusal{kLength, F::Nickname}));
}

TEST(PersonalLimits, NicknameKeepsWholeCharactersWithinTwentyGbkBytes) {
  struct Case {
    const char* typed;
    bool digitsOnly;
    const char* kept;
  };
  const Case cases[] = {
      {"一二三四五六七八九十", false, "一二三四五六七八九十"},  // exactly 20 bytes
      {"一二三四五六七八九十一", false, "一二三四五六七八九十"},
      {"a一二三四五六七八九十", false, "a一二三四五六七八九"},  // 19 bytes: the tenth would split
      {"abcdefghijklmnopqrstuvwxyz", false, "abcdefghijklmnopqrst"},
      {"a\tb\r\nc\x7f"
       "d",
       false, "abcd"},                                          // control characters refused
      {"\xF0\x9F\x98\x80张\xF0\x9F\x99\x82三", false, "张三"},  // emoji: no GBK form
      {"12a34b5678901234", true, "12345678901"},
      {"张三", true, ""},
      {"", false, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(limitNickname(c.typed, c.digitsOnly), c.kept) << c.typed;
  EXPECT_LE(gbkByteLength(limitNickname(std::string(100, 'x') + "张", false)), 20u);
}

TEST(PersonalLimits, QqBoxHoldsElevenAsciiDigits) {
  EXPECT_EQ(limitQq("123456789012345"), "12345678901");
  EXPECT_EQ(limitQq("１２345 6x"), "3456");  // full-width digits are not digits here
  EXPECT_EQ(limitQq(""), "");
}

struct Form : ::testing::Test {
  test::VirtualRuntime rt;
  test::FakePrompter prompt;
  test::FakePersonalWindowView view;
  PersonalForm form{view, prompt, rt};
  void SetUp() override {
    view.onChange = [this](PersonalField f) {
      if (f == F::Nickname)
        form.onNicknameChanged();
      else
        form.onQqChanged();
    };
  }
  void clickQqNickname(bool on) {
    view.boxes[PersonalBox::QqNickname] = on;
    form.onQqNicknameBoxChanged();
  }
  std::string nickname() { return view.fieldText(F::Nickname); }
  Task<> runCheck(bool& valid) { valid = co_await form.check(); }
};

TEST_F(Form, TypingBeyondTheLimitsIsTakenBackInTheChangeHandler) {
  view.type(F::Nickname, "一二三四五六七八九十一");
  EXPECT_EQ(nickname(), "一二三四五六七八九十");
  view.type(F::Qq, "1234567890123");
  EXPECT_EQ(view.fieldText(F::Qq), "12345678901");
  clickQqNickname(true);
  view.type(F::Nickname, "99x8877665544");
  EXPECT_EQ(nickname(), "99887766554");
}

TEST_F(Form, QqNicknameSwitchesCaptionModeAndCopiesTheQqBox) {
  view.type(F::Nickname, "小明");
  view.type(F::Qq, "10001");
  EXPECT_EQ(nickname(), "小明");  // no copy while QQNC is clear
  clickQqNickname(true);
  EXPECT_EQ(view.caption, "填写QQ号，使用QQ昵称。5-11位：");
  EXPECT_TRUE(view.digitsOnly);
  EXPECT_EQ(nickname(), "10001");
  EXPECT_EQ(view.focused, std::vector<F>{F::Nickname});
  view.type(F::Qq, "1000123");
  EXPECT_EQ(nickname(), "1000123");
  clickQqNickname(false);
  EXPECT_EQ(view.caption, "定制昵称。任意。1-20字符：");
  EXPECT_FALSE(view.digitsOnly);
  EXPECT_EQ(nickname(), "1000123");  // the text stays
  view.type(F::Qq, "20002");
  EXPECT_EQ(nickname(), "1000123");
}

TEST_F(Form, FillingWithQqNicknameSetsTheModeButNeverCopies) {
  view.boxes[PersonalBox::QqNickname] = true;  // whatever the box showed before
  form.fill(PersonalSettings{"10001", "20002", true, true, false});
  EXPECT_EQ(nickname(), "10001");
  EXPECT_EQ(view.fieldText(F::Qq), "20002");
  EXPECT_TRUE(view.digitsOnly);
  EXPECT_EQ(view.caption, "填写QQ号，使用QQ昵称。5-11位：");
  EXPECT_EQ(form.settings(), (PersonalSettings{"10001", "20002", true, true, false}));
  // A user's change afterwards copies as usual.
  view.type(F::Qq, "30003");
  EXPECT_EQ(nickname(), "30003");
}

TEST_F(Form, FillingWithAFreeNicknameKeepsTheDesignCaption) {
  form.fill(PersonalSettings{"张三", "", false, false, true});
  EXPECT_EQ(view.caption, "");
  EXPECT_FALSE(view.digitsOnly);
  EXPECT_EQ(form.settings(), (PersonalSettings{"张三", "", false, false, true}));
}

TEST_F(Form, RefusalShowsItsBoxFlashesWithTheButtonDisabledThenFocuses) {
  view.type(F::Nickname, "张三");
  view.type(F::Qq, "1234");
  bool valid = true;
  rt.start(TaskSlot::SettingsPersonal, runCheck(valid));
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].text, kLength);
  EXPECT_EQ(prompt.shown[0].title, "抱歉！");
  EXPECT_EQ(prompt.shown[0].flags, 0u);
  EXPECT_EQ(view.actionStates, std::vector<bool>{false});
  rt.advance(249);
  EXPECT_EQ(view.actionStates, std::vector<bool>{false});
  EXPECT_TRUE(view.focused.empty());
  rt.advance(1);
  EXPECT_EQ(view.actionStates, (std::vector<bool>{false, true}));
  const Rgb pink{255, 168, 255}, white{255, 255, 255};
  EXPECT_EQ(view.backgrounds, (std::vector<Rgb>{pink, white, pink, white, pink, white}));
  EXPECT_EQ(view.focused, std::vector<F>{F::Qq});
  EXPECT_FALSE(valid);
}

TEST_F(Form, ValidFormPassesWithoutBoxOrFlash) {
  view.type(F::Nickname, "张三");
  bool valid = false;
  rt.start(TaskSlot::SettingsPersonal, runCheck(valid));
  EXPECT_TRUE(valid);
  EXPECT_TRUE(prompt.shown.empty());
  EXPECT_TRUE(view.backgrounds.empty());
}

}  // namespace
}  // namespace zk
