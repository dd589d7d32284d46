#include "app/core/EntryName.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TempDir.h"

namespace {

TEST(IsUnsafeEntryName, RefusesAbsoluteAndParentNames) {
  for (const char* bad : {"/etc/passwd", "../x", "a/../../x", "a/..", "..", "", "..\\x", "a\\..\\x", "\\abs",
                          "//x"})
    EXPECT_TRUE(quillaby::IsUnsafeEntryName(bad)) << bad;
  for (const char* good : {"a/b.txt", "..a", "a..b/c", "a/.../b", "./a", "dir/", "x..", "日本語.txt"})
    EXPECT_FALSE(quillaby::IsUnsafeEntryName(good)) << good;
}

TEST(PassesThroughLink, FindsALinkedFolderOnTheWay) {
  TTempDir t;
  ::mkdir((t / "real").c_str(), 0755);
  ::symlink("/tmp", (t / "link").c_str());
  t.Write("file", "x");
  ::symlink((t / "file").c_str(), (t / "filelink").c_str());
  EXPECT_TRUE(quillaby::PassesThroughLink(t.Path(), "link/x.txt"));
  EXPECT_TRUE(quillaby::PassesThroughLink(t.Path(), "real/../link/x.txt"));
  EXPECT_TRUE(quillaby::PassesThroughLink(t.Path(), "link\\x.txt"));
  EXPECT_FALSE(quillaby::PassesThroughLink(t.Path(), "real/x.txt"));
  EXPECT_FALSE(quillaby::PassesThroughLink(t.Path(), "missing/x.txt"));
  EXPECT_FALSE(quillaby::PassesThroughLink(t.Path(), "filelink"));  // the entry itself is not on the way
}

TEST(IsPlainFileName, IsABareName) {
  for (const char* good : {"a.txt", ".txt", "0", "..x"}) EXPECT_TRUE(quillaby::IsPlainFileName(good)) << good;
  for (const char* bad : {"", ".", "..", "a/b", "../a"}) EXPECT_FALSE(quillaby::IsPlainFileName(bad)) << bad;
}

}  // namespace
