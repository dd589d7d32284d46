// The archive list: adding by drop or dialog, removing, clearing, its popup
// menu and its keys.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMimeData>
#include <QTableWidget>
#include <QUrl>
#include <algorithm>

#include "app/window/AnsiText.h"
#include "app/window/FormArc.h"
#include "platform/paths.h"
#include "util/FindFile.h"

namespace quillaby {
namespace {

QTableWidgetItem* Cell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  item->setTextAlignment(alignment);
  return item;
}

// The local paths of a drop, in order; a folder without its trailing "/".
QStringList DroppedPaths(const QMimeData* data) {
  QStringList paths;
  if (data == nullptr) return paths;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    QString path = url.toLocalFile();
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    if (!path.isEmpty()) paths << path;
  }
  return paths;
}

}  // namespace

void TFormArc::AddFile(const std::string& path) {
  int row = ListFile->rowCount();
  ListFile->insertRow(row);
  auto size = static_cast<std::int32_t>(FileSizeOnDisk(path));
  ListFile->setItem(row, 0, Cell(FromAnsi(platform::path::FileName(path))));
  ListFile->setItem(row, 1, Cell(QString::number(size), Qt::AlignRight | Qt::AlignVCenter));
  ListFile->setItem(row, 2, Cell(FromAnsi(path)));
}

void TFormArc::FileClick() {
  if (!InitialDir.empty()) OpenDialog->setDirectory(FromAnsi(InitialDir));
  OpenDialog->selectNameFilter(OpenDialog->nameFilters().value(0));
  if (OpenDialog->exec() != QDialog::Accepted) return;
  const QStringList files = OpenDialog->selectedFiles();
  if (files.isEmpty()) return;
  InitialDir = platform::path::FolderOf(ToAnsi(files.first()));
  for (const QString& f : files) AddFile(ToAnsi(f));
}

void TFormArc::RemoveClick() {
  // The run holds a row index: rows stay put until it has ended.
  if (Running()) return;
  QModelIndexList selected = ListFile->selectionModel()->selectedRows();
  std::vector<int> rows;
  for (const QModelIndex& index : selected) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end(), std::greater<>());
  for (int row : rows) ListFile->removeRow(row);
}

void TFormArc::ClearClick() {
  if (Running()) return;
  ListFile->setRowCount(0);
}

void TFormArc::PopupListPopup() {
  bool idle = !Running();
  Remove->setEnabled(idle && ListFile->selectionModel()->hasSelection());
  Clear->setEnabled(idle);
}

void TFormArc::ListFileKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::ControlModifier) {
    switch (key) {
      case Qt::Key_D: RemoveClick(); break;
      case Qt::Key_F: FileClick(); break;
      case Qt::Key_G: ClearClick(); break;
      default: break;
    }
  }
  if (key == Qt::Key_Delete) RemoveClick();
}

bool TFormArc::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListFile && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    ListFileKeyDown(key->key(), key->modifiers());
    // The list still gets the key.
  }
  return QWidget::eventFilter(watched, event);
}

void TFormArc::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedPaths(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TFormArc::dragMoveEvent(QDragMoveEvent* event) {
  if (!DroppedPaths(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TFormArc::dropEvent(QDropEvent* event) {
  const QStringList paths = DroppedPaths(event->mimeData());
  if (paths.isEmpty()) return;
  for (const QString& p : paths) AddFile(ToAnsi(p));
  event->acceptProposedAction();
}

}  // namespace quillaby
