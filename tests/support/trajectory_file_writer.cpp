#include "tests/support/trajectory_file_writer.h"

#include <charconv>
#include <stdexcept>

namespace ostrel::testing {
namespace {

template <typename Number>
void AppendNumber(std::string& out, Number value) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  if (error != std::errc{}) throw std::runtime_error("cannot format a number");
  out.append(text, end);
}

template <typename Number>
void AppendField(std::string& out, std::string_view key, Number value) {
  if (!out.empty()) out.push_back(' ');
  out.append(key);
  AppendNumber(out, value);
}

void FormatSampleInto(std::string& out, const TrajectorySampleLine& sample) {
  static constexpr std::array<std::string_view, 8> kCornerKeys = {
      "x1=", "y1=", "x2=", "y2=", "x3=", "y3=", "x4=", "y4="};
  out.clear();
  AppendField(out, "frame=", sample.frame);
  AppendField(out, "time=", sample.clockMs);
  for (std::size_t c = 0; c < 4; ++c) {
    AppendField(out, kCornerKeys[2 * c], sample.corners[c].x);
    AppendField(out, kCornerKeys[2 * c + 1], sample.corners[c].y);
  }
  AppendField(out, "score=", sample.score);
  AppendField(out, "breakflg=", sample.breakValue);
}

}  // namespace

std::string FormatTrajectoryHeader(const TrajectoryRecord& record) {
  std::string line = "trajectory";
  AppendField(line, "", record.id);
  AppendField(line, "", record.unused);
  AppendField(line, "", record.param1);
  AppendField(line, "", record.param2);
  AppendField(line, "", record.param3);
  return line;
}

std::string FormatTrajectorySample(const TrajectorySampleLine& sample) {
  std::string line;
  FormatSampleInto(line, sample);
  return line;
}

TrajectoryFileWriter::TrajectoryFileWriter(const std::filesystem::path& path, LineEnd lineEnd)
    : path_(path), lineEnd_(lineEnd == LineEnd::CrLf ? "\r\n" : "\n"),
      file_(std::fopen(path.c_str(), "wb")) {
  if (!file_) throw std::runtime_error("cannot create " + path.string());
}

TrajectoryFileWriter::~TrajectoryFileWriter() = default;

void TrajectoryFileWriter::Write(const TrajectoryRecord& record) {
  WriteHeader(record);
  for (const TrajectorySampleLine& sample : record.samples) WriteSample(sample);
}

void TrajectoryFileWriter::WriteHeader(const TrajectoryRecord& record) {
  WriteRawLine(FormatTrajectoryHeader(record));
}

void TrajectoryFileWriter::WriteSample(const TrajectorySampleLine& sample) {
  FormatSampleInto(line_, sample);
  WriteRawLine(line_);
}

void TrajectoryFileWriter::WriteRawLine(std::string_view line) {
  if (!file_) throw std::runtime_error("writing to a closed " + path_.string());
  const bool written = std::fwrite(line.data(), 1, line.size(), file_.get()) == line.size() &&
                       std::fwrite(lineEnd_.data(), 1, lineEnd_.size(), file_.get()) == lineEnd_.size();
  if (!written) throw std::runtime_error("cannot write " + path_.string());
}

void TrajectoryFileWriter::Close() {
  if (!file_) return;
  const bool flushed = std::fflush(file_.get()) == 0 && !std::ferror(file_.get());
  const bool closed = std::fclose(file_.release()) == 0;
  if (!flushed || !closed) throw std::runtime_error("cannot write " + path_.string());
}

void WriteTrajectoryFile(const std::filesystem::path& path,
                         const std::vector<TrajectoryRecord>& records, LineEnd lineEnd) {
  TrajectoryFileWriter writer(path, lineEnd);
  for (const TrajectoryRecord& record : records) writer.Write(record);
  writer.Close();
}

void WriteTrajectoryLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                          LineEnd lineEnd) {
  TrajectoryFileWriter writer(path, lineEnd);
  for (const std::string& line : lines) writer.WriteRawLine(line);
  writer.Close();
}

}  // namespace ostrel::testing
