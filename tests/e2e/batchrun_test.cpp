// The batch run through the real modules, with a scripted host standing in
// for the window.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "E2eSupport.h"
#include "app/core/AppPaths.h"
#include "app/core/BatchRun.h"
#include "archiver/Archiver.h"

namespace {

using namespace e2e;
using quillaby::ExistPolicy;
using Lines = std::vector<std::string>;

std::string L(const std::string& prefix, const std::string& name = "") { return "　" + prefix + name; }
std::string Header(const std::string& archive) { return "-----" + archive + "-----"; }
const std::string kNoMatch = L("対象となるファイルはありませんでした。");
const std::string kNotArchive = L("アーカイブではないようです。");
const std::string kDeleted = L("アーカイブファイルを削除しました。");
const std::string kAborted = "一括処理を中止しました。";

class BatchRun : public ::testing::Test {
 protected:
  void TearDown() override { ::unlink(quillaby::SwapPath().c_str()); }

  // Runs the masks text as the start button does.
  void Run(const std::string& masks) {
    ArchiverN::TArchiver archiver(nullptr, 0);
    quillaby::TBatchRun run(host, archiver);
    run_ = &run;
    run.ButtonExecClick(masks);
    summary = run.LastRun();
    EXPECT_FALSE(run.FRunning);
    EXPECT_FALSE(run.FAbort);
    run_ = nullptr;
  }
  // A second click on the start button, as the window would pass it on.
  void Click() { run_->ButtonExecClick(std::string()); }

  TWorkspace ws;
  TScriptedHost host;
  quillaby::TRunSummary summary;

