#include "track/point_record_reader.h"

#include <bit>
#include <cstring>
#include <limits>

#include "track/point_file_format.h"

namespace ostrel {

static_assert(std::endian::native == std::endian::little,
              "points are copied as stored: the file's doubles are little-endian");

bool PointRecordReader::ReadField(std::uint32_t& value, std::size_t bytes) {
  unsigned char raw[4] = {0, 0, 0, 0};
  if (source_.Read(raw, bytes) == 0) return false;
  value = static_cast<std::uint32_t>(raw[0]) | static_cast<std::uint32_t>(raw[1]) << 8 |
          static_cast<std::uint32_t>(raw[2]) << 16 | static_cast<std::uint32_t>(raw[3]) << 24;
  return true;
}

std::nullopt_t PointRecordReader::Stop(PointFileEnd end, std::uint64_t recordStart,
                                       std::string damage) {
  end_ = source_.failed() ? PointFileEnd::ReadError : end;
  endOffset_ = recordStart;
  damage_ = std::move(damage);
  return std::nullopt;
}

std::optional<PointRecordHeader> PointRecordReader::Next() {
  const std::uint64_t recordStart = source_.offset();
  std::uint32_t rawFrame = 0;
  if (!ReadField(rawFrame, 4)) return Stop(PointFileEnd::Complete, recordStart);

  const auto raw = static_cast<std::int32_t>(rawFrame);
  if (raw < 0) return Stop(PointFileEnd::Damaged, recordStart, "negative frame number");
  const std::int64_t frame = segments_.Next(raw);
  if (frame > std::numeric_limits<std::int32_t>::max()) {
    return Stop(PointFileEnd::Damaged, recordStart, "frame number beyond 32 bits");
  }

  std::uint32_t clock = 0;
  std::uint32_t count = 0;
  if (!ReadField(clock, 4) || !ReadField(count, 2)) return Stop(PointFileEnd::CutShort, recordStart);
  const auto pointCount = static_cast<std::int16_t>(count);
  if (pointCount < 0) return Stop(PointFileEnd::Damaged, recordStart, "negative point count");
  if (pointCount > 0 && source_.offset() >= source_.size()) {
    return Stop(PointFileEnd::CutShort, recordStart);
  }
  return PointRecordHeader{static_cast<std::int32_t>(frame), static_cast<std::int32_t>(clock),
                           pointCount};
}

void PointRecordReader::ReadPoints(TrackPoint* out, std::int16_t pointCount) {
  const std::size_t wanted = static_cast<std::size_t>(pointCount) * kPointBytes;
  const std::size_t delivered = source_.Read(out, wanted);
  lastPointsIncomplete_ = delivered < wanted;
  if (lastPointsIncomplete_) std::memset(reinterpret_cast<unsigned char*>(out) + delivered, 0, wanted - delivered);
}

}  // namespace ostrel
