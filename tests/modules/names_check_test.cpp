// Which files each module takes, Japanese names from every kind of storage,
// and the command words and switches of each dialect.
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <set>

#include "Dialects.h"
#include "ModuleHarness.h"

using namespace modtest;

namespace {

TEST(Exports, EveryModuleOffersTheCallingConvention) {
  const char* suffixes[] = {"", "GetVersion", "GetRunning", "CheckArchive", "GetFileCount", "OpenArchive", "CloseArchive",
                            "FindFirst", "FindNext", "SetOwnerWindowEx", "QueryFunctionList", "GetBackGroundMode",
                            "SetBackGroundMode", "GetCursorMode", "SetCursorMode", "GetCursorInterval", "SetCursorInterval",
                            "ExtractMem"};
  for (const Dialect* d : {&kLha, &kZip, &k7z, &kCab, &kTar, &kRar}) {
    Module m(d->file, d->prefix);
    ASSERT_TRUE(m.Loaded()) << d->file;
    for (const char* s : suffixes) EXPECT_NE(m.Proc(s), nullptr) << d->prefix << s;
    EXPECT_EQ(m.Proc("ConfigDialog"), nullptr);
    EXPECT_EQ(m.Proc("CompressMem"), nullptr);
    auto query = reinterpret_cast<ARC_SETINT_FN>(m.Proc("QueryFunctionList"));
    EXPECT_TRUE(query(ARC_FN_EXTRACTMEM));
    EXPECT_FALSE(query(ARC_FN_COMPRESSMEM));
    EXPECT_EQ(reinterpret_cast<ARC_GETFILECOUNT_FN>(m.Proc("GetFileCount"))(Fixture("src/readme.txt").c_str()), -1);
  }
  Module lha(kLha.file, kLha.prefix);
  EXPECT_EQ(reinterpret_cast<ARC_GETFILECOUNT_FN>(lha.Proc("GetFileCount"))(Fixture("tree-lh5-l2.lzh").c_str()), 10);
}

TEST(CheckArchive, EachModuleTakesItsFormatsOnly) {
  const std::vector<std::string> files = {"tree-lh5-l2.lzh", "tree-deflate.zip", "tree.7z",      "tree.cab", "tree.tar.gz",
                                          "tree.cpio",       "tree-rar4.rar",    "tree-rar5.rar", "x.log.gz", "src/readme.txt"};
  struct Row {
    const Dialect* d;
    std::set<std::string> accepts;
  } rows[] = {
      {&kLha, {"tree-lh5-l2.lzh"}},
      {&kZip, {"tree-deflate.zip"}},
      {&k7z, {"tree.7z", "tree-deflate.zip"}},
      {&kCab, {"tree.cab"}},
      {&kTar, {"tree.tar.gz", "tree.cpio", "x.log.gz"}},
      {&kRar, {"tree-rar4.rar", "tree-rar5.rar"}},
  };
  for (const Row& row : rows) {
    Module m(row.d->file, row.d->prefix);
    ASSERT_TRUE(m.Loaded()) << row.d->file;
    for (const std::string& f : files) EXPECT_EQ(m.Check(Fixture(f)), row.accepts.count(f) == 1) << row.d->prefix << " " << f;
    EXPECT_FALSE(m.Check(Fixture("no-such-file.zip")));
  }
}

TEST(Names, ShiftJisAndUtf8FlaggedNamesArriveAsUtf8) {
  struct Row {
    const Dialect* d;
    const char* archive;
  } rows[] = {
      {&kLha, "sjis-lh0.lzh"}, {&kZip, "sjis-raw.zip"}, {&k7zZip, "sjis-raw.zip"},
      {&kRar, "sjis-rar4.rar"}, {&kTar, "sjis-raw.tar"}, {&kZip, "utf8-flagged.zip"},
  };
  for (const Row& row : rows) {
    Module m(row.d->file, row.d->prefix);
    std::set<std::string> names;
    for (const Listed& l : m.List(Fixture(row.archive))) names.insert(l.name);
    EXPECT_EQ(names, (std::set<std::string>{"表.txt", "ソフト/ソ.txt"})) << row.archive;
    TempDir t;
    Result r = m.Run(row.d->extract(Fixture(row.archive), t.Slash(), "", true, true));
    EXPECT_EQ(r.code, 0) << row.archive << ": " << r.text;
    auto tree = Tree(t.path());
    EXPECT_EQ(tree["表.txt"], "hyou\n") << row.archive;
    EXPECT_EQ(tree["ソフト/ソ.txt"], "so\n") << row.archive;
    // One entry by its Japanese name, as the batch asks for it.
    TempDir one;
    r = m.Run(row.d->extract(Fixture(row.archive), one.Slash(), "ソフト/ソ.txt", true, true));
    EXPECT_EQ(r.code, 0) << r.text;
    EXPECT_EQ(Tree(one.path()), (std::map<std::string, std::string>{{"ソフト", "/"}, {"ソフト/ソ.txt", "so\n"}})) << row.archive;
  }
}

TEST(Names, BackslashBetweenFoldersInZipReadsTheSameInBothZipModules) {
  TempDir t;
  fs::path zip = t.path() / "win.zip";
  struct archive* a = archive_write_new();
  archive_write_set_format_zip(a);
  archive_write_open_filename(a, zip.c_str());
  struct archive_entry* e = archive_entry_new();
  archive_entry_set_pathname(e, "dir\\f.txt");
  archive_entry_set_filetype(e, AE_IFREG);
  archive_entry_set_perm(e, 0644);
  archive_entry_set_size(e, 2);
  archive_write_header(a, e);
  archive_write_data(a, "ok", 2);
  archive_entry_free(e);
  archive_write_close(a);
  archive_write_free(a);
  for (const Dialect* d : {&kZip, &k7zZip}) {
    Module m(d->file, d->prefix);
    auto listed = m.List(zip.string());
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].name, "dir/f.txt") << d->prefix;
    TempDir out;
    EXPECT_EQ(m.Run(d->extract(zip.string(), out.Slash(), "dir/f.txt", true, true)).code, 0);
    EXPECT_EQ(ReadAll(out.path() / "dir" / "f.txt"), "ok") << d->prefix;
  }
}

