#include "track/sample_line_vector.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "track/text_lines.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define OSTREL_SAMPLE_LINE_VECTOR 1
// GCC 12's AVX-512 intrinsics start results from a deliberately undefined register, which its
// own flow analysis then reports where they are inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#endif

namespace ostrel {

#ifdef OSTREL_SAMPLE_LINE_VECTOR

// Compiled for the vector instructions alone, so that the rest of the program still runs on
// any x86-64 processor; called only after the processor was asked.
#define OSTREL_VECTOR_CODE \
  __attribute__((target("avx512f,avx512bw,avx512vl,avx512dq,avx512vbmi,avx512vbmi2,popcnt")))

namespace {

// A line's blanks are found in blocks of 64 characters, one bit per character.
constexpr std::size_t kBlockChars = 64;
constexpr std::size_t kBlocks = 4;
// Positions are bytes: a value's start, up to ten characters past a blank, stays below 256.
constexpr std::size_t kLongestLine = 240;
static_assert(kLinePieceChars <= kLongestLine && kLongestLine <= kBlocks * kBlockChars);

// Each value is read into a 16-byte lane of its own, its last character in the lane's top
// byte; a register holds four lanes, and three registers hold a line's twelve values.
constexpr std::size_t kLaneChars = 16;
constexpr std::size_t kLanes = 4;
constexpr std::size_t kGroups = kSampleTokens / kLanes;
static_assert(kGroups * kLanes == kSampleTokens);

// The tokens of each group, in lane order: the corners in two groups, then the score and the
// three whole numbers (frame, time, break flag).
constexpr std::array<std::array<std::size_t, kLanes>, kGroups> kGroupTokens = {
    {{2, 3, 4, 5}, {6, 7, 8, 9}, {10, 0, 1, 11}}};

// At most fifteen digits keep a real's digits below 2^53, exact as a double; at most nine keep
// a whole number within 32 bits.
constexpr std::uint64_t kRealDigits = 15;
constexpr std::uint64_t kWholeNumberDigits = 9;

constexpr bool IsWholeNumberToken(std::size_t token) {
  return token == 0 || token == 1 || token == kSampleTokens - 1;
}

// The masks of a group hold 16 bits for each lane, one for each of its characters, and are
// worked on a lane at a time without a carry or borrow crossing into the next lane.
constexpr std::uint64_t kLaneLowBits = 0x0001000100010001u;
constexpr std::uint64_t kLaneTopBits = 0x8000800080008000u;

// The top bit of each lane that has any bit set.
constexpr std::uint64_t LanesMarked(std::uint64_t mask) {
  return (((mask & ~kLaneTopBits) + kLaneLowBits * 0x7FFF) | mask) & kLaneTopBits;
}

// What the lanes of a group allow, as masks of the characters where something breaks a limit.
struct LaneLimits {
  std::uint64_t wholeNumbers = 0;  // every character of a whole number's lane: no point there
  // Where a digit means too many: for a whole number, before its last nine characters; for a
  // real, at the lane's first character, when the lane has no point (sixteen digits).
  std::uint64_t tooManyDigits = 0;
};

constexpr std::array<LaneLimits, kGroups> kGroupLimits = [] {
  static_assert(kWholeNumberDigits == 9 && kRealDigits == 15, "the masks below count on these");
  std::array<LaneLimits, kGroups> limits{};
  for (std::size_t g = 0; g < kGroups; ++g) {
    for (std::size_t lane = 0; lane < kLanes; ++lane) {
      const bool whole = IsWholeNumberToken(kGroupTokens[g][lane]);
      limits[g].wholeNumbers |= (whole ? std::uint64_t{0xFFFF} : 0) << (16 * lane);
      limits[g].tooManyDigits |= (whole ? std::uint64_t{0x7F} : 1) << (16 * lane);
    }
  }
  return limits;
}();

// A line kept in registers, zeros past its end, with where each of its values starts and ends:
// byte i of `starts` and `ends` for value i.
struct LineInRegisters {
  __m512i block[kBlocks];
  __m512i starts;
  __m512i ends;
};

// The bytes 0 to 63, and each lane's bytes 0 to 15.
alignas(64) constexpr std::array<std::uint8_t, 64> kIota = [] {
  std::array<std::uint8_t, 64> iota{};
  for (std::size_t i = 0; i < iota.size(); ++i) iota[i] = static_cast<std::uint8_t>(i);
  return iota;
}();
alignas(64) constexpr std::array<std::uint8_t, 64> kLaneIota = [] {
  std::array<std::uint8_t, 64> iota{};
  for (std::size_t i = 0; i < iota.size(); ++i) iota[i] = static_cast<std::uint8_t>(i % kLaneChars);
  return iota;
}();

// Added to the blank before each value (none before the first): the blank itself and the
// value's token prefix.
alignas(64) constexpr std::array<std::uint8_t, 64> kPastBlankAndPrefix = [] {
  std::array<std::uint8_t, 64> add{};
  for (std::size_t i = 0; i < kSampleTokens; ++i) {
    add[i] = static_cast<std::uint8_t>((i == 0 ? 0 : 1) + kSampleTokenPrefixes[i]);
  }
  return add;
}();

// Loads the line and finds its values: one blank between each two tokens, where the blanks'
// positions are packed together in one step for each block the line reaches, with no branch on
// how many a block holds. False when the line holds another number of blanks or any other
// delimiter, or a value is empty or longer than a lane.
OSTREL_VECTOR_CODE bool LoadLine(std::string_view line, LineInRegisters& loaded) {
  const __m512i iota = _mm512_load_si512(kIota.data());
  // Only the blocks the line reaches are read; the rest are zeros.
  const std::size_t blocks =
      std::max<std::size_t>(1, (line.size() + kBlockChars - 1) / kBlockChars);
  std::uint64_t blanks[kBlocks] = {};
  std::uint64_t others = 0;
  std::size_t count = 0;
  for (std::size_t k = 0; k < kBlocks; ++k) {
    if (k >= blocks) {
      loaded.block[k] = _mm512_setzero_si512();
      continue;
    }
    const std::size_t left = line.size() - k * kBlockChars;
    const __mmask64 inLine = left >= kBlockChars ? ~__mmask64{0} : (__mmask64{1} << left) - 1;
    // Bytes past the line read as zeros, which are no delimiter.
    loaded.block[k] = _mm512_maskz_loadu_epi8(inLine, line.data() + k * kBlockChars);
    blanks[k] = _mm512_cmpeq_epi8_mask(loaded.block[k], _mm512_set1_epi8(' '));
    others |= _mm512_cmpeq_epi8_mask(loaded.block[k], _mm512_set1_epi8(',')) |
              _mm512_cmpeq_epi8_mask(loaded.block[k], _mm512_set1_epi8('\t')) |
              _mm512_cmpeq_epi8_mask(loaded.block[k], _mm512_set1_epi8('\n'));
    count += static_cast<std::size_t>(std::popcount(blanks[k]));
  }
  if (count != kSampleTokens - 1 || others != 0) return false;
  // Each block's blank positions, packed, go on where the blocks before left off.
  __m512i blankAt = _mm512_maskz_compress_epi8(blanks[0], iota);
  std::size_t found = static_cast<std::size_t>(std::popcount(blanks[0]));
  for (std::size_t k = 1; k < blocks; ++k) {
    const __m512i positions = _mm512_maskz_compress_epi8(
        blanks[k], _mm512_add_epi8(iota, _mm512_set1_epi8(static_cast<char>(k * kBlockChars))));
    const __mmask64 after = ~((__mmask64{1} << found) - 1);
    blankAt = _mm512_mask_permutexvar_epi8(
        blankAt, after, _mm512_sub_epi8(iota, _mm512_set1_epi8(static_cast<char>(found))),
        positions);
    found += static_cast<std::size_t>(std::popcount(blanks[k]));
  }
  loaded.ends = _mm512_mask_set1_epi8(blankAt, __mmask64{1} << (kSampleTokens - 1),
                                      static_cast<char>(line.size()));
  loaded.starts = _mm512_add_epi8(_mm512_bslli_epi128(blankAt, 1),
                                  _mm512_load_si512(kPastBlankAndPrefix.data()));
  // Lengths from 1 to 16: one less, taken without sign, at most 15.
  const __m512i lengthLess1 =
      _mm512_sub_epi8(_mm512_sub_epi8(loaded.ends, loaded.starts), _mm512_set1_epi8(1));
  constexpr __mmask64 kValues = (__mmask64{1} << kSampleTokens) - 1;
  return _mm512_mask_cmple_epu8_mask(kValues, lengthLess1, _mm512_set1_epi8(kLaneChars - 1)) ==
         kValues;
}
static_assert(kTrajectoryDelimiters == " ,\t\n", "LoadLine knows every delimiter");

// For each group, the value of each byte's lane: its token.
alignas(64) constexpr std::array<std::array<std::uint8_t, 64>, kGroups> kLaneTokens = [] {
  std::array<std::array<std::uint8_t, 64>, kGroups> tokens{};
  for (std::size_t g = 0; g < kGroups; ++g) {
    for (std::size_t i = 0; i < 64; ++i) {
      tokens[g][i] = static_cast<std::uint8_t>(kGroupTokens[g][i / kLaneChars]);
    }
  }
  return tokens;
}();

// The four values of a group, each in its lane with its last character in the lane's top byte;
// `inValue` marks their characters.
struct GroupText {
  __m512i text;
  std::uint64_t inValue = 0;
};

// Gathers the group's values from the registers of the line: each lane's byte j takes the
// line's character 16 - j before its value's end.
OSTREL_VECTOR_CODE GroupText GatherGroup(const LineInRegisters& line, std::size_t g) {
  const __m512i tokens = _mm512_load_si512(kLaneTokens[g].data());
  const __m512i end = _mm512_permutexvar_epi8(tokens, line.ends);
  const __m512i start = _mm512_permutexvar_epi8(tokens, line.starts);
  // Before the line's start, the index wraps to 240 or more, at or past every value's end.
  const __m512i at = _mm512_sub_epi8(_mm512_add_epi8(end, _mm512_load_si512(kLaneIota.data())),
                                     _mm512_set1_epi8(kLaneChars));
  GroupText group;
  group.inValue = _mm512_cmpge_epu8_mask(at, start) & _mm512_cmplt_epu8_mask(at, end);
  const __m512i low = _mm512_permutex2var_epi8(line.block[0], at, line.block[1]);
  const __m512i high = _mm512_permutex2var_epi8(line.block[2], at, line.block[3]);
  group.text = _mm512_mask_blend_epi8(_mm512_movepi8_mask(at), low, high);
  return group;
}

// The digits of each lane as one whole number, the point left out, in both of its halves.
// `digits` holds the lane's digit values and zeros elsewhere; `upToPoint` marks the bytes up
// to and including the point.
OSTREL_VECTOR_CODE __m512i JoinDigits(__m512i digits, __mmask64 upToPoint) {
  // Each byte up to the point takes the one before it, which closes the gap the point leaves;
  // the first byte, given index -1, becomes zero.
  const __m512i iota = _mm512_load_si512(kLaneIota.data());
  const __m512i take = _mm512_mask_sub_epi8(iota, upToPoint, iota, _mm512_set1_epi8(1));
  const __m512i joined = _mm512_shuffle_epi8(digits, take);
  // Pairs, fours and eights of digits are joined side by side; the two eights last.
  const __m512i pairs = _mm512_maddubs_epi16(joined, _mm512_set1_epi16(0x010A));
  const __m512i fours = _mm512_madd_epi16(pairs, _mm512_set1_epi32(0x00010064));
  const __m512i fours16 = _mm512_packus_epi32(fours, fours);
  const __m512i eights = _mm512_madd_epi16(fours16, _mm512_set1_epi32(0x00012710));
  return _mm512_add_epi64(_mm512_mul_epu32(eights, _mm512_set1_epi64(100000000)),
                          _mm512_srli_epi64(eights, 32));
}

// One group read: each lane's digits and, for reals, its value, in both 64-bit halves of the
// lane; and which lanes hold a minus sign, at the bit of the lane's low half.
struct GroupNumbers {
  __m512i digits;
  __m512d reals;
  __mmask8 negative = 0;
};

// Up to fifteen digits and every power of ten up to 10^15 are exact: one division rounds
// once, correctly, to the value any correct conversion gives.
alignas(64) constexpr std::array<double, 16> kPowersOfTen = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Reads the four values of a group when each is a plain number that fills its characters: an
// optional sign first, then digits, at most one point among or around them for the reals and
// none for the whole numbers; at least one digit, and no more than the lane's kind allows.
OSTREL_VECTOR_CODE bool ReadGroup(const GroupText& group, const LaneLimits& limits,
                                  GroupNumbers& numbers) {
  const __m512i text = group.text;
  const std::uint64_t inValue = group.inValue;
  const __m512i values = _mm512_sub_epi8(text, _mm512_set1_epi8('0'));
  const std::uint64_t digit = _mm512_mask_cmplt_epu8_mask(inValue, values, _mm512_set1_epi8(10));
  const std::uint64_t point = _mm512_mask_cmpeq_epi8_mask(inValue, text, _mm512_set1_epi8('.'));
  const std::uint64_t minus = _mm512_mask_cmpeq_epi8_mask(inValue, text, _mm512_set1_epi8('-'));
  const std::uint64_t plus = _mm512_mask_cmpeq_epi8_mask(inValue, text, _mm512_set1_epi8('+'));
  // A value's first character is the lowest of its lane's marked bytes.
  const std::uint64_t first = inValue & ~((inValue << 1) & ~kLaneLowBits);
  // The lowest bit of each lane with a point; taking it from a lane's points clears the lowest.
  const std::uint64_t pointLanes = LanesMarked(point) >> 15;
  // Each check is a mask of what breaks it; they are tested once, together.
  const std::uint64_t broken = ((digit | point | minus | plus) ^ inValue) |  // another character
                               ((minus | plus) & ~first) |                   // a sign inside
                               (point & (point - pointLanes)) |              // a second point
                               (point & limits.wholeNumbers) |               // a point in a whole
                               (digit & limits.tooManyDigits & ~(pointLanes * 0xFFFF)) |
                               (LanesMarked(digit) ^ kLaneTopBits);          // no digit
  if (broken != 0) return false;

  // A lane's point, doubled and less the lane's lowest bit, marks the bytes up to it. The top
  // lane's term may pass 64 bits, which the wrapping arithmetic takes back.
  const std::uint64_t upToPoint = (point << 1) - pointLanes;
  numbers.digits = JoinDigits(_mm512_maskz_mov_epi8(digit, values), upToPoint);
  // The digits after each lane's point, counted in both halves of the lane, choose its scale.
  const __m512i fraction =
      _mm512_maskz_mov_epi8(digit & ~upToPoint & (pointLanes * 0xFFFF), _mm512_set1_epi8(1));
  const __m512i halves = _mm512_sad_epu8(fraction, _mm512_setzero_si512());
  const __m512i fractionDigits =
      _mm512_add_epi64(halves, _mm512_shuffle_epi32(halves, _MM_PERM_BADC));
  const __m512d scale = _mm512_permutex2var_pd(_mm512_load_pd(kPowersOfTen.data()), fractionDigits,
                                               _mm512_load_pd(kPowersOfTen.data() + 8));
  // The lanes with a minus, at the low half of each: from bits 0, 16, 32, 48 to 0, 2, 4, 6.
  const std::uint64_t minusLanes = LanesMarked(minus) >> 15;
  numbers.negative = static_cast<__mmask8>(
      (minusLanes | (minusLanes >> 14) | (minusLanes >> 28) | (minusLanes >> 42)) & 0x55);
  const __m512d magnitude = _mm512_div_pd(_mm512_cvtepu64_pd(numbers.digits), scale);
  numbers.reals = _mm512_mask_xor_pd(magnitude, numbers.negative, magnitude, _mm512_set1_pd(-0.0));
  return true;
}

OSTREL_VECTOR_CODE bool ReadSampleLineInLanes(std::string_view line, SampleLine& result) {
  LineInRegisters loaded;
  if (line.size() > kLongestLine || !LoadLine(line, loaded)) return false;
  std::array<GroupNumbers, kGroups> groups;
  for (std::size_t g = 0; g < kGroups; ++g) {
    if (!ReadGroup(GatherGroup(loaded, g), kGroupLimits[g], groups[g])) return false;
  }
  // Lanes are read from the low half of each: values at 64-bit elements 0, 2, 4 and 6.
  constexpr __mmask8 kLowHalves = 0x55;
  std::array<double, 2 * kLanes> corners;
  _mm256_storeu_pd(corners.data(),
                   _mm512_castpd512_pd256(_mm512_maskz_compress_pd(kLowHalves, groups[0].reals)));
  _mm256_storeu_pd(corners.data() + kLanes,
                   _mm512_castpd512_pd256(_mm512_maskz_compress_pd(kLowHalves, groups[1].reals)));
  TrajectorySample& sample = result.values;
  static_assert(std::size(TrajectorySample{}.corners) == kLanes, "two groups hold the corners");
  for (std::size_t c = 0; c < kLanes; ++c) sample.corners[c] = {corners[2 * c], corners[2 * c + 1]};
  sample.score = _mm512_cvtsd_f64(groups[2].reals);
  std::array<std::uint64_t, 8> digits;
  _mm512_storeu_si512(digits.data(), groups[2].digits);
  const auto whole = [&](std::size_t lane) {
    const auto magnitude = static_cast<std::int32_t>(digits[2 * lane]);
    return (groups[2].negative >> (2 * lane)) & 1 ? -magnitude : magnitude;
  };
  result.rawFrame = whole(1);
  result.complete = true;
  sample.clockMs = whole(2);
  sample.breakFlag = digits[6] != 0 ? 1 : 0;
  sample.centre = BoxCentre(sample.corners);
  return true;
}

}  // namespace

bool SampleLineVectorAvailable() {
  static const bool available = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512dq") &&
           __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2") &&
           __builtin_cpu_supports("popcnt");
  }();
  return available;
}

bool ReadSampleLineVector(std::string_view line, SampleLine& result) {
  return SampleLineVectorAvailable() && ReadSampleLineInLanes(line, result);
}

#else

bool SampleLineVectorAvailable() { return false; }
bool ReadSampleLineVector(std::string_view, SampleLine&) { return false; }

#endif

}  // namespace ostrel
