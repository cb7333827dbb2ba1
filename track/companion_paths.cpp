#include "track/companion_paths.h"

namespace ostrel {

bool SplitVideoPath(std::string_view path, VideoPathParts& parts, char separator) {
  parts.folder.assign(path);
  const std::size_t cut = path.rfind(separator);
  if (cut == std::string_view::npos) return false;

  parts.name.assign(path.substr(cut + 1));
  parts.folder.resize(cut);

  const std::size_t dot = parts.name.rfind('.');
  if (dot != std::string::npos && dot != 0) {
    parts.extension = parts.name.substr(dot + 1);
    parts.name.resize(dot);
  }
  return true;
}

bool StripTrailingDigits(std::string& name) {
  const std::size_t lastNonDigit = name.find_last_not_of("0123456789");
  if (lastNonDigit == std::string::npos || lastNonDigit == 0) return false;
  name.resize(lastNonDigit + 1);
  return true;
}

std::string ComposeCompanionPath(std::string_view folder, std::string_view base,
                                 std::string_view suffix, char separator) {
  std::string path;
  path.reserve(folder.size() + 1 + base.size() + suffix.size());
  path.append(folder).append(1, separator).append(base).append(suffix);
  return path;
}

std::optional<std::string> VideoCompanionPath(std::string_view videoPath, std::string_view suffix,
                                              MessageSink& messages, char separator) {
  VideoPathParts parts;
  if (!SplitVideoPath(videoPath, parts, separator)) {
    messages.Show({std::string(kInvalidFilenameText), std::string(videoPath)});
    return std::nullopt;
  }
  return ComposeCompanionPath(parts.folder, parts.name, suffix, separator);
}

}  // namespace ostrel
