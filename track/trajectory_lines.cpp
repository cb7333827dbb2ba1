#include "track/trajectory_lines.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "track/decimal_text.h"
#include "track/digit_words.h"
#include "track/plain_decimal.h"
#include "track/sample_line_vector.h"
#include "track/text_lines.h"
#include "track/text_tokens.h"

namespace ostrel {
namespace {

// One look-up per character: this split runs a dozen times on every line of files with
// millions of lines.
constexpr std::array<bool, 256> DelimiterTable() {
  std::array<bool, 256> table{};
  for (const char c : kTrajectoryDelimiters) table[static_cast<unsigned char>(c)] = true;
  return table;
}
constexpr std::array<bool, 256> kIsDelimiter = DelimiterTable();

bool IsDelimiter(char c) { return kIsDelimiter[static_cast<unsigned char>(c)]; }

// A separator of at most eight characters as one word: the characters, the first in the lowest
// byte, and a mask of the bytes they fill.
struct SeparatorWord {
  std::uint64_t word = 0;
  std::uint64_t mask = 0;
  std::size_t length = 0;
};

constexpr SeparatorWord MakeSeparatorWord(std::string_view text) {
  SeparatorWord separator;
  separator.length = text.size();
  for (std::size_t i = 0; i < text.size() && i < digit_words::kWordChars; ++i) {
    separator.word |= std::uint64_t{static_cast<unsigned char>(text[i])} << (8 * i);
    separator.mask |= std::uint64_t{0xFF} << (8 * i);
  }
  return separator;
}

// How far past the end of its line a cursor may read when the line is followed by its line
// end and more text: as far as the short number readers and a separator's comparison reach.
constexpr std::size_t kReadableAfterLine = 16;
static_assert(kReadableAfterLine >= kShortRealReach && kReadableAfterLine >= kShortIntReach);

// Walks the tokens of a line once, reading each value where its token's prefix ends.
//
// With `kEndMarked`, the character at the line's end is its line end ('\r' or '\n') and
// kReadableAfterLine characters from there on can be read. That character stops every number
// and matches no separator's character, so the quick readers need not ask how much of the
// line is left: whatever they read past its end, they take nothing from it. Without it, every
// read stays inside the line.
template <bool kEndMarked>
class TokenCursor {
 public:
  explicit TokenCursor(std::string_view line) : at_(line.data()), end_(line.data() + line.size()) {}

  // Passes the delimiters before the next token and then `prefix` characters of it; false when
  // the line has no further token or the token is shorter than `prefix`.
  bool EnterToken(std::size_t prefix) {
    while (at_ < end_ && IsDelimiter(*at_)) ++at_;
    if (at_ == end_) return false;
    for (std::size_t i = 0; i < prefix; ++i, ++at_) {
      if (at_ == end_ || IsDelimiter(*at_)) return false;
    }
    return true;
  }

  // Moves over `count` characters known to be there.
  void Pass(std::size_t count) { at_ += count; }

  // The number at the cursor; the cursor stops where the number ends, or at the end of the
  // token when the general reader took it. Forced inline: the compiler kept it a call, made
  // three times a line.
  [[gnu::always_inline]] std::int32_t Int() {
    std::int32_t value = 0;
    std::size_t used = 0;
    if constexpr (kEndMarked) {
      used = ReadShortInt(at_, value);
      if (used == 0) used = plain_decimal_detail::ReadLongerPlainInt(Rest(), value);
    } else {
      used = ReadPlainInt(Rest(), value);
    }
    if (used == 0) return ReadDecimalInt(RestOfToken());
    at_ += used;
    return value;
  }

  double Real() {
    double value = 0.0;
    std::size_t used = 0;
    if constexpr (kEndMarked) {
      used = ReadShortReal(at_, value);
      if (used == 0) used = plain_decimal_detail::ReadLongerPlainReal(Rest(), value);
    } else {
      used = ReadPlainReal(Rest(), value);
    }
    if (used == 0) return ReadDecimalReal(RestOfToken());
    at_ += used;
    return value;
  }

  // Ends the current token and enters the next one past its prefix. Trackers write one blank
  // and a fixed key between the values (" x1="): when that text follows, it holds no
  // delimiter but its first character, so one comparison does what a look at each character
  // does. Anything else is walked character by character.
  template <std::size_t Length>
  bool NextToken(const char* separator) {
    static_assert(Length <= kReadableAfterLine);
    if (Readable(Length) && std::memcmp(at_, separator, Length) == 0) {
      at_ += Length;
      return true;
    }
    RestOfToken();
    return EnterToken(Length - 1);
  }

  // The same for a separator of at most a word's length, compared as one word.
  bool NextToken(const SeparatorWord& separator) {
    static_assert(digit_words::kWordChars <= kReadableAfterLine);
    if (Readable(digit_words::kWordChars) &&
        (digit_words::LoadWord(at_) & separator.mask) == separator.word) {
      at_ += separator.length;
      return true;
    }
    RestOfToken();
    return EnterToken(separator.length - 1);
  }

