// Numbers in texts from outside (cloud files, stamps, boxes): decimal notation only.
#pragma once

#include <string_view>

namespace zk {

// The leading decimal number of a text: blanks, an optional sign, digits with an optional
// fraction ("1.6", "-2", ".5", "161207091"). 0 when the text does not begin with one. Hex,
// exponents, "inf" and "nan" are not numbers here ("0x2" reads 0, "1e3" reads 1). With exponent,
// a decimal exponent may follow ("1e3" reads 1000, "1e" reads 1); a number out of the range of
// double reads 0.
double leadingDecimal(std::string_view text, bool exponent = false);

}  // namespace zk
