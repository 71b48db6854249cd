#include "editor/hosts_colouring.h"

namespace zk {

void styleHostsText(std::string_view text, char* styles) {
  bool comment = false;
  int word = 0;  // words begun on this line
  bool inWord = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      comment = inWord = false;
      word = 0;
      styles[i] = kPlainStyle;
      continue;
    }
    if (c == '#') comment = true;
    if (comment) {
      styles[i] = kCommentStyle;
      continue;
    }
    if (c == ' ' || c == '\t') {
      inWord = false;
      styles[i] = kPlainStyle;
      continue;
    }
    if (!inWord) {
      inWord = true;
      ++word;
    }
    styles[i] = word == 1 ? kAddressStyle : kNameStyle;
  }
}

}  // namespace zk
