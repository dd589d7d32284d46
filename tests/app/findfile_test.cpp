#include "util/FindFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <vector>

#include "TempDir.h"

namespace {

std::vector<std::string> Walk(TFindFile& f, const std::string& pattern) {
  std::vector<std::string> paths;
  f.Open(pattern);
  while (f.Next()) paths.push_back(f.Path);
  return paths;
}

TEST(TFindFile, WalksFullPathsAndFiltersDotsAndAttributes) {
  TTempDir t;
  t.Write("a.txt", "a");
  t.Write("b.log", "bb");
  ::mkdir((t / "sub").c_str(), 0755);
  TFindFile f;
  EXPECT_EQ(Walk(f, t / "*"), (std::vector<std::string>{t / "a.txt", t / "b.log", t / "sub"}));
  EXPECT_FALSE(f.IsOpen());
  EXPECT_EQ(f.Path, "");

  f.ExcludeAttributes = platform::FILE_ATTRIBUTE_DIRECTORY;
  EXPECT_EQ(Walk(f, t / "*"), (std::vector<std::string>{t / "a.txt", t / "b.log"}));
  f.ExcludeAttributes = 0;
  f.IncludeDots = true;
  EXPECT_EQ(Walk(f, t / "*"), (std::vector<std::string>{t / ".", t / "..", t / "a.txt", t / "b.log", t / "sub"}));

  // An explicit mask overrides ExcludeAttributes.
  f.IncludeDots = false;
  f.ExcludeAttributes = platform::FILE_ATTRIBUTE_DIRECTORY;
  f.Open(t / "*");
  std::vector<std::string> all;
  while (f.Next(0)) all.push_back(f.Path);
  EXPECT_EQ(all.size(), 3u);
  EXPECT_EQ(all.back(), t / "sub");
}

TEST(TFindFile, FillsTheShortNameWithTheName) {
  TTempDir t;
  t.Write("a long file name.text", "x");
  TFindFile f;
  ASSERT_TRUE(f.Open(t / "a long*"));
  ASSERT_TRUE(f.Next());
  EXPECT_STREQ(f.FindData.cAlternateFileName, "a long file n");  // 13 characters at most
}

TEST(TFindFile, RootPatternKeepsItsDelimiter) {
  TFindFile f;
  ASSERT_TRUE(f.Open("/tm?"));
  ASSERT_TRUE(f.Next());
  EXPECT_EQ(f.Path, "//tmp");
}

TEST(TFindFile, FailedOpenAndRestart) {
  TTempDir t;
  t.Write("x", "1");
  TFindFile f;
  EXPECT_FALSE(f.Open(t / "missing*"));
  EXPECT_FALSE(f.Next());
  EXPECT_EQ(f.Path, "");
  EXPECT_FALSE(f.Open(""));
  EXPECT_FALSE(f.Next());

  ASSERT_TRUE(f.Open(t / "*"));
  ASSERT_TRUE(f.Next());
  ASSERT_TRUE(f.Open(t / "*"));  // restarts from the first entry
  ASSERT_TRUE(f.Next());
  EXPECT_EQ(f.Path, t / "x");
  EXPECT_FALSE(f.Next());
}

TEST(FileSizeOnDisk, SizeOfTheFirstMatchOrZero) {
  TTempDir t;
  t.Write("one.txt", std::string(1200, 'x'));
  t.Write("two.txt", "22");
  ::mkdir((t / "folder").c_str(), 0755);
  const std::string big = t / "big.bin";
  int fd = ::open(big.c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, 5LL << 30), 0);  // sparse 5 GiB
  ::close(fd);
  struct Case {
    std::string path;
    std::uint32_t size;
  } cases[] = {
      {t / "one.txt", 1200u}, {t / "missing", 0u}, {"", 0u},           {t / "folder", 0u},
      {t / "*.txt", 1200u},   {t / "t*", 2u},      {big, 1073741824u}, {"/", 0u},
  };
  for (const Case& c : cases) EXPECT_EQ(FileSizeOnDisk(c.path), c.size) << c.path;
}

}  // namespace
