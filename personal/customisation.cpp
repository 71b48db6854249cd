#include "personal/customisation.h"

#include "personal/qq_reply.h"
#include "text/text.h"

namespace zk {
namespace {

// The body of a 2xx answer that arrived whole; anything else is no answer.
std::string answeredBody(const HttpResponse& r) {
  if (!r.reached || r.status < 200 || r.status > 299 || r.truncated) return {};
  return r.body;
}

}  // namespace

Task<> Customisation::apply(IniFile personal, QqServices services) {
  auto keys = personal.read("Personal", {"NAME", "QQNC", "QQTX", "HYTS", "THYS"});
  const std::string& name = keys[0];
  s_.values.currentNickname = name;
  if (name.empty()) {
    s_.main.setAvatarVisible(false);
    s_.main.setNicknameVisible(false);
    co_return;
  }
  if (isOn(keys[1])) {
    // Only a QQ number goes into the address; without an answer the number itself is shown.
    std::string found;
    if (isQqNumber(name)) {
      Http* http = &s_.nicknameHttp;
      auto lookup = s_.rt.offload(
          [http, url = qqNicknameUrl(services.nicknameBase, name)] { return answeredBody(http->get(url)); });
      std::string body = co_await lookup;
      found = qqNicknameFromReply(body);
    }
    s_.values.currentNickname = found.empty() ? name : found;
    s_.main.setLogoVisible(false);
  }
  const std::string nickname = s_.values.currentNickname;
  if (keys[2] != "1") co_await showAvatar(keys[2], services.avatarBase);
  // A fetch started meanwhile owns the log.
  if (!s_.values.fetchStarted)
    s_.log.setLog("\r\n欢迎使用【" + nickname + "】私人订制专版，鼠标轻点上方环绕箭头开始！");
  if (isOn(keys[3])) {
    s_.main.setShown(false);
    s_.prompt.show("欢迎使用【" + nickname + "】私人订制专版！", "悄悄地说：", box::Topmost);
    s_.main.setShown(true);
  }
  s_.main.setNicknameText(nickname);
  s_.main.setLogoVisible(false);
  s_.main.setNicknameVisible(true);
  s_.main.setNicknameFont(nicknameFontFor(nickname));
  if (isOn(keys[4])) s_.main.setNicknameColour(kGoldNickname);
}

// An empty or odd QQTX asks nothing and shows the built-in avatar, as a failed download does.
Task<> Customisation::showAvatar(const std::string& qq, const std::string& base) {
  std::string bytes;
  if (isQqNumber(qq)) {
    Http* http = &s_.avatarHttp;
    auto download = s_.rt.offload([http, url = qqAvatarUrl(base, qq)] { return answeredBody(http->get(url)); });
    bytes = co_await download;
  }
  if (!s_.main.setAvatarPicture(bytes)) s_.main.setDefaultAvatar();
  const Rect logo = s_.main.logoRect();
  const Rect avatar = s_.main.avatarRect();
  const Rect placed{logo.left, logo.top - 3, avatar.width, avatar.height};
  s_.main.setAvatarRect(placed);
  s_.main.setAvatarFrameRect(placed);
  s_.main.setAvatarVisible(true);
  s_.main.setEditionCaptionVisible(true);
}

bool Customisation::onCommand(MainCommand command) {
  if (command != MainCommand::AvatarFrame) return false;
  s_.values.customisationMode = "自己";
  s_.main.openSettingsWindow(false);
  return true;
}

}  // namespace zk