TEST(Commands, CompressionAndListingWordsAreNotSupported) {
  struct Row {
    const Dialect* d;
    std::string line;
  } rows[] = {
      {&kLha, "a -a2 -n1 \"A\" \"O/\" *.txt"}, {&kZip, "!-u -S -q -r \"A\" \"O/\" *.txt"},
      {&k7z, "u -hide -aoa -y -r0 \"A\" \"O/\" *.txt"}, {&k7z, "a -hide -ms=off \"A\""},
      {&kCab, "-a -i -n -o -r \"A\" \"O/\" *.txt"}, {&kTar, "-c --display-dialog=0 \"A\" \"O/\" *.txt"},
      {&kRar, "-a -y \"A\""},
  };
  for (const Row& row : rows) {
    Module m(row.d->file, row.d->prefix);
    Result r = m.Run(row.line);
    EXPECT_EQ(r.code, ARC_E_NOT_SUPPORTED) << row.line;
    EXPECT_FALSE(r.text.empty());
  }
}

TEST(Commands, TestCommandReadsEveryEntry) {
  struct Row {
    const Dialect* d;
    std::string line;
    int code;
  } rows[] = {
      {&kLha, "t -n1 -r2 \"" + Fixture("tree-lh5-l2.lzh") + "\"", 0},
      {&kLha, "t -n1 -r2 \"" + Fixture("malicious/crc.lzh") + "\"", ARC_E_DATA},
      {&kZip, "-t --i -q \"" + Fixture("tree-deflate.zip") + "\" \"/tmp/\"", 0},
      {&kZip, "-t --i -q \"" + Fixture("malicious/crc.zip") + "\"", ARC_E_DATA},
      {&kZip, "-t --i -q \"" + Fixture("tree-zipcrypto.zip") + "\"", ARC_E_PASSWORD},
      {&kZip, "-t --i -q \"-Psecret \" \"" + Fixture("tree-zipcrypto.zip") + "\"", 0},
      {&k7z, "t -hide -aoa -y -r0 \"" + Fixture("tree.7z") + "\" \"/tmp/\"", 0},
      {&kCab, "-t -i -n -o -r \"" + Fixture("tree-mszip.cab") + "\"", 0},
      {&kRar, "-t -y -u -o -s -r \"" + Fixture("tree-rar5.rar") + "\"", 0},
  };
  for (const Row& row : rows) {
    Module m(row.d->file, row.d->prefix);
    Result r = m.Run(row.line);
    EXPECT_EQ(r.code, row.code) << row.line << ": " << r.text;
  }
}

