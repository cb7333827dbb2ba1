#include "overlay/file_bytes.h"

#include <QFile>
#include <QString>

namespace ostrel {
namespace {

QString QtPath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

bool WritePieces(QFile& file, std::initializer_list<std::span<const std::uint8_t>> pieces) {
  for (std::span<const std::uint8_t> piece : pieces) {
    const auto size = static_cast<qint64>(piece.size());
    if (file.write(reinterpret_cast<const char*>(piece.data()), size) != size) return false;
  }
  return file.flush();
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path) {
  QFile file(QtPath(path));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

bool WriteWholeFile(const std::filesystem::path& path, FileCreation creation,
                    std::initializer_list<std::span<const std::uint8_t>> pieces) {
  QFile file(QtPath(path));
  const QIODevice::OpenMode mode = creation == FileCreation::NewOnly
                                       ? QIODevice::WriteOnly | QIODevice::NewOnly
                                       : QIODevice::WriteOnly | QIODevice::Truncate;
  if (!file.open(mode)) return false;
  const bool written = WritePieces(file, pieces);
  file.close();
  if (written && file.error() == QFileDevice::NoError) return true;
  file.remove();
  return false;
}

}  // namespace ostrel
