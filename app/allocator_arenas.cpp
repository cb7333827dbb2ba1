#include "app/allocator_arenas.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace ostrel {

void UseOneAllocatorArena() {
// The GNU C library's allocator; others are left as they are.
#if defined(__GLIBC__)
  mallopt(M_ARENA_MAX, 1);
#endif
}

}  // namespace ostrel
