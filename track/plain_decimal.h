#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ostrel {

// The same results as ReadDecimalInt and ReadDecimalReal (decimal_text.h), bit for bit, but
// quicker for the short plain numbers that trackers write ("1234", "-0.1234567"): those are
// read in one pass here, everything else (blanks, exponents, long digit runs) is handed on.
std::int32_t ReadPlainDecimalInt(std::string_view text);
double ReadPlainDecimalReal(std::string_view text);

// The one-pass readers themselves, for callers that do not know where the number ends: each
// reads the plain number at the start of `text` and gives the characters it took, or 0 when
// `text` does not start with a number they can read exactly (then the general reader must).
std::size_t ReadPlainInt(std::string_view text, std::int32_t& value);
std::size_t ReadPlainReal(std::string_view text, double& value);

}  // namespace ostrel
