#include "platform/fileops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TempDir.h"

namespace {

using namespace platform;

TEST(FileExists, IsTrueOnlyForAFile) {
  TTempDir t;
  t.Write("f", "x");
  ::mkdir((t / "d").c_str(), 0755);
  ::symlink((t / "f").c_str(), (t / "to-file").c_str());
  ::symlink((t / "d").c_str(), (t / "to-dir").c_str());
  ::symlink((t / "none").c_str(), (t / "dangling").c_str());
  struct Case {
    std::string path;
    bool exists;
  } cases[] = {{t / "f", true},       {t / "d", false},       {t / "none", false}, {"", false},
               {t / "to-file", true}, {t / "to-dir", false}, {t / "dangling", false}};
  for (const Case& c : cases) EXPECT_EQ(FileExists(c.path), c.exists) << c.path;
  EXPECT_TRUE(PathExists(t / "dangling"));
  EXPECT_TRUE(PathExists(t / "d"));
  EXPECT_FALSE(PathExists(t / "none"));
}

TEST(MoveFile, MovesAndNeverReplacesTheTarget) {
  TTempDir t;
  t.Write("a", "alpha");
  ASSERT_TRUE(MoveFile(t / "a", t / "b"));
  EXPECT_FALSE(PathExists(t / "a"));
  EXPECT_EQ(ReadFile(t / "b"), "alpha");

  t.Write("c", "charlie");
  ::mkdir((t / "dir").c_str(), 0755);
  EXPECT_FALSE(MoveFile(t / "c", t / "b"));
  EXPECT_FALSE(MoveFile(t / "c", t / "dir"));
  EXPECT_FALSE(MoveFile(t / "none", t / "x"));
  EXPECT_EQ(ReadFile(t / "b"), "alpha");
  EXPECT_EQ(ReadFile(t / "c"), "charlie");
  EXPECT_FALSE(PathExists(t / "x"));
}

TEST(MoveFile, CopiesAndDeletesAcrossFileSystems) {
  TTempDir disk;
  TTempDir memory("/dev/shm");
  struct stat a, b;
  if (memory.Path().empty() || ::stat(disk.Path().c_str(), &a) != 0 || ::stat(memory.Path().c_str(), &b) != 0 ||
      a.st_dev == b.st_dev)
    GTEST_SKIP() << "needs /tmp and /dev/shm on different file systems";

  const std::string from = disk.Write("f", std::string(300000, 'q'));
  ::chmod(from.c_str(), 0640);
  const timespec times[2] = {{1600000000, 0}, {1600000000, 0}};
  ::utimensat(AT_FDCWD, from.c_str(), times, 0);
  ASSERT_TRUE(MoveFile(from, memory / "f"));
  EXPECT_FALSE(PathExists(from));
  EXPECT_EQ(ReadFile(memory / "f"), std::string(300000, 'q'));
  struct stat st;
  ASSERT_EQ(::stat((memory / "f").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_mtim.tv_sec, 1600000000);

  memory.Write("taken", "kept");
  disk.Write("g", "mover");
  EXPECT_FALSE(MoveFile(disk / "g", memory / "taken"));
  EXPECT_EQ(ReadFile(memory / "taken"), "kept");
  EXPECT_EQ(ReadFile(disk / "g"), "mover");
}

TEST(DeleteFile, DeletesFilesOnly) {
  TTempDir t;
  t.Write("f", "x");
  ::mkdir((t / "d").c_str(), 0755);
  EXPECT_TRUE(DeleteFile(t / "f"));
  EXPECT_FALSE(PathExists(t / "f"));
  EXPECT_FALSE(DeleteFile(t / "d"));
  EXPECT_TRUE(PathExists(t / "d"));
  EXPECT_FALSE(DeleteFile(t / "f"));
  EXPECT_FALSE(DeleteFile(""));
}

}  // namespace
