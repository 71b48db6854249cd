#include <gtest/gtest.h>

#include <vector>

#include "editor/hosts_colouring.h"
#include "text/address.h"
#include "text/replace.h"

namespace zk {
namespace {

TEST(Replace, FromTheLeftWithoutOverlapsAndOnlyWhereACharacterBegins) {
  EXPECT_EQ(replacedAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(replacedAll("aaaa", "aa", "a"), "aa");
  EXPECT_EQ(replacedAll("abc", "", "x"), "abc");
  EXPECT_EQ(replacedAll("中文中", "中", "zh"), "zh文zh");
  EXPECT_EQ(replacedAll("1.1.1.1 a\r\n1.1.1.1 b", "1.1.1.1", "0.0.0.0"), "0.0.0.0 a\r\n0.0.0.0 b");
  // A pattern made of a continuation byte never matches inside a character.
  EXPECT_EQ(replacedAll("中", "\xB8", "x"), "中");
  std::string text = "nothing here";
  const char* before = text.data();
  EXPECT_FALSE(replaceAll(text, "zz", "y"));
  EXPECT_EQ(text.data(), before);  // untouched, not copied
}

TEST(Replace, CommentToggle) {
  EXPECT_EQ(toggledComment(""), "#");
  EXPECT_EQ(toggledComment("abc\r\ndef"), "#abc\r\ndef");
  EXPECT_EQ(toggledComment("#abc#d"), "abcd");
  EXPECT_EQ(toggledComment("1.1.1.1 a # note"), "1.1.1.1 a  note");
}

TEST(Replace, CharacterPositions) {
  EXPECT_EQ(byteOffsetOfChar("a中b", 0), 0u);
  EXPECT_EQ(byteOffsetOfChar("a中b", 2), 4u);
  EXPECT_EQ(byteOffsetOfChar("a中b", 9), 5u);
  EXPECT_EQ(charCount("a中b"), 3u);
}

TEST(Address, Ipv4AndIpv6OnlyInTheirPlainForms) {
  for (const char* ok :
       {"127.0.0.1", "0.0.0.0", "255.255.255.255", "8.8.8.8", "::1", "::", "fe80::1", "2001:db8::8:800:200c:417a",
        "1:2:3:4:5:6:7:8", "::ffff:1.2.3.4", "1::", "64:ff9b::192.0.2.33"})
    EXPECT_TRUE(isIpAddress(ok)) << ok;
  for (const char* bad : {"",
                          "abc",
                          "1.2.3",
                          "1.2.3.4.5",
                          "256.1.1.1",
                          "1.2.3.4 ",
                          " 1.2.3.4",
                          "1..2.3",
                          "1.2.3.0004",
                          "1:2:3:4:5:6:7:8:9",
                          ":::",
                          "1::2::3",
                          ":1::",
                          "1:",
                          "12345::",
                          "fe80::1%eth0",
                          "1:2:3:4:5:6:7:1.2.3.4",
                          "::1.2.3",
                          "1.2.3.4\r\n",
                          "01.2.3.4",
                          "1.2.3.004",
                          "１.2.3.4",
                          "g::1"})
    EXPECT_FALSE(isIpAddress(bad)) << bad;
}

TEST(Colouring, CommentsAddressesAndNames) {
  std::string text = "1.1.1.1  a.com b # x\r\n#c\r\n";
  std::vector<char> styles(text.size());
  styleHostsText(text, styles.data());
  std::string got;
  for (char s : styles) got += char('0' + s);
  EXPECT_EQ(got,
            "2222222003333303011100"
            "1100");
}

}  // namespace
}  // namespace zk
