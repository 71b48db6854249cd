#include "text/replace.h"

#include <algorithm>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zk {
namespace {

bool isContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// Finds occurrences of one pattern. A pattern of one byte goes to memchr. A longer one is looked
// for 16 positions at a time: where its first and its last byte both match (rare in hosts text,
// even for digits and dots) the rest is compared.
class Finder {
 public:
  explicit Finder(std::string_view pattern) : p_(pattern) {}

  std::size_t find(std::string_view text, std::size_t from) const {
    if (from > text.size() || text.size() - from < p_.size()) return std::string_view::npos;
    if (p_.size() == 1) {
      const void* hit = std::memchr(text.data() + from, p_[0], text.size() - from);
      return hit ? static_cast<const char*>(hit) - text.data() : std::string_view::npos;
    }
    const std::size_t last = p_.size() - 1;
    const std::size_t end = text.size() - last;  // positions [from, end) can start a match
    std::size_t at = from;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(p_[0]), final = _mm_set1_epi8(p_[last]);
    for (; at + 16 <= end; at += 16) {
      __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
      __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at + last));
      auto mask =
          static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, final))));
      while (mask) {
        std::size_t i = at + static_cast<std::size_t>(__builtin_ctz(mask));
        if (std::memcmp(text.data() + i + 1, p_.data() + 1, last - 1) == 0) return i;
        mask &= mask - 1;
      }
    }
#endif
    for (; at < end; ++at)
      if (text[at] == p_[0] && text.compare(at, p_.size(), p_) == 0) return at;
    return std::string_view::npos;
  }

 private:
  std::string_view p_;
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
  if (replacement.size() <= pattern.size()) {
    // In place: what is written never passes what is still to be read.
    char* base = text.data();
    std::size_t read = 0, write = 0;
    for (; at != std::string_view::npos; at = findAtCharacter(finder, all, read)) {
      if (write != read) std::memmove(base + write, base + read, at - read);
      write += at - read;
      std::memcpy(base + write, replacement.data(), replacement.size());
      write += replacement.size();
      read = at + pattern.size();
    }
    if (write != read) std::memmove(base + write, base + read, text.size() - read);
    text.resize(write + (text.size() - read));
    return true;
  }
  // Longer: the occurrences first, then the new text at its final size, filled piece by piece.
  std::vector<std::size_t> found;
  for (; at != std::string_view::npos; at = findAtCharacter(finder, all, at + pattern.size())) found.push_back(at);
  std::string out;
  out.resize(text.size() + found.size() * (replacement.size() - pattern.size()));
  char* put = out.data();
  std::size_t from = 0;
  for (std::size_t hit : found) {
    std::memcpy(put, text.data() + from, hit - from);
    put += hit - from;
    std::memcpy(put, replacement.data(), replacement.size());
    put += replacement.size();
    from = hit + pattern.size();
  }
  std::memcpy(put, text.data() + from, text.size() - from);
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
