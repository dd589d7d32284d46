// In tar and 7z "\" is a character of a name, not a delimiter. The program
// asks for entries with "\" turned into "/", so a name it lists must still be
// found that way, while a real folder of that name keeps its own entry.
#include <gtest/gtest.h>

#include <set>

#include "Dialects.h"
#include "ModuleHarness.h"

using namespace modtest;

namespace {

struct BackslashCase {
  const Dialect* d;
  const char* archive;
};

class BackslashName : public ::testing::TestWithParam<BackslashCase> {};

TEST_P(BackslashName, IsFoundUnderTheNameTheProgramAsksFor) {
  const BackslashCase& c = GetParam();
  Module m(c.d->file, c.d->prefix);
  std::string archive = Fixture("unseen/" + std::string(c.archive));
  std::set<std::string> names;
  for (const Listed& l : m.List(archive)) names.insert(l.name);
  EXPECT_EQ(names, (std::set<std::string>{"back\\slash.txt", "back/slash.txt", "only\\one.txt"}));

  TempDir t;
  for (const char* asked : {"only/one.txt", "back/slash.txt"}) {
    Result r = m.Run(c.d->extract(archive, t.Slash(), asked, true, true));
    EXPECT_EQ(r.code, 0) << asked << ": " << r.text;
  }
  EXPECT_EQ(Tree(t.path()), (std::map<std::string, std::string>{
                                {"only\\one.txt", "alone\n"}, {"back", "/"}, {"back/slash.txt", "in a folder\n"}}));

  TempDir all;
  Result r = m.Run(c.d->extract(archive, all.Slash(), "", true, true));
  EXPECT_EQ(r.code, 0) << r.text;
  EXPECT_EQ(ReadAll(all.path() / "back\\slash.txt"), "with a backslash\n");
  EXPECT_EQ(ReadAll(all.path() / "back" / "slash.txt"), "in a folder\n");
}

INSTANTIATE_TEST_SUITE_P(Fixtures, BackslashName,
                         ::testing::Values(BackslashCase{&kTar, "backslash.tar"}, BackslashCase{&k7z, "backslash.7z"}),
                         [](const auto& info) { return std::string(info.param.d->prefix); });

}  // namespace