 private:
  quillaby::TBatchRun* run_ = nullptr;
};

TEST_F(BatchRun, ExtractsEveryFormatNextToTheArchive) {
  for (const char* name : {"set.lzh", "set.zip", "set.7z", "set.tgz", "set.cab"}) {
    SCOPED_TRACE(name);
    TWorkspace here;
    TScriptedHost h;
    const std::string archive = here.Fixture(name);
    h.Rows = {archive};
    ArchiverN::TArchiver archiver(nullptr, 0);
    quillaby::TBatchRun run(h, archiver);
    run.ButtonExecClick("*.*");

    const bool folders = std::string(name) != "set.cab";
    Lines expected = {Header(archive), L("出力先: ", here / "in")};
    for (const auto& [file, text] : SetFiles()) {
      if (!folders && file.find('/') != std::string::npos) continue;
      expected.push_back(L("解凍: ", file));
      EXPECT_EQ(ReadFile(here / ("in/" + file)), text) << file;
    }
    EXPECT_EQ(h.Lines, expected);
    EXPECT_TRUE(h.Rows.empty());
    EXPECT_TRUE(fs::exists(archive));
    EXPECT_EQ(h.Captions, (Lines{"処理中止", "一括解凍"}));
    ASSERT_FALSE(h.Positions.empty());
    EXPECT_EQ(h.Positions.back(), 0);
  }
}

TEST_F(BatchRun, AppliesEachPolicyToExistingFiles) {
  struct Case {
    ExistPolicy policy;
    Lines lines;
    std::vector<std::pair<std::string, std::string>> files;  // what the folder holds afterwards
  } cases[] = {
      {ExistPolicy::Overwrite,
       {L("上書き: ", "a.txt"), L("上書き: ", "b.txt"), L("解凍: ", "c.txt")},
       {{"a.txt", "alpha\n"}, {"b.txt", "bravo bravo\n"}, {"c.txt", "charlie charlie charlie\n"}}},
      {ExistPolicy::Skip,
       {L("スキップ: ", "a.txt"), L("同一: ", "b.txt"), L("解凍: ", "c.txt")},
       {{"a.txt", "old"}, {"b.txt", "same size!!\n"}, {"c.txt", "charlie charlie charlie\n"}}},
      {ExistPolicy::Rename,
       {L("リネーム: ", "a.txt⇒set.txt"), L("同一: ", "b.txt"), L("解凍: ", "c.txt")},
       {{"a.txt", "old"}, {"set.txt", "alpha\n"}, {"b.txt", "same size!!\n"}, {"c.txt", "charlie charlie charlie\n"}}},
  };
  for (const Case& c : cases) {
    TWorkspace here;
    TScriptedHost h;
    h.Rows = {here.Fixture("set.zip")};
    h.Fixed = true;
    h.Folder = here / "out";
    h.Exist = c.policy;
    WriteFile(here / "out/a.txt", "old");
    WriteFile(here / "out/b.txt", "same size!!\n");  // as long as the entry
    ArchiverN::TArchiver archiver(nullptr, 0);
    quillaby::TBatchRun run(h, archiver);
    run.ButtonExecClick("a.txt,b.txt,c.txt");

    Lines expected = {Header(here / "in/set.zip"), L("出力先: ", h.Folder)};
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    EXPECT_EQ(h.Lines, expected);
    for (const auto& [file, text] : c.files) EXPECT_EQ(ReadFile(here / ("out/" + file)), text) << file;
    EXPECT_EQ(std::distance(fs::directory_iterator(here / "out"), {}), static_cast<long>(c.files.size()));
    EXPECT_TRUE(h.Rows.empty());
    EXPECT_FALSE(fs::exists(quillaby::SwapPath()));
  }
}

TEST_F(BatchRun, RenamePatternCountsPastTakenNames) {
  host.Rows = {ws.Fixture("set.lzh")};
  host.Fixed = true;
  host.Folder = ws / "out";
  host.Exist = ExistPolicy::Rename;
  host.Pattern = " %f_%n ";
  WriteFile(ws / "out/sub/d.txt", "old");
  WriteFile(ws / "out/sub/d_0.txt", "taken");
  Run("sub/d.txt");
  EXPECT_EQ(host.Lines,
            (Lines{Header(ws / "in/set.lzh"), L("出力先: ", host.Folder), L("リネーム: ", "sub/d.txt⇒d_1.txt")}));
  EXPECT_EQ(ReadFile(ws / "out/sub/d.txt"), "old");
  EXPECT_EQ(ReadFile(ws / "out/sub/d_0.txt"), "taken");
  EXPECT_EQ(ReadFile(ws / "out/sub/d_1.txt"), "delta in a folder\n");
}

TEST_F(BatchRun, MasksAreSplitAndEachIsWalkedWhole) {
  struct Case {
    std::string masks;
    Lines entries;
  } cases[] = {
      // Every match of one mask, not only the first.
      {"*.txt", {"a.txt", "b.txt", "c.txt", "sub/d.txt"}},
      {"*.txt,,*.doc,", {"a.txt", "b.txt", "c.txt", "sub/d.txt", "notes.doc"}},
      // The blank belongs to the second mask, which then matches nothing.
      {"notes.doc, a.txt", {"notes.doc"}},
      // A text longer than any fixed buffer is split whole.
      {std::string(300, ',') + "c.txt", {"c.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.masks.substr(0, 40));
    TWorkspace here;
    TScriptedHost h;
    h.Rows = {here.Fixture("set.7z")};
    ArchiverN::TArchiver archiver(nullptr, 0);
    quillaby::TBatchRun run(h, archiver);
    run.ButtonExecClick(c.masks);
    Lines expected = {Header(here / "in/set.7z"), L("出力先: ", here / "in")};
    for (const std::string& e : c.entries) expected.push_back(L("解凍: ", e));
    EXPECT_EQ(h.Lines, expected);
    for (const std::string& e : c.entries) EXPECT_TRUE(fs::exists(here / ("in/" + e))) << e;
  }
}

TEST_F(BatchRun, AnEntryMatchingTwoMasksIsTakenTwice) {
  host.Rows = {ws.Fixture("set.tgz")};
  Run("a.txt,a.txt");
  host.Exist = ExistPolicy::Overwrite;
  host.Rows = {ws / "in/set.tgz"};
  Run("a.txt,a.txt");
  EXPECT_EQ(host.Lines, (Lines{Header(ws / "in/set.tgz"), L("出力先: ", ws / "in"), L("解凍: ", "a.txt"),
                               L("同一: ", "a.txt"), Header(ws / "in/set.tgz"), L("出力先: ", ws / "in"),
                               L("上書き: ", "a.txt"), L("上書き: ", "a.txt")}));
}

TEST_F(BatchRun, EmptyMaskTextMatchesNothingAndKeepsTheRow) {
  host.Rows = {ws.Fixture("set.zip")};
  host.Fixed = true;
  host.Folder = "/";
  Run(",,");
  EXPECT_EQ(host.Lines, (Lines{Header(ws / "in/set.zip"), L("出力先: ", "/"), kNoMatch}));
  EXPECT_EQ(host.Rows, (Lines{ws / "in/set.zip"}));
  EXPECT_EQ(summary.Kept, 1);
}

TEST_F(BatchRun, MissingFilesAndNonArchivesAreLoggedAndRemoved) {
  const std::string fake = ws.Fixture("fake.zip");
  host.Rows = {ws / "in/missing.lzh", fake, ws.Fixture("set.cab")};
  host.After = 1;
  Run("a.txt");
  EXPECT_EQ(host.Lines, (Lines{Header(ws / "in/missing.lzh"), kNotArchive, Header(fake), kNotArchive,
                               Header(ws / "in/set.cab"), L("出力先: ", ws / "in"), L("解凍: ", "a.txt"), kDeleted}));
  EXPECT_TRUE(host.Rows.empty());
  EXPECT_TRUE(fs::exists(fake));  // only extracted archives are deleted
  EXPECT_FALSE(fs::exists(ws / "in/set.cab"));
  EXPECT_EQ(summary.NotArchives, 2);
  EXPECT_EQ(summary.Complete, 1);
}

TEST_F(BatchRun, DeleteTakesOnlyCompleteArchives) {
  const std::string corrupt = ws.Fixture("corrupt.zip", "bad");
  const std::string good = ws.Fixture("set.zip", "good");
  const std::string same = ws.Fixture("set.lzh", "good");
  host.Rows = {corrupt, good, same};
  host.After = 1;
  Run("*.txt");
  // corrupt.zip: b.txt fails its check, which ends the archive; c.txt is not
  // tried. set.lzh then finds every file in place: complete as well.
  EXPECT_EQ(host.Lines,
            (Lines{Header(corrupt), L("出力先: ", ws / "bad"), L("解凍: ", "a.txt"), L("解凍: ", "b.txt"),
                   L("エラー: ", "b.txt"), Header(good), L("出力先: ", ws / "good"), L("解凍: ", "a.txt"),
                   L("解凍: ", "b.txt"), L("解凍: ", "c.txt"), L("解凍: ", "sub/d.txt"), kDeleted, Header(same),
                   L("出力先: ", ws / "good"), L("同一: ", "a.txt"), L("同一: ", "b.txt"), L("同一: ", "c.txt"),
                   L("同一: ", "sub/d.txt"), kDeleted}));
  EXPECT_EQ(host.Rows, (Lines{corrupt}));
  EXPECT_TRUE(fs::exists(corrupt));
  EXPECT_FALSE(fs::exists(good));
  EXPECT_FALSE(fs::exists(same));
  EXPECT_FALSE(fs::exists(ws / "bad/c.txt"));
  EXPECT_EQ(summary.Complete, 2);
  EXPECT_EQ(summary.Kept, 1);
}

TEST_F(BatchRun, AnArchiveWhoseListingStopsAtDamageIsNeverComplete) {
  // a.txt, then a cut header: a second run finds a.txt in place, and the
  // damage behind it must still keep the archive from being deleted.
  fs::create_directories(ws / "in");
  const std::string archive = ws / "in/damaged.tar.gz";
  fs::copy_file(std::string(QUILLABY_FIXTURES) + "/unseen/damaged-cut.tar.gz", archive);
  host.After = 1;
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    host.Lines.clear();
    host.Rows = {archive};
    Run("*.*");
    const Lines first = {L("解凍: ", "a.txt"), L("エラー: ", "a.txt")};
    const Lines second = {L("同一: ", "a.txt"), L("エラー: ", "*.*")};
    Lines expected = {Header(archive), L("出力先: ", ws / "in")};
    for (const std::string& line : pass == 0 ? first : second) expected.push_back(line);
    EXPECT_EQ(host.Lines, expected);
    EXPECT_EQ(host.Rows, Lines{archive});
    EXPECT_TRUE(fs::exists(archive));
    EXPECT_EQ(ReadFile(ws / "in/a.txt"), "one\n");
  }
}

TEST_F(BatchRun, AbortBetweenEntriesKeepsTheArchiveAndItsRow) {
  const std::string first = ws.Fixture("set.zip");
  const std::string second = ws.Fixture("set.lzh");
  host.Rows = {first, second};
  host.After = 1;
  host.OnLine = [&](const std::string& line) {
    if (line == L("解凍: ", "b.txt")) Click();  // arrives while b.txt is extracted
  };
  Run("*.*");
  EXPECT_EQ(host.Lines, (Lines{Header(first), L("出力先: ", ws / "in"), L("解凍: ", "a.txt"),
                               L("解凍: ", "b.txt"), kAborted}));
  EXPECT_EQ(ReadFile(ws / "in/b.txt"), "bravo bravo\n");  // the entry in work is finished
  EXPECT_FALSE(fs::exists(ws / "in/c.txt"));
  EXPECT_EQ(host.Rows, (Lines{first, second}));
  EXPECT_TRUE(fs::exists(first));
  EXPECT_TRUE(summary.Aborted);
  EXPECT_EQ(host.Captions.back(), "一括解凍");
  EXPECT_EQ(host.Positions.back(), 0);
}

// The window's own route: its progress callback processes messages, and the
// click is among them, nested inside the module's extraction.
TEST_F(BatchRun, AClickProcessedDuringAnExtractionStopsAfterIt) {
  const std::string archive = ws.Fixture("set.lzh");
  host.Rows = {archive};
  host.After = 1;
  ArchiverN::TArchiver archiver(nullptr, 0);
  archiver.OnArchiverProc.Context = &host;
  archiver.OnArchiverProc.Func = [](void* context, ArchiverN::TArchiver*, std::uint32_t, const ARC_PROGRESS*) {
    static_cast<TScriptedHost*>(context)->ProcessMessages();
    return true;
  };
  quillaby::TBatchRun run(host, archiver);
  bool clickedInside = false;
  host.OnMessages = [&](int round) {
    if (round == 2) {  // the first notification after the archive's start
      clickedInside = run.FRunning;
      run.ButtonExecClick(std::string());
    }
  };
  run.ButtonExecClick("*.*");
  EXPECT_TRUE(clickedInside);
  EXPECT_EQ(host.Lines, (Lines{Header(archive), L("出力先: ", ws / "in"), L("解凍: ", "a.txt"), kAborted}));
  EXPECT_EQ(ReadFile(ws / "in/a.txt"), "alpha\n");
  EXPECT_FALSE(fs::exists(ws / "in/b.txt"));
  EXPECT_EQ(host.Rows, (Lines{archive}));
  EXPECT_TRUE(fs::exists(archive));
}

TEST_F(BatchRun, AbortDuringTheLastEntrySettlesTheArchiveAsComplete) {
  const std::string archive = ws.Fixture("set.zip");
  host.Rows = {archive};
  host.After = 1;
  host.OnLine = [&](const std::string& line) {
    if (line == L("解凍: ", "c.txt")) Click();
  };
  Run("c.txt");
  EXPECT_EQ(host.Lines,
            (Lines{Header(archive), L("出力先: ", ws / "in"), L("解凍: ", "c.txt"), kDeleted, kAborted}));
  EXPECT_TRUE(host.Rows.empty());
  EXPECT_FALSE(fs::exists(archive));
}

TEST_F(BatchRun, AbortAtTheStartOfAnArchiveProcessesNoMask) {
  const std::string first = ws.Fixture("set.zip");
  const std::string second = ws.Fixture("set.7z");
  host.Rows = {first, second};
  host.OnMessages = [&](int round) {
    if (round == 2) Click();
  };
  Run("a.txt");
  EXPECT_EQ(host.Lines, (Lines{Header(first), L("出力先: ", ws / "in"), L("解凍: ", "a.txt"), Header(second),
                               L("出力先: ", ws / "in"), kNoMatch, kAborted}));
  EXPECT_EQ(host.Rows, (Lines{second}));
}

TEST_F(BatchRun, RowsAddedDuringTheRunAreProcessedByIt) {
  const std::string first = ws.Fixture("set.zip");
  const std::string added = ws.Fixture("set.lzh", "more");
  host.Rows = {first};
  bool dropped = false;
  host.OnLine = [&](const std::string& line) {
    if (line == L("解凍: ", "a.txt") && !dropped) {
      host.Rows.push_back(added);
      dropped = true;
    }
  };
  Run("a.txt");
  EXPECT_EQ(host.Lines, (Lines{Header(first), L("出力先: ", ws / "in"), L("解凍: ", "a.txt"), Header(added),
                               L("出力先: ", ws / "more"), L("解凍: ", "a.txt")}));
  EXPECT_TRUE(host.Rows.empty());
}

TEST_F(BatchRun, ARowRemovedDuringItsArchiveTakesNoOtherRowWithIt) {
  const std::string first = ws.Fixture("set.zip");
  const std::string second = ws.Fixture("set.lzh", "more");
  host.Rows = {first, second};
  host.OnLine = [&](const std::string& line) {
    if (line == L("解凍: ", "a.txt") && host.Rows.front() == first) host.Rows.erase(host.Rows.begin());
  };
  Run("a.txt,b.txt");
  EXPECT_EQ(host.Lines, (Lines{Header(first), L("出力先: ", ws / "in"), L("解凍: ", "a.txt"), L("解凍: ", "b.txt"),
                               Header(second), L("出力先: ", ws / "more"), L("解凍: ", "a.txt"),
                               L("解凍: ", "b.txt")}));
  EXPECT_TRUE(host.Rows.empty());
}

// The rename sequence never loses the file that was there.
TEST_F(BatchRun, ASwapFileLeftFromACrashIsNeverOverwritten) {
  WriteFile(quillaby::SwapPath(), "someone's only copy");
  host.Rows = {ws.Fixture("set.zip")};
  host.Exist = ExistPolicy::Rename;
  WriteFile(ws / "in/a.txt", "old");
  Run("a.txt");
  EXPECT_EQ(host.Lines, (Lines{Header(ws / "in/set.zip"), L("出力先: ", ws / "in"), L("リネーム: ", "a.txt⇒set.txt"),
                               L("エラー: ", "set.txt")}));
  EXPECT_EQ(ReadFile(quillaby::SwapPath()), "someone's only copy");
  EXPECT_EQ(ReadFile(ws / "in/a.txt"), "old");
  EXPECT_FALSE(fs::exists(ws / "in/set.txt"));
  EXPECT_EQ(host.Rows.size(), 1u);
}

// Sets or clears the immutable flag; false when the file system refuses.
bool SetImmutable(const std::string& path, bool on) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
  ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  ::close(fd);
  return ok;
}

TEST_F(BatchRun, AFileInAFolderThatRefusesChangesIsLeftAlone) {
  host.Rows = {ws.Fixture("set.zip")};
  host.Fixed = true;
  host.Folder = ws / "out";
  host.Exist = ExistPolicy::Rename;
  WriteFile(ws / "out/a.txt", "old");
  // Read-only for root as well: nothing can be renamed out of it.
  if (!SetImmutable(ws / "out", true)) GTEST_SKIP() << "no immutable folders here";
  Run("a.txt,b.txt");
  SetImmutable(ws / "out", false);
  EXPECT_EQ(host.Lines, (Lines{Header(ws / "in/set.zip"), L("出力先: ", host.Folder), L("リネーム: ", "a.txt⇒set.txt"),
                               L("エラー: ", "set.txt")}));
  EXPECT_EQ(ReadFile(ws / "out/a.txt"), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(ws / "out"), {}), 1);
  EXPECT_FALSE(fs::exists(quillaby::SwapPath()));
  EXPECT_EQ(host.Rows.size(), 1u);
}

