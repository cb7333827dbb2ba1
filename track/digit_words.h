#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ostrel::digit_words {

// Eight characters tested or summed at once as one 64-bit word, instead of a character at a
// time with a hard-to-predict branch where each run of digits ends.
inline constexpr std::size_t kWordChars = 8;
inline constexpr std::uint64_t kEveryByte = 0x0101010101010101u;

// Eight characters with the first one in the lowest byte, whatever the machine's order.
inline std::uint64_t LoadWord(const char* at) {
  std::uint64_t word = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&word, at, sizeof word);
  } else {
    for (std::size_t i = 0; i < kWordChars; ++i) {
      word |= std::uint64_t{static_cast<unsigned char>(at[i])} << (8 * i);
    }
  }
  return word;
}

// The top bit of every byte that is not a digit. Each byte is tested on its own: its low seven
// bits plus a constant set the byte's top bit without carrying into the next byte.
inline std::uint64_t NotDigitBytes(std::uint64_t word) {
  const std::uint64_t low = word & (0x7F * kEveryByte);
  const std::uint64_t aboveNine = low + (0x80 - ('9' + 1)) * kEveryByte;
  const std::uint64_t fromZero = low + (0x80 - '0') * kEveryByte;
  return (aboveNine | ~fromZero | word) & (0x80 * kEveryByte);
}

// The index of the first byte marked by NotDigitBytes; kWordChars when none is.
inline std::size_t FirstMarked(std::uint64_t marks) {
  return static_cast<std::size_t>(std::countr_zero(marks)) / kWordChars;
}

// The value of the first `count` (0 to 8) characters of the word, all digits. Shifted to the
// top, they read as an eight-digit number with leading zeros; neighbouring digits are then
// joined into pairs, the pairs into fours and the fours into the whole, one multiply each.
inline std::uint64_t DigitsValue(std::uint64_t word, std::size_t count) {
  if (count == 0) return 0;
  std::uint64_t digits = (word - '0' * kEveryByte) << (8 * (kWordChars - count));
  digits = (digits * 10 + (digits >> 8)) & 0x00FF00FF00FF00FFu;
  digits = (digits * 100 + (digits >> 16)) & 0x0000FFFF0000FFFFu;
  return (digits * 10000 + (digits >> 32)) & 0xFFFFFFFFu;
}

}  // namespace ostrel::digit_words
