#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "track/short_decimal.h"

namespace ostrel {

// The same results as ReadDecimalInt and ReadDecimalReal (decimal_text.h), bit for bit, but
// quicker for the short plain numbers that trackers write ("1234", "-0.1234567"): those are
// read in one pass here, everything else (blanks, exponents, long digit runs) is handed on.
std::int32_t ReadPlainDecimalInt(std::string_view text);
double ReadPlainDecimalReal(std::string_view text);

namespace plain_decimal_detail {
// ReadPlainReal for the numbers that the short reader (short_decimal.h) does not take.
std::size_t ReadLongerPlainReal(std::string_view text, double& value);
// ReadPlainInt for the numbers that the short reader does not take.
std::size_t ReadLongerPlainInt(std::string_view text, std::int32_t& value);
}  // namespace plain_decimal_detail

// The one-pass readers themselves, for callers that do not know where the number ends: each
// reads the plain number at the start of `text` and gives the characters it took, or 0 when
// `text` does not start with a number they can read exactly (then the general reader must).
// Both are inline: a sample line of a trajectory file has three integers and nine reals,
// mostly short, and calls for them were a tenth of the parse.
inline std::size_t ReadPlainInt(std::string_view text, std::int32_t& value) {
  if (text.size() >= kShortIntReach) {
    const std::size_t end = ReadShortInt(text.data(), value);
    if (end > 0) return end;
  }
  return plain_decimal_detail::ReadLongerPlainInt(text, value);
}

inline std::size_t ReadPlainReal(std::string_view text, double& value) {
  if (text.size() >= kShortRealReach) {
    const std::size_t end = ReadShortReal(text.data(), value);
    if (end > 0) return end;
  }
  return plain_decimal_detail::ReadLongerPlainReal(text, value);
}

}  // namespace ostrel
