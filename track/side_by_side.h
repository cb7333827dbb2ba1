#pragma once

#include <new>
#include <optional>
#include <system_error>
#include <thread>

namespace ostrel {

// Runs `first` on the calling thread and `second` on a thread of its own, and returns when
// both are done. Without a thread to be had, `second` runs after `first`. Neither may throw:
// a task of a load that cannot fail is all this is for.
template <typename First, typename Second>
void RunSideBySide(First first, Second second) noexcept {
  std::optional<std::jthread> beside;
  try {
    beside.emplace(second);
  } catch (const std::system_error&) {
  } catch (const std::bad_alloc&) {
  }
  first();
  if (!beside) second();
}

}  // namespace ostrel
