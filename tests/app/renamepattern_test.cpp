#include "app/core/RenamePattern.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <vector>

#include "TempDir.h"

namespace {

TEST(MakeRenamedName, ExpandsThePatternToAFreeName) {
  struct Case {
    const char* pattern;
    const char* archive;
    const char* entry;
    const char* extension;
    std::vector<std::string> present;
    const char* expected;
  } cases[] = {
      {"%a", "/in/pack.lzh", "readme.txt", ".txt", {}, "pack.txt"},
      {"%a", "/in/pack.lzh", "readme.txt", ".txt", {"pack.txt", "pack0.txt"}, "pack1.txt"},
      {"%f_%n", "/in/pack.lzh", "doc/readme.txt", ".txt", {}, "readme_0.txt"},
      {"%f_%n", "/in/pack.lzh", "doc/readme.txt", ".txt", {"readme_0.txt"}, "readme_1.txt"},
      {"%n%n", "/in/pack.lzh", "readme.txt", ".txt", {}, "0.txt"},
      {"%%a", "/in/pack.lzh", "readme.txt", ".txt", {}, "a.txt"},
      {"  \t ", "/in/pack.lzh", "readme.txt", ".txt", {}, ".txt"},
      {"   ", "/in/pack.lzh", "readme.txt", ".txt", {".txt", "0.txt"}, "1.txt"},
      {"%a", "/in/pack.lzh", "README", "", {}, "pack"},
      {"%f", "/in/pack.lzh", "dir/README", "", {"README"}, "README0"},
      {" %a-%f ", "/in/100%.lzh", "50%n.txt", ".txt", {}, "100%-50%n.txt"},
      {"%a_%n", "/in/%n.lzh", "x.txt", ".txt", {}, "%n_0.txt"},
      {"%a%", "/in/pack.lzh", "x.txt", ".txt", {}, "pack.txt"},
      {"%A%x%%%a", "/in/pack.lzh", "x.txt", ".txt", {}, "pack.txt"},
      {"%a", "/in/a.tar.gz", "x.txt", ".txt", {}, "a.tar.txt"},
      {"日%a本", "/in/pack.lzh", "x.txt", ".txt", {}, "日pack本.txt"},
      // A folder of that name is not free either.
      {"%a", "/in/pack.lzh", "readme.txt", ".txt", {"pack.txt/"}, "pack0.txt"},
      // Nothing is ever named with the empty name.
      {"", "/in/pack.lzh", "README", "", {}, "0"},
  };
  for (const Case& c : cases) {
    TTempDir t;
    for (const std::string& p : c.present) {
      if (p.back() == '/') ::mkdir((t / p).c_str(), 0755);
      else t.Write(p, "x");
    }
    EXPECT_EQ(quillaby::MakeRenamedName(c.pattern, c.archive, c.entry, c.extension, t.Path() + "/"), c.expected)
        << "pattern '" << c.pattern << "' entry " << c.entry;
  }
}

TEST(MakeRenamedName, AcceptsTheFolderWithOrWithoutItsDelimiter) {
  TTempDir t;
  t.Write("pack.txt", "x");
  EXPECT_EQ(quillaby::MakeRenamedName("%a", "/in/pack.lzh", "r.txt", ".txt", t.Path()), "pack0.txt");
  EXPECT_EQ(quillaby::MakeRenamedName("%a", "/in/pack.lzh", "r.txt", ".txt", t.Path() + "/"), "pack0.txt");
}

}  // namespace
