#include "editor/domain_cleaning.h"

#include "text/text.h"

namespace zk {

const std::array<CleaningRow, 41> kDomainCleaning = {{
    {"http://", ""}, {":/", ""}, {":", ""},  {"。", "."}, {",", "."}, {"#", ""}, {"~", ""},  {"！", ""}, {"!", ""},
    {"@", ""},       {"$", ""},  {"%", ""},  {"^", ""},   {"&", ""},  {"*", ""}, {"(", ""},  {")", ""},  {"（", ""},
    {"）", ""},      {"_", ""},  {"+", ""},  {"=", ""},   {"{", ""},  {"}", ""}, {"【", ""}, {"】", ""}, {"[", ""},
    {"]", ""},       {";", ""},  {":", ""},  {"'", ""},   {"\"", ""}, {"“", ""}, {"”", ""},  {"《", ""}, {"》", ""},
    {"<", ""},       {"?", ""},  {"？", ""}, {"、", "."}, {"·", ""},
}};

namespace {

// Every occurrence, left to right, never overlapping. On UTF-8 text a whole-character token
// cannot match inside another character, as the GBK scan never starts on a trail byte.
std::string replaceEvery(std::string_view text, std::string_view token, std::string_view replacement) {
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(token, from)) != std::string_view::npos; from = at + token.size())
    out.append(text.substr(from, at - from)).append(replacement);
  return out.append(text.substr(from));
}

}  // namespace

std::string cleanDomainPass(std::string_view text) {
  std::string box(text);
  for (const CleaningRow& row : kDomainCleaning)
    if (asciiLower(box).find(asciiLower(row.token)) != std::string::npos)
      box = replaceEvery(box, row.token, row.replacement);
  return box;
}

std::string cleanDomain(std::string_view text) {
  std::string box(text);
  for (;;) {
    std::string next = cleanDomainPass(box);
    if (next == box) return box;
    box = std::move(next);
  }
}

}  // namespace zk
