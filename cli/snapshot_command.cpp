#include "cli/snapshot_command.h"

#include <QCommandLineParser>
#include <filesystem>
#include <optional>

#include "cli/cli_app.h"
#include "cli/command_line.h"
#include "cli/console_messages.h"
#include "cli/frame_at_position.h"
#include "clock/time_log.h"
#include "clock/wrapping_math.h"
#include "overlay/annotated_snapshot.h"
#include "overlay/frame_capture.h"
#include "overlay/overlay_pens.h"
#include "track/frame_lookup.h"
#include "track/track_data.h"
#include "video/playback_clock.h"

namespace ostrel::cli {
namespace {

constexpr const char* kDescription =
    "Writes the frame of VIDEO at playback position MS as the viewer's Capture does: the plain\n"
    "frame to 1.bmp and the frame with the tracking data drawn in (points, trails, boxes) to\n"
    "the next free N.bmp (2.bmp, 3.bmp, ...; existing files are never overwritten), and prints\n"
    "their paths. The clock offset comes from the camera log, as when the video is opened,\n"
    "plus --offset. Points are judged visible against the picture at its native size.\n"
    "\n"
    "Exit status: 0 when both files were written, 1 when the video, its camera log or a file\n"
    "could not be read or written, 2 for a command line that was not understood.";

struct SnapshotRequest {
  std::string video;
  std::int64_t positionMs = 0;
  std::int32_t offsetMs = 0;
  std::filesystem::path folder;
};

struct SnapshotOptions {
  QCommandLineOption position{"position", "The playback position of the frame, in milliseconds.", "MS"};
  QCommandLineOption offset{"offset",
                            "Milliseconds added to the video's start time from the camera log,\n"
                            "as the arrow keys add them in the viewer (default 0).",
                            "MS"};
  QCommandLineOption folder{"output-dir", "Where 1.bmp and N.bmp go (default: the video's folder).", "DIR"};
};

// The request the command line makes, or nothing with `problem` saying what is wrong.
std::optional<SnapshotRequest> ReadRequest(const QCommandLineParser& parser, const SnapshotOptions& options,
                                           std::string& problem) {
  const QStringList videos = parser.positionalArguments();
  SnapshotRequest request;
  bool positionOk = false;
  bool offsetOk = true;
  request.positionMs = parser.value(options.position).toLongLong(&positionOk);
  if (parser.isSet(options.offset)) request.offsetMs = parser.value(options.offset).toInt(&offsetOk);
  if (videos.size() != 1) {
    problem = "snapshot takes exactly one VIDEO.";
  } else if (!positionOk || request.positionMs < 0 || request.positionMs > INT64_MAX / kReferenceUnitsPerMs) {
    problem = "--position takes a playback position in whole milliseconds, 0 or more.";
  } else if (!offsetOk) {
    problem = "--offset takes whole milliseconds (a 32-bit integer).";
  } else {
    request.video = VideoPathArgument(videos.first());
    request.folder = parser.isSet(options.folder) ? std::filesystem::path(parser.value(options.folder).toStdString())
                                                  : std::filesystem::path(request.video).parent_path();
    return request;
  }
  return std::nullopt;
}

// The frame of the tracking data that a capture at this position would annotate.
bool PrepareScene(const SnapshotRequest& request, TrackStore& store, ReferenceTime position, MessageSink& messages) {
  ClockOffset offset;
  if (!ReadTimeLog(offset, request.video, messages)) return false;
  offset.startMs = WrappingAdd(offset.startMs, request.offsetMs);
  LoadTrackData(store, request.video, messages);
  FindFrameForTime(store, PositionToVideoTime(position, offset));
  return true;
}

int WriteSnapshot(const SnapshotRequest& request, std::ostream& out, std::ostream& err) {
  ConsoleMessages messages(err);
  const ReferenceTime position = request.positionMs * kReferenceUnitsPerMs;
  TrackStore store;
  if (!PrepareScene(request, store, position, messages)) return kExitCompanionFailed;
  std::string error;
  const std::optional<GrabbedFrame> frame = GrabFrameAt(request.video, position, error);
  if (!frame) {
    err << request.video << ": " << error << '\n';
    return kExitCompanionFailed;
  }
  const OverlayScene scene{store, {0, 0, frame->header.biWidth, frame->header.biHeight}};
  SnapshotCounter counter;
  SnapshotTarget target{request.folder, counter, messages};
  if (!CaptureFrame(frame->header, frame->pixels, scene, MakeOverlayPens(), target)) return kExitCompanionFailed;
  out << CapturePath(request.folder).string() << '\n' << SnapshotPath(request.folder, counter.next - 1).string() << '\n';
  return kExitSuccess;
}

}  // namespace

int RunSnapshot(const QStringList& arguments, std::ostream& out, std::ostream& err) {
  QCommandLineParser parser;
  parser.setApplicationDescription(kDescription);
  parser.addPositionalArgument("VIDEO", "The video to take the frame from.", "snapshot VIDEO");
  const SnapshotOptions options;
  parser.addOptions({options.position, options.offset, options.folder});
  const QCommandLineOption help = parser.addHelpOption();

  if (const std::optional<int> settled = ParseCommandLine(parser, help, "snapshot", arguments, out, err)) {
    return *settled;
  }
  std::string problem;
  const std::optional<SnapshotRequest> request = ReadRequest(parser, options, problem);
  if (!request) return CommandUsageError("snapshot", problem, err);
  return WriteSnapshot(*request, out, err);
}

}  // namespace ostrel::cli
