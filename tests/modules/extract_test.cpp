// Every module against archives of the fixture tree made by real tools:
// listing, full and partial extraction, stored folders and overwrite.
#include <gtest/gtest.h>

#include <archive_entry.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "Dialects.h"
#include "ModuleHarness.h"

using namespace modtest;

namespace {

struct TreeCase {
  const Dialect* d;
  const char* archive;
  bool keepsEmptyFolder;
};

const TreeCase kTrees[] = {
    {&kLha, "tree-lh5-l0.lzh", true},   {&kLha, "tree-lh5-l1.lzh", true},    {&kLha, "tree-lh5-l2.lzh", true},
    {&kLha, "tree-lh6.lzh", true},      {&kLha, "tree-lh7.lzh", true},       {&kLha, "tree-lh0.lzh", true},
    {&kLha, "tree-utf8-lh0.lzh", true}, {&kLha, "tree-l3-lh0.lzh", true},    {&kZip, "tree-7zz.zip", true},
    {&kZip, "tree-stored.zip", true},   {&kZip, "tree-deflate.zip", true},   {&kZip, "tree-zip64.zip", true},
    {&k7zZip, "tree-7zz.zip", true},    {&k7z, "tree.7z", true},             {&k7z, "tree-nonsolid.7z", true},
    {&kCab, "tree.cab", false},         {&kCab, "tree-mszip.cab", false},    {&kTar, "tree.tar", true},
    {&kTar, "tree.tar.gz", true},       {&kTar, "tree.tgz", true},           {&kTar, "tree.tar.bz2", true},
    {&kTar, "tree.tar.xz", true},       {&kTar, "tree.tar.Z", true},         {&kTar, "tree.tar.zst", true},
    {&kTar, "tree.tar.lzma", true},     {&kTar, "tree.cpio", true},          {&kRar, "tree-rar4.rar", true},
    {&kRar, "tree-rar5.rar", true},
};

class TreeArchive : public ::testing::TestWithParam<TreeCase> {};

std::string CaseName(const ::testing::TestParamInfo<TreeCase>& info) {
  std::string n = std::string(info.param.d->prefix) + "_" + info.param.archive;
  for (char& c : n)
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  return n;
}

TEST_P(TreeArchive, ExtractsExactlyTheSourceTree) {
  const TreeCase& c = GetParam();
  Module m(c.d->file, c.d->prefix);
  ASSERT_TRUE(m.Loaded());
  TempDir t;
  Result r = m.Run(c.d->extract(Fixture(c.archive), t.Slash(), "", true, true));
  EXPECT_EQ(r.code, 0) << r.text;
  EXPECT_EQ(Tree(t.path()), SourceTree(c.keepsEmptyFolder));
}

TEST_P(TreeArchive, ListsEveryFileAndTheEmptyFolderWithSizes) {
  const TreeCase& c = GetParam();
  Module m(c.d->file, c.d->prefix);
  std::map<std::string, std::uint32_t> listed;
  for (const Listed& l : m.List(Fixture(c.archive))) listed[l.name] = l.size;
  std::map<std::string, std::uint32_t> expected;
  for (auto& [name, data] : SourceTree(c.keepsEmptyFolder))
    if (data != "/" || name == "empty") expected[name] = data == "/" ? 0 : static_cast<std::uint32_t>(data.size());
  EXPECT_EQ(listed, expected);
}

TEST_P(TreeArchive, ExtractsOneEntryEachWay) {
  const TreeCase& c = GetParam();
  Module m(c.d->file, c.d->prefix);
  const std::string bracket = c.d == &kZip ? "img\\[1\\].txt" : "img[1].txt";
  struct Pick {
    std::string files;
    bool keep;
    std::set<std::string> files_out;
  } picks[] = {
      {"docs/deep/nested.txt", true, {"docs/deep/nested.txt"}},
      {"docs/deep/nested.txt", false, {"nested.txt"}},
      {"with space.txt", true, {"with space.txt"}},
      {bracket, true, {"img[1].txt"}},
      {"日本語.txt", true, {"日本語.txt"}},
      {"docs/*", true, {"docs/guide.txt", "docs/deep/nested.txt"}},
      {"*.TXT", false, {"readme.txt", "notes.txt", "zero.txt", "with space.txt", "img[1].txt", "日本語.txt", "guide.txt", "nested.txt"}},
      {"notes.txt \"with space.txt\" data.bin", true, {"notes.txt", "with space.txt", "data.bin"}},
  };
  auto source = SourceTree();
  for (const Pick& p : picks) {
    TempDir t;
    Result r = m.Run(c.d->extract(Fixture(c.archive), t.Slash(), p.files, p.keep, true));
    EXPECT_EQ(r.code, 0) << p.files << ": " << r.text;
    std::set<std::string> got;
    for (auto& [name, data] : Tree(t.path())) {
      if (data == "/") continue;
      got.insert(name);
      std::string stored = p.keep ? name : "";
      if (!p.keep)
        for (auto& [sn, sd] : source)
          if (sn == name || (sn.size() > name.size() && sn.compare(sn.size() - name.size() - 1, std::string::npos, "/" + name) == 0)) stored = sn;
      EXPECT_EQ(data, source[stored]) << name;
    }
    EXPECT_EQ(got, p.files_out) << p.files;
  }
}

TEST_P(TreeArchive, OverwriteSwitchDecidesAboutAnExistingFile) {
  const TreeCase& c = GetParam();
  Module m(c.d->file, c.d->prefix);
  for (bool overwrite : {false, true}) {
    TempDir t;
    { std::ofstream(t.path() / "notes.txt") << "mine"; }
    Result r = m.Run(c.d->extract(Fixture(c.archive), t.Slash(), "notes.txt", true, overwrite));
    EXPECT_EQ(ReadAll(t.path() / "notes.txt"), overwrite ? "notes\n" : "mine");
    EXPECT_EQ(r.code, overwrite ? 0 : ARC_E_EXISTS) << r.text;
    if (!overwrite) {
      EXPECT_NE(r.text.find("notes.txt"), std::string::npos) << r.text;
    }
  }
}

TEST_P(TreeArchive, MakesAMissingOutputFolderWithItsParents) {
  const TreeCase& c = GetParam();
  Module m(c.d->file, c.d->prefix);
  TempDir t;
  const fs::path out = t.path() / "new" / "deeper";
  Result r = m.Run(c.d->extract(Fixture(c.archive), out.string() + "/", "notes.txt", true, true));
  EXPECT_EQ(r.code, 0) << r.text;
  EXPECT_EQ(ReadAll(out / "notes.txt"), "notes\n");
}

INSTANTIATE_TEST_SUITE_P(Fixtures, TreeArchive, ::testing::ValuesIn(kTrees), CaseName);

TEST(Enumeration, KeepsArchiveOrder) {
  Module lha(kLha.file, kLha.prefix);
  std::vector<std::string> names;
  for (const Listed& l : lha.List(Fixture("tree-lh5-l0.lzh"))) names.push_back(l.name);
  EXPECT_EQ(names, (std::vector<std::string>{"readme.txt", "notes.txt", "zero.txt", "with space.txt", "img[1].txt", "日本語.txt",
                                             "data.bin", "docs/guide.txt", "docs/deep/nested.txt", "empty"}));
  Module sz(k7z.file, k7z.prefix);
  names.clear();
  for (const Listed& l : sz.List(Fixture("tree.7z"))) names.push_back(l.name);
  EXPECT_EQ(names, (std::vector<std::string>{"empty", "zero.txt", "data.bin", "docs/deep/nested.txt", "docs/guide.txt", "img[1].txt",
                                             "notes.txt", "readme.txt", "with space.txt", "日本語.txt"}));
}

TEST(Enumeration, LhaRecordsCarryPackedSizeAndCrc) {
  std::string text = ReadAll(Fixture("src/readme.txt"));
  std::uint16_t crc = 0;  // CRC-16 as LHA stores it
  for (unsigned char c : text) {
    crc ^= c;
    for (int b = 0; b < 8; ++b) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
  }
  Module m(kLha.file, kLha.prefix);
  for (const char* archive : {"tree-lh5-l0.lzh", "tree-lh5-l1.lzh", "tree-lh5-l2.lzh", "tree-lh0.lzh"}) {
    auto listed = m.List(Fixture(archive), "readme.txt");
    ASSERT_EQ(listed.size(), 1u) << archive;
    EXPECT_EQ(listed[0].crc, crc) << archive;
    bool stored = std::string(archive) == "tree-lh0.lzh";
    if (stored) EXPECT_EQ(listed[0].packed, 1200u);
    else EXPECT_LT(listed[0].packed, 1200u) << archive;
    EXPECT_EQ(listed[0].ratio, listed[0].packed * 1000 / 1200) << archive;
  }
}

TEST(Enumeration, ZipRecordsCarryPackedSizeAndCrc) {
  std::string text = ReadAll(Fixture("src/readme.txt"));
  std::uint32_t crc = 0xFFFFFFFF;
  for (unsigned char c : text) {
    crc ^= c;
    for (int b = 0; b < 8; ++b) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
  }
  crc ^= 0xFFFFFFFF;
  struct Row {
    const Dialect* d;
    const char* archive;
    bool stored;
  } rows[] = {{&kZip, "tree-deflate.zip", false}, {&kZip, "tree-zip64.zip", false}, {&kZip, "tree-stored.zip", true},
              {&k7z, "tree-7zz.zip", false}};
  for (const Row& row : rows) {
    Module m(row.d->file, row.d->prefix);
    auto listed = m.List(Fixture(row.archive), "readme.txt");
    ASSERT_EQ(listed.size(), 1u) << row.archive;
    EXPECT_EQ(listed[0].crc, crc) << row.archive;
    if (row.stored) EXPECT_EQ(listed[0].packed, 1200u);
    else EXPECT_LT(listed[0].packed, 1200u) << row.archive;
  }
}

TEST(Enumeration, MaskSelectsEntriesAndFolderHasItsAttribute) {
  Module m(kZip.file, kZip.prefix);
  std::vector<std::string> names;
  for (const Listed& l : m.List(Fixture("tree-deflate.zip"), "docs/*.txt")) names.push_back(l.name);
  EXPECT_EQ(names, (std::vector<std::string>{"docs/guide.txt", "docs/deep/nested.txt"}));
  auto all = m.List(Fixture("tree-deflate.zip"));
  auto empty = std::find_if(all.begin(), all.end(), [](const Listed& l) { return l.name == "empty"; });
  ASSERT_NE(empty, all.end());
  EXPECT_EQ(empty->attribute, "d---");
  EXPECT_TRUE(m.List(Fixture("tree-deflate.zip"), "nothing*").empty());
}

TEST(Enumeration, LoneCompressedFileAndDebPackage) {
  Module tar(kTar.file, kTar.prefix);
  auto lone = tar.List(Fixture("x.log.gz"));
  ASSERT_EQ(lone.size(), 1u);
  EXPECT_EQ(lone[0].name, "x.log");
  EXPECT_EQ(lone[0].size, 1400u);
  TempDir t;
  EXPECT_EQ(tar.Run(kTar.extract(Fixture("x.log.gz"), t.Slash(), "x.log", true, true)).code, 0);
  std::string text = ReadAll(t.path() / "x.log");
  EXPECT_EQ(text.size(), 1400u);
  EXPECT_EQ(text.substr(0, 14), "log line 0001\n");
  std::vector<std::string> members;
  for (const Listed& l : tar.List(Fixture("pkg.deb"))) members.push_back(l.name);
  EXPECT_EQ(members, (std::vector<std::string>{"debian-binary", "control.tar.xz", "data.tar.xz"}));
}

TEST(Enumeration, TarRootEntryAndHardLinks) {
  TempDir t;
  fs::path tar = t.path() / "dot.tar";
  WriteTar(tar, {{"./", AE_IFDIR, ""}, {"./a.txt", AE_IFREG, "alpha"}, {"./b.txt", AE_IFREG, "", "./a.txt"}});
  Module m(kTar.file, kTar.prefix);
  std::vector<std::string> names;
  for (const Listed& l : m.List(tar.string())) names.push_back(l.name);
  EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "b.txt"}));
  Result r = m.Run(kTar.extract(tar.string(), t.Slash() + "out/", "", true, true));
  EXPECT_EQ(r.code, 0) << r.text;
  EXPECT_EQ(Tree(t.path() / "out"), (std::map<std::string, std::string>{{"a.txt", "alpha"}, {"b.txt", "alpha"}}));
  // A hard link alone, its target not extracted: an error, nothing made.
  r = m.Run(kTar.extract(tar.string(), t.Slash() + "lone/", "b.txt", true, true));
  EXPECT_NE(r.code, 0);
  EXPECT_NE(r.text.find("b.txt"), std::string::npos);
  EXPECT_TRUE(Tree(t.path() / "lone").empty());
}

}  // namespace
