#pragma once

namespace ostrel::fuzzing {

// Stops the run the way a sanitizer does, so libFuzzer keeps the input that broke a rule.
inline void Require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace ostrel::fuzzing
