#include "platform/filesearch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <vector>

#include "TempDir.h"

namespace {

using namespace platform;

TEST(MatchWildcard, MatchesAsTheSystemSearchDoes) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"*.*", "readme.txt", true},  {"*.*", "README", true},      {"*.txt", "A.TXT", true},
      {"*.txt", "a.txt.bak", false}, {"a?c", "abc", true},       {"a?c", "ac", false},
      {"a*", "a", true},            {"*a*b", "xaxxb", true},     {"*a*b", "xaxxbc", false},
      {"?.txt", "日.txt", true},     {"??.txt", "日.txt", false}, {"日*", "日本語.txt", true},
      {"*", ".hidden", true},       {"b.*", "b", true},          {"b.*", "bc", false},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchWildcard(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

std::vector<std::string> Names(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA d;
  HANDLE h = FindFirstFile(pattern, &d);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(d.cFileName);
  while (FindNextFile(h, &d));
  EXPECT_TRUE(FindClose(h));
  return names;
}

TEST(FindFirstFile, YieldsMatchingEntriesInNameOrder) {
  TTempDir t;
  for (const char* n : {"b.txt", "a.txt", "c.doc", "B.TXT"}) t.Write(n, "x");
  ::mkdir((t / "sub.txt").c_str(), 0755);
  EXPECT_EQ(Names(t / "*.txt"), (std::vector<std::string>{"B.TXT", "a.txt", "b.txt", "sub.txt"}));
  EXPECT_EQ(Names(t / "*"), (std::vector<std::string>{".", "..", "B.TXT", "a.txt", "b.txt", "c.doc", "sub.txt"}));
  EXPECT_EQ(Names(t / "c.doc"), (std::vector<std::string>{"c.doc"}));
  EXPECT_TRUE(Names(t / "*.zip").empty());
  EXPECT_TRUE(Names(t / "missing").empty());
  EXPECT_TRUE(Names(t.Path() + "/").empty());
  EXPECT_TRUE(Names("/").empty());
  EXPECT_TRUE(Names("").empty());
}

TEST(FindFirstFile, TakesAnExistingNameWithWildcardCharactersLiterally) {
  TTempDir t;
  t.Write("a1", "one");
  t.Write("a?", "question");
  EXPECT_EQ(Names(t / "a?"), (std::vector<std::string>{"a?"}));
  EXPECT_EQ(Names(t / "a*"), (std::vector<std::string>{"a1", "a?"}));
}

TEST(FindFirstFile, FillsTheRecord) {
  TTempDir t;
  const std::string big = t / "big.bin";
  int fd = ::open(big.c_str(), O_CREAT | O_WRONLY, 0444);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, (5LL << 30) + 7), 0);  // sparse: no disk used
  const timespec times[2] = {{1000000000, 0}, {1715000000, 500}};
  ASSERT_EQ(::futimens(fd, times), 0);
  ::close(fd);
  ::mkdir((t / "dir").c_str(), 0755);

  WIN32_FIND_DATAA d;
  HANDLE h = FindFirstFile(big, &d);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(d.nFileSizeHigh, 1u);
  EXPECT_EQ(d.nFileSizeLow, 0x40000007u);
  EXPECT_STREQ(d.cFileName, "big.bin");
  EXPECT_STREQ(d.cAlternateFileName, "");
  EXPECT_TRUE(d.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  const std::uint64_t write = (std::uint64_t(d.ftLastWriteTime.dwHighDateTime) << 32) | d.ftLastWriteTime.dwLowDateTime;
  EXPECT_EQ(write, (1715000000ULL + 11644473600ULL) * 10000000ULL + 5);
  FindClose(h);

  h = FindFirstFile(t / "dir", &d);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(d.nFileSizeLow, 0u);
  EXPECT_FALSE(FindNextFile(h, &d));
  FindClose(h);
}

TEST(GetShortPathName, IsThePathItselfWhenSomethingIsThere) {
  TTempDir t;
  t.Write("long name.text", "x");
  EXPECT_EQ(GetShortPathName(t / "long name.text"), t / "long name.text");
  EXPECT_EQ(GetShortPathName(t.Path()), t.Path());
  EXPECT_EQ(GetShortPathName(t / "missing"), "");
}

}  // namespace
