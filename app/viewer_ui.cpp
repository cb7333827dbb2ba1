#include "app/viewer_ui.h"

#include <QAbstractButton>

#include "app/command_ids.h"
#include "app/control_bar.h"
#include "app/main_window.h"
#include "app/trackbar.h"
#include "app/video_view.h"

namespace ostrel {
namespace {

QAbstractButton* Button(MainWindow& window, int id) {
  return qobject_cast<QAbstractButton*>(window.controlBar().control(id));
}

}  // namespace

MessageSink& ViewerUi::Messages() { return window_.messages(); }

std::optional<std::string> ViewerUi::ChooseVideoFile(const std::string& folder) {
  return chooseFile_ ? chooseFile_(folder) : std::nullopt;
}

void ViewerUi::SetControlBarEnabled(bool enabled) { window_.controlBar().setEnabled(enabled); }

bool ViewerUi::GrabberChecked() { return Button(window_, kControlGrabber)->isChecked(); }

void ViewerUi::SetGrabberChecked(bool checked) { Button(window_, kControlGrabber)->setChecked(checked); }

void ViewerUi::SetCaptureEnabled(bool enabled) { Button(window_, kControlCapture)->setEnabled(enabled); }

bool ViewerUi::TimeAdjustChecked() { return Button(window_, kControlTimeAdjust)->isChecked(); }

void ViewerUi::SetOffsetButtonsEnabled(bool enabled) {
  Button(window_, kControlOffsetEarlier)->setEnabled(enabled);
  Button(window_, kControlOffsetLater)->setEnabled(enabled);
}

int ViewerUi::TrackbarPosition() { return window_.controlBar().trackbar()->value(); }

void ViewerUi::SetTrackbarPosition(int percent) { window_.controlBar().trackbar()->setValue(percent); }

void ViewerUi::StartPlaybackTimer() { window_.playbackTimer().start(); }

void ViewerUi::AttachVideoWindow(PlaybackGraph& graph) { window_.videoView().SetGraph(&graph); }

void ViewerUi::PlaceVideoWindow(const VideoRect& place) {
  window_.videoView().setGeometry(place.left, place.top, place.width, place.height);
}

void ViewerUi::DetachVideoWindow() { window_.videoView().SetGraph(nullptr); }

void ViewerUi::ConnectGraphEvents(PlaybackGraph& graph) {
  QObject::connect(&graph, &PlaybackGraph::graphNotify, &window_, &MainWindow::OnGraphNotify);
}

ClientSize ViewerUi::ClientAreaSize() {
  const QSize size = window_.clientArea().size();
  return ClientSize{size.width(), size.height()};
}

int ViewerUi::ControlBarHeight() { return window_.controlBar().height(); }

void ViewerUi::Relayout() { window_.LayoutClientArea(); }

void ViewerUi::RedrawOverlays(bool inSync) { window_.RedrawOverlays(inSync); }

}  // namespace ostrel
