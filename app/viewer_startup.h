#pragma once

#include <functional>
#include <memory>

#include "track/message_sink.h"

class QApplication;

namespace ostrel {

class MainWindow;
class PlaybackGraph;
class MessageBoxes;

inline constexpr const char* kStartupErrorCaption = "アプリケーションエラー";
inline constexpr const char* kMediaServicesFailedText = "COMの初期化に失敗しました";
inline constexpr const char* kFirstGraphFailedText = "FilterGraphオブジェクトの取得に失敗しました";

// How the viewer reaches the media services; the program passes the real ones. Every Open
// makes its graph with `createGraph` too.
struct MediaServices {
  std::function<bool()> initialize;
  std::function<std::unique_ptr<PlaybackGraph>()> createGraph;
};

// Start-up up to the shown main window: the media services, a first graph (so that
// missing playback elements stop the viewer at once rather than at the first Open), then
// the window with its control bar. Null, after telling the user, when the services fail.
std::unique_ptr<MainWindow> StartViewer(const MediaServices& services, MessageSink& messages);

// The whole life of the viewer; the process's exit code, 0 however it ends.
int RunViewer(QApplication& app, const MediaServices& services, MessageBoxes& messages);

}  // namespace ostrel
