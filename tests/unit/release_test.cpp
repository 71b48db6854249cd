#include <gtest/gtest.h>

#include "tools/release.h"

namespace zk::release {
namespace {

TEST(ReleaseGuide, LinesBecomeCrLfAndTextGbk) {
  std::string why;
  // LF, CR LF and a last line without an end, mixed.
  auto out = windowsGuide("中文\nab\r\nc", why);
  ASSERT_TRUE(out) << why;
  EXPECT_EQ(*out, "\xD6\xD0\xCE\xC4\r\nab\r\nc");
  // Blank lines stay blank lines; nothing is doubled.
  out = windowsGuide("\n\r\n\n", why);
  ASSERT_TRUE(out) << why;
  EXPECT_EQ(*out, "\r\n\r\n\r\n");
  out = windowsGuide("", why);
  ASSERT_TRUE(out);
  EXPECT_EQ(*out, "");
}

TEST(ReleaseGuide, RefusesWhatAWindowsTextCannotCarry) {
  for (std::string_view bad : {std::string_view("emoji \xF0\x9F\x98\x80\n"), std::string_view("\xEF\xBB\xBFtext\n"),
                               std::string_view("a\rb\n"), std::string_view("end\r"), std::string_view("bad \xFF\n"),
                               std::string_view("cut \xE4\xB8", 6), std::string_view("nul\0x\n", 6)}) {
    std::string why;
    EXPECT_FALSE(windowsGuide(bad, why)) << bad;
    EXPECT_FALSE(why.empty());
  }
}

TEST(ReleaseEntryTime, EpochSecondsToTheCalendarInUtc) {
  auto t = entryTime("951782400");  // a leap day
  ASSERT_TRUE(t);
  EXPECT_EQ((std::vector<int>{t->year, t->month, t->day, t->hour, t->minute, t->second}),
            (std::vector<int>{2000, 2, 29, 0, 0, 0}));
  t = entryTime("1700000000");
  ASSERT_TRUE(t);
  EXPECT_EQ((std::vector<int>{t->year, t->month, t->day, t->hour, t->minute, t->second}),
            (std::vector<int>{2023, 11, 14, 22, 13, 20}));
  t = entryTime("1767225599");  // the last second of 2025
  ASSERT_TRUE(t);
  EXPECT_EQ((std::vector<int>{t->year, t->month, t->day, t->hour, t->minute, t->second}),
            (std::vector<int>{2025, 12, 31, 23, 59, 59}));
}

TEST(ReleaseEntryTime, ClampedToTheZipRangeAndOnlyPlainNumbers) {
  auto early = entryTime("0");
  ASSERT_TRUE(early);
  EXPECT_EQ((std::vector<int>{early->year, early->month, early->day}), (std::vector<int>{1980, 1, 1}));
  auto late = entryTime("99999999999");
  ASSERT_TRUE(late);
  EXPECT_EQ((std::vector<int>{late->year, late->month, late->day}), (std::vector<int>{2107, 12, 31}));
  for (std::string_view bad : {"", "-5", " 1", "12a", "1.5", "99999999999999999999999"})
    EXPECT_FALSE(entryTime(bad)) << bad;
}

}  // namespace
}  // namespace zk::release
