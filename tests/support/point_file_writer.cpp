#include "tests/support/point_file_writer.h"

#include <cstring>
#include <fstream>
#include <stdexcept>

namespace ostrel::testing {
namespace {

void AppendLittleEndian(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

void AppendDouble(std::string& out, double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  AppendLittleEndian(out, bits, 8);
}

}  // namespace

std::string EncodePointRecords(const std::vector<PointRecord>& records) {
  std::string bytes;
  for (const PointRecord& record : records) {
    const auto count = record.declaredCount.value_or(static_cast<std::int16_t>(record.points.size()));
    AppendLittleEndian(bytes, static_cast<std::uint32_t>(record.frame), 4);
    AppendLittleEndian(bytes, static_cast<std::uint32_t>(record.clockMs), 4);
    AppendLittleEndian(bytes, static_cast<std::uint16_t>(count), 2);
    for (const TrackPoint& point : record.points) {
      AppendDouble(bytes, point.x);
      AppendDouble(bytes, point.y);
    }
  }
  return bytes;
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WritePointFile(const std::filesystem::path& path, const std::vector<PointRecord>& records) {
  WriteFileBytes(path, EncodePointRecords(records));
}

}  // namespace ostrel::testing
