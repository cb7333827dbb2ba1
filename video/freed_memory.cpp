#include "video/freed_memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace ostrel {

void ReturnFreedMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace ostrel
