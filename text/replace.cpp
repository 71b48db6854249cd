#include "text/replace.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace zk {
namespace {

bool isContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// Finds occurrences of one pattern. A pattern of one byte goes to memchr; a longer one to a
// Horspool scan, which skips ahead by up to its length on the frequent mismatches of hosts text
// (digits and dots of addresses, the letters of names).
class Finder {
 public:
  explicit Finder(std::string_view pattern) : p_(pattern), searcher_(pattern.begin(), pattern.end()) {}

  std::size_t find(std::string_view text, std::size_t from) const {
    if (from > text.size() || text.size() - from < p_.size()) return std::string_view::npos;
    if (p_.size() == 1) {
      const void* hit = std::memchr(text.data() + from, p_[0], text.size() - from);
      return hit ? static_cast<const char*>(hit) - text.data() : std::string_view::npos;
    }
    auto [first, last] = searcher_(text.begin() + from, text.end());
    return first == text.end() ? std::string_view::npos : static_cast<std::size_t>(first - text.begin());
  }

 private:
  std::string_view p_;
  std::boyer_moore_horspool_searcher<std::string_view::const_iterator> searcher_;
};

// An occurrence counts only where a character begins. A pattern that is whole UTF-8 characters
// never matches elsewhere; one that starts with a stray continuation byte could.
std::size_t findAtCharacter(const Finder& f, std::string_view text, std::size_t from) {
  for (std::size_t at = f.find(text, from); at != std::string_view::npos; at = f.find(text, at + 1))
    if (!isContinuation(static_cast<unsigned char>(text[at]))) return at;
  return std::string_view::npos;
}

}  // namespace

bool replaceAll(std::string& text, std::string_view pattern, std::string_view replacement) {
  if (pattern.empty()) return false;
  Finder finder(pattern);
  std::string_view all(text);
  std::size_t at = findAtCharacter(finder, all, 0);
  if (at == std::string_view::npos) return false;
  std::string out;
  out.reserve(replacement.size() > pattern.size() ? text.size() + text.size() / 4 : text.size());
  std::size_t from = 0;
  for (; at != std::string_view::npos; at = findAtCharacter(finder, all, from)) {
    out.append(all.substr(from, at - from)).append(replacement);
    from = at + pattern.size();
  }
  out.append(all.substr(from));
  text = std::move(out);
  return true;
}

std::string replacedAll(std::string_view text, std::string_view pattern, std::string_view replacement) {
  std::string out(text);
  replaceAll(out, pattern, replacement);
  return out;
}

std::string toggledComment(std::string_view selection) {
  if (selection.find('#') == std::string_view::npos) return "#" + std::string(selection);
  return replacedAll(selection, "#", "");
}

std::size_t byteOffsetOfChar(std::string_view text, std::size_t charIndex) {
  std::size_t at = 0;
  for (; at < text.size() && charIndex > 0; --charIndex) {
    ++at;
    while (at < text.size() && isContinuation(static_cast<unsigned char>(text[at]))) ++at;
  }
  return at;
}

std::size_t charCount(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return !isContinuation(static_cast<unsigned char>(c)); }));
}

}  // namespace zk
