// Hard links. cpio archives from GNU cpio keep the bytes of a file with two
// names under its last name only; the first name is stored empty. Both names
// must end up with the bytes, whether the archive is extracted whole or an
// entry at a time. A tar hard link is listed with its file's size, which the
// program compares with a file already on disk.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <archive_entry.h>

#include <fstream>

#include "Dialects.h"
#include "ModuleHarness.h"
#include "platform/winmsg.h"

using namespace modtest;

namespace {

const std::map<std::string, std::string> kExpected = {
    {"first.txt", "shared by two names\n"}, {"second.txt", "shared by two names\n"}, {"alone.txt", "alone\n"}};

struct LinkCase {
  const char* archive;
  bool entryByEntry;  // one command per listed entry, as the batch runs
};

class CpioHardLink : public ::testing::TestWithParam<LinkCase> {};

TEST_P(CpioHardLink, BothNamesGetTheBytes) {
  const LinkCase& c = GetParam();
  Module m(kTar.file, kTar.prefix);
  TempDir t;
  std::string archive = Fixture("unseen/" + std::string(c.archive));
  if (c.entryByEntry) {
    for (const Listed& l : m.List(archive)) {
      Result r = m.Run(kTar.extract(archive, t.Slash(), l.name, true, true));
      EXPECT_EQ(r.code, 0) << l.name << ": " << r.text;
    }
  } else {
    Result r = m.Run(kTar.extract(archive, t.Slash(), "", true, true));
    EXPECT_EQ(r.code, 0) << r.text;
  }
  EXPECT_EQ(Tree(t.path()), kExpected);
  struct stat a {}, b {};
  ASSERT_EQ(::stat((t.path() / "first.txt").c_str(), &a), 0);
  ASSERT_EQ(::stat((t.path() / "second.txt").c_str(), &b), 0);
  EXPECT_EQ(a.st_ino, b.st_ino) << "the two names are one file";
  // Extracting again over the result keeps the bytes.
  Result again = m.Run(kTar.extract(archive, t.Slash(), "", true, true));
  EXPECT_EQ(again.code, 0) << again.text;
  EXPECT_EQ(Tree(t.path()), kExpected);
  Result test = m.Run("-t \"" + archive + "\"");
  EXPECT_EQ(test.code, 0) << test.text;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, CpioHardLink,
                         ::testing::Values(LinkCase{"hardlinks-newc.cpio", false}, LinkCase{"hardlinks-newc.cpio", true},
                                           LinkCase{"hardlinks-crc.cpio", false}, LinkCase{"hardlinks-crc.cpio", true}),
                         [](const auto& info) {
                           return std::string(std::string(info.param.archive).find("newc") != std::string::npos ? "newc" : "crc") +
                                  (info.param.entryByEntry ? "_EntryByEntry" : "_Whole");
                         });

TEST(CpioHardLink, AFileWithBytesOfItsOwnIsNotRewrittenThroughTheLink) {
  Module m(kTar.file, kTar.prefix);
  TempDir t;
  std::ofstream(t.path() / "first.txt") << "the user's own\n";
  Result r = m.Run(kTar.extract(Fixture("unseen/hardlinks-newc.cpio"), t.Slash(), "", true, false));
  EXPECT_NE(r.code, 0) << "first.txt exists and overwriting is off";
  EXPECT_EQ(ReadAll(t.path() / "first.txt"), "the user's own\n");
  EXPECT_EQ(ReadAll(t.path() / "second.txt"), "shared by two names\n");
  EXPECT_EQ(ReadAll(t.path() / "alone.txt"), "alone\n");
}

TEST(TarHardLink, IsListedWithTheSizeOfItsFile) {
  TempDir t;
  fs::path tar = t.path() / "linked.tar";
  WriteTar(tar, {{"a.txt", AE_IFREG, "alpha"}, {"b.txt", AE_IFREG, "", "a.txt"}});
  Module m(kTar.file, kTar.prefix);
  std::map<std::string, std::uint32_t> sizes;
  for (const Listed& l : m.List(tar.string())) sizes[l.name] = l.size;
  EXPECT_EQ(sizes, (std::map<std::string, std::uint32_t>{{"a.txt", 5}, {"b.txt", 5}}));
}

TEST(CpioHardLink, CancelledWhileFillingLeavesTheFirstNameEmpty) {
  Module m(kTar.file, kTar.prefix);
  TempDir t;
  unsigned msg = platform::RegisterWindowMessage(ARC_MESSAGE_NAME);
  platform::HWND w = platform::CreateHiddenWindow([&](unsigned mm, platform::WPARAM wp, platform::LPARAM) -> platform::LRESULT {
    return mm == msg && wp == ARC_STATE_INPROCESS ? 1 : 0;
  });
  reinterpret_cast<ARC_SETOWNERWINDOWEX_FN>(m.Proc("SetOwnerWindowEx"))(w, nullptr);
  Result r = m.Run(kTar.extract(Fixture("unseen/hardlinks-big.cpio.gz"), t.Slash(), "", true, true));
  reinterpret_cast<ARC_SETOWNERWINDOWEX_FN>(m.Proc("SetOwnerWindowEx"))(0, nullptr);
  platform::DestroyWindow(w);
  EXPECT_EQ(r.code, ARC_E_CANCELLED) << r.text;
  EXPECT_EQ(Tree(t.path()), (std::map<std::string, std::string>{{"first.bin", ""}}));
}

}  // namespace
