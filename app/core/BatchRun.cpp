#include "app/core/BatchRun.h"

#include <cstring>

#include "app/core/AppPaths.h"
#include "app/core/EntryName.h"
#include "app/core/RenamePattern.h"
#include "archiver/Archiver.h"
#include "platform/codepage.h"
#include "platform/fileops.h"
#include "platform/paths.h"
#include "util/FindFile.h"

namespace quillaby {
namespace {

namespace path = platform::path;

const char kIdleCaption[] = "一括解凍";
const char kBusyCaption[] = "処理中止";
const char kIndent[] = "　";  // U+3000

std::string Shown(const std::string& s) { return platform::ToUtf8(s, platform::GetCodePage()); }

}  // namespace

TBatchRun::TBatchRun(IBatchHost& host, ArchiverN::TArchiver& archiver) : host_(host), archiver_(archiver) {}

void TBatchRun::ButtonExecClick(const std::string& maskText) {
  if (FRunning) {
    FAbort = true;
    return;
  }
  FRunning = true;
  host_.SetButtonCaption(kBusyCaption);
  RunBatch(SplitMasks(maskText));
  FRunning = false;
  host_.SetButtonCaption(kIdleCaption);
}

void TBatchRun::Log(const std::string& line) { host_.AppendLog(line); }

void TBatchRun::LogName(const char* prefix, const std::string& name) {
  Log(std::string(kIndent) + prefix + Shown(name));
}

void TBatchRun::RunBatch(const std::vector<std::string>& masks) {
  summary_ = TRunSummary{};
  swapPath_ = SwapPath();
  int i = 0;
  while (i < host_.RowCount()) {
    found_ = 0;
    errors_ = 0;
    host_.ProcessMessages();
    // The messages may have edited the list.
    if (i < host_.RowCount()) RunArchive(i, masks);
    if (FAbort) {
      Log("一括処理を中止しました。");
      summary_.Aborted = true;
      FRunning = false;
      host_.SetButtonCaption(kIdleCaption);
      FAbort = false;
      break;
    }
  }
  host_.SetProgress(0);
}

void TBatchRun::RunArchive(int& i, const std::vector<std::string>& masks) {
  // Messages processed during the archive may have removed its row; then the
  // row at i is the next one, which must be neither deleted nor skipped.
  const std::string row = host_.RowFullPath(i);
  auto stillHere = [&] { return i < host_.RowCount() && host_.RowFullPath(i) == row; };
  auto deleteRow = [&] {
    if (stillHere()) host_.DeleteRow(i);
  };
  auto keepRow = [&] {
    if (stillHere()) ++i;
  };
  ++summary_.Archives;
  archiver_.SetFileName(row);
  const std::string archive = archiver_.ArchiveName;
  Log("-----" + Shown(archive) + "-----");
  if (archiver_.IsArchive(archive) == 0) {
    Log(std::string(kIndent) + "アーカイブではないようです。");
    ++summary_.NotArchives;
    deleteRow();
    return;
  }
  archiver_.SetOutputDir(host_.FixedFolderChosen() ? host_.FixedFolder() : path::FolderOf(archive));
  LogName("出力先: ", archiver_.OutputDir);

  // Every command closes the enumeration, so each mask's entries are listed
  // before the first of them is extracted.
  FArchiveFailed = false;
  bool ranToEnd = true;
  for (const std::string& mask : masks) {
    if (FAbort || FArchiveFailed) {
      ranToEnd = false;
      break;
    }
    bool listingFailed = false;
    const std::vector<TEntry> entries = ListEntries(mask, listingFailed);
    for (const TEntry& entry : entries) {
      if (FAbort || FArchiveFailed) {
        ranToEnd = false;
        break;
      }
      ProcessEntry(entry);
    }
    // Damage ended the listing early: the entries behind it were never seen,
    // so the archive is not complete even when every listed one was done.
    if (listingFailed && !FArchiveFailed) Fail(mask);
  }
  archiver_.CloseArchive();

  if (found_ == 0) {
    Log(std::string(kIndent) + "対象となるファイルはありませんでした。");
    ++summary_.Kept;
    keepRow();
  } else if (errors_ == 0 && ranToEnd) {
    if (host_.AfterIndex() == 1 && platform::DeleteFile(archive))
      Log(std::string(kIndent) + "アーカイブファイルを削除しました。");
    ++summary_.Complete;
    deleteRow();
  } else {
    // An error, or an abort before the last entry: the archive and its row stay.
    ++summary_.Kept;
    keepRow();
  }
}

std::vector<TBatchRun::TEntry> TBatchRun::ListEntries(const std::string& mask, bool& failed) {
  std::vector<TEntry> entries;
  archiver_.FindFirst(mask);
  while (archiver_.FindNext()) {
    const ARC_INDIVIDUALINFO* info = archiver_.CurrentEntry();
    if (!info) break;
    entries.push_back({std::string(info->szFileName, ::strnlen(info->szFileName, sizeof info->szFileName)),
                       info->dwOriginalSize});
  }
  failed = archiver_.FindFailed();
  return entries;
}

void TBatchRun::Fail(const std::string& shownName) {
  LogName("エラー: ", shownName);
  ++errors_;
  FArchiveFailed = true;
}

void TBatchRun::ProcessEntry(const TEntry& entry) {
  std::string shown = entry.Name;
  const std::string dest = path::Join(archiver_.OutputDir, entry.Name);
  ++found_;
  if (IsUnsafeEntryName(entry.Name) || PassesThroughLink(archiver_.OutputDir, entry.Name)) {
    Fail(shown);
    return;
  }

  bool movedAside = false;
  std::string newPath;
  if (platform::FileExists(dest)) {
    const ExistPolicy policy = host_.Policy();
    if (policy == ExistPolicy::Overwrite) {
      LogName("上書き: ", shown);
    } else if (FileSizeOnDisk(dest) == entry.Size) {
      LogName("同一: ", shown);
      return;
    } else if (policy == ExistPolicy::Skip) {
      LogName("スキップ: ", shown);
      return;
    } else {
      const std::string folder = path::FolderPart(dest);
      const std::string newName = MakeRenamedName(host_.RenamePattern(), archiver_.ArchiveName, entry.Name,
                                                  path::Extension(entry.Name), folder);
      Log(std::string(kIndent) + "リネーム: " + Shown(shown) + "⇒" + Shown(newName));
      shown = newName;
      newPath = folder + newName;
      // A swap file left from an earlier run may be someone's only copy.
      if (!IsPlainFileName(newName) || platform::PathExists(swapPath_) ||
          !platform::MoveFile(dest, swapPath_)) {
        Fail(shown);
        return;
      }
      movedAside = true;
    }
  } else {
    LogName("解凍: ", shown);
  }

  if (archiver_.ExtractFile(entry.Name) != 0) {
    Fail(shown);
    if (movedAside) {
      platform::DeleteFile(dest);  // whatever the failed extraction left
      PutBack(entry, dest);
    }
    return;
  }
  if (!movedAside) return;
  if (!platform::MoveFile(dest, newPath)) {
    // The new file cannot take its name; it is still in the archive.
    Fail(shown);
    platform::DeleteFile(dest);
    PutBack(entry, dest);
    return;
  }
  if (platform::MoveFile(swapPath_, dest)) return;
  Fail(shown);
  PutBack(entry, dest);
}

// Returns the file at the swap path to dest, or when dest is taken to a free
// name beside it, logged as a rename; it stays at the swap path only when
// neither works, and the next rename then refuses to overwrite it.
void TBatchRun::PutBack(const TEntry& entry, const std::string& dest) {
  if (platform::MoveFile(swapPath_, dest)) return;
  const std::string folder = path::FolderPart(dest);
  const std::string name = MakeRenamedName(host_.RenamePattern(), archiver_.ArchiveName, entry.Name,
                                           path::Extension(entry.Name), folder);
  if (IsPlainFileName(name) && platform::MoveFile(swapPath_, folder + name))
    Log(std::string(kIndent) + "リネーム: " + Shown(entry.Name) + "⇒" + Shown(name));
}

}  // namespace quillaby
