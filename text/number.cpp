#include "text/number.h"

#include <charconv>

namespace zk {

double leadingDecimal(std::string_view text, bool exponent) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t digitsFrom = i;
  auto digits = [&] {
    std::size_t from = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i - from;
  };
  std::size_t whole = digits();
  std::size_t fraction = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    fraction = digits();
    if (fraction == 0) --i;  // "1." reads as 1
  }
  if (whole + fraction == 0) return 0.0;
  if (exponent && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t mark = i++;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (digits() == 0) i = mark;
  }
  // from_chars takes no '+'; it reads exactly the span checked above.
  std::string_view number = text.substr(digitsFrom, i - digitsFrom);
  double value = 0.0;
  auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                   exponent ? std::chars_format::general : std::chars_format::fixed);
  if (ec != std::errc()) return 0.0;
  return text[start] == '-' ? -value : value;
}

}  // namespace zk
