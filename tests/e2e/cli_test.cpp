// quillaby-batch as a user runs it: a separate process, its standard output,
// standard error and exit status.
#include <pty.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "E2eSupport.h"

namespace {

using namespace e2e;
using Lines = std::vector<std::string>;

std::string L(const std::string& prefix, const std::string& name = "") { return "　" + prefix + name; }
std::string Header(const std::string& archive) { return "-----" + archive + "-----"; }

class Cli : public ::testing::Test {
 protected:
  void TearDown() override { ::unlink((std::string(QUILLABY_BATCH_EXE) + ".tmp").c_str()); }
  TWorkspace ws;
};

TEST_F(Cli, UsageErrorsNameTheProblem) {
  struct Case {
    Lines args;
    std::string message;
  } cases[] = {
      {{}, "quillaby-batch: no archive given"},
      {{"-e", "sometimes", "a.zip"}, "quillaby-batch: unknown policy 'sometimes' (overwrite, skip or rename)"},
      {{"--frobnicate", "a.zip"}, "quillaby-batch: unknown option '--frobnicate'"},
      {{"-x", "a.zip"}, "quillaby-batch: unknown option '-x'"},
      {{"a.zip", "-o"}, "quillaby-batch: option '-o' needs a value"},
      {{"--folder", "", "a.zip"}, "quillaby-batch: the output folder is empty"},
  };
  for (const Case& c : cases) {
    const TCliResult r = RunCli(c.args, ws.Root());
    EXPECT_EQ(r.Status, 2) << c.message;
    EXPECT_EQ(r.Out, "");
    const Lines err = SplitLines(r.Err);
    ASSERT_GE(err.size(), 2u);
    EXPECT_EQ(err[0], c.message);
    EXPECT_EQ(err[1], "usage: quillaby-batch [OPTIONS] ARCHIVE...");
  }
  const TCliResult help = RunCli({"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_EQ(SplitLines(help.Out).at(0), "usage: quillaby-batch [OPTIONS] ARCHIVE...");
  const TCliResult version = RunCli({"--version"});
  EXPECT_EQ(version.Status, 0);
  EXPECT_EQ(version.Out.rfind("quillaby-batch ", 0), 0u);
}

TEST_F(Cli, ExtractsIntoTheFolderAndWritesOnlyTheLog) {
  const std::string lzh = ws.Fixture("set.lzh"), sevenZip = ws.Fixture("set.7z");
  const TCliResult r = RunCli({"-o", ws / "out", lzh, sevenZip}, ws.Root());
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Err, "");  // not a terminal: no progress line
  Lines expected = {Header(lzh), L("出力先: ", ws / "out")};
  for (const auto& [file, text] : SetFiles()) {
    expected.push_back(L("解凍: ", file));
    EXPECT_EQ(ReadFile(ws / ("out/" + file)), text) << file;
  }
  expected.push_back(Header(sevenZip));
  expected.push_back(L("出力先: ", ws / "out"));
  for (const auto& entry : SetFiles()) expected.push_back(L("同一: ", entry.first));
  EXPECT_EQ(SplitLines(r.Out), expected);
  EXPECT_EQ(r.Out.back(), '\n');
  EXPECT_TRUE(fs::exists(lzh));
}

TEST_F(Cli, RelativeArchivesAreExtractedNextToThemselves) {
  ws.Fixture("set.zip");
  const TCliResult r = RunCli({"-m", "a.txt,sub/*", "-d", "in/set.zip"}, ws.Root());
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(SplitLines(r.Out), (Lines{Header(ws / "in/set.zip"), L("出力先: ", ws / "in"), L("解凍: ", "a.txt"),
                                      L("解凍: ", "sub/d.txt"), L("アーカイブファイルを削除しました。")}));
  EXPECT_FALSE(fs::exists(ws / "in/set.zip"));
  EXPECT_EQ(ReadFile(ws / "in/sub/d.txt"), "delta in a folder\n");
}

TEST_F(Cli, PoliciesAndThePattern) {
  struct Case {
    Lines options;
    std::string line;
    std::string oldFile, newFile, newText;
  } cases[] = {
      {{"-e", "overwrite"}, L("上書き: ", "a.txt"), "a.txt", "a.txt", "alpha\n"},
      {{"--exist", "skip"}, L("スキップ: ", "a.txt"), "a.txt", "a.txt", "old"},
      {{"-e", "rename"}, L("リネーム: ", "a.txt⇒set.txt"), "a.txt", "set.txt", "alpha\n"},
      {{"-e", "rename", "--rename", "%f-%n"}, L("リネーム: ", "a.txt⇒a-0.txt"), "a.txt", "a-0.txt", "alpha\n"},
  };
  for (const Case& c : cases) {
    TWorkspace here;
    const std::string archive = here.Fixture("set.tgz");
    WriteFile(here / "in/a.txt", "old");
    Lines args = c.options;
    args.insert(args.end(), {"--mask", "a.txt", archive});
    const TCliResult r = RunCli(args, here.Root());
    EXPECT_EQ(r.Status, 0) << c.line;
    EXPECT_EQ(SplitLines(r.Out), (Lines{Header(archive), L("出力先: ", here / "in"), c.line}));
    EXPECT_EQ(ReadFile(here / ("in/" + c.newFile)), c.newText) << c.line;
    if (c.newFile != c.oldFile) {
      EXPECT_EQ(ReadFile(here / ("in/" + c.oldFile)), "old");
    }
  }
}

TEST_F(Cli, ExitStatusOneWhenAnyArchiveIsKept) {
  struct Case {
    Lines options, archives;
    int status;
  } cases[] = {
      {{}, {"set.cab"}, 0},
      {{"-m", "a.txt"}, {"set.cab", "corrupt.zip"}, 0},  // corrupt.zip's a.txt is sound
      {{}, {"corrupt.zip", "set.cab"}, 1},
      {{}, {"set.cab", "fake.zip"}, 1},
      {{"-m", "*.none"}, {"set.cab"}, 1},
      {{}, {"set.cab", "missing.zip"}, 1},
  };
  for (const Case& c : cases) {
    TWorkspace here;
    Lines args = c.options;
    for (const std::string& a : c.archives) args.push_back(a == "missing.zip" ? here / a : here.Fixture(a));
    const TCliResult r = RunCli(args, here.Root());
    EXPECT_EQ(r.Status, c.status) << ::testing::PrintToString(args);
    EXPECT_EQ(r.Err, "");
    for (const std::string& a : c.archives) {
      if (a != "missing.zip") {
        EXPECT_TRUE(fs::exists(here / ("in/" + a))) << a;
      }
    }
  }
}

TEST_F(Cli, AnInterruptFinishesTheEntryAndStops) {
  const std::string big = ws.Fixture("big.zip");
  const TCliResult r = RunCli({"-d", big, ws.Fixture("set.zip")}, ws.Root(), L("解凍: ", "big1.bin"));
  EXPECT_EQ(r.Status, 1);
  // The interrupt lands while big1.bin is written, or on a slow machine while
  // big2.bin is; either entry is finished, and nothing after it is begun.
  Lines out = SplitLines(r.Out);
  if (out.size() == 5 && out[3] == L("解凍: ", "big2.bin")) out.erase(out.begin() + 3);
  EXPECT_EQ(out, (Lines{Header(big), L("出力先: ", ws / "in"), L("解凍: ", "big1.bin"), "一括処理を中止しました。"}));
  EXPECT_EQ(fs::file_size(ws / "in/big1.bin"), 32u << 20);
  EXPECT_FALSE(fs::exists(ws / "in/small.txt"));
  EXPECT_TRUE(fs::exists(big));  // cut short: never deleted
  EXPECT_FALSE(fs::exists(ws / "in/a.txt"));
}

TEST_F(Cli, ASecondInterruptEndsTheProgramAtOnce) {
  const std::string big = ws.Fixture("big.zip");
  const TCliResult r = RunCli({big}, ws.Root(), L("解凍: ", "big1.bin"), 2);
  EXPECT_EQ(r.Status, 1);
  const Lines out = SplitLines(r.Out);
  ASSERT_GE(out.size(), 3u);
  EXPECT_EQ(Lines(out.begin(), out.begin() + 3), (Lines{Header(big), L("出力先: ", ws / "in"), L("解凍: ", "big1.bin")}));
  EXPECT_EQ(std::find(out.begin(), out.end(), "一括処理を中止しました。"), out.end());  // no orderly stop
  EXPECT_FALSE(fs::exists(ws / "in/small.txt"));
  EXPECT_TRUE(fs::exists(big));
}

TEST_F(Cli, UnsafeArchivesWriteNothingOutsideTheFolder) {
  WriteFile(ws / "out/evil.txt", "mine");
  const std::string archive = ws.Fixture("unsafe.tar");
  const TCliResult r = RunCli({"-o", ws / "out/in", "-e", "rename", "-d", archive}, ws.Root());
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(SplitLines(r.Out), (Lines{Header(archive), L("出力先: ", ws / "out/in"), L("解凍: ", "ok.txt"),
                                      L("エラー: ", "../evil.txt")}));
  EXPECT_EQ(ReadFile(ws / "out/evil.txt"), "mine");
  EXPECT_FALSE(fs::exists("/tmp/quillaby-batch-abs.txt"));
  EXPECT_TRUE(fs::exists(archive));
}

TEST_F(Cli, MaliciousAndBrokenArchivesAreKeptAndNothingLeavesTheFolder) {
  const std::string malicious = std::string(QUILLABY_FIXTURES) + "/malicious";
  fs::create_directories(ws / "out");
  for (const auto& e : fs::directory_iterator(malicious)) {
    const std::string name = e.path().filename();
    SCOPED_TRACE(name);
    fs::create_directories(ws / "in");
    fs::copy_file(e.path(), ws / ("in/" + name));
    const TCliResult r = RunCli({"-d", "-o", ws / ("out/" + name), ws / ("in/" + name)}, ws.Root());
    EXPECT_EQ(r.Status, 1) << r.Out;
    const Lines out = SplitLines(r.Out);
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out.back().rfind(L("エラー: "), 0), 0u) << out.back();
    EXPECT_TRUE(fs::exists(ws / ("in/" + name)));
  }
  EXPECT_EQ(ReadFile(ws / "out/dotdot.tar/ok.txt"), ReadFile(ws / "out/dotdot.zip/ok.txt"));
  EXPECT_TRUE(fs::is_regular_file(ws / "out/dotdot.tar/ok.txt"));
  EXPECT_FALSE(fs::exists(ws / "out/x.txt"));
  EXPECT_FALSE(fs::exists("/tmp/quillaby-evil-abs.txt"));
  EXPECT_FALSE(fs::exists("/tmp/quillaby-evil-link.txt"));
  Lines top;
  for (const auto& e : fs::directory_iterator(ws.Root())) top.push_back(e.path().filename());
  std::sort(top.begin(), top.end());
  EXPECT_EQ(top, (Lines{"in", "out"}));
  for (const auto& e : fs::directory_iterator(ws / "in")) EXPECT_TRUE(fs::exists(malicious + "/" + e.path().filename().string())) << e.path();
}

TEST_F(Cli, ShowsAProgressLineOnlyOnATerminal) {
  const std::string big = ws.Fixture("big.zip");
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  int master = -1;
  const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::dup2(out[1], 1);
    ::close(out[0]);
    // Only the program's own writes on the terminal.
    const char* lsan = ::getenv("LSAN_OPTIONS");
    ::setenv("LSAN_OPTIONS", (std::string(lsan ? lsan : "") + ":print_suppressions=0").c_str(), 1);
    static std::string exe = QUILLABY_BATCH_EXE;
    ::execl(exe.c_str(), exe.c_str(), "-m", "big1.bin,small.txt", big.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  std::string stdoutText, terminal;
  char buf[4096];
  for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) stdoutText.append(buf, static_cast<std::size_t>(n));
  for (ssize_t n; (n = ::read(master, buf, sizeof buf)) > 0;) terminal.append(buf, static_cast<std::size_t>(n));
  ::close(out[0]);
  ::close(master);
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(SplitLines(stdoutText), (Lines{Header(big), L("出力先: ", ws / "in"), L("解凍: ", "big1.bin"),
                                           L("解凍: ", "small.txt")}));
  EXPECT_NE(terminal.find("\r[1/1] big.zip "), std::string::npos) << terminal;
  EXPECT_NE(terminal.find("100%"), std::string::npos) << terminal;
  const std::string erase = "\r\033[K";
  ASSERT_GE(terminal.size(), erase.size());
  EXPECT_EQ(terminal.substr(terminal.size() - erase.size()), erase) << ::testing::PrintToString(terminal);
}

// Archives of the shared source tree, made by real tools, come out as that tree.
TEST_F(Cli, GivesTheExactSourceTrees) {
  const std::string fixtures = QUILLABY_FIXTURES;
  std::vector<std::pair<std::string, std::uint64_t>> files;
  std::istringstream manifest(ReadFile(fixtures + "/src.manifest"));
  for (std::string kind, size, path; manifest >> kind >> size && std::getline(manifest >> std::ws, path);)
    if (kind == "f") files.emplace_back(path, std::stoull(size));
  ASSERT_FALSE(files.empty());
  for (const char* name : {"tree-lh5-l2.lzh", "tree-lh7.lzh", "tree.7z", "tree-7zz.zip", "tree-deflate.zip",
                           "tree.tar", "tree.tgz", "tree.tar.bz2", "tree.cab", "tree-mszip.cab", "tree-rar4.rar"}) {
    SCOPED_TRACE(name);
    TWorkspace here;
    fs::copy_file(fixtures + "/" + name, here / name);
    const TCliResult r = RunCli({"-o", here / "out", here / name}, here.Root());
    EXPECT_EQ(r.Status, 0) << r.Out;
    const Lines out = SplitLines(r.Out);
    ASSERT_GE(out.size(), 2u);
    EXPECT_EQ(out[0], Header(here / name));
    EXPECT_EQ(out[1], L("出力先: ", here / "out"));
    for (const auto& [path, size] : files) {
      ASSERT_TRUE(fs::is_regular_file(here / ("out/" + path))) << path;
      EXPECT_EQ(ReadFile(here / ("out/" + path)), ReadFile(fixtures + "/src/" + path)) << path;
    }
    std::size_t count = 0;
    for (const auto& e : fs::recursive_directory_iterator(here / "out"))
      if (e.is_regular_file()) ++count;
    EXPECT_EQ(count, files.size());  // nothing but the tree
  }
}

}  // namespace
