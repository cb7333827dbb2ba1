#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "track/byte_source.h"
#include "track/segment_frames.h"
#include "track/track_store.h"

namespace ostrel {

struct PointRecordHeader {
  std::int32_t frame = 0;  // absolute, after segment renumbering
  std::int32_t clockMs = 0;
  std::int16_t pointCount = 0;
};

enum class PointFileEnd {
  Complete,     // the last record ended with the file
  CutShort,     // trailing bytes too few for a record were dropped
  Damaged,      // a record outside the format stopped the reading
  ReadError,    // the file could not be read to its end
};

// Walks the records of a point file in order, numbering the frames absolutely: a raw frame
// number 0 starts a new segment after the frame of the record read just before it.
class PointRecordReader {
 public:
  explicit PointRecordReader(ByteSource& source) : source_(source) {}

  // The next record's header, or nothing at the end of the usable data. After a header the
  // caller reads exactly that record's points before asking for the next one.
  std::optional<PointRecordHeader> Next();
  // Copies the record's points; bytes the file does not hold read as zero.
  void ReadPoints(TrackPoint* out, std::int16_t pointCount);

  PointFileEnd end() const { return end_; }
  const std::string& damage() const { return damage_; }
  // Offset of the first byte of the record that could not be taken.
  std::uint64_t endOffset() const { return endOffset_; }
  // True when the last record's point block ended early (its missing points read as 0, 0).
  bool lastPointsIncomplete() const { return lastPointsIncomplete_; }

 private:
  // Reads a little-endian field; false when the read delivered nothing. A partly delivered
  // field keeps zeros in the bytes it did not get.
  bool ReadField(std::uint32_t& value, std::size_t bytes);
  std::nullopt_t Stop(PointFileEnd end, std::uint64_t recordStart, std::string damage = {});

  ByteSource& source_;
  SegmentFrames segments_;
  PointFileEnd end_ = PointFileEnd::Complete;
  std::string damage_;
  std::uint64_t endOffset_ = 0;
  bool lastPointsIncomplete_ = false;
};

}  // namespace ostrel
