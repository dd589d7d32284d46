// An archive that cannot be read past some entry lists the entries before the
// damage. Extracting those must still end in an error, or a batch would call
// the archive done (and may delete it) while entries were never read.
#include <gtest/gtest.h>

#include "Dialects.h"
#include "ModuleHarness.h"

using namespace modtest;

namespace {

struct DamagedCase {
  const Dialect* d;
  const char* archive;
  const char* intact;  // a whole archive of the same module
};

class DamagedArchive : public ::testing::TestWithParam<DamagedCase> {};

// What FindNext answers after the last entry.
int ListingEnd(const Module& m, const std::string& archive) {
  ARC_HARC h = reinterpret_cast<ARC_OPENARCHIVE_FN>(m.Proc("OpenArchive"))(0, archive.c_str(), 0);
  if (!h) return 0;
  ARC_INDIVIDUALINFO info{};
  int r = reinterpret_cast<ARC_FINDFIRST_FN>(m.Proc("FindFirst"))(h, "*.*", &info);
  while (r == 0) r = reinterpret_cast<ARC_FINDNEXT_FN>(m.Proc("FindNext"))(h, &info);
  reinterpret_cast<ARC_CLOSEARCHIVE_FN>(m.Proc("CloseArchive"))(h);
  return r;
}

TEST_P(DamagedArchive, ExtractingWhatCouldBeReadIsStillAnError) {
  const DamagedCase& c = GetParam();
  Module m(c.d->file, c.d->prefix);
  std::string archive = Fixture("unseen/" + std::string(c.archive));
  // The whole archive in one command.
  TempDir whole;
  Result r = m.Run(c.d->extract(archive, whole.Slash(), "", true, true));
  EXPECT_EQ(r.code, ARC_E_DATA) << r.text;
  EXPECT_FALSE(r.text.empty());
  EXPECT_EQ(Tree(whole.path()), (std::map<std::string, std::string>{{"a.txt", "one\n"}}));
  // As the batch runs: the listing, then a command per listed entry; the
  // command of the last one listed tells the damage.
  for (const char* mask : {"*.*", "a*"}) {
    TempDir each;
    std::vector<Listed> listed = m.List(archive, mask);
    ASSERT_EQ(listed.size(), 1u) << mask;
    EXPECT_EQ(listed[0].name, "a.txt");
    r = m.Run(c.d->extract(archive, each.Slash(), listed[0].name, true, true));
    EXPECT_EQ(r.code, ARC_E_DATA) << mask << ": " << r.text;
    EXPECT_EQ(ReadAll(each.path() / "a.txt"), "one\n");
  }
  // The listing itself ends in an error, where an intact one just ends.
  EXPECT_EQ(ListingEnd(m, archive), ARC_E_DATA);
  EXPECT_EQ(ListingEnd(m, Fixture(c.intact)), -1);
  // A test of the archive fails too.
  r = m.Run((c.d == &kLha ? "t \"" : "-t \"") + archive + "\"");
  EXPECT_NE(r.code, 0) << r.text;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, DamagedArchive,
                         ::testing::Values(DamagedCase{&kTar, "damaged-cut.tar", "tree.tar"},
                                           DamagedCase{&kTar, "damaged-cut.tar.gz", "tree.tar.gz"},
                                           DamagedCase{&kTar, "damaged-cut.cpio", "tree.cpio"},
                                           DamagedCase{&kLha, "damaged-header.lzh", "tree-lh5-l1.lzh"}),
                         [](const auto& info) {
                           std::string n = info.param.archive;
                           for (char& ch : n)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return n;
                         });

}  // namespace
