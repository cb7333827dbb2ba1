#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QRegion>

#include "app/app_icon.h"
#include "app/client_area.h"
#include "app/command_ids.h"
#include "app/control_bar.h"
#include "app/letterbox.h"
#include "app/shell_dispatch.h"
#include "app/video_view.h"
#include "app/viewer_handlers.h"
#include "overlay/live_overlay.h"
#include "overlay/overlay_show.h"

namespace ostrel {
namespace {

const char* const kWindowTitle = "OstrelApp[Tovik]";

bool ShiftHeld(Qt::KeyboardModifiers modifiers) { return modifiers.testFlag(Qt::ShiftModifier); }

bool HasPicture(const PlaybackState& state) {
  return state.videoSize.width != 0 && state.videoSize.height != 0 && state.held.videoWindow;
}

}  // namespace

MainWindow::MainWindow(std::unique_ptr<PlaybackGraph> firstGraph, MessageSink& messages,
                       const HandlerFactory& makeHandlers)
    : state_(std::move(firstGraph)), messages_(messages) {
  setWindowTitle(QString::fromUtf8(kWindowTitle));
  setWindowIcon(AppIcon());
  ResetTrackStore(state_.trackStore);
  state_.overlay = CreateOverlayResources(QSize(kStartWidth, kStartHeight));
  handlers_ = makeHandlers ? makeHandlers(*this) : MakeViewerHandlers(*this);
  CreateMenu();
  CreateAccelerators();
  CreateClientArea();
  playbackTimer_.setInterval(kPlaybackTimerMs);
  connect(&playbackTimer_, &QTimer::timeout, this, [this] { handlers_->PlaybackTick(); });
  // The arrow keys belong to the window itself until a control of the bar takes the focus.
  setFocusPolicy(Qt::StrongFocus);
  setFocus();
  resize(kStartWidth, kStartHeight);
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateMenu() {
  QMenu* file = menuBar()->addMenu(QString::fromUtf8("ファイル(&F)"));
  const std::pair<const char*, int> items[] = {{"Open AVI", kCommandOpenVideo},
                                               {"Exit", kCommandExit}};
  for (const auto& [text, id] : items) {
    QAction* action = file->addAction(QString::fromUtf8(text));
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id = id] { DispatchCommand(id); });
  }
}

void MainWindow::CreateAccelerators() {
  auto* accelerator = new QAction(this);
  accelerator->setData(kCommandAccelerator);
  accelerator->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Question),
                             QKeySequence(Qt::ALT | Qt::Key_Slash)});
  accelerator->setShortcutContext(Qt::WindowShortcut);
  connect(accelerator, &QAction::triggered, this, [this] { DispatchCommand(kCommandAccelerator); });
  addAction(accelerator);
}

void MainWindow::CreateClientArea() {
  auto* client = new ClientArea(this);
  setCentralWidget(client);
  client->installEventFilter(this);
  const OverlayPainter showOverlay = [this](QPainter& painter, const QRect& area, QPoint origin) {
    ShowOverlay(painter, area, origin);
  };
  client->SetOverlayPainter(showOverlay);
  videoView_ = new VideoView(client);
  videoView_->SetOverlayPainter(showOverlay);
  controlBar_ = new ControlBar(client);
  // Nothing on the bar can act before a video plays.
  controlBar_->setEnabled(false);
  connect(controlBar_, &ControlBar::command, this, &MainWindow::DispatchCommand);
  connect(controlBar_, &ControlBar::trackbarEnded, this, [this] { handlers_->SeekFromTrackbar(); });
}

void MainWindow::DispatchCommand(int id) {
  ostrel::DispatchCommand(id, ShiftHeld(QGuiApplication::keyboardModifiers()), *handlers_);
}

void MainWindow::OnGraphNotify() { handlers_->DrainGraphEvents(); }

void MainWindow::keyPressEvent(QKeyEvent* event) {
  DispatchKey(event->key(), ShiftHeld(event->modifiers()), *handlers_);
  event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) {
    // The remembered overlay was drawn for the old size; it is dropped, not redrawn.
    if (state_.overlay) ResizeOverlay(*state_.overlay, centralWidget()->size());
    LayoutClientArea();
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::LayoutClientArea() {
  const QSize client = centralWidget()->size();
  DockControlBar(client.width(), client.height());
  if (HasPicture(state_)) LetterboxPicture(client.width(), client.height());
}

void MainWindow::RedrawOverlays(bool inSync) {
  if (!state_.overlay) return;
  ostrel::RedrawOverlays(*state_.overlay, OverlayScene{state_.trackStore, state_.videoRect}, inSync);
  // The letterbox bars and the picture both show the mask. The bars repaint now; the picture
  // with its next frame, or on its own when none comes.
  QRegion bars(centralWidget()->rect());
  if (videoView_->isVisible()) bars -= videoView_->geometry();
  centralWidget()->update(bars);
  videoView_->OverlayChanged();
}

void MainWindow::ShowOverlay(QPainter& painter, const QRect& area, QPoint origin) const {
  if (state_.overlay) ostrel::ShowOverlay(painter, area, *state_.overlay, origin);
}

void MainWindow::DockControlBar(int clientWidth, int clientHeight) {
  const int barHeight = controlBar_->height();
  controlBar_->setGeometry(0, clientHeight - barHeight, clientWidth, barHeight);
}

void MainWindow::LetterboxPicture(int clientWidth, int clientHeight) {
  const VideoRect picture =
      LetterboxVideo(clientWidth, clientHeight, controlBar_->height(), state_.videoSize);
  state_.videoRect = picture;
  videoView_->setGeometry(picture.left, picture.top, picture.width, picture.height);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  ReleaseViewer();
  event->accept();
}

void MainWindow::ReleaseViewer() {
  if (released_) return;
  released_ = true;
  // Stopped first, so that no tick runs on anything half released.
  playbackTimer_.stop();
  // The picture is hidden and cut from its graph before the graph goes, and an open
  // video's graph stops and goes before the tracking data it is shown with. The graph made
  // at start-up, never opened, is let go only after the event loop has ended.
  if (state_.held.videoWindow) videoView_->SetGraph(nullptr);
  if (state_.held.frameGrabber) {
    state_.graph->Stop();
    state_.graph.reset();
  }
  state_.held = GraphReferences{};
  state_.GrabberFormat.reset();
  FreeTrackStore(state_.trackStore);
  DeleteOverlayResources(state_.overlay);
  emit viewerEnded();
}

}  // namespace ostrel
