#pragma once

#include <new>
#include <system_error>
#include <thread>
#include <utility>

namespace ostrel {

// Lets go of a container on a thread of its own, joined when this object goes: handing a
// hundred megabytes of arrays back to the system then overlaps the work that follows instead
// of coming before it. Without a thread to be had, the container goes at once.
template <typename Container>
class BackgroundRelease {
 public:
  explicit BackgroundRelease(Container& doomed) {
    Container taken;
    taken.swap(doomed);
    try {
      releaser_ = std::jthread([held = std::move(taken)]() mutable { Container().swap(held); });
    } catch (const std::system_error&) {
      // `taken` went with the failed thread's copy, or goes here.
    } catch (const std::bad_alloc&) {
    }
  }

 private:
  std::jthread releaser_;
};

}  // namespace ostrel
