#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace ostrel {

// Runs a file through three steps: `read(chunk)` fills the next chunk (false when there is
// none), `parse(chunk)` works on one chunk alone, and `apply(chunk)` takes chunks in file
// order (false stops everything). Reading and applying happen in order; parsing, the costly
// step, runs on whichever of two threads is free, so a second core nearly halves it. The
// calling thread applies as soon as the next chunk in order is parsed, which keeps at most
// `slots` chunks in memory. Without a worker, the calling thread does every step itself.
// An exception from `parse` on the worker ends the run and is thrown again here.
template <typename Chunk, typename Read, typename Parse, typename Apply>
bool RunOrderedChunks(std::size_t slots, bool withWorker, Read read, Parse parse, Apply apply);

namespace ordered_chunks_detail {

template <typename Chunk>
struct Slot {
  Chunk chunk;
  std::uint64_t index = 0;
  bool claimed = false;  // read, and not yet applied
  bool parsed = false;
};

template <typename Chunk>
class Schedule {
 public:
  explicit Schedule(std::size_t slots) : slots_(slots < 2 ? 2 : slots) {}

  // Reads the next chunk into a free slot, waiting for one; nullptr when nothing is left to
  // read or the run stops.
  template <typename Read>
  Slot<Chunk>* Claim(std::unique_lock<std::mutex>& lock, Read& read) {
    Slot<Chunk>* free = nullptr;
    changed_.wait(lock, [&] { return stopped_ || readAll_ || (free = FreeSlot()) != nullptr; });
    if (stopped_ || readAll_) return nullptr;
    if (!read(free->chunk)) {
      readAll_ = true;
      changed_.notify_all();
      return nullptr;
    }
    free->claimed = true;
    free->index = nextRead_++;
    return free;
  }

  void MarkParsed(Slot<Chunk>& slot) {
    slot.parsed = true;
    changed_.notify_all();
  }

  Slot<Chunk>* NextInOrder() {
    for (Slot<Chunk>& slot : slots_) {
      if (slot.parsed && slot.index == nextApply_) return &slot;
    }
    return nullptr;
  }

  void Release(Slot<Chunk>& slot) {
    slot.claimed = false;
    slot.parsed = false;
    ++nextApply_;
    changed_.notify_all();
  }

  void Stop(std::exception_ptr failure = nullptr) {
    stopped_ = true;
    if (failure && !failure_) failure_ = failure;
    changed_.notify_all();
  }

  // Whether a chunk may be read while `spare` more slots stay free.
  bool MayRead(std::size_t spare) { return !stopped_ && !readAll_ && FreeSlots() > spare; }
  bool Finished() const { return stopped_ || (readAll_ && nextApply_ == nextRead_); }
  void Wait(std::unique_lock<std::mutex>& lock) { changed_.wait(lock); }
  std::exception_ptr failure() const { return failure_; }
  std::mutex& mutex() { return mutex_; }

 private:
  Slot<Chunk>* FreeSlot() {
    for (Slot<Chunk>& slot : slots_) {
      if (!slot.claimed) return &slot;
    }
    return nullptr;
  }

  std::size_t FreeSlots() const {
    std::size_t free = 0;
    for (const Slot<Chunk>& slot : slots_) free += slot.claimed ? 0 : 1;
    return free;
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Slot<Chunk>> slots_;
  std::uint64_t nextRead_ = 0;
  std::uint64_t nextApply_ = 0;
  bool readAll_ = false;
  bool stopped_ = false;
  std::exception_ptr failure_;
};

// Parses chunks until nothing is left to read.
template <typename Chunk, typename Read, typename Parse>
void ParseChunks(Schedule<Chunk>& schedule, Read& read, Parse& parse) {
  std::unique_lock lock(schedule.mutex());
  while (Slot<Chunk>* slot = schedule.Claim(lock, read)) {
    lock.unlock();
    parse(slot->chunk);
    lock.lock();
    schedule.MarkParsed(*slot);
  }
}

// Stops the run however the calling thread leaves it, before the worker is joined.
template <typename Chunk>
struct StopOnExit {
  Schedule<Chunk>& schedule;
  ~StopOnExit() {
    std::lock_guard lock(schedule.mutex());
    schedule.Stop();
  }
};

}  // namespace ordered_chunks_detail

template <typename Chunk, typename Read, typename Parse, typename Apply>
bool RunOrderedChunks(std::size_t slots, bool withWorker, Read read, Parse parse, Apply apply) {
  using namespace ordered_chunks_detail;
  Schedule<Chunk> schedule(slots);
  std::optional<std::jthread> worker;
  if (withWorker) {
    try {
      worker.emplace([&schedule, &read, &parse] {
        try {
          ParseChunks(schedule, read, parse);
        } catch (...) {
          std::lock_guard lock(schedule.mutex());
          schedule.Stop(std::current_exception());
        }
      });
    } catch (const std::system_error&) {
      // No thread to be had: the calling thread does all the parsing.
    }
  }
  // The calling thread also applies every chunk: it parses only while a slot stays free for
  // the worker, which otherwise would wait for one while this thread parses.
  const std::size_t workerSpare = worker ? 1 : 0;
  bool applied = true;
  {
    const StopOnExit<Chunk> stopOnExit{schedule};
    std::unique_lock lock(schedule.mutex());
    while (!schedule.Finished()) {
      if (Slot<Chunk>* next = schedule.NextInOrder()) {
        lock.unlock();
        applied = apply(next->chunk);
        lock.lock();
        schedule.Release(*next);
        if (!applied) schedule.Stop();
      } else if (schedule.MayRead(workerSpare)) {
        Slot<Chunk>* slot = schedule.Claim(lock, read);
        if (!slot) continue;
        lock.unlock();
        parse(slot->chunk);
        lock.lock();
        schedule.MarkParsed(*slot);
      } else {
        schedule.Wait(lock);
      }
    }
  }
  worker.reset();
  if (schedule.failure()) std::rethrow_exception(schedule.failure());
  return applied;
}

}  // namespace ostrel
