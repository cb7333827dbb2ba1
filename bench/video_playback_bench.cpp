// Plays a 1080p H.264 video through the media graph into a VideoView on the X server in
// DISPLAY, once without an overlay and then with a live overlay of 200 points and 20
// trajectories and of 1,000 points and 100 trajectories, all with full trails, redrawn ten
// times a second as the playback timer does and shown on every painted frame; then the same file through gst-launch-1.0's playbin into
// ximagesink and into a clock-synchronised fakesink. Prints CPU seconds and frames shown for
// each, and the overlay's share of the playback CPU.
//
//   video_playback_bench [video]   (without a video, a 1920x1080, 30 fps, 20 s one is written)
//
// Run it under a private X server: bench/video_playback_bench.sh.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "app/video_view.h"
#include "bench/busy_scene.h"
#include "overlay/live_overlay.h"
#include "overlay/overlay_show.h"
#include "overlay/overlay_state.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_videos.h"
#include "video/media_graph.h"

extern char** environ;

namespace {

struct PlaybackFigures {
  double cpuSeconds = 0;
  double redrawSeconds = 0;  // the UI thread's CPU inside the overlay's redraws
  double showSeconds = 0;    // and inside showing the mask on painted frames
  double wallSeconds = 0;
  long long framesShown = -1;
  long long framesDropped = -1;
};

double CpuSeconds(const rusage& usage) {
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double OwnCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return CpuSeconds(usage);
}

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Adds the calling thread's CPU time from construction to destruction to `total`.
class ThreadCpuMeter {
 public:
  explicit ThreadCpuMeter(double& total) : total_(total), start_(ThreadCpuSeconds()) {}
  ~ThreadCpuMeter() { total_ += ThreadCpuSeconds() - start_; }
  ThreadCpuMeter(const ThreadCpuMeter&) = delete;
  ThreadCpuMeter& operator=(const ThreadCpuMeter&) = delete;

 private:
  double& total_;
  double start_;
};

// What the viewer's overlay does during playback, on a client area of `size`.
class BusyOverlay {
 public:
  BusyOverlay(QSize size, int points, int trajectories)
      : store_(ostrel::BusyStore(points, trajectories)), overlay_(ostrel::CreateOverlayResources(size)), size_(size) {}

  // Ten times a second, as the playback timer ticks, the next frame's overlay is drawn.
  void Tick() {
    const ThreadCpuMeter meter(redrawSeconds_);
    store_.CurrentSlot = (store_.CurrentSlot + 1) % ostrel::kBusySlots;
    ostrel::RedrawOverlays(*overlay_, {store_, {0, 0, size_.width(), size_.height()}}, true);
  }

  void Show(QPainter& painter, const QRect& area, QPoint origin) {
    const ThreadCpuMeter meter(showSeconds_);
    ostrel::ShowOverlay(painter, area, *overlay_, origin);
  }

  double RedrawSeconds() const { return redrawSeconds_; }
  double ShowSeconds() const { return showSeconds_; }

 private:
  double redrawSeconds_ = 0;
  double showSeconds_ = 0;
  ostrel::TrackStore store_;
  std::unique_ptr<ostrel::OverlayState> overlay_;
  QSize size_;
};

// Without points and trajectories, no overlay at all.
PlaybackFigures PlayThroughGraph(const std::string& path, int points, int trajectories) {
  const bool withOverlay = points > 0 || trajectories > 0;
  QWidget window;
  window.resize(1920, 1080);
  auto* view = new ostrel::VideoView(&window);
  view->setGeometry(0, 0, 1920, 1080);
  long long paints = 0;
  BusyOverlay overlay(QSize(1920, 1080), points, trajectories);
  view->SetOverlayPainter([&paints, &overlay, withOverlay](QPainter& painter, const QRect& area, QPoint origin) {
    if (withOverlay) overlay.Show(painter, area, origin);
    if (area.top() == 0) ++paints;  // a paint shows the overlay band by band, top first
  });
  QTimer ticks;
  ticks.setInterval(100);
  QObject::connect(&ticks, &QTimer::timeout, [&overlay, view] {
    overlay.Tick();
    view->OverlayChanged();
  });
  if (withOverlay) ticks.start();
  window.show();

  std::unique_ptr<ostrel::MediaGraph> graph = ostrel::CreateMediaGraph();
  if (!graph) throw std::runtime_error("no media graph");
  view->SetGraph(graph.get());
  bool ended = false;
  QObject::connect(graph.get(), &ostrel::MediaGraph::graphNotify, [&] {
    while (auto event = graph->GetEvent()) ended = ended || event->code == ostrel::kEventComplete || event->code == ostrel::kEventErrorAbort;
  });

  QElapsedTimer wall;
  wall.start();
  const double cpuBefore = OwnCpuSeconds();
  if (!graph->RenderFile(path)) throw std::runtime_error("cannot render: " + graph->RenderError());
  graph->Run();
  while (!ended) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  PlaybackFigures figures;
  figures.cpuSeconds = OwnCpuSeconds() - cpuBefore;
  figures.wallSeconds = static_cast<double>(wall.elapsed()) / 1000.0;
  const ostrel::FrameHandOverStats stats = graph->FrameStats();
  figures.framesShown = paints;
  figures.redrawSeconds = overlay.RedrawSeconds();
  figures.showSeconds = overlay.ShowSeconds();
  figures.framesDropped = static_cast<long long>(stats.overtaken);
  std::printf("  graph hand-over: %llu frames decoded, %llu taken by the UI thread, %llu overtaken\n",
              static_cast<unsigned long long>(stats.arrived), static_cast<unsigned long long>(stats.taken),
              static_cast<unsigned long long>(stats.overtaken));
  return figures;
}

// Runs gst-launch-1.0 with the sink factory `sink` as playbin's video sink, clock-synchronised
// and wrapped in fpsdisplaysink (which counts frames rendered and dropped), and measures the
// child's CPU time.
PlaybackFigures PlayThroughGstLaunch(const std::string& path, const std::string& sink) {
  const std::string output = "/tmp/ostrel-bench-gst-launch.txt";
  std::vector<std::string> command = {
      "gst-launch-1.0", "-v", "playbin", "uri=file://" + path,
      "video-sink=\"fpsdisplaysink text-overlay=false sync=true fps-update-interval=100 video-sink=" + sink + "\""};
  std::vector<char*> argv;
  for (std::string& part : command) argv.push_back(part.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  QElapsedTimer wall;
  wall.start();
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot run gst-launch-1.0");
  }
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  PlaybackFigures figures;
  figures.cpuSeconds = CpuSeconds(usage);
  figures.wallSeconds = static_cast<double>(wall.elapsed()) / 1000.0;
  // The last "rendered: N, dropped: M" that fpsdisplaysink reported.
  FILE* log = std::fopen(output.c_str(), "r");
  std::string text;
  for (int c; log && (c = std::fgetc(log)) != EOF;) text.push_back(static_cast<char>(c));
  if (log) std::fclose(log);
  const std::regex counts("rendered: ([0-9]+), dropped: ([0-9]+)");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), counts); it != std::sregex_iterator(); ++it) {
    figures.framesShown = std::stoll((*it)[1]);
    figures.framesDropped = std::stoll((*it)[2]);
  }
  return figures;
}

