// Progress messages to a window of the platform layer, cancelling, nesting,
// memory extraction, and one pass over an archive for a batch of commands.
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <fstream>

#include "Dialects.h"
#include "ModuleHarness.h"
#include "platform/winmsg.h"

using namespace modtest;

namespace {

// A tar.gz holding one file of the given size (compressible, not constant).
std::string BigFile(std::size_t size) {
  std::string data(size, '\0');
  for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<char>('a' + (i * 7 + i / 4096) % 26);
  return data;
}

void WriteTarGz(const fs::path& file, const std::string& name, const std::string& data) {
  struct archive* a = archive_write_new();
  archive_write_set_format_pax_restricted(a);
  archive_write_add_filter_gzip(a);
  archive_write_open_filename(a, file.c_str());
  struct archive_entry* e = archive_entry_new();
  archive_entry_set_pathname(e, name.c_str());
  archive_entry_set_filetype(e, AE_IFREG);
  archive_entry_set_perm(e, 0644);
  archive_entry_set_size(e, static_cast<la_int64_t>(data.size()));
  archive_write_header(a, e);
  archive_write_data(a, data.data(), data.size());
  archive_entry_free(e);
  archive_write_close(a);
  archive_write_free(a);
}

struct Seen {
  unsigned state;
  std::uint32_t size, written;
};

TEST(Progress, RisingCountsFromBeginToEnd) {
  TempDir t;
  const std::string data = BigFile(5 * 1024 * 1024 + 123);
  WriteTarGz(t.path() / "big.tgz", "big.bin", data);
  std::vector<Seen> seen;
  unsigned msg = platform::RegisterWindowMessage(ARC_MESSAGE_NAME);
  platform::HWND w = platform::CreateHiddenWindow([&](unsigned m, platform::WPARAM wp, platform::LPARAM lp) -> platform::LRESULT {
    if (m == msg) {
      auto* p = reinterpret_cast<ARC_PROGRESS*>(lp);
      seen.push_back({static_cast<unsigned>(wp), p->dwFileSize, p->dwWriteSize});
    }
    return 0;
  });
  Module m(kTar.file, kTar.prefix);
  reinterpret_cast<ARC_SETOWNERWINDOWEX_FN>(m.Proc("SetOwnerWindowEx"))(w, nullptr);
  Result r = m.Run(kTar.extract((t.path() / "big.tgz").string(), t.Slash() + "out/", "big.bin", true, true));
  reinterpret_cast<ARC_SETOWNERWINDOWEX_FN>(m.Proc("SetOwnerWindowEx"))(0, nullptr);
  platform::DestroyWindow(w);
  ASSERT_EQ(r.code, 0) << r.text;
  EXPECT_EQ(ReadAll(t.path() / "out" / "big.bin"), data);
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen.front().state, static_cast<unsigned>(ARC_STATE_BEGIN));
  EXPECT_EQ(seen.front().written, 0u);
  EXPECT_EQ(seen.back().state, static_cast<unsigned>(ARC_STATE_END));
  EXPECT_EQ(seen.back().written, data.size());
  for (std::size_t i = 1; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].size, data.size());
    std::uint32_t step = seen[i].written - seen[i - 1].written;
    EXPECT_GT(seen[i].written, seen[i - 1].written);
    EXPECT_LE(step, 1024u * 1024u);
    if (i + 1 < seen.size()) {
      EXPECT_GE(step, 16u * 1024u);
    }
  }
}

TEST(Progress, AnswerOneStopsAndKeepsTheExistingFile) {
  TempDir t;
  WriteTarGz(t.path() / "big.tgz", "big.bin", BigFile(3 * 1024 * 1024));
  fs::create_directories(t.path() / "out");
  { std::ofstream(t.path() / "out" / "big.bin") << "old"; }
  Module m(kTar.file, kTar.prefix);
  int nestedCode = 0, runningInside = 0;
  unsigned msg = platform::RegisterWindowMessage(ARC_MESSAGE_NAME);
  platform::HWND w = platform::CreateHiddenWindow([&](unsigned mm, platform::WPARAM wp, platform::LPARAM) -> platform::LRESULT {
    if (mm != msg || wp != ARC_STATE_INPROCESS) return 0;
    // Any handler may run here: a nested command must not disturb this one.
    runningInside = reinterpret_cast<ARC_GETBOOL_FN>(m.Proc("GetRunning"))();
    nestedCode = m.Run(kTar.extract(Fixture("tree.tar"), t.Slash() + "nested/", "", true, true)).code;
    return 1;
  });
  reinterpret_cast<ARC_SETOWNERWINDOWEX_FN>(m.Proc("SetOwnerWindowEx"))(w, nullptr);
  Result r = m.Run(kTar.extract((t.path() / "big.tgz").string(), t.Slash() + "out/", "", true, true));
  reinterpret_cast<ARC_SETOWNERWINDOWEX_FN>(m.Proc("SetOwnerWindowEx"))(0, nullptr);
  platform::DestroyWindow(w);
  EXPECT_EQ(r.code, ARC_E_CANCELLED) << r.text;
  EXPECT_NE(r.text.find("big.bin"), std::string::npos);
  EXPECT_EQ(nestedCode, ARC_E_BUSY);
  EXPECT_EQ(runningInside, 1);
  EXPECT_EQ(reinterpret_cast<ARC_GETBOOL_FN>(m.Proc("GetRunning"))(), 0);
  EXPECT_FALSE(fs::exists(t.path() / "nested"));
  EXPECT_EQ(Tree(t.path() / "out"), (std::map<std::string, std::string>{{"big.bin", "old"}}));
}

