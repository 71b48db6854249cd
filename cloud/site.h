// Publishing a cloud site: the index, the small status files, the hosts texts and the pages.
#pragma once

#include <filesystem>
#include <string>

namespace zk::cloud {

struct SiteConfig {
  std::string baseUrl;     // where the site's "z/" folder is served, ending in "/"
  std::string websiteUrl;  // where its "web/" folder is served, ending in "/"
  std::string online = "1";
  std::string version = "1.6";
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

// Writes the whole site into folder (created when missing). Empty error text on success.
std::string publish(const SiteConfig& config, const std::filesystem::path& folder);

}  // namespace zk::cloud
