// The keys of System.btx, section [System]: one table from meaning to the code on disk.
#pragma once

#include <string_view>

namespace zk {

enum class Key {
  Server,              // "1" official, "2" backup, "3" custom
  WelcomeAnimation,    // switch
  CustomServerOn,      // switch: the custom server may be chosen
  CustomAddress,       // the custom server's URL, as typed
  EmojiPointer,        // switch: the Emoji pointer on every control
  OpenNavigation,      // switch: the navigation panel opens after a successful fetch
  ProtectHostsFile,    // switch: hidden + system after a successful write
  AdBlocking,          // switch: the ad-blocking list is fetched too
  NavigationBlocking,  // switch: the rogue-navigation list is fetched too
  CloudIndex,          // an installation's own cloud index URL (empty: the built-in one)
  IpLookup,            // an installation's own external-IP lookup page (empty: the built-in one)
  QqNicknameService,   // an installation's own QQ nickname service base address (empty: built-in)
  QqAvatarService,     // an installation's own QQ avatar service base address (empty: built-in)
};

struct KeyCode {
  Key key;
  std::string_view code;
};

inline constexpr KeyCode kKeyCodes[] = {
    {Key::Server, "XFWQ"},           {Key::WelcomeAnimation, "HYDH"}, {Key::CustomServerOn, "ZFJH"},
    {Key::CustomAddress, "ZURL"},    {Key::EmojiPointer, "QBMJ"},     {Key::OpenNavigation, "ZDDH"},
    {Key::ProtectHostsFile, "AQSX"}, {Key::AdBlocking, "ADFW"},       {Key::NavigationBlocking, "DHFW"},
    {Key::CloudIndex, "YDSY"},       {Key::IpLookup, "WWIP"},         {Key::QqNicknameService, "NCFW"},
    {Key::QqAvatarService, "TXFW"},
};

constexpr std::string_view keyCode(Key key) {
  for (const KeyCode& k : kKeyCodes)
    if (k.key == key) return k.code;
  return {};
}

inline constexpr std::string_view kSettingsSection = "System";

}  // namespace zk
