#pragma once
// The batch run: every listed archive, every entry matching a mask, one log
// line per decision. Shared by the window and quillaby-batch.
#include <cstdint>
#include <string>
#include <vector>

#include "app/core/BatchHost.h"

namespace ArchiverN {
class TArchiver;
}

namespace quillaby {

// How the archives of the last run ended.
struct TRunSummary {
  int Archives = 0;     // rows taken up
  int Complete = 0;     // extracted completely: row removed
  int Kept = 0;         // no match, an error, or cut short by an abort: row kept
  int NotArchives = 0;  // not recognised: row removed
  bool Aborted = false;
};

class TBatchRun {
 public:
  TBatchRun(IBatchHost& host, ArchiverN::TArchiver& archiver);

  bool FRunning = false;
  bool FAbort = false;
  bool FArchiveFailed = false;

  // Starts a run with the masks of maskText, or asks the running one to stop.
  void ButtonExecClick(const std::string& maskText);
  void RunBatch(const std::vector<std::string>& masks);
  // Pieces between commas, as typed; empty pieces are dropped.
  static std::vector<std::string> SplitMasks(const std::string& text);

  const TRunSummary& LastRun() const { return summary_; }

 private:
  struct TEntry {
    std::string Name;
    std::uint32_t Size;
  };

  // Settles row i: it is removed, or i moves on.
  void RunArchive(int& i, const std::vector<std::string>& masks);
  // failed: the module ended the listing with an error (a damaged archive).
  std::vector<TEntry> ListEntries(const std::string& mask, bool& failed);
  void ProcessEntry(const TEntry& entry);
  void Fail(const std::string& shownName);
  void PutBack(const TEntry& entry, const std::string& dest);
  void Log(const std::string& line);
  void LogName(const char* prefix, const std::string& name);

  IBatchHost& host_;
  ArchiverN::TArchiver& archiver_;
  std::string swapPath_;
  int found_ = 0;
  int errors_ = 0;
  TRunSummary summary_;
};

}  // namespace quillaby

using quillaby::TBatchRun;
