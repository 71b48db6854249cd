// The add-entry dialog's domain box cleaning: the table, its order, and where the box comes to rest.
#include <gtest/gtest.h>

#include "editor/domain_cleaning.h"
#include "text/text.h"

namespace zk {
namespace {

TEST(DomainCleaning, PrefixesPortsAndPunctuationGo) {
  EXPECT_EQ(cleanDomain("http://www.example.com"), "www.example.com");
  EXPECT_EQ(cleanDomain("https://www.example.com/a"), "https/www.example.com/a");  // row 1 misses, row 2 takes ":/"
  EXPECT_EQ(cleanDomain("HTTP://www.example.com"), "HTTP/www.example.com");
  EXPECT_EQ(cleanDomain("www.example.com:8080"), "www.example.com8080");
  EXPECT_EQ(cleanDomain("my_host.example"), "myhost.example");
  EXPECT_EQ(cleanDomain("【谷歌】(google)“com”《x》?？!！#~@$%^&*+={}[];'\"<·"), "谷歌googlecomx");
}

TEST(DomainCleaning, ChineseStopsAndCommasBecomeDotsButTheFullWidthCommaStays) {
  EXPECT_EQ(cleanDomain("www。example，com"), "www.example，com");
  EXPECT_EQ(cleanDomain("a,b、c"), "a.b.c");
  EXPECT_EQ(cleanDomain("a/b\\c-d.e>f|g`h i"), "a/b\\c-d.e>f|g`h i");  // not in the table: kept
}

// Whatever the text, the box comes to rest with no token of the table in it (letters compared
// without case), never longer than it was, and resting text stays as it is.
TEST(DomainCleaning, ComesToRestAndStaysThere) {
  for (std::string_view text : {"http://http://a", "ht:tp://a", "h::/:/ttp://x", "HtTp://a:b", ":,:,:,"}) {
    std::string rest = cleanDomain(text);
    EXPECT_EQ(cleanDomainPass(rest), rest) << text;
    for (const CleaningRow& row : kDomainCleaning)
      EXPECT_EQ(asciiLower(rest).find(asciiLower(row.token)), std::string::npos) << text << " keeps " << row.token;
    EXPECT_LE(rest.size(), text.size()) << text;
  }
  EXPECT_EQ(cleanDomain("ht:tp://a"), "http/a");  // row 2 takes ":/", row 3 the colon left over
}

// A Chinese character whose GBK trail byte is '@' (丂 is 0x81 0x40): the scan works on
// characters, so it is never taken for the token.
TEST(DomainCleaning, NeverMatchesInsideACharacter) {
  EXPECT_EQ(cleanDomain("丂.example"), "丂.example");
  EXPECT_EQ(cleanDomain("丂@例子.中国"), "丂例子.中国");
}

}  // namespace
}  // namespace zk
