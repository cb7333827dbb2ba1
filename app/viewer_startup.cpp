#include "app/viewer_startup.h"

#include <QApplication>
#include <utility>

#include "app/app_icon.h"
#include "app/main_window.h"
#include "app/message_boxes.h"
#include "video/playback_graph.h"

namespace ostrel {
namespace {

void ShowStartupError(MessageSink& messages, const char* text) {
  messages.Show(UserMessage{text, kStartupErrorCaption, MessageOwner::None});
}

}  // namespace

std::unique_ptr<MainWindow> StartViewer(const MediaServices& services, MessageSink& messages) {
  if (!services.initialize()) {
    ShowStartupError(messages, kMediaServicesFailedText);
    return nullptr;
  }
  std::unique_ptr<PlaybackGraph> firstGraph = services.createGraph();
  if (!firstGraph) {
    ShowStartupError(messages, kFirstGraphFailedText);
    return nullptr;
  }
  auto window = std::make_unique<MainWindow>(std::move(firstGraph), messages);
  window->state().createGraph = services.createGraph;
  window->show();
  return window;
}

int RunViewer(QApplication& app, const MediaServices& services, MessageBoxes& messages) {
  QApplication::setWindowIcon(AppIcon());
  // The viewer ends when its main window has released everything, not when the last
  // window closes: a message box left open must not keep it alive, nor end it early.
  QApplication::setQuitOnLastWindowClosed(false);
  std::unique_ptr<MainWindow> window = StartViewer(services, messages);
  if (!window) return 0;
  messages.SetMainWindow(window.get());
  QObject::connect(window.get(), &MainWindow::viewerEnded, &app, [] { QApplication::exit(0); });
  const int exitCode = QApplication::exec();
  // A graph that no Open took into use outlives the window's own release.
  window->state().graph.reset();
  return exitCode;
}

}  // namespace ostrel
