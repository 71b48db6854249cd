// Publishing a cloud site: the index, the small status files, the hosts texts and the pages.
#pragma once

#include <filesystem>
#include <string>

namespace zk::cloud {

struct SiteConfig {
  std::string baseUrl;     // where the site's "z/" folder is served, ending in "/"
  std::string websiteUrl;  // where its "web/" folder is served, ending in "/"
  std::string online = "1";
  std::string version = ZK_VERSION;                    // the program's own, unless the config says otherwise
  std::string stamp;                                   // 9 characters; empty: from the publishing time
  std::filesystem::path main, backup, ad, navigation;  // hosts sources (GBK text)
};

// Reads the config file (INI: [Site] BaseUrl, WebsiteUrl, Online, Version, Stamp; [Hosts] Main,
// Backup, Ad, Navigation, relative to the config's folder). Empty error text on success.
std::string readConfig(const std::filesystem::path& file, SiteConfig& out);

// The stamp of a publishing time: yyMMddHH and the tens of minutes, 9 digits.
std::string stampOf(int year, int month, int day, int hour, int minute);

// A hosts source as published: the "# Ti:" line carrying the stamp first, replacing any
// earlier one; the rest kept byte for byte.
std::string stampedHosts(const std::string& source, const std::string& stamp);

// The external-IP lookup page, published under the base as "ip/index.html": GBK HTML in the
// form lookup sites use, with two server-side include directives for the caller's address and
// place (nginx fills them in with "ssi on;"; serve fills them in itself).
inline constexpr const char* kAddressDirective = "<!--#echo var=\"REMOTE_ADDR\" -->";
inline constexpr const char* kPlaceDirective = "<!--#echo var=\"ZK_PLACE\" default=\"未知\" -->";
std::string lookupPage();
// The page with both directives replaced: the address as given, the place (UTF-8) in GBK. An
// address holding anything but the characters of an IP address is left out.
std::string filledLookupPage(const std::string& page, const std::string& address, const std::string& place);

// Stand-ins of the two QQ services for local use and tests, answering from the served folder's
// "qq/" folder. nicknames.txt: lines "NUMBER=NICKNAME" (UTF-8). The reply is the service's GBK
// callback with the nickname between the fragments the client looks for; a number without a
// line gets a callback without them.
std::string qqNicknameReply(const std::string& table, const std::string& number);
// avatars.txt: lines "NUMBER=html" (a login page instead of a picture), "NUMBER=empty" (an empty
// 200) or "NUMBER=missing" (404); any other number gets qq/avatar.jpg.
enum class AvatarAnswer { Picture, Html, Empty, Missing };
AvatarAnswer qqAvatarAnswer(const std::string& table, const std::string& number);

// Writes the whole site into folder (created when missing). Empty error text on success.
std::string publish(const SiteConfig& config, const std::filesystem::path& folder);

}  // namespace zk::cloud