TEST(Commands, OddButValidLinesStillExtract) {
  struct Row {
    const Dialect* d;
    std::string prefix, suffix;  // around the quoted archive
    std::set<std::string> files;
  } rows[] = {
      // Unknown switches are ignored; items quoted or not.
      {&kLha, "e -x1 -m1 -zz9", " \"OUT/\" readme.txt", {"readme.txt"}},
      {&k7z, "x -aoa -y -r0 -mx9 -bogus", " \"OUT/\" \"with space.txt\" notes.txt", {"with space.txt", "notes.txt"}},
      {&kRar, "-x -y -u -o -s -r", " \"OUT/\" readme.txt", {"readme.txt"}},
      {&kZip, "-x --i -q -o", " \"OUT/\" img[1].txt", {"img[1].txt"}},  // a stored name wins over a bracket class
      {&kCab, "-x -i -n -o -r -zenotes.txt", " \"OUT/\" n*.txt", {}},    // excluded
      {&k7z, "x -aoa -y -x!with space.txt", " \"OUT/\" w*.txt notes.txt", {"notes.txt"}},  // an exclusion with a blank
  };
  for (const Row& row : rows) {
    Module m(row.d->file, row.d->prefix);
    TempDir t;
    std::string archive = row.d == &kLha ? "tree-lh5-l2.lzh" : row.d == &k7z ? "tree.7z" : row.d == &kRar ? "tree-rar4.rar"
                          : row.d == &kZip ? "tree-deflate.zip" : "tree.cab";
    std::string suffix = row.suffix;
    suffix.replace(suffix.find("OUT"), 3, t.path().string());
    Result r = m.Run(row.prefix + " \"" + Fixture(archive) + "\"" + suffix);
    std::set<std::string> got;
    for (auto& [name, data] : Tree(t.path()))
      if (data != "/") got.insert(name);
    EXPECT_EQ(got, row.files) << row.prefix << suffix << ": " << r.text;
    EXPECT_EQ(r.code, row.files.empty() ? ARC_E_NO_MATCH : 0) << r.text;
  }
}

// Each driver's switches with every option set, the work folder with a blank.
TEST(Commands, EveryDriverOptionStillExtracts) {
  struct Row {
    const Dialect* d;
    const char* archive;
    std::string switches;
  } rows[] = {
      {&kLha, "tree-lh5-l2.lzh", "e -a2 -n1 -x1 -c1 -m1 -r2 -jm5 \"-w/tmp/my work\" -jo2020-01-01 -job2030-01-01 -jx*.bak -jx -v --extra"},
      {&kLha, "tree-lh5-l2.lzh", "e  "},
      {&kZip, "tree-deflate.zip", "-x -q -j -o \"-Psecret \" --extra"},
      {&kZip, "tree-deflate.zip", "-u --i -q -o"},
      {&k7z, "tree.7z", "x -hide -aoa -y -r0 -mx=9 \"-w/tmp/my work\" \"-psecret\" -x!*.bak -x!old notes.txt --extra"},
      {&k7zZip, "tree-zipcrypto.zip", "e -tzip -hide -aoa -y -r0 \"-psecret\""},
      {&kCab, "tree-mszip.cab", "-x -g -i -j -n -o -r -m2 \"-h/tmp/my work\" -ys2020 -ye2030 -ze*.bak -ze --extra"},
      {&kCab, "tree.cab", "-x  "},
      {&kTar, "tree.tar.bz2", "-x --display-dialog=0 --use-directory=0 -z --extra"},
      {&kTar, "tree.tar", "-x "},
      {&kRar, "tree-rar4.rar", "-e -y -u -o -s -r --extra"},
      {&kRar, "tree-rar5.rar", "-x "},
  };
  for (const Row& row : rows) {
    Module m(row.d->file, row.d->prefix);
    TempDir t;
    Result r = m.Run(row.switches + " \"" + Fixture(row.archive) + "\" \"" + t.Slash() + "\" readme.txt");
    EXPECT_EQ(r.code, 0) << row.switches << ": " << r.text;
    EXPECT_EQ(ReadAll(t.path() / "readme.txt"), ReadAll(Fixture("src/readme.txt"))) << row.switches;
  }
}

TEST(Commands, NoMatchAndNotAnArchiveAreErrorsWithText) {
  Module m(kZip.file, kZip.prefix);
  TempDir t;
  Result r = m.Run(kZip.extract(Fixture("tree-deflate.zip"), t.Slash(), "missing.txt", true, true));
  EXPECT_EQ(r.code, ARC_E_NO_MATCH);
  EXPECT_NE(r.text.find("missing.txt"), std::string::npos);
  r = m.Run(kZip.extract(Fixture("tree.7z"), t.Slash(), "", true, true));
  EXPECT_EQ(r.code, ARC_E_NOT_ARCHIVE);
  EXPECT_NE(r.text.find("tree.7z"), std::string::npos);
  EXPECT_TRUE(Tree(t.path()).empty());
}

}  // namespace
