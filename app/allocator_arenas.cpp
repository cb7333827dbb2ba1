#include "app/allocator_arenas.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace ostrel {

void UseOneAllocatorArena() {
#if defined(M_ARENA_MAX)
  mallopt(M_ARENA_MAX, 1);
#endif
}

}  // namespace ostrel
