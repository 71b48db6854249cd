// The add-entry dialog's domain box: a URL prefix and punctuation removed as the user types, so
// that a pasted or Chinese-typed name becomes a plain dotted host name.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zk {

struct CleaningRow {
  std::string_view token;        // UTF-8 in memory; GBK on screen and in the table's origin
  std::string_view replacement;  // empty: the token is deleted
};

// The cleaning table, applied in this order.
extern const std::array<CleaningRow, 41> kDomainCleaning;

// One pass over the table: each row whose token the text holds (letters compared without case)
// replaces every occurrence of its token, compared exactly, scanning from the left without
// overlaps; the next row works on the result.
std::string cleanDomainPass(std::string_view text);

// Passes until one changes nothing: the text the box comes to rest at. Each pass only deletes,
// shortens, or turns an ASCII comma into a dot, so the rest comes after a few passes.
std::string cleanDomain(std::string_view text);

}  // namespace zk