TEST(ExtractMem, OneEntryIntoTheCallersBuffer) {
  Module m(kZip.file, kZip.prefix);
  auto fn = reinterpret_cast<ARC_EXTRACTMEM_FN>(m.Proc("ExtractMem"));
  std::string expected = ReadAll(Fixture("src/readme.txt"));
  std::vector<unsigned char> buf(4096);
  int32_t time = 0;
  uint16_t attr = 0;
  uint32_t written = 0;
  std::string line = "-u --i -q \"" + Fixture("tree-deflate.zip") + "\" docs/guide.txt";
  ASSERT_EQ(fn(0, line.c_str(), buf.data(), static_cast<uint32_t>(buf.size()), &time, &attr, &written), 0);
  EXPECT_EQ(std::string(buf.begin(), buf.begin() + written), ReadAll(Fixture("src/docs/guide.txt")));
  EXPECT_NE(time, 0);
  line = "-u --i -q \"" + Fixture("tree-deflate.zip") + "\" readme.txt";
  EXPECT_EQ(fn(0, line.c_str(), buf.data(), 100, &time, &attr, &written), ARC_E_BUFFER);
  EXPECT_EQ(written, 100u);
  EXPECT_EQ(std::string(buf.begin(), buf.begin() + 100), expected.substr(0, 100));
}

// The batch lists, then extracts each listed entry with its own command.
TEST(OnePass, EntryByEntryExtractionReadsTheArchiveOnce) {
  struct Row {
    const Dialect* d;
    const char* archive;
  } rows[] = {{&k7z, "tree.7z"}, {&k7zZip, "tree-7zz.zip"}, {&kZip, "tree-deflate.zip"}, {&kTar, "tree.tar.gz"},
              {&kTar, "tree.tar.xz"}, {&kRar, "tree-rar5.rar"}, {&kLha, "tree-lh5-l2.lzh"}};
  for (const Row& row : rows) {
    Module m(row.d->file, row.d->prefix);
    TempDir t;
    auto listed = m.List(Fixture(row.archive));
    ASSERT_FALSE(listed.empty());
    long before = m.Opens();
    for (const Listed& l : listed) {
      Result r = m.Run(row.d->extract(Fixture(row.archive), t.Slash(), l.name, true, true));
      ASSERT_EQ(r.code, 0) << l.name << ": " << r.text;
    }
    EXPECT_LE(m.Opens() - before, 1) << row.archive;
    EXPECT_EQ(Tree(t.path()), SourceTree()) << row.archive;
    // Going back to an earlier entry opens again, and still gets it right.
    TempDir again;
    EXPECT_EQ(m.Run(row.d->extract(Fixture(row.archive), again.Slash(), listed.front().name, true, true)).code, 0);
    EXPECT_EQ(m.Opens() - before, 2) << row.archive;
  }
}

TEST(OnePass, ChangedFileIsReadAfresh) {
  TempDir t;
  fs::path arc = t.path() / "a.tgz";
  WriteTarGz(arc, "x.txt", "first");
  Module m(kTar.file, kTar.prefix);
  ASSERT_EQ(m.List(arc.string()).size(), 1u);
  WriteTarGz(arc, "x.txt", "second version");
  Result r = m.Run(kTar.extract(arc.string(), t.Slash() + "out/", "x.txt", true, true));
  EXPECT_EQ(r.code, 0) << r.text;
  EXPECT_EQ(ReadAll(t.path() / "out" / "x.txt"), "second version");
}

}  // namespace
