#include "tools/release.h"

#include <charconv>

#include "text/gbk.h"

namespace zk::release {

namespace {

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void civilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

std::optional<std::string> windowsGuide(std::string_view utf8, std::string& why) {
  if (utf8.starts_with("\xEF\xBB\xBF")) {
    why = "byte-order mark";
    return std::nullopt;
  }
  std::string lines;
  lines.reserve(utf8.size() + utf8.size() / 16);
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (c == '\0') {
      why = "NUL byte at " + std::to_string(i);
      return std::nullopt;
    }
    if (c == '\r') {
      if (i + 1 >= utf8.size() || utf8[i + 1] != '\n') {
        why = "CR without LF at " + std::to_string(i);
        return std::nullopt;
      }
      continue;  // the LF that follows writes the line end
    }
    if (c == '\n')
      lines += "\r\n";
    else
      lines += c;
  }
  GbkBytes gbk = toGbkChecked(lines);
  if (!gbk.complete) {
    why = "not UTF-8, or a character GBK cannot hold";
    return std::nullopt;
  }
  return std::move(gbk.bytes);
}

std::optional<LocalTime> entryTime(std::string_view epochSeconds) {
  std::int64_t seconds = 0;
  const char* end = epochSeconds.data() + epochSeconds.size();
  auto [at, ec] = std::from_chars(epochSeconds.data(), end, seconds);
  if (epochSeconds.empty() || ec != std::errc() || at != end || seconds < 0) return std::nullopt;
  // A zip entry's date holds 1980-01-01 to 2107-12-31.
  constexpr std::int64_t kFirst = 315532800;  // 1980-01-01T00:00:00Z
  constexpr std::int64_t kLast = 4354819199;  // 2107-12-31T23:59:59Z
  if (seconds < kFirst) seconds = kFirst;
  if (seconds > kLast) seconds = kLast;
  LocalTime t;
  std::int64_t days = seconds / 86400, rest = seconds % 86400;
  civilFromDays(days, t.year, t.month, t.day);
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>(rest / 60 % 60);
  t.second = static_cast<int>(rest % 60);
  return t;
}

}  // namespace zk::release
