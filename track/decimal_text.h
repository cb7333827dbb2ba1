#pragma once

#include <cstdint>
#include <string_view>

namespace ostrel {

// Numbers in the text files are read the way the C library's decimal conversions read them,
// but independent of the process locale (a desktop program runs in the user's locale, where
// the decimal point may be a comma):
//   leading white space, an optional sign, then digits (for reals an optional fraction and
//   exponent); reading stops at the first character that does not fit; no digits give 0.

// strtol over 32 bits: values beyond the range saturate at INT32_MIN / INT32_MAX.
std::int32_t ReadDecimalInt(std::string_view text);

// strtod: values too large give an infinity of their sign, values too small a zero.
// Only decimal notation is read ("inf", "nan" and hexadecimal give 0 or stop early).
double ReadDecimalReal(std::string_view text);

// The reduction of the camera log: the integer's low 16 bits taken as unsigned (0 to 65535).
std::int32_t ReadDecimalLow16(std::string_view text);

}  // namespace ostrel