void PrintRow(const char* name, const PlaybackFigures& figures, double reference, double floor) {
  std::printf("%-34s %8.2f %8.2f %8lld %8lld %9.2f %9.2f\n", name, figures.cpuSeconds, figures.wallSeconds,
              figures.framesShown, figures.framesDropped, figures.cpuSeconds / reference, figures.cpuSeconds / floor);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (!ostrel::InitializeMediaServices()) return 1;
  ostrel::testing::TempFolder folder;
  std::string path = argc > 1 ? argv[1] : folder.File("bench_1080p30.mov");
  if (argc <= 1) {
    std::printf("writing a 1920x1080, 30 fps, 20 s H.264 video...\n");
    ostrel::testing::WriteTestVideo(path, {.width = 1920, .height = 1080, .frameCount = 600, .frameRate = 30,
                                           .container = ostrel::testing::VideoContainer::Mov});
  }
  std::printf("playing %s\n", path.c_str());
  const PlaybackFigures plain = PlayThroughGraph(path, 0, 0);
  const PlaybackFigures light = PlayThroughGraph(path, 200, 20);
  const PlaybackFigures busy = PlayThroughGraph(path, 1000, 100);
  const PlaybackFigures ximage = PlayThroughGstLaunch(path, "ximagesink");
  const PlaybackFigures floor = PlayThroughGstLaunch(path, "fakesink");
  std::printf("\n%-34s %8s %8s %8s %8s %9s %9s\n", "player", "cpu s", "wall s", "shown", "dropped",
              "x ximage", "x floor");
  PrintRow("MediaGraph + VideoView", plain, ximage.cpuSeconds, floor.cpuSeconds);
  PrintRow("  + overlay 200 points, 20 tracks", light, ximage.cpuSeconds, floor.cpuSeconds);
  PrintRow("  + overlay 1000 points, 100 tracks", busy, ximage.cpuSeconds, floor.cpuSeconds);
  PrintRow("gst-launch playbin ! ximagesink", ximage, ximage.cpuSeconds, floor.cpuSeconds);
  PrintRow("gst-launch playbin ! fakesink sync", floor, ximage.cpuSeconds, floor.cpuSeconds);
  const auto share = [&plain](const PlaybackFigures& with) { return 100.0 * (with.cpuSeconds - plain.cpuSeconds) / plain.cpuSeconds; };
  std::printf("\noverlay share of the playback CPU: %.1f %% (200/20), %.1f %% (1000/100)\n", share(light), share(busy));
  for (const auto& [name, with] : {std::pair{"200/20", light}, std::pair{"1000/100", busy}}) {
    std::printf("  %s: the overlay's own work %.3f s redrawing + %.3f s showing = %.1f %% of the plain playback\n", name,
                with.redrawSeconds, with.showSeconds, 100.0 * (with.redrawSeconds + with.showSeconds) / plain.cpuSeconds);
  }
  std::printf("(MediaGraph: shown = frames painted, dropped = frames overtaken before the UI thread took them;\n"
              " gst-launch: fpsdisplaysink's counts, updated every 100 ms, so the last few frames may be missing)\n");
  return 0;
}
