#include "track/decimal_text.h"

#include <charconv>
#include <cstddef>
#include <limits>

namespace ostrel {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipSpaces(std::string_view text, std::size_t at) {
  while (at < text.size() && IsSpace(text[at])) ++at;
  return at;
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at;
}

// Reads an optional sign at `at`; returns true for a minus.
bool ReadSign(std::string_view text, std::size_t& at) {
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) return text[at++] == '-';
  return false;
}

// The decimal order of magnitude of a mantissa that from_chars refused as out of range,
// so that overflow and underflow can be told apart: positive means too large.
long long Magnitude(std::string_view integerDigits, std::string_view fractionDigits,
                    long long exponent) {
  const std::size_t firstSignificant = integerDigits.find_first_not_of('0');
  if (firstSignificant != std::string_view::npos) {
    return static_cast<long long>(integerDigits.size() - firstSignificant) + exponent;
  }
  const std::size_t fractionSignificant = fractionDigits.find_first_not_of('0');
  if (fractionSignificant == std::string_view::npos) return std::numeric_limits<long long>::min();
  return exponent - static_cast<long long>(fractionSignificant);
}

}  // namespace

std::int32_t ReadDecimalInt(std::string_view text) {
  std::size_t at = SkipSpaces(text, 0);
  const bool negative = ReadSign(text, at);
  const std::size_t end = SkipDigits(text, at);
  if (end == at) return 0;

  std::uint64_t magnitude = 0;
  const auto [ptr, error] = std::from_chars(text.data() + at, text.data() + end, magnitude);
  (void)ptr;
  constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int32_t>::max();
  const std::uint64_t limit = negative ? kMaxPositive + 1 : kMaxPositive;
  if (error == std::errc::result_out_of_range || magnitude > limit) magnitude = limit;
  const auto value = static_cast<std::int64_t>(magnitude);
  return static_cast<std::int32_t>(negative ? -value : value);
}

double ReadDecimalReal(std::string_view text) {
  const std::size_t start = SkipSpaces(text, 0);
  std::size_t at = start;
  const bool negative = ReadSign(text, at);
  const std::size_t integerStart = at;
  const std::size_t integerEnd = SkipDigits(text, at);
  std::size_t fractionStart = integerEnd;
  std::size_t fractionEnd = integerEnd;
  if (integerEnd < text.size() && text[integerEnd] == '.') {
    fractionStart = integerEnd + 1;
    fractionEnd = SkipDigits(text, fractionStart);
  }
  if (integerEnd == integerStart && fractionEnd == fractionStart) return 0.0;

  std::size_t end = fractionEnd;
  long long exponent = 0;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t exponentAt = end + 1;
    const bool exponentNegative = ReadSign(text, exponentAt);
    const std::size_t exponentEnd = SkipDigits(text, exponentAt);
    if (exponentEnd > exponentAt) {
      const std::int32_t exponentValue = ReadDecimalInt(text.substr(exponentAt, exponentEnd - exponentAt));
      exponent = exponentNegative ? -static_cast<long long>(exponentValue) : exponentValue;
      end = exponentEnd;
    }
  }

  double value = 0.0;
  const auto [ptr, error] =
      std::from_chars(text.data() + integerStart, text.data() + end, value, std::chars_format::general);
  (void)ptr;
  if (error == std::errc::result_out_of_range) {
    const long long magnitude =
        Magnitude(text.substr(integerStart, integerEnd - integerStart),
                  text.substr(fractionStart, fractionEnd - fractionStart), exponent);
    value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

std::int32_t ReadDecimalLow16(std::string_view text) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(ReadDecimalInt(text)) & 0xFFFFu);
}

}  // namespace ostrel
