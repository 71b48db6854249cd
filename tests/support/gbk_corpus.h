// The shared corpus of GBK input that both builds must read alike (tests/data/gbk_corpus.txt),
// read by the native unit tests and by the Windows-side tests.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "text/gbk.h"

namespace zk::test {

struct GbkCorpusCase {
  int line = 0;
  std::string bytes;  // GBK input
  std::string text;   // the UTF-8 it must read as
};

struct GbkCorpus {
  std::vector<GbkCorpusCase> cases;
  std::optional<std::uint64_t> pairsDigest;
  std::vector<int> badLines;  // lines that are neither a case, a comment nor blank
};

inline std::optional<std::string> bytesOfHex(std::string_view hex) {
  std::string digits;
  for (char c : hex)
    if (c != ' ' && c != '\t' && c != '\r') digits += c;
  if (digits.size() % 2) return std::nullopt;
  std::string out;
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    int v = 0;
    for (char c : digits.substr(i, 2)) {
      int d = c >= '0' && c <= '9'   ? c - '0'
              : c >= 'A' && c <= 'F' ? c - 'A' + 10
              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                     : -1;
      if (d < 0) return std::nullopt;
      v = v * 16 + d;
    }
    out += static_cast<char>(v);
  }
  return out;
}

inline GbkCorpus parseGbkCorpus(const std::string& file) {
  GbkCorpus corpus;
  std::istringstream in(file);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#' || line == "\r") continue;
    std::size_t arrow = line.find("->");
    if (arrow == std::string::npos) {
      corpus.badLines.push_back(number);
      continue;
    }
    std::string left = line.substr(0, arrow), right = line.substr(arrow + 2);
    auto text = bytesOfHex(right);
    if (left.find("pairs") == 0 && text && text->size() == 8) {
      std::uint64_t v = 0;
      for (char c : *text) v = v << 8 | static_cast<unsigned char>(c);
      corpus.pairsDigest = v;
      continue;
    }
    auto bytes = bytesOfHex(left);
    if (!bytes || !text || bytes->empty()) {
      corpus.badLines.push_back(number);
      continue;
    }
    corpus.cases.push_back({number, *bytes, *text});
  }
  return corpus;
}

inline std::string readCorpusFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// Every lead byte with every byte it takes second, each pair read on its own.
inline std::uint64_t gbkPairsDigest() {
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      for (char c : fromGbk(std::string_view(pair, 2))) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ull;
      }
    }
  }
  return h;
}

}  // namespace zk::test
