#pragma once

#include <string_view>

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

}  // namespace ostrel
