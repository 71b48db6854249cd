#include "text/number.h"

#include <charconv>

namespace zk {

double leadingDecimal(std::string_view text) {
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
  // from_chars takes no '+'; its fixed format reads exactly the span checked above.
  std::string_view number = text.substr(digitsFrom, i - digitsFrom);
  double value = 0.0;
  std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::fixed);
  return text[start] == '-' ? -value : value;
}

}  // namespace zk