TEST_F(BatchRun, ASwapPathTakenByAFolderIsNeverUsed) {
  fs::create_directory(quillaby::SwapPath());
  host.Rows = {ws.Fixture("set.zip")};
  host.Exist = ExistPolicy::Rename;
  WriteFile(ws / "in/a.txt", "old");
  Run("a.txt");
  fs::remove(quillaby::SwapPath());
  EXPECT_EQ(host.Lines, (Lines{Header(ws / "in/set.zip"), L("出力先: ", ws / "in"), L("リネーム: ", "a.txt⇒set.txt"),
                               L("エラー: ", "set.txt")}));
  EXPECT_EQ(ReadFile(ws / "in/a.txt"), "old");
  EXPECT_FALSE(fs::exists(ws / "in/set.txt"));
}

TEST_F(BatchRun, AFailedExtractionAfterTheMoveBringsTheOriginalBack) {
  host.Rows = {ws.Fixture("corrupt.zip")};
  host.Exist = ExistPolicy::Rename;
  WriteFile(ws / "in/b.txt", "the original text");
  Run("b.txt");
  EXPECT_EQ(host.Lines, (Lines{Header(ws / "in/corrupt.zip"), L("出力先: ", ws / "in"),
                               L("リネーム: ", "b.txt⇒corrupt.txt"), L("エラー: ", "corrupt.txt")}));
  EXPECT_EQ(ReadFile(ws / "in/b.txt"), "the original text");
  EXPECT_FALSE(fs::exists(ws / "in/corrupt.txt"));
  EXPECT_FALSE(fs::exists(quillaby::SwapPath()));
}

