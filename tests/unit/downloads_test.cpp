// What counts as a usable download.
#include <gtest/gtest.h>

#include "sync/downloads.h"

namespace zk {
namespace {

TEST(Downloads, OnlyA2xxNonEmptyUncutBodyCounts) {
  EXPECT_EQ(cloudText({true, 200, false, "1"}), "1");
  EXPECT_EQ(cloudText({true, 204, false, "x"}), "x");
  EXPECT_EQ(cloudText({true, 404, false, "<html>Not Found</html>"}), "");
  EXPECT_EQ(cloudText({true, 500, false, "error"}), "");
  EXPECT_EQ(cloudText({true, 200, false, ""}), "");
  EXPECT_EQ(cloudText({true, 200, true, "cut"}), "");
  EXPECT_EQ(cloudText({false, 0, false, ""}), "");
  EXPECT_EQ(cloudText({true, 200, false, std::string("1\0junk", 6)}), "1");
}

TEST(Downloads, HostsTextMustNotBeAPageOrBinary) {
  EXPECT_TRUE(looksLikeHostsText("# 注释\r\n127.0.0.1 localhost\r\n"));
  EXPECT_TRUE(looksLikeHostsText(""));
  EXPECT_FALSE(looksLikeHostsText("<!DOCTYPE html><html>portal login</html>"));
  EXPECT_FALSE(looksLikeHostsText("\xEF\xBB\xBF \r\n <html>"));
  EXPECT_FALSE(looksLikeHostsText(std::string("127.0.0.1 a\0b", 13)));
  std::string binary(1000, 'a');
  for (int i = 0; i < 20; ++i) binary[i * 50] = '\x01';
  EXPECT_FALSE(looksLikeHostsText(binary));
  EXPECT_EQ(hostsText(HttpResponse{true, 200, false, "<html>Error</html>"}), "");
  EXPECT_EQ(hostsText(HttpResponse{true, 200, false, std::string("1.2.3.4 a\0", 10)}), "");
  EXPECT_EQ(hostsText(HttpResponse{true, 404, false, "1.2.3.4 a"}), "");
  EXPECT_EQ(hostsText(HttpResponse{true, 200, false, "1.2.3.4 a"}), "1.2.3.4 a");
}

// The whole body goes into the system file: binary past the first 64 KiB is binary too.
TEST(Downloads, ANulAnywhereInTheBodyMakesItBinary) {
  std::string body;
  while (body.size() < (200u << 10)) body += "0.0.0.0 ads.example.test\r\n";
  EXPECT_EQ(hostsText(HttpResponse{true, 200, false, body}), body);
  std::string late = body;
  late[150u << 10] = '\0';
  EXPECT_EQ(hostsText(HttpResponse{true, 200, false, late}), "");
  std::string controls = body;
  for (std::size_t i = 100u << 10; i < controls.size(); i += 50) controls[i] = '\x02';
  EXPECT_FALSE(looksLikeHostsText(controls));  // 2% control bytes, all after the first 64 KiB
}

}  // namespace
}  // namespace zk
