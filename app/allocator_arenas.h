#pragma once

namespace ostrel {

// Lets every thread allocate from one arena. Must be called before any other thread starts.
//
// By default each of the decoding threads gets an arena of its own; buffers allocated in one
// and freed by another leave those arenas a few kilobytes larger with every minute of a
// looping video, without end. One shared arena holds still, at no cost measurable here:
// the media threads allocate little outside their buffer pools.
void UseOneAllocatorArena();

}  // namespace ostrel
