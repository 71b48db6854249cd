#include "editor/domain_cleaning.h"

#include "text/replace.h"
#include "text/text.h"

namespace zk {

const std::array<CleaningRow, 41> kDomainCleaning = {{
    {"http://", ""}, {":/", ""}, {":", ""},  {"。", "."}, {",", "."}, {"#", ""}, {"~", ""},  {"！", ""}, {"!", ""},
    {"@", ""},       {"$", ""},  {"%", ""},  {"^", ""},   {"&", ""},  {"*", ""}, {"(", ""},  {")", ""},  {"（", ""},
    {"）", ""},      {"_", ""},  {"+", ""},  {"=", ""},   {"{", ""},  {"}", ""}, {"【", ""}, {"】", ""}, {"[", ""},
    {"]", ""},       {";", ""},  {":", ""},  {"'", ""},   {"\"", ""}, {"“", ""}, {"”", ""},  {"《", ""}, {"》", ""},
    {"<", ""},       {"?", ""},  {"？", ""}, {"、", "."}, {"·", ""},
}};

std::string cleanDomainPass(std::string_view text) {
  std::string box(text);
  for (const CleaningRow& row : kDomainCleaning)
    if (asciiLower(box).find(asciiLower(row.token)) != std::string::npos) replaceAll(box, row.token, row.replacement);
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
