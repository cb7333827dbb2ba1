#include "track/text_tokens.h"

#include <algorithm>

namespace ostrel {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string_view TextTokens::Next(std::string_view delimiters) {
  const std::size_t start = rest_.find_first_not_of(delimiters);
  if (start == std::string_view::npos) {
    rest_ = {};
    exhausted_ = true;
    return {};
  }
  const std::size_t stop = rest_.find_first_of(delimiters, start);
  const std::string_view token = rest_.substr(start, stop == std::string_view::npos ? stop : stop - start);
  rest_ = stop == std::string_view::npos ? std::string_view{} : rest_.substr(stop + 1);
  return token;
}

bool StartsWithNoCase(std::string_view text, std::string_view keyword) {
  if (text.size() < keyword.size()) return false;
  return std::equal(keyword.begin(), keyword.end(), text.begin(),
                    [](char a, char b) { return Lower(a) == Lower(b); });
}

}  // namespace ostrel
