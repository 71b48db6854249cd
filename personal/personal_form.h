// The customisation form that the settings window's group and the customisation window share:
// the one validation rule set, the boxes' limits, the QQ-nickname switch and the nickname flash.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "main/main_view.h"
#include "personal/personal_ini.h"
#include "platform/prompt.h"
#include "platform/runtime.h"

namespace zk {

enum class PersonalField { Nickname, Qq };
enum class PersonalBox { Welcome, QqNickname, Gold };

inline constexpr int kNicknameBoxBytes = 20;  // GBK bytes: ten Chinese characters
inline constexpr int kQqMaxDigits = 11;
inline constexpr int kQqMinDigits = 5;
inline constexpr const char* kNicknameCaptionQq = "填写QQ号，使用QQ昵称。5-11位：";
inline constexpr const char* kNicknameCaptionFree = "定制昵称。任意。1-20字符：";
inline constexpr Rgb kFlashPink{255, 168, 255};
inline constexpr Rgb kFlashWhite{255, 255, 255};

// What the form's controls show, in both windows.
class PersonalFormView {
 public:
  virtual ~PersonalFormView() = default;
  // Setting a box's text reports a change, as typing does.
  virtual std::string fieldText(PersonalField field) const = 0;
  virtual void setFieldText(PersonalField field, const std::string& text) = 0;
  virtual bool ticked(PersonalBox box) const = 0;
  virtual void setTicked(PersonalBox box, bool on) = 0;
  virtual void setNicknameCaption(const std::string& text) = 0;
  // Digits only with at most 11 characters, or any text with at most 20 characters; the logic
  // holds the byte limits whatever the box lets through.
  virtual void setNicknameDigitsOnly(bool digitsOnly) = 0;
  virtual void setNicknameBackground(Rgb colour) = 0;
  // The window's action button: "保存定制" or "开始定制！".
  virtual void setActionEnabled(bool enabled) = 0;
  virtual void focus(PersonalField field) = 0;
};

// A refusal of the validation: its message (title "抱歉！") and where the focus goes afterwards.
struct PersonalRefusal {
  std::string message;
  PersonalField focus;
  bool operator==(const PersonalRefusal&) const = default;
};

// The one rule set, in its order; the first failure counts. Lengths are GBK bytes. The upper
// limits are the boxes' own (held by limitNickname / limitQq), not checked here.
std::optional<PersonalRefusal> validatePersonal(std::string_view nickname, std::string_view qq, bool qqNickname);

// The longest run of whole characters that the nickname box may hold: in digits-only mode the ASCII
// digits of the text, at most 11; otherwise the text without control characters and characters
// GBK cannot hold, at most 20 GBK bytes.
std::string limitNickname(std::string_view text, bool digitsOnly);
// The QQ box: the ASCII digits of the text, at most 11.
std::string limitQq(std::string_view text);

// The form's behaviour over its view; each window owns one.
class PersonalForm {
 public:
  PersonalForm(PersonalFormView& view, Prompter& prompt, Runtime& rt);

  // The boxes from saved settings. The QQ box is never copied into the nickname box here: with
  // QQNC on, the nickname box holds NAME (the QQ number whose nickname is shown), not QQTX.
  void fill(const PersonalSettings& s);
  PersonalSettings settings() const;

  // A change of a box's text (typed, pasted, or set): the limits, and the copy of the QQ box into
  // the nickname box while QQNC is ticked.
  void onNicknameChanged();
  void onQqChanged();
  // The QQNC box was clicked by the user.
  void onQqNicknameBoxChanged();

  // Validates; on a refusal shows its box, flashes the nickname box (the action button disabled
  // meanwhile) and moves the focus. True when the form may be used.
  Task<bool> check();

 private:
  Task<> flash();
  void applyMode(bool qqNickname);

  PersonalFormView& view_;
  Prompter& prompt_;
  Runtime& rt_;
  bool filling_ = false;
};

// Help labels of both windows: caption → box title and text (flags 0).
struct PersonalHelp {
  const char* title;
  const char* text;
};
inline constexpr PersonalHelp kHelpWhatIsPacking{
    "关于打包定制说明",
    "私人订制，是Tessaly为提升用户体验而特制的用户自定义昵称尊贵显示。点击私人订制后，即可在桌面上生成一个压缩包，您打"
    "开压缩包后打开其中的Zelkora程序，即可在显著部位显示您的定制信息。您可以推送给你的好友，为TA私人订制！"};
inline constexpr PersonalHelp kHelpNotes{
    "关于打包定制注意事项",
    "1.昵称必须1-20个字符之间，汉字最大10个字。\r\n"
    "2.QQ头像定制，填写正确的QQ即可。如果不使用，可不填。\r\n"
    "3.用QQ昵称作为Zelkora昵称需要注意，若QQ昵称超过10个字，将只能显示前部分的10个字。如果QQ昵称使用Emojie表情，在Zelko"
    "ra将不会显示。\r\n"
    "4."
    "使用欢迎提示，指的是当您制作好新的定制包之后，每次打开都会出现欢迎提示。但这个提示在定制的版本设置中可以关闭的。\r"
    "\n"
    "5.勾选不使用Zelkora标志后，在生成的Zelkora中，将不会显示。将以昵称文字作为标识。\r\n"
    "6.土豪金颜色，指的是文字昵称颜色为土豪金。\r\n"};
inline constexpr PersonalHelp kHelpSpecial{
    "特别说明",
    "您制作定制包后，最好要打开新的定制包，验证一下，看看生成有没有问题。防止遗漏。如果您验证出问题，需要重新生成。"};
inline constexpr PersonalHelp kHelpUsingPack{"如何使用定制包。",
                                             "您做的定制包，可以给你自己用，也可以给好友用。比如：您填写朋友的昵称以及Q"
                                             "Q号码，当生成定制包之后，直接发送给好友即可。"
                                             "当他运行Zelkora后，就可以看到您为Ta定制的Zelkora。"};

}  // namespace zk
