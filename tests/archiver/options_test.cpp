#include <gtest/gtest.h>

#include "archiver/ArchiveOptions.h"

using ArchiverN::TArchiveOptions;

namespace {

void ExpectInitial(const TArchiveOptions& o) {
  EXPECT_TRUE(o.Attributes);
  EXPECT_FALSE(o.ShowDialog);
  EXPECT_FALSE(o.IgnorePath);
  EXPECT_TRUE(o.CheckTime);
  EXPECT_TRUE(o.Overwrite);
  EXPECT_TRUE(o.Recursive);
  EXPECT_EQ(o.WorkDir, "");
  EXPECT_EQ(o.Method, "");
  EXPECT_EQ(o.AfterDate, "");
  EXPECT_EQ(o.BeforeDate, "");
  EXPECT_TRUE(o.Excludes.empty());
}

}  // namespace

TEST(ArchiveOptions, StartsAtTheInitialValues) {
  TArchiveOptions o;
  ExpectInitial(o);
  EXPECT_EQ(o.Password, "");
  EXPECT_EQ(o.Extra, "");
}

TEST(ArchiveOptions, ResetKeepsPasswordAndExtraAndTheExcludesListItself) {
  TArchiveOptions o;
  auto& excludes = o.Excludes;
  o.Attributes = false;
  o.ShowDialog = o.IgnorePath = true;
  o.CheckTime = o.Overwrite = o.Recursive = false;
  o.WorkDir = "/tmp";
  o.Method = "5";
  o.AfterDate = "20200101";
  o.BeforeDate = "20201231";
  o.Password = "secret";
  o.Extra = "-v";
  excludes.push_back("*.bak");
  excludes.push_back("*.tmp");

  o.Reset();

  ExpectInitial(o);
  EXPECT_EQ(o.Password, "secret");
  EXPECT_EQ(o.Extra, "-v");
  EXPECT_EQ(&excludes, &o.Excludes);
  EXPECT_TRUE(excludes.empty());
}
