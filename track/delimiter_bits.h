#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ostrel {

// Finds delimiters in a line from left to right, sixty-four characters at a time: each block's
// delimiters become one word of bits, so walking from token to token costs a bit scan instead
// of a test and a branch per character. Never reads outside the line.
class DelimiterBits {
 public:
  static constexpr std::size_t kMaxDelimiters = 4;

  // `delimiters` holds one to kMaxDelimiters characters.
  DelimiterBits(std::string_view line, std::string_view delimiters);

  // The first position at or after `from` whose character is a delimiter (NextDelimiter) or is
  // not one (NextOther); the line's length when there is none.
  std::size_t NextDelimiter(std::size_t from) { return Next(from, false); }
  std::size_t NextOther(std::size_t from) { return Next(from, true); }

 private:
  std::size_t Next(std::size_t from, bool other);
  // Bit i is set when character start + i is a delimiter or lies past the line's end.
  std::uint64_t BlockBits(std::size_t start) const;

  std::string_view line_;
  std::array<char, kMaxDelimiters> delimiters_{};
  std::size_t blockStart_ = SIZE_MAX;
  std::uint64_t blockBits_ = 0;
};

}  // namespace ostrel
