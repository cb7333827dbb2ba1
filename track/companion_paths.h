#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "track/message_sink.h"

namespace ostrel {

inline constexpr char kPathSeparator = '/';

inline constexpr std::string_view kPointFileSuffix = ".lpa";
inline constexpr std::string_view kTrajectoryFileSuffix = ".traj";
inline constexpr std::string_view kTimeLogSuffix = ".log";

inline constexpr std::string_view kInvalidFilenameText = "Invalid filename.";

struct VideoPathParts {
  std::string folder;
  std::string name;
  std::optional<std::string> extension;  // absent when the name has no dot past its first character
};

// Splits a video path at its last separator into folder and name, and the name at its last
// dot into name and extension. Fails when the path holds no separator; the folder then holds
// the whole path and name and extension are left as they were.
bool SplitVideoPath(std::string_view path, VideoPathParts& parts, char separator = kPathSeparator);

// Cuts the trailing decimal digits off a name, in place, so that videos differing only in
// their numbering share one camera log. Fails, leaving the name unchanged, when fewer than
// two characters would remain.
bool StripTrailingDigits(std::string& name);

// "<folder><separator><base><suffix>": exactly one separator, also for an empty folder.
std::string ComposeCompanionPath(std::string_view folder, std::string_view base,
                                 std::string_view suffix, char separator = kPathSeparator);

// The point or trajectory file of a video (named after the video itself). Reports
// "Invalid filename." with the video path as caption and gives nothing when the path
// cannot be split.
std::optional<std::string> VideoCompanionPath(std::string_view videoPath, std::string_view suffix,
                                              MessageSink& messages,
                                              char separator = kPathSeparator);

}  // namespace ostrel
