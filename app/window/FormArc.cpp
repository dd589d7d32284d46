#include "app/window/FormArc.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <algorithm>

#include "app/window/AnsiText.h"
#include "app/window/FolderBrowser.h"
#include "app/window/Progress.h"
#include "app/window/RadioGroup.h"
#include "archiver/Archiver.h"

namespace quillaby {

TFormArc::TFormArc(const std::string& settingsPath, QWidget* parent)
    : QWidget(parent), settingsPath_(settingsPath) {
  BuildWindow();
  FArchiver = std::make_unique<ArchiverN::TArchiver>(nullptr, static_cast<platform::HWND>(0));
  FArchiver->OnArchiverProc.Func = &TFormArc::ArchiverProgressProc;
  FArchiver->OnArchiverProc.Context = this;
  FBatch = std::make_unique<TBatchRun>(*this, *FArchiver);
  ReadSettings();
  RadioRenameClick();
  RadioFolderClick();
}

TFormArc::~TFormArc() {
  // The run refers to the facade: it goes first.
  FBatch.reset();
  FArchiver.reset();
}

bool TFormArc::Running() const { return FBatch && FBatch->FRunning; }

void TFormArc::ButtonExecClick() {
  if (!FBatch) return;
  FBatch->ButtonExecClick(ToAnsi(EditMask->text()));
  // A close asked for during the run was held back until the run settled.
  if (FCloseAfterRun && !Running()) {
    FCloseAfterRun = false;
    close();
  }
}

void TFormArc::closeEvent(QCloseEvent* event) {
  if (Running()) {
    // The run still uses the facade: ask it to stop, and close when it has.
    FBatch->FAbort = true;
    FCloseAfterRun = true;
    event->ignore();
    return;
  }
  if (!FormClose()) {
    event->ignore();
    return;
  }
  event->accept();
}

bool TFormArc::FormClose() {
  if (!WriteSettings()) return false;
  FBatch.reset();
  FArchiver.reset();
  return true;
}

void TFormArc::RadioRenameClick() { EditRename->setEnabled(RadioRename->isChecked()); }

void TFormArc::RadioFolderClick() {
  bool fixed = RadioFolder->isChecked();
  EditFolder->setEnabled(fixed);
  ButtonFolder->setEnabled(fixed);
}

void TFormArc::ButtonFolderClick() {
  std::string folder;
  if (BrowseForFolder(this, QStringLiteral("出力フォルダ"), folder)) EditFolder->setText(FromAnsi(folder));
}

bool TFormArc::ArchiverProgress(const ARC_PROGRESS* record) {
  SetProgress(ProgressPosition(record));
  ProcessMessages();
  return true;
}

bool TFormArc::ArchiverProgressProc(void* context, ArchiverN::TArchiver*, std::uint32_t, const ARC_PROGRESS* record) {
  return static_cast<TFormArc*>(context)->ArchiverProgress(record);
}

bool TFormArc::FixedFolderChosen() { return RadioFolder->isChecked(); }

std::string TFormArc::FixedFolder() { return ToAnsi(EditFolder->text()); }

ExistPolicy TFormArc::Policy() {
  if (RadioOver->isChecked()) return ExistPolicy::Overwrite;
  if (RadioSkip->isChecked()) return ExistPolicy::Skip;
  return ExistPolicy::Rename;
}

std::string TFormArc::RenamePattern() { return ToAnsi(EditRename->text()); }

int TFormArc::AfterIndex() { return GroupAfter->ItemIndex(); }

int TFormArc::RowCount() { return ListFile->rowCount(); }

std::string TFormArc::RowFullPath(int row) {
  QTableWidgetItem* item = ListFile->item(row, 2);
  return item ? ToAnsi(item->text()) : std::string();
}

void TFormArc::DeleteRow(int row) { ListFile->removeRow(row); }

void TFormArc::AppendLog(const std::string& line) { Log->appendPlainText(QString::fromStdString(line)); }

void TFormArc::ProcessMessages() { QCoreApplication::processEvents(); }

void TFormArc::SetProgress(int position) { ProgressBar->setValue(std::clamp(position, 0, 100)); }

void TFormArc::SetButtonCaption(const std::string& caption) { ButtonExec->setText(QString::fromStdString(caption)); }

}  // namespace quillaby
