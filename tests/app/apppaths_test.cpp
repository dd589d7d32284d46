#include "app/core/AppPaths.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "platform/dynlib.h"

namespace {

TEST(AppPaths, BesideAWritableExecutable) {
  TTempDir t;
  EXPECT_EQ(quillaby::SidePath(t / "quillaby", ".ini", "/nonexistent-home"), t / "quillaby.ini");
  EXPECT_EQ(quillaby::SidePath(t / "quillaby-batch", ".tmp", "/nonexistent-home"), t / "quillaby-batch.tmp");
  // The test program's own folder is the build's bin folder, which is writable.
  const std::string exe = platform::ExecutablePath();
  EXPECT_EQ(quillaby::SettingsPath(), exe + ".ini");
  EXPECT_EQ(quillaby::SwapPath(), exe + ".tmp");
}

TEST(AppPaths, InTheUsersFolderWhenTheExecutablesFolderIsNotWritable) {
  TTempDir home;
  const std::string folder = home / ".config/quillaby";
  EXPECT_EQ(quillaby::SidePath("/nonexistent/bin/quillaby", ".ini", home.Path()), folder + "/quillaby.ini");
  struct stat st;
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(quillaby::SidePath("/nonexistent/bin/quillaby", ".tmp", home.Path()), folder + "/quillaby.tmp");
  // A file where the executable's folder should be is no writable folder either.
  home.Write("notafolder", "x");
  EXPECT_EQ(quillaby::SidePath(home / "notafolder/quillaby", ".ini", home.Path()), folder + "/quillaby.ini");
}

TEST(AppPaths, HomeFolderComesFromThePasswordDatabase) {
  const std::string home = quillaby::HomeFolder();
  ASSERT_FALSE(home.empty());
  struct stat st;
  EXPECT_EQ(::stat(home.c_str(), &st), 0);
}

}  // namespace
