#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace ostrel {

// The whole content of a file; nothing when it cannot be opened or read to its end.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path);

// How a file is created for writing.
enum class FileCreation {
  Replace,  // an existing file is overwritten
  NewOnly,  // fails when the name is taken, so nothing existing is ever overwritten
};

// Writes the pieces one after the other; false when the file cannot be created or any byte
// cannot be written (a file that was created but not completed is removed).
bool WriteWholeFile(const std::filesystem::path& path, FileCreation creation,
                    std::initializer_list<std::span<const std::uint8_t>> pieces);

}  // namespace ostrel
