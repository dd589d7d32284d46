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
};

class DamagedArchive : public ::testing::TestWithParam<DamagedCase> {};

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
  // A test of the archive fails too.
  r = m.Run((c.d == &kLha ? "t \"" : "-t \"") + archive + "\"");
  EXPECT_NE(r.code, 0) << r.text;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, DamagedArchive,
                         ::testing::Values(DamagedCase{&kTar, "damaged-cut.tar"}, DamagedCase{&kTar, "damaged-cut.tar.gz"},
                                           DamagedCase{&kTar, "damaged-cut.cpio"},
                                           DamagedCase{&kLha, "damaged-header.lzh"}),
                         [](const auto& info) {
                           std::string n = info.param.archive;
                           for (char& ch : n)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return n;
                         });

}  // namespace
