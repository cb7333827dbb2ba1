#include "track/plain_decimal.h"

#include <array>
#include <cstddef>

#include "track/decimal_text.h"
#include "track/digit_words.h"

namespace ostrel {
namespace {

using digit_words::DigitsValue;
using digit_words::FirstMarked;
using digit_words::kWordChars;
using digit_words::LoadWord;
using digit_words::NotDigitBytes;

// Every power of ten up to 10^22 is exact in a double.
constexpr std::array<double, 23> kPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t kExactMantissa = std::uint64_t{1} << 53;
constexpr std::size_t kMaxDigits = 19;  // any 19 digits fit in 64 bits

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct PlainDigits {
  std::uint64_t value = 0;
  std::size_t count = 0;
};

// Accumulates a run of digits from `at`; stops after kMaxDigits + 1 so the caller can tell
// that the run was too long for this path.
std::size_t AddDigits(std::string_view text, std::size_t at, PlainDigits& digits) {
  while (at < text.size() && IsDigit(text[at]) && digits.count <= kMaxDigits) {
    digits.value = digits.value * 10 + static_cast<std::uint64_t>(text[at] - '0');
    ++digits.count;
    ++at;
  }
  return at;
}

bool ReadSign(std::string_view text, std::size_t& at) {
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) return text[at++] == '-';
  return false;
}

// Trackers print numbers like "-0.1234567": short enough that the sixteen characters from the
// first digit hold the whole number.
constexpr std::size_t kWindowChars = 2 * kWordChars;
constexpr std::array<std::uint64_t, kWordChars + 1> kWordScales = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

bool IsExponent(char c) { return c == 'e' || c == 'E'; }

// The plain real whose first digit (or point) is at `at`, when the sixteen characters from
// there hold it with at most eight digits on either side of the point; gives where it ends,
// or 0 when the character-wise reader must decide. Needs sixteen characters from `at`.
std::size_t ReadWindowReal(std::string_view text, std::size_t at, bool negative, double& value) {
  const char* const start = text.data() + at;
  const std::uint64_t low = LoadWord(start);
  const std::uint64_t lowStops = NotDigitBytes(low);
  const std::size_t integerDigits = FirstMarked(lowStops);
  if (integerDigits == kWordChars) return 0;
  std::size_t length = integerDigits;
  std::size_t fractionDigits = 0;
  if (start[integerDigits] == '.') {
    // The fraction ends at the first non-digit after the point, in either word.
    const std::uint64_t afterPoint = lowStops & (lowStops - 1);
    length = afterPoint != 0 ? FirstMarked(afterPoint)
                             : kWordChars + FirstMarked(NotDigitBytes(LoadWord(start + kWordChars)));
    fractionDigits = length - integerDigits - 1;
  }
  if (length == kWindowChars || fractionDigits > kWordChars || integerDigits + fractionDigits == 0 ||
      IsExponent(start[length])) {
    return 0;
  }
  // At most fifteen digits: the mantissa is exact, and one division by an exact power of ten
  // rounds once, correctly.
  const std::uint64_t mantissa =
      DigitsValue(low, integerDigits) * kWordScales[fractionDigits] +
      DigitsValue(LoadWord(start + integerDigits + 1), fractionDigits);
  const double magnitude = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
  value = negative ? -magnitude : magnitude;
  return at + length;
}

}  // namespace

std::size_t plain_decimal_detail::ReadLongerPlainInt(std::string_view text, std::int32_t& value) {
  std::size_t at = 0;
  const bool negative = ReadSign(text, at);
  PlainDigits digits;
  const std::size_t end = AddDigits(text, at, digits);
  // Up to nine digits cannot leave 32 bits.
  if (digits.count == 0 || digits.count > 9) return 0;
  const auto magnitude = static_cast<std::int32_t>(digits.value);
  value = negative ? -magnitude : magnitude;
  return end;
}

std::size_t plain_decimal_detail::ReadLongerPlainReal(std::string_view text, double& value) {
  std::size_t at = 0;
  const bool negative = ReadSign(text, at);
  if (text.size() - at >= kWindowChars) {
    const std::size_t end = ReadWindowReal(text, at, negative, value);
    if (end > 0) return end;
  }
  PlainDigits digits;
  std::size_t end = AddDigits(text, at, digits);
  const std::size_t integerDigits = digits.count;
  std::size_t fractionDigits = 0;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fractionStart = end + 1;
    end = AddDigits(text, fractionStart, digits);
    fractionDigits = end - fractionStart;
  }
  const bool plain = integerDigits + fractionDigits > 0 && digits.count <= kMaxDigits &&
                     digits.value <= kExactMantissa && fractionDigits < kPowersOfTen.size() &&
                     (end == text.size() || (!IsDigit(text[end]) && text[end] != 'e' && text[end] != 'E'));
  if (!plain) return 0;
  // An exact mantissa divided by an exact power of ten is rounded once, correctly: the
  // result is the nearest double, as any correct conversion gives.
  const double magnitude = static_cast<double>(digits.value) / kPowersOfTen[fractionDigits];
  value = negative ? -magnitude : magnitude;
  return end;
}

std::int32_t ReadPlainDecimalInt(std::string_view text) {
  std::int32_t value = 0;
  return ReadPlainInt(text, value) > 0 ? value : ReadDecimalInt(text);
}

double ReadPlainDecimalReal(std::string_view text) {
  double value = 0.0;
  return ReadPlainReal(text, value) > 0 ? value : ReadDecimalReal(text);
}

}  // namespace ostrel
