#include "track/delimiter_bits.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ostrel {
namespace {

constexpr std::size_t kBlockChars = 64;

#if defined(__SSE2__)
// One bit per character of 64, set where the character is one of the four delimiters.
std::uint64_t MatchBlock(const char* block, const std::array<char, 4>& delimiters) {
  const __m128i d0 = _mm_set1_epi8(delimiters[0]);
  const __m128i d1 = _mm_set1_epi8(delimiters[1]);
  const __m128i d2 = _mm_set1_epi8(delimiters[2]);
  const __m128i d3 = _mm_set1_epi8(delimiters[3]);
  std::uint64_t bits = 0;
  for (std::size_t part = 0; part < kBlockChars / 16; ++part) {
    __m128i chars;
    std::memcpy(&chars, block + 16 * part, sizeof chars);
    const __m128i match = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chars, d0), _mm_cmpeq_epi8(chars, d1)),
                                       _mm_or_si128(_mm_cmpeq_epi8(chars, d2), _mm_cmpeq_epi8(chars, d3)));
    bits |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(match))} << (16 * part);
  }
  return bits;
}
#else
std::uint64_t MatchBlock(const char* block, const std::array<char, 4>& delimiters) {
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < kBlockChars; ++i) {
    if (std::find(delimiters.begin(), delimiters.end(), block[i]) != delimiters.end()) {
      bits |= std::uint64_t{1} << i;
    }
  }
  return bits;
}
#endif

}  // namespace

DelimiterBits::DelimiterBits(std::string_view line, std::string_view delimiters) : line_(line) {
  // Unused places repeat the first delimiter, so every place can be compared.
  delimiters_.fill(delimiters.empty() ? '\0' : delimiters.front());
  std::copy_n(delimiters.begin(), std::min(delimiters.size(), kMaxDelimiters), delimiters_.begin());
}

std::uint64_t DelimiterBits::BlockBits(std::size_t start) const {
  const std::size_t present = line_.size() - start;
  if (present >= kBlockChars) return MatchBlock(line_.data() + start, delimiters_);
  // The line's last block is matched in a copy, and the places past its end count as found.
  char tail[kBlockChars] = {};
  std::memcpy(tail, line_.data() + start, present);
  return MatchBlock(tail, delimiters_) | (~std::uint64_t{0} << present);
}

std::size_t DelimiterBits::Next(std::size_t from, bool other) {
  while (from < line_.size()) {
    const std::size_t block = from - from % kBlockChars;
    if (block != blockStart_) {
      blockBits_ = BlockBits(block);
      blockStart_ = block;
    }
    // Past the end every place is a delimiter, so a search for other characters runs out there.
    const std::uint64_t wanted = (other ? ~blockBits_ : blockBits_) >> (from - block);
    if (wanted != 0) return std::min(from + static_cast<std::size_t>(std::countr_zero(wanted)), line_.size());
    from = block + kBlockChars;
  }
  return line_.size();
}

}  // namespace ostrel
