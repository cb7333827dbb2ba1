#pragma once

#include <string_view>

#include "video/playback_state.h"
#include "video/playback_ui.h"

namespace ostrel {

inline constexpr std::string_view kOpenDialogTitle = "動画ファイルを開く";
inline constexpr std::string_view kVideoFilesFilter = "動画ファイル (*.avi *.asf *mpg *.mpeg *.mov *.wmv)";
inline constexpr std::string_view kAllFilesFilter = "All Files (*)";

// The "Open AVI" command. The bar is disabled first, whatever follows. Then, for the file
// the user chooses: its camera log sets the clock offset (no log, no Open); its tracking
// data is loaded (what is missing is reported, the video opens anyway) and the frame for
// its start found; a new graph renders it, shows its picture in the main window and runs.
// Only a running graph enables the bar again and starts the playback timer; the picture is
// letterboxed last. A failing step is reported and ends the Open; the previous video is let
// go before the new graph is made, so nothing of it plays on under the new file's data.
void OpenVideo(PlaybackState& state, PlaybackUi& ui);

// Cuts the picture and notifications from the held graph, stops it and lets it go.
void ReleaseGraph(PlaybackState& state, PlaybackUi& ui);

}  // namespace ostrel