 private:
  bool Readable(std::size_t count) const {
    return kEndMarked || static_cast<std::size_t>(end_ - at_) >= count;
  }

  std::string_view Rest() const { return {at_, static_cast<std::size_t>(end_ - at_)}; }

  // The token's characters from here on; the cursor moves to its end.
  std::string_view RestOfToken() {
    const char* const start = at_;
    while (at_ < end_ && !IsDelimiter(*at_)) ++at_;
    return {start, static_cast<std::size_t>(at_ - start)};
  }

  const char* at_;
  const char* const end_;
};

// The text from the end of one value to the start of the next as trackers write it: a blank
// and the next token's prefix.
constexpr std::string_view kClockSeparator = " time=";
constexpr std::array<std::string_view, 9> kRealSeparators = {
    " x1=", " y1=", " x2=", " y2=", " x3=", " y3=", " x4=", " y4=", " score="};
constexpr std::string_view kBreakSeparator = " breakflg=";

constexpr bool SeparatorsFitPrefixes() {
  bool fit = kClockSeparator.size() == 1 + kSampleTokenPrefixes[1] &&
             kBreakSeparator.size() == 1 + kSampleTokenPrefixes[11];
  for (std::size_t i = 0; i < kRealSeparators.size(); ++i) {
    fit = fit && kRealSeparators[i].size() == 1 + kSampleTokenPrefixes[2 + i] &&
          kRealSeparators[i].size() <= digit_words::kWordChars;
  }
  return fit && kClockSeparator.size() <= digit_words::kWordChars;
}
static_assert(SeparatorsFitPrefixes(), "each separator is a blank and its token's prefix");

// A marked line end must match no separator's character (see TokenCursor).
constexpr bool SeparatorsHoldNoLineEnd() {
  bool none = kClockSeparator.find_first_of("\r\n") == std::string_view::npos &&
              kBreakSeparator.find_first_of("\r\n") == std::string_view::npos;
  for (const std::string_view separator : kRealSeparators) {
    none = none && separator.find_first_of("\r\n") == std::string_view::npos;
  }
  return none;
}
static_assert(SeparatorsHoldNoLineEnd(), "a line end stops every separator's comparison");

constexpr SeparatorWord kClockSeparatorWord = MakeSeparatorWord(kClockSeparator);
constexpr std::array<SeparatorWord, kRealSeparators.size()> RealSeparatorWords() {
  std::array<SeparatorWord, kRealSeparators.size()> words;
  for (std::size_t i = 0; i < words.size(); ++i) words[i] = MakeSeparatorWord(kRealSeparators[i]);
  return words;
}
constexpr std::array<SeparatorWord, kRealSeparators.size()> kRealSeparatorWords =
    RealSeparatorWords();

// Where the real values of a sample line go, in the order of the line: each corner's x and y,
// then the score.
double& RealValue(TrajectorySample& sample, std::size_t i) {
  constexpr std::size_t kCornerValues = 2 * std::size(TrajectorySample{}.corners);
  if (i >= kCornerValues) return sample.score;
  TrackPoint& corner = sample.corners[i / 2];
  return i % 2 == 0 ? corner.x : corner.y;
}

// Reads tokens 2 to 12 of a sample line into `sample`, the cursor standing after the frame
// number; false when one is missing or short. The reals are read in one loop, so that their
// reader is compiled once.
template <bool kEndMarked>
bool ReadSampleValues(TokenCursor<kEndMarked>& cursor, TrajectorySample& sample) {
  if (!cursor.NextToken(kClockSeparatorWord)) return false;
  sample.clockMs = cursor.Int();
  for (std::size_t i = 0; i < kRealSeparatorWords.size(); ++i) {
    if (!cursor.NextToken(kRealSeparatorWords[i])) return false;
    RealValue(sample, i) = cursor.Real();
  }
  if (!cursor.template NextToken<kBreakSeparator.size()>(kBreakSeparator.data())) return false;
  sample.breakFlag = cursor.Int() != 0 ? 1 : 0;
  sample.centre = BoxCentre(sample.corners);
  return true;
}

}  // namespace

TrajectoryLineKind ClassifyTrajectoryLine(std::string_view line) {
  static constexpr NoCaseKeyword kHeader(kHeaderKeyword);
  static constexpr NoCaseKeyword kSample(kSampleKeyword);
  if (kHeader.StartOf(line)) return TrajectoryLineKind::Header;
  if (kSample.StartOf(line)) return TrajectoryLineKind::Sample;
  return TrajectoryLineKind::Other;
}

std::size_t SplitTrajectoryTokens(std::string_view line, std::span<std::string_view> tokens) {
  const char* at = line.data();
  const char* const end = at + line.size();
  std::size_t found = 0;
  while (found < tokens.size()) {
    while (at < end && IsDelimiter(*at)) ++at;
    if (at == end) break;
    const char* const start = at;
    while (at < end && !IsDelimiter(*at)) ++at;
    tokens[found++] = std::string_view(start, static_cast<std::size_t>(at - start));
  }
  return found;
}

std::int32_t TrajectoryKind(double param1, double param2) {
  if (!(param1 > 1.0)) return 0;
  return param2 > 1.0 ? 2 : 1;
}

HeaderLine ReadHeaderLine(std::string_view line) {
  std::array<std::string_view, kHeaderTokens> tokens;
  const std::size_t found = SplitTrajectoryTokens(line, tokens);
  // Absent tokens stay empty views, which read as 0.
  HeaderLine result;
  result.complete = found == kHeaderTokens;
  TrajectoryHeader& header = result.header;
  header.id = ReadPlainDecimalInt(tokens[1]);
  // tokens[2] holds a number the tracker writes and nothing uses.
  header.param1 = ReadPlainDecimalReal(tokens[3]);
  header.param2 = ReadPlainDecimalReal(tokens[4]);
  header.param3 = ReadPlainDecimalReal(tokens[5]);
  header.kind = TrajectoryKind(header.param1, header.param2);
  return result;
}

namespace {

// Reads into a line already in place in the chunk's list, which must be as made: a sample is
// too large to be built aside and copied in at each of millions of lines.
template <bool kEndMarked>
void ReadSampleLineInto(std::string_view line, SampleLine& result) {
  TokenCursor<kEndMarked> cursor(line);
  // A line that starts with the keyword starts with the frame token's prefix: no blank before
  // it and none in it.
  static_assert(kSampleKeyword.size() == kSampleTokenPrefixes[0] &&
                kSampleKeyword.find_first_of(kTrajectoryDelimiters) == std::string_view::npos);
  static constexpr NoCaseKeyword kKeyword(kSampleKeyword);
  if (kKeyword.StartOf(line)) {
    cursor.Pass(kSampleTokenPrefixes[0]);
  } else if (!cursor.EnterToken(kSampleTokenPrefixes[0])) {
    return;
  }
  result.rawFrame = cursor.Int();
  result.complete = ReadSampleValues(cursor, result.values);
}

// Whether `piece`, taken from text that ends at `textEnd`, is followed by its line end and
// enough text for a cursor to read past it (see TokenCursor).
bool EndMarked(std::string_view piece, const char* textEnd) {
  const char* const end = piece.data() + piece.size();
  return textEnd - end >= static_cast<std::ptrdiff_t>(kReadableAfterLine) &&
         (*end == '\r' || *end == '\n');
}

// A chunk's text is read once, front to back, and its lines' characters came to wait on
// memory: asked for a few lines ahead, they are there when the line is read. Three cache lines
// cover a line as trackers write them. A hint only, never a read: the address may lie past
// the text.
void AskForTextAhead(const char* line) {
  constexpr std::uintptr_t kAhead = 1024;
  constexpr std::uintptr_t kCacheLine = 64;
  const std::uintptr_t ahead = reinterpret_cast<std::uintptr_t>(line) + kAhead;
  for (std::uintptr_t offset = 0; offset < 3 * kCacheLine; offset += kCacheLine) {
    __builtin_prefetch(reinterpret_cast<const void*>(ahead + offset));
  }
}

}  // namespace

SampleLine ReadSampleLine(std::string_view line) {
  SampleLine result;
  ReadSampleLineInto<false>(line, result);
  return result;
}

void ReadTrajectoryLines(std::string_view text, std::vector<TrajectoryLineRead>& lines,
                         SampleLineReaders readers) {
  lines.clear();
  // The vector reader itself refuses every line where the processor cannot run it.
  const bool vector = readers == SampleLineReaders::Quickest;
  const char* const textEnd = text.data() + text.size();
  while (!text.empty()) {
    const std::string_view piece = TakeLinePiece(text);
    AskForTextAhead(piece.data());
    switch (ClassifyTrajectoryLine(piece)) {
      case TrajectoryLineKind::Header: lines.emplace_back(ReadHeaderLine(piece)); break;
      case TrajectoryLineKind::Sample: {
        SampleLine& line = std::get<SampleLine>(lines.emplace_back(std::in_place_type<SampleLine>));
        if (vector && ReadSampleLineVector(piece, line)) break;
        // Nearly every line of a chunk is followed by more of it; the last few are read
        // within their bounds.
        if (EndMarked(piece, textEnd)) {
          ReadSampleLineInto<true>(piece, line);
        } else {
          ReadSampleLineInto<false>(piece, line);
        }
        break;
      }
      case TrajectoryLineKind::Other: break;
    }
  }
}

}  // namespace ostrel
