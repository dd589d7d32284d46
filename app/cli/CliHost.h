#pragma once
// The batch run's host on a terminal: the rows are the command's archives,
// log lines go to standard output, and a progress line to standard error
// when it is a terminal.
#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

#include "app/cli/CliOptions.h"
#include "app/core/BatchHost.h"

namespace quillaby {
class TBatchRun;
}

namespace quillaby::cli {

// Interrupts counted by the signal handler.
extern volatile std::sig_atomic_t gInterrupts;

class TCliHost : public IBatchHost {
 public:
  TCliHost(const TCliOptions& options, bool progressOnStderr);
  ~TCliHost() override;

  void SetRun(TBatchRun* run) { run_ = run; }

  bool FixedFolderChosen() override { return options_.FixedFolder; }
  std::string FixedFolder() override { return options_.Folder; }
  ExistPolicy Policy() override { return options_.Policy; }
  std::string RenamePattern() override { return options_.RenamePattern; }
  int AfterIndex() override { return options_.DeleteArchives ? 1 : 0; }
  int RowCount() override { return static_cast<int>(rows_.size()); }
  std::string RowFullPath(int row) override;
  void DeleteRow(int row) override;
  void AppendLog(const std::string& line) override;
  // Nothing to process here but an interrupt, which asks the run to stop
  // the way a second click on the start button does.
  void ProcessMessages() override;
  void SetProgress(int position) override;
  void SetButtonCaption(const std::string&) override {}

  // Removes the progress line, if one is shown.
  void EraseProgress();

 private:
  void DrawProgress();

  TCliOptions options_;
  bool progress_;
  bool shown_ = false;
  std::vector<std::string> rows_;
  TBatchRun* run_ = nullptr;
  std::sig_atomic_t handled_ = 0;
  int started_ = 0;
  std::string current_;
  int position_ = -1;
};

}  // namespace quillaby::cli
