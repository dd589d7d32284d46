// An extracted file takes its entry's modification time, to the nanosecond
// where the format keeps it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "Dialects.h"
#include "ModuleHarness.h"

using namespace modtest;

namespace {

TEST(ModificationTime, IsTheEntrysAsPreciseAsStored) {
  struct Row {
    const char* archive;
    long nanoseconds;
  } rows[] = {{"unseen/mtime-pax.tar", 123456789}, {"unseen/mtime-gnu.tar", 0}};
  Module m(kTar.file, kTar.prefix);
  for (const Row& row : rows) {
    TempDir t;
    Result r = m.Run(kTar.extract(Fixture(row.archive), t.Slash(), "", true, true));
    ASSERT_EQ(r.code, 0) << row.archive << ": " << r.text;
    struct stat st {};
    ASSERT_EQ(::stat((t.path() / "dated.txt").c_str(), &st), 0) << row.archive;
    EXPECT_EQ(st.st_mtim.tv_sec, 1714564800) << row.archive;  // 2024-05-01 12:00:00 UTC
    EXPECT_EQ(st.st_mtim.tv_nsec, row.nanoseconds) << row.archive;
  }
}

}  // namespace
