#include "app/open_file_dialog.h"

#include <QFileDialog>
#include <QStringList>

#include "video/open_video.h"

namespace ostrel {
namespace {

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::optional<std::string> ChooseVideoWithDialog(const std::string& folder) {
  QFileDialog dialog(nullptr, FromView(kOpenDialogTitle), QString::fromStdString(folder));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setNameFilters(QStringList{FromView(kVideoFilesFilter), FromView(kAllFilesFilter)});
  dialog.selectNameFilter(FromView(kVideoFilesFilter));
  dialog.setDefaultSuffix(QStringLiteral("avi"));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.first().toStdString();
}

}  // namespace ostrel
