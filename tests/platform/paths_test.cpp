#include "platform/paths.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace {
using namespace platform::path;

struct PathCase {
  const char* path;
  const char* folderOf;
  const char* fileName;
  const char* extension;
};

TEST(Paths, PiecesOfAPath) {
  const PathCase cases[] = {
      {"/data/a.lzh", "/data", "a.lzh", ".lzh"},
      {"/a.lzh", "/", "a.lzh", ".lzh"},
      {"//x.tar.gz", "//", "x.tar.gz", ".gz"},
      {"/dir.d/noext", "/dir.d", "noext", ""},
      {"/dir/trail.", "/dir", "trail.", "."},
      {"name", "", "name", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderOf(c.path), c.folderOf) << c.path;
    EXPECT_EQ(FileName(c.path), c.fileName) << c.path;
    EXPECT_EQ(Extension(c.path), c.extension) << c.path;
  }
}

TEST(Paths, JoinDoesNotMergeDelimiters) {
  EXPECT_EQ(Join("/", "name"), "//name");
  EXPECT_EQ(Join("/out", "a/b.txt"), "/out/a/b.txt");
  EXPECT_EQ(ChangeExtension("/usr/bin/quillaby", ".ini"), "/usr/bin/quillaby.ini");
  EXPECT_EQ(ChangeExtension("/opt/q.x/run.bin", ".tmp"), "/opt/q.x/run.tmp");
  EXPECT_EQ(WithTrailingDelimiter("/out"), "/out/");
  EXPECT_EQ(WithTrailingDelimiter("/out/"), "/out/");
}

}  // namespace
