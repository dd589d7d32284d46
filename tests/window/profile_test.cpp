#include "platform/profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
namespace fs = std::filesystem;
using platform::GetPrivateProfileString;
using platform::WritePrivateProfileString;

class Profile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("profile_test_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    file_ = (dir_ / "q.ini").string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  void Put(const std::string& content) { std::ofstream(file_, std::ios::binary) << content; }
  std::string Content() const {
    std::ifstream in(file_, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Everything in the folder besides the settings file itself.
  std::vector<std::string> Strays() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_))
      if (e.path().filename() != "q.ini") names.push_back(e.path().filename().string());
    return names;
  }

  fs::path dir_;
  std::string file_;
};

struct ReadCase {
  const char* content;
  const char* section;
  const char* key;
  const char* expected;
};

TEST_F(Profile, ReadsValues) {
  const ReadCase cases[] = {
      {"[Form]\nTop=5\n", "Form", "Top", "5"},
      {"[fORM]\n  tOp =  5  \n", "Form", "TOP", "5"},
      {"[ Form ]\r\nTop=5\r\nLeft=6\r\n", "Form", "Left", "6"},
      {"\xEF\xBB\xBF[Form]\nTop=5\n", "Form", "Top", "5"},
      {"[Form]\nMask=\" *.txt \"\n", "Form", "Mask", " *.txt "},
      {"[Form]\nMask=\"*.txt\n", "Form", "Mask", "\"*.txt"},
      {"[Form]\nMask=\"\"\n", "Form", "Mask", ""},
      {"[Form]\nRename=a=b\n", "Form", "Rename", "a=b"},
      {"[Form]\nTop=\n", "Form", "Top", ""},
      {"[Form]\nTop=1\nTop=2\n[Form]\nTop=3\n", "Form", "Top", "1"},
      {"[Form]\n;Top=9\nLeft=1\n", "Form", "Top", "def"},
      {"Top=9\n[Form]\nLeft=1\n", "Form", "Top", "def"},
      {"[Other]\nTop=9\n[Form]\nLeft=1\n", "Form", "Top", "def"},
      {"[Form]\nLeft=1\n[Other]\nTop=9\n", "Form", "Top", "def"},
      {"[Form]\nFolder=/データ/出力\n", "Form", "Folder", "/データ/出力"},
      {"", "Form", "Top", "def"},
  };
  for (const auto& c : cases) {
    Put(c.content);
    EXPECT_EQ(GetPrivateProfileString(c.section, c.key, "def", file_), c.expected) << c.content;
  }
}

TEST_F(Profile, MissingFileGivesDefault) {
  EXPECT_EQ(GetPrivateProfileString("Form", "Top", "100", file_), "100");
  EXPECT_EQ(GetPrivateProfileString("Form", "Top", "100", dir_.string()), "100");
}

struct WriteCase {
  const char* before;
  const char* key;
  const char* value;
  const char* after;
};

TEST_F(Profile, WritesKeepingTheRestOfTheFile) {
  const WriteCase cases[] = {
      {"; settings\n[Other]\nx=1\n[Form]\nTop=1\nLeft=2\n", "Top", "7",
       "; settings\n[Other]\nx=1\n[Form]\nTop=7\nLeft=2\n"},
      {"[Form]\nTop=1\n\n[Other]\nx=1\n", "Left", "3", "[Form]\nTop=1\nLeft=3\n\n[Other]\nx=1\n"},
      {"[Other]\nx=1", "Top", "1", "[Other]\nx=1\n[Form]\nTop=1\n"},
      {"[Form]\nTop=1", "Left", "2", "[Form]\nTop=1\nLeft=2\n"},
      {"[Other]\r\nx=1\r\n", "Top", "1", "[Other]\r\nx=1\r\n[Form]\r\nTop=1\r\n"},
      {"[FORM]\r\ntop = 1\r\n", "Top", "2", "[FORM]\r\nTop=2\r\n"},
      {"[Form]\n", "Mask", " *.txt", "[Form]\nMask=\" *.txt\"\n"},
      {"[Form]\n", "Mask", "\"q\"", "[Form]\nMask=\"\"q\"\"\n"},
      {"[Form]\n", "Mask", "", "[Form]\nMask=\n"},
  };
  for (const auto& c : cases) {
    Put(c.before);
    EXPECT_TRUE(WritePrivateProfileString("Form", c.key, c.value, file_)) << c.before;
    EXPECT_EQ(Content(), c.after) << c.before;
  }
  EXPECT_TRUE(Strays().empty());
}

TEST_F(Profile, CreatesTheFileAndReadsBackWhatItWrote) {
  const char* values[] = {"", " a", "b ", "\"q\"", "\"", "x=y", "[z]", ";c", "日本語 の 名前", "%a"};
  for (const char* v : values) {
    ASSERT_TRUE(WritePrivateProfileString("Form", "Value", v, file_)) << v;
    EXPECT_EQ(GetPrivateProfileString("Form", "Value", "def", file_), v) << v;
  }
  EXPECT_TRUE(WritePrivateProfileString("Form", "Other", "1", file_));
  EXPECT_EQ(GetPrivateProfileString("form", "VALUE", "def", file_), "%a");
}

TEST_F(Profile, RefusesWhatCannotBeOneLineAndLeavesTheFile) {
  Put("[Form]\nTop=1\n");
  struct {
    const char* section;
    const char* key;
    const char* value;
  } refused[] = {
      {"Form", "Top", "1\n[Evil]"}, {"Form", "Top", "1\r"}, {"Form", "To=p", "1"}, {"Form", "", "1"},
      {"Form", "[Top]", "1"},       {"Fo]rm", "Top", "1"},  {"", "Top", "1"},      {"Fo\nrm", "Top", "1"},
  };
  for (const auto& r : refused) EXPECT_FALSE(WritePrivateProfileString(r.section, r.key, r.value, file_)) << r.key;
  EXPECT_EQ(Content(), "[Form]\nTop=1\n");
}

TEST_F(Profile, FailedWriteReportsAndLeavesNothingBehind) {
  EXPECT_FALSE(WritePrivateProfileString("Form", "Top", "1", (dir_ / "missing" / "q.ini").string()));
  fs::create_directory(dir_ / "q.ini");
  EXPECT_FALSE(WritePrivateProfileString("Form", "Top", "1", file_));
  EXPECT_TRUE(Strays().empty());
  EXPECT_TRUE(fs::is_directory(dir_ / "q.ini"));
}

TEST_F(Profile, WritesThroughALinkAndKeepsTheFileMode) {
  fs::path real = dir_ / "real.ini";
  std::ofstream(real) << "[Form]\nTop=1\n";
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(real, file_);
  EXPECT_TRUE(WritePrivateProfileString("Form", "Top", "2", file_));
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_EQ(GetPrivateProfileString("Form", "Top", "", real.string()), "2");
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