TEST_F(BatchRun, ANewNameThatCannotBeTakenBringsTheOriginalBack) {
  host.Rows = {ws.Fixture("set.zip")};
  host.Exist = ExistPolicy::Rename;
  WriteFile(ws / "in/a.txt", "old");
  // Something takes the new name after it was chosen.
  host.OnLine = [&](const std::string& line) {
    if (line == L("リネーム: ", "a.txt⇒set.txt")) fs::create_directory(ws / "in/set.txt");
  };
  Run("a.txt");
  EXPECT_EQ(host.Lines, (Lines{Header(ws / "in/set.zip"), L("出力先: ", ws / "in"), L("リネーム: ", "a.txt⇒set.txt"),
                               L("エラー: ", "set.txt")}));
  EXPECT_EQ(ReadFile(ws / "in/a.txt"), "old");
  EXPECT_TRUE(fs::is_directory(ws / "in/set.txt"));
  EXPECT_TRUE(fs::is_empty(ws / "in/set.txt"));
  EXPECT_FALSE(fs::exists(quillaby::SwapPath()));
}

TEST_F(BatchRun, UnsafeNamesAreRefusedBeforeAnythingIsTouched) {
  // The entry ../evil.txt would land on this file.
  WriteFile(ws / "out/evil.txt", "not to be moved");
  host.Rows = {ws.Fixture("unsafe.tar")};
  host.Fixed = true;
  host.Folder = ws / "out/in";
  host.Exist = ExistPolicy::Rename;
  Run("ok.txt,../evil.txt,/tmp/quillaby-batch-abs.txt");
  EXPECT_EQ(host.Lines, (Lines{Header(ws / "in/unsafe.tar"), L("出力先: ", host.Folder), L("解凍: ", "ok.txt"),
                               L("エラー: ", "../evil.txt")}));
  EXPECT_EQ(ReadFile(ws / "out/evil.txt"), "not to be moved");
  EXPECT_EQ(std::distance(fs::directory_iterator(ws / "out"), {}), 2);  // evil.txt and in/
  EXPECT_EQ(host.Rows.size(), 1u);

  host.Lines.clear();
  Run("/tmp/quillaby-batch-abs.txt");
  EXPECT_EQ(host.Lines, (Lines{Header(ws / "in/unsafe.tar"), L("出力先: ", host.Folder),
                               L("エラー: ", "/tmp/quillaby-batch-abs.txt")}));
  EXPECT_FALSE(fs::exists("/tmp/quillaby-batch-abs.txt"));
  EXPECT_FALSE(fs::exists(ws / "out/in/tmp"));
  EXPECT_EQ(host.Rows.size(), 1u);
}

