#pragma once
// The main window: the archive list, the settings page, the log and the
// progress bar. It owns the archiver facade and the batch run, and is the
// run's host: the run reads the controls live and writes the log through it.
#include <QWidget>
#include <memory>
#include <string>

#include "app/core/AppPaths.h"
#include "app/core/BatchHost.h"
#include "app/core/BatchRun.h"
#include "modules/arcapi.h"

class QAction;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTabWidget;
class QTableWidget;

namespace quillaby {

class TRadioGroup;

class TFormArc : public QWidget, public IBatchHost {
 public:
  explicit TFormArc(const std::string& settingsPath = SettingsPath(), QWidget* parent = nullptr);
  ~TFormArc() override;

  const std::string& SettingsFile() const { return settingsPath_; }
  bool Running() const;
  // The facade and the run live from construction until the window closes.
  ArchiverN::TArchiver* Archiver() const { return FArchiver.get(); }
  TBatchRun* Batch() const { return FBatch.get(); }

  // Handlers, named after control and event.
  void ButtonExecClick();
  void RadioRenameClick();
  void RadioFolderClick();
  void ButtonFolderClick();
  // Writes the settings; false (after telling the user) when they could not
  // be written, and the window then stays open with everything in place.
  bool FormClose();
  void FileClick();
  void RemoveClick();
  void ClearClick();
  void PopupListPopup();
  void ListFileKeyDown(int key, Qt::KeyboardModifiers modifiers);
  void AddFile(const std::string& path);
  bool ArchiverProgress(const ARC_PROGRESS* record);
  static bool ArchiverProgressProc(void* context, ArchiverN::TArchiver* sender, std::uint32_t state,
                                   const ARC_PROGRESS* record);

  // IBatchHost
  bool FixedFolderChosen() override;
  std::string FixedFolder() override;
  ExistPolicy Policy() override;
  std::string RenamePattern() override;
  int AfterIndex() override;
  int RowCount() override;
  std::string RowFullPath(int row) override;
  void DeleteRow(int row) override;
  void AppendLog(const std::string& line) override;
  void ProcessMessages() override;
  void SetProgress(int position) override;
  void SetButtonCaption(const std::string& caption) override;

  // The controls, named as in the window's design.
  QTabWidget* Tab = nullptr;
  QWidget* TabList = nullptr;
  QWidget* TabConfig = nullptr;
  QSplitter* Splitter1 = nullptr;
  QPlainTextEdit* Log = nullptr;
  QProgressBar* ProgressBar = nullptr;
  QFrame* Panel1 = nullptr;
  QPushButton* ButtonExec = nullptr;
  QLabel* LabelMask = nullptr;
  QLineEdit* EditMask = nullptr;
  QTableWidget* ListFile = nullptr;
  QFrame* Panel2 = nullptr;
  QGroupBox* GroupFolder = nullptr;
  QRadioButton* RadioSame = nullptr;
  QRadioButton* RadioFolder = nullptr;
  QLineEdit* EditFolder = nullptr;
  QPushButton* ButtonFolder = nullptr;
  QGroupBox* GroupExist = nullptr;
  QRadioButton* RadioOver = nullptr;
  QRadioButton* RadioSkip = nullptr;
  QRadioButton* RadioRename = nullptr;
  QLineEdit* EditRename = nullptr;
  QLabel* LabelRename1 = nullptr;
  QLabel* LabelRename2 = nullptr;
  QLabel* LabelRename3 = nullptr;
  QLabel* LabelRename4 = nullptr;
  TRadioGroup* GroupAfter = nullptr;
  QMenu* PopupList = nullptr;
  QAction* File = nullptr;
  QAction* N1 = nullptr;
  QAction* Remove = nullptr;
  QAction* Clear = nullptr;
  QFileDialog* OpenDialog = nullptr;
  // The open dialog's starting folder ("SrcFolder").
  std::string InitialDir;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWindow();
  QWidget* BuildListPage();
  QWidget* BuildConfigPage();
  void BuildPopup();
  void ReadSettings();
  bool WriteSettings();

  std::string settingsPath_;
  std::unique_ptr<ArchiverN::TArchiver> FArchiver;
  std::unique_ptr<TBatchRun> FBatch;
  // A close asked for during a run; honoured once the run has settled.
  bool FCloseAfterRun = false;
};

}  // namespace quillaby
