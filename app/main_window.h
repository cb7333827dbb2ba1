#pragma once

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/shell_handlers.h"
#include "track/message_sink.h"
#include "video/playback_state.h"

namespace ostrel {

class ControlBar;
class VideoView;

// The viewer's one window: the menu, the client area with the picture and the control bar
// docked on its bottom edge, and the dispatch of every command, key, timer tick, slider
// end and graph notification to its handler. It owns the viewer's state.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  using HandlerFactory = std::function<std::unique_ptr<ShellHandlers>(MainWindow&)>;

  static constexpr int kStartWidth = 800;
  static constexpr int kStartHeight = 600;
  static constexpr int kPlaybackTimerMs = 100;

  // `makeHandlers` chooses what the dispatch reaches; the viewer's own handlers unless a
  // caller (a test) supplies others.
  MainWindow(std::unique_ptr<PlaybackGraph> firstGraph, MessageSink& messages,
             const HandlerFactory& makeHandlers = {});
  ~MainWindow() override;

  PlaybackState& state() { return state_; }
  const PlaybackState& state() const { return state_; }
  ControlBar& controlBar() { return *controlBar_; }
  VideoView& videoView() { return *videoView_; }
  QWidget& clientArea() { return *centralWidget(); }
  QTimer& playbackTimer() { return playbackTimer_; }
  MessageSink& messages() { return messages_; }

  // A command by id, with Shift as held for the input being handled.
  void DispatchCommand(int id);
  // The work of a size change, for the client area's current size: the bar is docked and,
  // while a video's picture is shown, the picture letterboxed. Also run after an Open has
  // set the video's size.
  void LayoutClientArea();
  // Takes the last overlay away and draws the current frame's over the picture.
  void RedrawOverlays(bool inSync);

 public slots:
  // The media graph has events waiting.
  void OnGraphNotify();

 signals:
  // The window has closed and let go of everything it held; the viewer ends on this.
  void viewerEnded();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateMenu();
  void CreateAccelerators();
  void CreateClientArea();
  void DockControlBar(int clientWidth, int clientHeight);
  void LetterboxPicture(int clientWidth, int clientHeight);
  // Exclusive-ors the overlay's mask over a picture at `origin` in the client area.
  void ShowOverlay(QPainter& painter, const QRect& area, QPoint origin) const;
  void ReleaseViewer();

  PlaybackState state_;
  MessageSink& messages_;
  ControlBar* controlBar_ = nullptr;
  VideoView* videoView_ = nullptr;
  QTimer playbackTimer_;
  std::unique_ptr<ShellHandlers> handlers_;
  bool released_ = false;
};

}  // namespace ostrel
