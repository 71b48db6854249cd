#include "personal/personal_form.h"

#include "text/gbk.h"

namespace zk {

namespace {

// Bytes of the UTF-8 character that starts at s[i]; 1 for a byte that starts none.
std::size_t charLength(std::string_view s, std::size_t i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
  if (i + n > s.size()) return 1;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  return n;
}

bool isControl(std::string_view ch) {
  unsigned char c = static_cast<unsigned char>(ch[0]);
  if (ch.size() == 1) return c < 0x20 || c == 0x7F;
  // U+0080 to U+009F, the C1 controls
  return ch.size() == 2 && c == 0xC2 && static_cast<unsigned char>(ch[1]) < 0xA0;
}

std::string digitsOf(std::string_view text, std::size_t most) {
  std::string out;
  for (char c : text) {
    if (out.size() >= most) break;
    if (c >= '0' && c <= '9') out += c;
  }
  return out;
}

}  // namespace

std::optional<PersonalRefusal> validatePersonal(std::string_view nickname, std::string_view qq, bool qqNickname) {
  const char* kLength = "QQ号码长度填写错误，请重新填写！";
  if (qqNickname && nickname.empty()) return PersonalRefusal{"尚未输入QQ号码，请重新填写！", PersonalField::Nickname};
  if (nickname.empty()) return PersonalRefusal{"昵称是必填项目，请重新填写！", PersonalField::Nickname};
  if (qqNickname && gbkByteLength(nickname) < kQqMinDigits) return PersonalRefusal{kLength, PersonalField::Nickname};
  if (!qq.empty() && gbkByteLength(qq) < kQqMinDigits) return PersonalRefusal{kLength, PersonalField::Qq};
  return std::nullopt;
}

std::string limitNickname(std::string_view text, bool digitsOnly) {
  if (digitsOnly) return digitsOf(text, kQqMaxDigits);
  std::string out;
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = charLength(text, i);
    std::string_view ch = text.substr(i, n);
    i += n;
    if (isControl(ch) || !isGbkEncodable(ch)) continue;
    std::size_t width = gbkByteLength(ch);
    if (bytes + width > kNicknameBoxBytes) break;
    bytes += width;
    out += ch;
  }
  return out;
}

std::string limitQq(std::string_view text) {
  return digitsOf(text, kQqMaxDigits);
}

PersonalForm::PersonalForm(PersonalFormView& view, Prompter& prompt, Runtime& rt)
    : view_(view), prompt_(prompt), rt_(rt) {}

void PersonalForm::fill(const PersonalSettings& s) {
  filling_ = true;
  view_.setFieldText(PersonalField::Nickname, s.nickname);
  view_.setFieldText(PersonalField::Qq, s.qq);
  view_.setTicked(PersonalBox::Welcome, s.welcome);
  view_.setTicked(PersonalBox::QqNickname, s.qqNickname);
  view_.setTicked(PersonalBox::Gold, s.gold);
  // The design caption and limits stand for a free nickname.
  if (s.qqNickname) applyMode(true);
  filling_ = false;
}

PersonalSettings PersonalForm::settings() const {
  return PersonalSettings{view_.fieldText(PersonalField::Nickname), view_.fieldText(PersonalField::Qq),
                          view_.ticked(PersonalBox::Welcome), view_.ticked(PersonalBox::QqNickname),
                          view_.ticked(PersonalBox::Gold)};
}

void PersonalForm::applyMode(bool qqNickname) {
  view_.setNicknameCaption(qqNickname ? kNicknameCaptionQq : kNicknameCaptionFree);
  view_.setNicknameDigitsOnly(qqNickname);
}

void PersonalForm::onNicknameChanged() {
  std::string now = view_.fieldText(PersonalField::Nickname);
  std::string allowed = limitNickname(now, view_.ticked(PersonalBox::QqNickname));
  // Setting the text reports another change, which then finds nothing to take away.
  if (allowed != now) view_.setFieldText(PersonalField::Nickname, allowed);
}

void PersonalForm::onQqChanged() {
  std::string now = view_.fieldText(PersonalField::Qq);
  std::string allowed = limitQq(now);
  if (allowed != now) {
    view_.setFieldText(PersonalField::Qq, allowed);
    return;  // the change that setting it reports does the copy
  }
  if (!filling_ && view_.ticked(PersonalBox::QqNickname)) view_.setFieldText(PersonalField::Nickname, allowed);
}

void PersonalForm::onQqNicknameBoxChanged() {
  bool on = view_.ticked(PersonalBox::QqNickname);
  if (on) {
    view_.setNicknameCaption(kNicknameCaptionQq);
    view_.setNicknameDigitsOnly(true);
    view_.setFieldText(PersonalField::Nickname, view_.fieldText(PersonalField::Qq));
    view_.focus(PersonalField::Nickname);
  } else {
    view_.setNicknameDigitsOnly(false);
    view_.setNicknameCaption(kNicknameCaptionFree);
  }
}

Task<bool> PersonalForm::check() {
  auto refusal = validatePersonal(view_.fieldText(PersonalField::Nickname), view_.fieldText(PersonalField::Qq),
                                  view_.ticked(PersonalBox::QqNickname));
  if (!refusal) co_return true;
  prompt_.show(refusal->message, "抱歉！", box::Ok);
  co_await flash();
  view_.focus(refusal->focus);
  co_return false;
}

// Pink, then white and pink twice more, 50 ms each; the action button waits meanwhile.
Task<> PersonalForm::flash() {
  view_.setActionEnabled(false);
  for (Rgb colour : {kFlashPink, kFlashWhite, kFlashPink, kFlashWhite, kFlashPink}) {
    view_.setNicknameBackground(colour);
    co_await rt_.pumpWait(50);
  }
  view_.setNicknameBackground(kFlashWhite);
  view_.setActionEnabled(true);
}

}  // namespace zk
