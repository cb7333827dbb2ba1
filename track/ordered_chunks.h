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
// order (false stops everything). Reading and applying happen in order, one chunk at a time;
// parsing runs on whichever of two threads is free, so a second core nearly halves it. The
// in-order applying is done by whichever thread finds the next chunk parsed and no other
// chunk being applied, so that neither thread waits while the other has all the ordered work;
// `apply` must therefore not need the calling thread. At most `slots` chunks are held in
// memory. Without a worker, the calling thread does every step itself. An exception from
// `parse` or `apply` on the worker ends the run and is thrown again here.
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

  // Reads the next chunk into a free slot; nullptr when nothing is left to read or the run
  // stops. The lock is let go while the bytes come in, so that the other thread can hand over
  // a parsed chunk or take one to apply meanwhile; one read at a time keeps the file's order.
  // Only when MayRead().
  template <typename Read>
  Slot<Chunk>* Claim(std::unique_lock<std::mutex>& lock, Read& read) {
    Slot<Chunk>* slot = FreeSlot();
    if (slot == nullptr) return nullptr;
    slot->claimed = true;
    reading_ = true;
    bool filled = false;
    {
      const ReadingDone done{*this, lock};  // takes the lock again however the read ends
      lock.unlock();
      filled = read(slot->chunk);
    }
    if (!filled) {
      slot->claimed = false;
      readAll_ = true;
      return nullptr;
    }
    slot->index = nextRead_++;
    return stopped_ ? nullptr : slot;
  }

  void MarkParsed(Slot<Chunk>& slot) {
    slot.parsed = true;
    changed_.notify_all();
  }

  // The next chunk in order, when it is parsed and no thread is applying: it is then this
  // thread's to apply.
  Slot<Chunk>* TakeNextInOrder() {
    if (applying_) return nullptr;
    for (Slot<Chunk>& slot : slots_) {
      if (slot.parsed && slot.index == nextApply_) {
        applying_ = true;
        return &slot;
      }
    }
    return nullptr;
  }

  void Release(Slot<Chunk>& slot, bool applied) {
    slot.claimed = false;
    slot.parsed = false;
    applying_ = false;
    ++nextApply_;
    if (!applied) {
      refused_ = true;
      stopped_ = true;
    }
    changed_.notify_all();
  }

  void Stop(std::exception_ptr failure = nullptr) {
    stopped_ = true;
    if (failure && !failure_) failure_ = failure;
    changed_.notify_all();
  }

  bool MayRead() { return !stopped_ && !readAll_ && !reading_ && FreeSlot() != nullptr; }
  bool Finished() const { return stopped_ || (readAll_ && nextApply_ == nextRead_); }
  bool refused() const { return refused_; }
  void Wait(std::unique_lock<std::mutex>& lock) { changed_.wait(lock); }
  std::exception_ptr failure() const { return failure_; }
  std::mutex& mutex() { return mutex_; }

 private:
  // Ends a read however it ends, a thrown exception included, with the lock held again.
  struct ReadingDone {
    Schedule& schedule;
    std::unique_lock<std::mutex>& lock;
    ~ReadingDone() {
      lock.lock();
      schedule.reading_ = false;
      schedule.changed_.notify_all();
    }
  };

  Slot<Chunk>* FreeSlot() {
    for (Slot<Chunk>& slot : slots_) {
      if (!slot.claimed) return &slot;
    }
    return nullptr;
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Slot<Chunk>> slots_;
  std::uint64_t nextRead_ = 0;
  std::uint64_t nextApply_ = 0;
  bool readAll_ = false;
  bool reading_ = false;  // a thread is reading a chunk, without the lock
  bool stopped_ = false;
  bool applying_ = false;
  bool refused_ = false;  // apply returned false
  std::exception_ptr failure_;
};

// Applies the next chunk in order whenever it is this thread's to apply, else parses a newly
// read chunk, else waits, until the run is over. The ordered work comes first, so that parsed
// chunks do not pile up and hold every slot.
template <typename Chunk, typename Read, typename Parse, typename Apply>
void WorkOnChunks(Schedule<Chunk>& schedule, Read& read, Parse& parse, Apply& apply) {
  std::unique_lock lock(schedule.mutex());
  while (!schedule.Finished()) {
    if (Slot<Chunk>* next = schedule.TakeNextInOrder()) {
      lock.unlock();
      const bool applied = apply(next->chunk);
      lock.lock();
      schedule.Release(*next, applied);
    } else if (schedule.MayRead()) {
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
      worker.emplace([&schedule, &read, &parse, &apply] {
        try {
          WorkOnChunks(schedule, read, parse, apply);
        } catch (...) {
          std::lock_guard lock(schedule.mutex());
          schedule.Stop(std::current_exception());
        }
      });
    } catch (const std::system_error&) {
      // No thread to be had: the calling thread does all the work.
    }
  }
  {
    const StopOnExit<Chunk> stopOnExit{schedule};
    WorkOnChunks(schedule, read, parse, apply);
  }
  worker.reset();
  if (schedule.failure()) std::rethrow_exception(schedule.failure());
  return !schedule.refused();
}

}  // namespace ostrel
