#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "track/digit_words.h"

namespace ostrel {

// Splits a line the way the C library's strtok does, with a delimiter set chosen per call:
// delimiters before a token are skipped, the token runs to the next delimiter of the set,
// and that delimiter is used up. An exhausted line gives empty tokens.
class TextTokens {
 public:
  explicit TextTokens(std::string_view line) : rest_(line) {}

  // The next token; empty when the line holds no more.
  std::string_view Next(std::string_view delimiters);
  // True when Next found nothing (the last call reached the end of the line).
  bool exhausted() const { return exhausted_; }

 private:
  std::string_view rest_;
  bool exhausted_ = false;
};

// Compares the first `length` characters of `text` with `keyword`, ignoring ASCII case;
// false when `text` is shorter.
bool StartsWithNoCase(std::string_view text, std::string_view keyword);

// The same comparison with a keyword of up to sixteen characters fixed in advance, made on a
// word or two at once: the files hold millions of lines, each classified by its first
// characters. A letter matches in either case once its case bit is set on both sides.
class NoCaseKeyword {
 public:
  static constexpr std::size_t kMaxLength = 2 * digit_words::kWordChars;

  constexpr explicit NoCaseKeyword(std::string_view keyword) : keyword_(keyword) {
    if (keyword.size() > kMaxLength) throw std::length_error("keyword too long");
    using digit_words::kWordChars;
    const std::size_t tailAt = keyword.size() > kWordChars ? keyword.size() - kWordChars : 0;
    for (std::size_t i = 0; i < kWordChars; ++i) {
      if (i < keyword.size()) Add(head_, keyword[i], i);
      if (tailAt + i < keyword.size()) Add(tail_, keyword[tailAt + i], i);
    }
  }

  bool StartOf(std::string_view text) const {
    using digit_words::kWordChars;
    using digit_words::LoadWord;
    if (text.size() < kWordChars || text.size() < keyword_.size()) {
      return StartsWithNoCase(text, keyword_);
    }
    if (!head_.Matches(LoadWord(text.data()))) return false;
    return keyword_.size() <= kWordChars ||
           tail_.Matches(LoadWord(text.data() + keyword_.size() - kWordChars));
  }

 private:
  struct Word {
    std::uint64_t characters = 0;  // letters in lower case
    std::uint64_t caseBits = 0;    // the case bit of each letter
    std::uint64_t mask = 0;        // the bytes the keyword fills

    constexpr bool Matches(std::uint64_t word) const {
      return ((word | caseBits) & mask) == characters;
    }
  };

  static constexpr void Add(Word& word, char c, std::size_t at) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const char lower = letter ? static_cast<char>(c | 0x20) : c;
    const auto byte = std::uint64_t{static_cast<unsigned char>(lower)};
    word.characters |= byte << (8 * at);
    if (letter) word.caseBits |= std::uint64_t{0x20} << (8 * at);
    word.mask |= std::uint64_t{0xFF} << (8 * at);
  }

  std::string_view keyword_;
  Word head_;
  Word tail_;
};

}  // namespace ostrel
