#include "cli/render_request.h"

#include <filesystem>

#include "cli/command_line.h"
#include "video/playback_clock.h"

namespace ostrel::cli {
namespace {

std::nullopt_t Refuse(std::string& problem, const char* text) {
  problem = text;
  return std::nullopt;
}

constexpr std::int64_t kLongestMs = INT64_MAX / kReferenceUnitsPerMs;

// A position option in whole milliseconds, 0 or more; nothing when it is not one.
std::optional<ReferenceTime> ReadPosition(const QCommandLineParser& parser, const QCommandLineOption& option) {
  bool ok = false;
  const qlonglong ms = parser.value(option).toLongLong(&ok);
  if (!ok || ms < 0 || ms > kLongestMs) return std::nullopt;
  return ms * kReferenceUnitsPerMs;
}

std::optional<OverlayStyle> ReadStyle(const QString& name) {
  if (name == "live") return OverlayStyle::Live;
  if (name == "snapshot") return OverlayStyle::Snapshot;
  return std::nullopt;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error);
}

// The range the options name; nothing, with `problem` set, when they name none.
std::optional<RenderRange> ReadRange(const QCommandLineParser& parser, const RenderOptions& options,
                                     std::string& problem) {
  RenderRange range;
  if (parser.isSet(options.from)) {
    const auto from = ReadPosition(parser, options.from);
    if (!from) return Refuse(problem, "--from takes a playback position in whole milliseconds, 0 or more.");
    range.from = *from;
  }
  if (parser.isSet(options.to)) {
    range.to = ReadPosition(parser, options.to);
    if (!range.to) return Refuse(problem, "--to takes a playback position in whole milliseconds, 0 or more.");
    if (*range.to <= range.from) return Refuse(problem, "--to must lie after --from.");
  }
  return range;
}

}  // namespace

RenderOptions::RenderOptions() {
  output.setDescription(output.description().replace("{EXTENSIONS}", QString::fromStdString(KnownOutputExtensions())));
}

std::optional<RenderRequest> ReadRenderRequest(const QCommandLineParser& parser, const RenderOptions& options,
                                               std::string& problem) {
  const QStringList videos = parser.positionalArguments();
  if (videos.size() != 1) return Refuse(problem, "render takes exactly one VIDEO.");
  RenderRequest request;
  request.video = VideoPathArgument(videos.first());
  request.output = parser.value(options.output).toStdString();
  if (request.output.empty()) return Refuse(problem, "--output FILE is required.");
  const auto encoding = EncodingForOutput(request.output);
  if (!encoding) {
    problem = "--output: no container is known for this extension; use one of " + KnownOutputExtensions() + ".";
    return std::nullopt;
  }
  request.encoding = *encoding;
  if (SameFile(request.video, request.output)) return Refuse(problem, "--output must not be the VIDEO itself.");
  const auto range = ReadRange(parser, options, problem);
  if (!range) return std::nullopt;
  request.range = *range;
  bool offsetOk = true;
  if (parser.isSet(options.offset)) request.offsetMs = parser.value(options.offset).toInt(&offsetOk);
  if (!offsetOk) return Refuse(problem, "--offset takes whole milliseconds (a 32-bit integer).");
  const auto style = ReadStyle(parser.value(options.style));
  if (parser.isSet(options.style) && !style) return Refuse(problem, "--style takes live or snapshot.");
  if (style) request.style = *style;
  return request;
}

}  // namespace ostrel::cli
