#include "app/window/FolderBrowser.h"

#include <QFileDialog>

#include "app/window/AnsiText.h"

namespace quillaby {

bool BrowseForFolder(QWidget* owner, const QString& title, std::string& folder) {
  QString chosen = QFileDialog::getExistingDirectory(owner, title, QString(), QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return false;
  folder = ToAnsi(chosen);
  return true;
}

}  // namespace quillaby
