#pragma once

namespace ostrel {

// Gives the memory that the allocator holds free back to the system. Decoding threads each
// free and allocate frames' worth of buffers in their own allocator arenas, whose free
// space would otherwise linger and grow a little with every pass of a looping video.
void ReturnFreedMemory();

}  // namespace ostrel
