#include <gtest/gtest.h>

#include <random>

#include "tests/support/gbk_corpus.h"
#include "text/gbk.h"

namespace zk {
namespace {

std::string hex(std::string_view s) {
  static const char* d = "0123456789ABCDEF";
  std::string out;
  for (char c : s) {
    out += d[static_cast<unsigned char>(c) >> 4];
    out += d[static_cast<unsigned char>(c) & 15];
    out += ' ';
  }
  return out;
}

TEST(GbkCorpus, EveryCaseAndEveryPairReadsAsTheSharedCorpusSays) {
  test::GbkCorpus corpus = test::parseGbkCorpus(test::readCorpusFile(ZK_TEST_DATA "gbk_corpus.txt"));
  EXPECT_TRUE(corpus.badLines.empty()) << "unreadable corpus line " << corpus.badLines.front();
  ASSERT_GE(corpus.cases.size(), 20u);
  for (const auto& c : corpus.cases)
    EXPECT_EQ(hex(fromGbk(c.bytes)), hex(c.text)) << "corpus line " << c.line << ": " << hex(c.bytes);
  ASSERT_TRUE(corpus.pairsDigest);
  EXPECT_EQ(test::gbkPairsDigest(), *corpus.pairsDigest);
}

// Whatever the bytes, the ones below 0x40 (line ends, blanks, digits, dots, '#') come out the
// same and in the same order: no entry is merged into a comment, no line end is lost.
TEST(GbkDecode, BytesBelow0x40SurviveAnyInput) {
  std::mt19937 random(14);
  std::uniform_int_distribution<int> pick(0, 255);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    for (int i = 0; i < 24; ++i) {
      int b = pick(random);
      bytes += static_cast<char>(b % 3 == 0 ? "\r\n #.1"[b % 6] : b);
    }
    auto low = [](std::string_view s) {
      std::string out;
      for (char c : s)
        if (static_cast<unsigned char>(c) < 0x40) out += c;
      return out;
    };
    std::string text = fromGbk(bytes);
    ASSERT_EQ(hex(low(text)), hex(low(bytes))) << hex(bytes);
    if (text.find("\xEF\xBF\xBD") == std::string::npos) {
      EXPECT_EQ(toGbk(text), bytes) << hex(bytes);
    }
  }
}

TEST(GbkDecode, EveryCharacterOfTheCodePageComesBackAsItsBytes) {
  int characters = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      std::string text = fromGbk(pair);
      if (text == "\xEF\xBF\xBD") continue;
      ++characters;
      EXPECT_EQ(hex(toGbk(text)), hex(pair));
      EXPECT_TRUE(isGbkEncodable(text)) << hex(pair);
    }
  }
  EXPECT_GT(characters, 21000);  // the 21,886 characters of GBK, less a few private-use ones
}

TEST(GbkEncode, ReportsWhatGbkCannotHold) {
  for (std::string_view held : {"", "127.0.0.1 localhost", "# 中文注释 a.com\r\n", "é·ü", "，。【】"}) {
    EXPECT_TRUE(isGbkEncodable(held)) << held;
    GbkBytes checked = toGbkChecked(held);
    EXPECT_TRUE(checked.complete) << held;
    EXPECT_EQ(checked.bytes, toGbk(held));
  }
  for (std::string_view lost : {"a😀", "À.com", "한국.kr", "€", "a\xEF\xBF\xBD", "a\xC3", "\xE4\xB8"}) {
    EXPECT_FALSE(isGbkEncodable(lost)) << hex(lost);
    EXPECT_FALSE(toGbkChecked(lost).complete) << hex(lost);
  }
  // A text that merely holds '?' is whole.
  EXPECT_TRUE(isGbkEncodable("a?b"));
}

TEST(GbkEncode, StrayBytesBecomeOneMarkEachAndTheAsciiAfterThemStays) {
  EXPECT_EQ(toGbk("\xE4\xB8"
                  "a.com"),
            "??a.com");
  EXPECT_EQ(toGbk("x\xF0\x9F\x98"
                  "\r\n"),
            "x???\r\n");
  EXPECT_EQ(toGbk("\x80"
                  "b"),
            "?b");
  EXPECT_EQ(toGbk("x😀y"), "x?y");
}

TEST(GbkLongText, ConvertsInPiecesWithoutCuttingACharacter) {
  const std::size_t piece = 16u << 20;
  std::string text(piece - 1, 'a');
  text += "中文\r\n";
  std::string bytes(piece - 1, 'a');
  bytes += "\xD6\xD0\xCE\xC4\r\n";
  EXPECT_TRUE(toGbk(text) == bytes);
  bytes.insert(piece - 2, "\xB9\r");  // a lone lead byte just before the piece boundary
  text.insert(piece - 2, "\xEF\xBF\xBD\r");
  EXPECT_TRUE(fromGbk(bytes) == text);
}

}  // namespace
}  // namespace zk
