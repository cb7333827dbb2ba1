#pragma once

#include <cstdint>

namespace ostrel {

// Clock arithmetic wraps around in 32 bits, as the tracker's own tools always did. Signed
// overflow is undefined in C++, so the sums are taken in unsigned and converted back, which
// C++20 defines as modulo 2^32.

constexpr std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

constexpr std::int32_t WrappingNegate(std::int32_t value) {
  return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(value));
}

// |value| without the overflow of std::abs(INT32_MIN): 2^31 fits the unsigned result.
constexpr std::uint32_t UnsignedMagnitude(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return value < 0 ? 0u - bits : bits;
}

}  // namespace ostrel
