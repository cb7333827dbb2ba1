#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "track/digit_words.h"

namespace ostrel {

// How many characters from the start of a number the short readers look at: a sign and a word
// of digits; for a real also a digit and a point before the word, and the character after it.
inline constexpr std::size_t kShortIntReach = 1 + digit_words::kWordChars;
inline constexpr std::size_t kShortRealReach = 3 + digit_words::kWordChars + 1;

namespace short_decimal_detail {

// Up to seven digits from `digits`, as one word. The characters taken (the value then set,
// with the sign given), or 0.
inline std::size_t ReadIntDigits(const char* digits, bool negative, std::int32_t& value) {
  const std::uint64_t word = digit_words::LoadWord(digits);
  const std::size_t count = digit_words::FirstMarked(digit_words::NotDigitBytes(word));
  // Up to seven digits cannot leave 32 bits.
  if (count == 0 || count == digit_words::kWordChars) return 0;
  const auto magnitude = static_cast<std::int32_t>(digit_words::DigitsValue(word, count));
  value = negative ? -magnitude : magnitude;
  return count;
}

}  // namespace short_decimal_detail

// Reads an optional sign and up to seven digits, the integers trackers print ("1000040", "-3"),
// to the same value and end as strtol, from one word. Gives the characters it took, or 0 for
// any other number (no digits, eight or more, a leading blank), which the general readers then
// take. The kShortIntReach characters from `at` must all be readable.
inline std::size_t ReadShortInt(const char* at, std::int32_t& value) {
  // A sign as a predicted branch, as for ReadShortReal below.
  const char first = *at;
  if (first == '-' || first == '+') [[unlikely]] {
    const std::size_t length = short_decimal_detail::ReadIntDigits(at + 1, first == '-', value);
    return length == 0 ? 0 : 1 + length;
  }
  return short_decimal_detail::ReadIntDigits(at, false, value);
}

namespace short_decimal_detail {

// Up to nine digits are exact, as is every power of ten up to 10^8: one division rounds once,
// correctly, to the value any correct conversion gives.
inline constexpr std::array<double, digit_words::kWordChars + 1> kPowersOfTen = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
inline constexpr std::array<std::uint64_t, digit_words::kWordChars + 1> kScales = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

// A digit, or an exponent that strtod would go on to read: the number is not over yet.
inline bool ContinuesNumber(char c) { return (c >= '0' && c <= '9') || c == 'e' || c == 'E'; }

// One digit, a point and up to eight digits from `digits`, as normalised corners and scores are
// written: the fraction's digits make one word, and the integer digit joins them at the scale
// the fraction sets. The characters taken (the value then set, with the sign given), or 0.
inline std::size_t ReadUnitDigits(const char* digits, bool negative, double& value) {
  if (digits[1] != '.' || digits[0] < '0' || digits[0] > '9') return 0;
  const std::uint64_t fraction = digit_words::LoadWord(digits + 2);
  const std::size_t fractionDigits = digit_words::FirstMarked(digit_words::NotDigitBytes(fraction));
  if (ContinuesNumber(digits[2 + fractionDigits])) return 0;
  const auto integer = static_cast<std::uint64_t>(digits[0] - '0');
  const std::uint64_t mantissa =
      integer * kScales[fractionDigits] + digit_words::DigitsValue(fraction, fractionDigits);
  const double magnitude = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
  value = negative ? -magnitude : magnitude;
  return 2 + fractionDigits;
}

// At most eight digits from `digits`, with or without a point among them. The characters
// taken (the value then set, with the sign given), or 0.
inline std::size_t ReadWordDigits(const char* digits, bool negative, double& value) {
  const std::uint64_t first = digit_words::LoadWord(digits);
  const std::uint64_t firstStops = digit_words::NotDigitBytes(first);
  if (firstStops == 0) return 0;
  const std::size_t integerDigits = digit_words::FirstMarked(firstStops);
  std::size_t allDigits = integerDigits;
  std::size_t length = integerDigits;
  std::uint64_t mantissaWord = first;
  if (digits[integerDigits] == '.') {
    // Read from one character on, the fraction's digits stand where the point was: the
    // integer's bytes of `first` and the rest of `shifted` are the number's digits in a row.
    const std::uint64_t shifted = digit_words::LoadWord(digits + 1);
    const std::uint64_t integerBytes = (std::uint64_t{1} << (8 * integerDigits)) - 1;
    allDigits = digit_words::FirstMarked(digit_words::NotDigitBytes(shifted) & ~integerBytes);
    length = allDigits + 1;
    mantissaWord = (first & integerBytes) | (shifted & ~integerBytes);
  }
  // A digit after them means more digits than a word holds.
  if (allDigits == 0 || ContinuesNumber(digits[length])) return 0;
  const double magnitude = static_cast<double>(digit_words::DigitsValue(mantissaWord, allDigits)) /
                           kPowersOfTen[allDigits - integerDigits];
  value = negative ? -magnitude : magnitude;
  return length;
}

}  // namespace short_decimal_detail

// Reads the kinds of number trackers print most: an optional sign, then one digit, a point and
// up to eight more ("0.12345678"), or at most eight digits with or without a point among them
// ("-12.5", "1234"), to the same value and end as strtod, in a handful of word operations.
// Gives the characters it took, or 0 for any other kind of number (more digits, an exponent,
// no digits, a leading blank), which the general readers then take. The kShortRealReach
// characters from `at` must all be readable.
inline std::size_t ReadShortReal(const char* at, double& value) {
  // Trackers seldom write a sign. Taken as a branch the processor predicts, the digits are
  // read before the first character is known; worked into where they start, it made every
  // value of a line wait for the one before it to be read a step more.
  const char first = *at;
  if (first == '-' || first == '+') [[unlikely]] {
    const bool negative = first == '-';
    std::size_t length = short_decimal_detail::ReadUnitDigits(at + 1, negative, value);
    if (length == 0) length = short_decimal_detail::ReadWordDigits(at + 1, negative, value);
    return length == 0 ? 0 : 1 + length;
  }
  const std::size_t length = short_decimal_detail::ReadUnitDigits(at, false, value);
  return length != 0 ? length : short_decimal_detail::ReadWordDigits(at, false, value);
}

}  // namespace ostrel
