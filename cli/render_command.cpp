#include "cli/render_command.h"

#include "cli/cli_app.h"
#include "cli/command_line.h"
#include "cli/console_messages.h"
#include "cli/render_progress.h"
#include "cli/render_request.h"
#include "clock/time_log.h"
#include "clock/wrapping_math.h"
#include "track/track_data.h"
#include "video/media_services.h"
#include "video/partial_output.h"
#include "video/render_pipeline.h"
#include "video/track_overlay_painter.h"

namespace ostrel::cli {
namespace {

constexpr const char* kDescription =
    "Writes VIDEO again with the tracking data drawn into every frame, without sound, into\n"
    "the container that the extension of FILE names. Each frame's playback position gives\n"
    "its time on the recording clock and the tracking frame shown with it, as in the viewer;\n"
    "the clock offset comes from the camera log, as when the video is opened, plus --offset.\n"
    "Progress goes to standard error. A failed render leaves no output file behind.\n"
    "\n"
    "Exit status: 0 when the file was written, 1 when the video, its camera log or the\n"
    "output could not be read or written, 2 for a command line that was not understood.";

int Failed(const RenderRequest& request, const std::string& why, std::ostream& err) {
  err << "ostrel-cli render: " << request.video << ": " << why << '\n';
  return kExitCompanionFailed;
}

// The clock offset an Open would set, with the tracking data it would load.
bool PrepareTracks(const RenderRequest& request, TrackStore& store, ClockOffset& offset, MessageSink& messages) {
  if (!ReadTimeLog(offset, request.video, messages)) return false;
  offset.startMs = WrappingAdd(offset.startMs, request.offsetMs);
  LoadTrackData(store, request.video, messages);
  return true;
}

int Render(const RenderRequest& request, std::ostream& out, std::ostream& err, bool errIsTerminal) {
  ConsoleMessages messages(err);
  TrackStore store;
  ClockOffset offset;
  if (!PrepareTracks(request, store, offset, messages)) return kExitCompanionFailed;
  if (!InitializeMediaServices()) return Failed(request, "the media services could not start", err);
  TrackOverlayPainter painter(store, offset, request.style);
  std::string error;
  const auto pipeline = RenderPipeline::Create(
      request.video, request.output, request.encoding, request.range,
      [&painter](const YuvPicture& picture, ReferenceTime position) { painter(picture, position); }, error);
  if (!pipeline) return Failed(request, error, err);
  PartialOutput output(request.output);
  RenderProgressLine line(err, errIsTerminal, request.range);
  RenderProgress last;
  const bool written = pipeline->Run(
      [&](const RenderProgress& progress) {
        last = progress;
        line.Show(progress);
      },
      error);
  if (!written) return Failed(request, error, err);
  if (last.frames == 0) return Failed(request, "no frame lies in the range asked for", err);
  line.Finish(last);
  output.Keep();
  out << request.output << '\n';
  return kExitSuccess;
}

}  // namespace

int RunRender(const QStringList& arguments, std::ostream& out, std::ostream& err, bool errIsTerminal) {
  QCommandLineParser parser;
  parser.setApplicationDescription(kDescription);
  parser.addPositionalArgument("VIDEO", "The video to draw the tracking data into.", "render VIDEO");
  const RenderOptions options;
  parser.addOptions({options.output, options.from, options.to, options.offset, options.style});
  const QCommandLineOption help = parser.addHelpOption();

  if (const std::optional<int> settled = ParseCommandLine(parser, help, "render", arguments, out, err)) {
    return *settled;
  }
  std::string problem;
  const std::optional<RenderRequest> request = ReadRenderRequest(parser, options, problem);
  if (!request) return CommandUsageError("render", problem, err);
  return Render(*request, out, err, errIsTerminal);
}

}  // namespace ostrel::cli