TEST_F(BatchRun, NothingIsWrittenThroughALinkOrOutsideTheFolder) {
  // out/sub leads out of the output folder.
  WriteFile(ws / "outside/d.txt", "outside");
  fs::create_directories(ws / "out");
  fs::create_directory_symlink(ws / "outside", ws / "out/sub");
  WriteFile(ws / "out/a.txt", "old");
  host.Rows = {ws.Fixture("set.zip")};
  host.Fixed = true;
  host.Folder = ws / "out";
  host.Exist = ExistPolicy::Rename;
  Run("sub/d.txt");
  host.Pattern = "../%a";  // a pattern that would leave the folder
  host.Rows = {ws / "in/set.zip"};
  Run("a.txt");
  EXPECT_EQ(host.Lines,
            (Lines{Header(ws / "in/set.zip"), L("出力先: ", host.Folder), L("エラー: ", "sub/d.txt"),
                   Header(ws / "in/set.zip"), L("出力先: ", host.Folder), L("リネーム: ", "a.txt⇒../set.txt"),
                   L("エラー: ", "../set.txt")}));
  EXPECT_EQ(ReadFile(ws / "outside/d.txt"), "outside");
  EXPECT_EQ(std::distance(fs::directory_iterator(ws / "outside"), {}), 1);
  EXPECT_EQ(ReadFile(ws / "out/a.txt"), "old");
  EXPECT_FALSE(fs::exists(ws / "set.txt"));
  EXPECT_FALSE(fs::exists(quillaby::SwapPath()));
}

}  // namespace
