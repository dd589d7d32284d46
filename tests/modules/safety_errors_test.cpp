// Hostile and broken archives: nothing outside the output folder, no device
// nodes, no file left behind for an entry that failed, an error and a line
// of text naming the entry.
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "Dialects.h"
#include "ModuleHarness.h"

using namespace modtest;

namespace {

bool NoTempFiles(const fs::path& root) {
  for (auto& [name, data] : Tree(root))
    if (fs::path(name).filename().string().rfind(".qlb", 0) == 0) return false;
  return true;
}

TEST(Safety, HostileArchivesWriteNothingOutsideTheFolder) {
  struct Row {
    const Dialect* d;
    const char* archive;
    std::map<std::string, std::string> inside;  // what the output folder holds afterwards
    const char* refused;                        // an entry the text must name
  } rows[] = {
      {&kTar, "malicious/dotdot.tar", {{"ok.txt", "ok\n"}}, "../x.txt"},
      {&kZip, "malicious/dotdot.zip", {{"ok.txt", "ok\n"}}, "../x.txt"},
      {&kTar, "malicious/abs.tar", {{"ok.txt", "ok\n"}}, "/tmp/quillaby-evil-abs.txt"},
      {&kTar, "malicious/symlink-dotdot.tar", {}, "link"},
      {&kTar, "malicious/symlink-abs.tar", {}, "link"},
      {&kTar, "malicious/device.tar", {{"ok.txt", "ok\n"}, {"dev", "/"}}, "fifo"},
  };
  for (const Row& row : rows) {
    TempDir t;
    fs::path out = t.path() / "out";
    fs::create_directories(out);
    Module m(row.d->file, row.d->prefix);
    Result r = m.Run(row.d->extract(Fixture(row.archive), out.string() + "/", "", true, true));
    EXPECT_EQ(r.code, ARC_E_UNSAFE) << row.archive << ": " << r.text;
    EXPECT_NE(r.text.find(row.refused), std::string::npos) << r.text;
    auto tree = Tree(t.path());
    for (auto& [name, data] : tree) EXPECT_EQ(name.rfind("out", 0), 0u) << row.archive << " wrote " << name;
    auto inside = Tree(out);
    if (row.inside.count("ok.txt")) {
      EXPECT_FALSE(inside["ok.txt"].empty()) << row.archive;
    }
    for (auto& [name, data] : inside) EXPECT_TRUE(row.inside.count(name)) << row.archive << " made " << name;
  }
  EXPECT_FALSE(fs::exists("/tmp/quillaby-evil-abs.txt"));
  EXPECT_FALSE(fs::exists("/tmp/quillaby-evil-link.txt"));
}

TEST(Safety, NoWriteThroughALinkInsideOrAlreadyThere) {
  TempDir t;
  fs::path outside = t.path() / "outside";
  fs::path out = t.path() / "out";
  fs::create_directories(outside);
  fs::create_directories(out);
  // A link the user already has in the output folder, pointing elsewhere.
  fs::create_directory_symlink(outside, out / "there");
  { std::ofstream(outside / "keep.txt") << "keep"; }
  fs::create_symlink(outside / "keep.txt", out / "file-link");
  fs::path tar = t.path() / "links.tar";
  WriteTar(tar, {{"sub", AE_IFDIR, ""},
                 {"inner", AE_IFLNK, "sub"},        // stays inside: made
                 {"inner/x.txt", AE_IFREG, "x"},   // but nothing is written through it
                 {"there/y.txt", AE_IFREG, "y"},   // nor through the user's link
                 {"file-link", AE_IFREG, "new"}}); // replaces the link itself, not its target
  Module m(kTar.file, kTar.prefix);
  Result r = m.Run(kTar.extract(tar.string(), out.string() + "/", "", true, true));
  EXPECT_EQ(r.code, ARC_E_UNSAFE) << r.text;
  EXPECT_NE(r.text.find("inner/x.txt"), std::string::npos) << r.text;
  EXPECT_NE(r.text.find("there/y.txt"), std::string::npos) << r.text;
  EXPECT_EQ(Tree(outside), (std::map<std::string, std::string>{{"keep.txt", "keep"}}));
  EXPECT_FALSE(fs::exists(out / "sub" / "x.txt"));
  EXPECT_TRUE(fs::is_symlink(out / "inner"));
  EXPECT_FALSE(fs::is_symlink(out / "file-link"));
  EXPECT_EQ(ReadAll(out / "file-link"), "new");
}

TEST(Safety, LinkTargetsAreCheckedWhereTheLinkLands) {
  struct Row {
    std::string name, target;
    bool keep;
    bool made;
  } rows[] = {
      {"a/l", "../x", true, true},   {"a/l", "../../x", true, false}, {"a/l", "../x", false, false},
      {"l", "/etc/passwd", true, false}, {"a/b/l", "../c/../..", true, false}, {"l", "a/b", true, true},
  };
  for (const Row& row : rows) {
    TempDir t;
    fs::path tar = t.path() / "l.tar";
    WriteTar(tar, {{row.name, AE_IFLNK, row.target}});
    fs::path out = t.path() / "out";
    Module m(kTar.file, kTar.prefix);
    Result r = m.Run(kTar.extract(tar.string(), out.string() + "/", "", row.keep, true));
    fs::path placed = out / (row.keep ? row.name : fs::path(row.name).filename().string());
    EXPECT_EQ(fs::is_symlink(placed), row.made) << row.name << " -> " << row.target << ": " << r.text;
    EXPECT_EQ(r.code, row.made ? 0 : ARC_E_UNSAFE) << row.name << " -> " << row.target;
  }
}

TEST(Errors, BrokenAndEncryptedArchivesLeaveNoFile) {
  struct Row {
    const Dialect* d;
    const char* archive;
    std::string files;
    int code;
    const char* absent;  // the entry that failed: no file of that name afterwards
  } rows[] = {
      {&kZip, "malicious/crc.zip", "", ARC_E_DATA, "crc.txt"},
      {&kZip, "malicious/encrypted.zip", "", ARC_E_PASSWORD, "secret.txt"},
      {&k7zZip, "malicious/encrypted.zip", "secret.txt", ARC_E_PASSWORD, "secret.txt"},
      {&kZip, "malicious/truncated.zip", "", ARC_E_DATA, "data.bin"},
      {&kTar, "malicious/truncated.tar.gz", "", ARC_E_DATA, "docs/guide.txt"},
      {&kLha, "malicious/crc.lzh", "", ARC_E_DATA, "crc.txt"},
      {&k7z, "unseen/headers-encrypted.7z", "", ARC_E_PASSWORD, "secret.txt"},
      {&k7z, "unseen/filter-arm64.7z", "", ARC_E_METHOD, "code.bin"},
  };
  for (const Row& row : rows) {
    TempDir t;
    Module m(row.d->file, row.d->prefix);
    Result r = m.Run(row.d->extract(Fixture(row.archive), t.Slash(), row.files, true, true));
    EXPECT_EQ(r.code, row.code) << row.archive << ": " << r.text;
    EXPECT_FALSE(r.text.empty()) << row.archive;
    EXPECT_FALSE(fs::exists(t.path() / row.absent)) << row.archive;
    EXPECT_TRUE(NoTempFiles(t.path())) << row.archive;
  }
  // With the password the encrypted entry comes out.
  TempDir t;
  Module zip(kZip.file, kZip.prefix);
  Result r = zip.Run("-u --i -q -o \"-Psecret \" \"" + Fixture("malicious/encrypted.zip") + "\" \"" + t.Slash() + "\"");
  EXPECT_EQ(r.code, 0) << r.text;
  EXPECT_EQ(ReadAll(t.path() / "secret.txt"), "the secret text\n");
}

TEST(Errors, FileInTheWayIsAWriteErrorNotARefusal) {
  TempDir t;
  fs::path tar = t.path() / "clash.tar";
  WriteTar(tar, {{"a", AE_IFREG, "file"}, {"a/b", AE_IFREG, "below a file"}});
  Module m(kTar.file, kTar.prefix);
  Result r = m.Run(kTar.extract(tar.string(), t.Slash() + "out/", "", true, true));
  EXPECT_EQ(r.code, ARC_E_WRITE) << r.text;
  EXPECT_NE(r.text.find("a/b"), std::string::npos) << r.text;
  EXPECT_EQ(ReadAll(t.path() / "out" / "a"), "file");
}

TEST(Errors, UnwritableOutputFolderIsAWriteError) {
  TempDir t;
  Module m(kTar.file, kTar.prefix);
  fs::create_directories(t.path() / "locked");
  fs::permissions(t.path() / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  if (::access((t.path() / "locked").c_str(), W_OK) == 0) GTEST_SKIP() << "running with rights that ignore permissions";
  Result r = m.Run(kTar.extract(Fixture("tree.tar"), (t.path() / "locked").string() + "/", "notes.txt", true, true));
  EXPECT_EQ(r.code, ARC_E_WRITE) << r.text;
  EXPECT_NE(r.text.find("notes.txt"), std::string::npos);
  fs::permissions(t.path() / "locked", fs::perms::owner_all);
}

TEST(Errors, LongNameCutForTheRecordNeverPicksAnotherEntry) {
  TempDir t;
  std::string shortName = std::string(300, 'a') + "/" + std::string(212, 'b');  // 513 bytes: fits
  std::string longName = shortName + std::string(100, 'c');
  fs::path tar = t.path() / "long.tar";
  WriteTar(tar, {{shortName, AE_IFREG, "short"}, {longName, AE_IFREG, "long"}});
  Module m(kTar.file, kTar.prefix);
  auto listed = m.List(tar.string());
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[1].name, shortName);  // the record holds the cut name
  Result r = m.Run(kTar.extract(tar.string(), t.Slash() + "out/", listed[1].name, true, true));
  EXPECT_EQ(r.code, ARC_E_COMMAND) << r.text;
  EXPECT_TRUE(Tree(t.path() / "out").empty());
}

TEST(Errors, AnEntryNeverReplacesTheArchiveBeingExtracted) {
  TempDir t;
  fs::path inner = t.path() / "inner.tar";
  WriteTar(inner, {{"b.txt", AE_IFREG, "from another archive"}});
  fs::path archive = t.path() / "self.tar";
  WriteTar(archive, {{"self.tar", AE_IFREG, ReadAll(inner)}, {"b.txt", AE_IFREG, "from this archive"}});
  const std::string bytes = ReadAll(archive);
  Module m(kTar.file, kTar.prefix);
  // Extracted beside itself, whole and an entry at a time as the batch does.
  Result r = m.Run(kTar.extract(archive.string(), t.Slash(), "", true, true));
  EXPECT_EQ(r.code, ARC_E_WRITE) << r.text;
  EXPECT_NE(r.text.find("self.tar"), std::string::npos) << r.text;
  EXPECT_EQ(ReadAll(archive), bytes);
  EXPECT_EQ(ReadAll(t.path() / "b.txt"), "from this archive");
  fs::remove(t.path() / "b.txt");
  for (const Listed& l : m.List(archive.string())) {
    r = m.Run(kTar.extract(archive.string(), t.Slash(), l.name, true, true));
    EXPECT_EQ(r.code, l.name == "self.tar" ? ARC_E_WRITE : 0) << l.name << ": " << r.text;
  }
  EXPECT_EQ(ReadAll(archive), bytes);
  EXPECT_EQ(ReadAll(t.path() / "b.txt"), "from this archive");
}

}  // namespace
