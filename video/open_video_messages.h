#pragma once

#include <string_view>

namespace ostrel {

// The texts an Open shows when building the graph fails, each under kGraphErrorCaption and
// owned by the main window. Their numbers are the ones the users' manuals cite; the steps a
// GStreamer graph cannot fail on its own (2 to 5, 7 to 10, 12 to 14, 16) never show.
inline constexpr std::string_view kGraphErrorCaption = "アプリケーションエラー";

inline constexpr std::string_view kGraphCreateFailedText = "FilterGraphオブジェクトの取得に失敗しました";  // 1
inline constexpr std::string_view kRenderFailedText = "ファイルの読み込みに失敗しました";                  // 6
inline constexpr std::string_view kVideoSizeFailedText = "ビデオ・サイズの取得に失敗しました";            // 11
inline constexpr std::string_view kRunFailedText = "再生に失敗しました";                                   // 15

}  // namespace ostrel
