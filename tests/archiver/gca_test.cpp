// The GCA compress command: comma text, absolute paths against the output
// folder, and the current folder always put back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FakeFolder.h"
#include "archiver/Gca.h"

using ArchiverN::TGca;
using archtest::TestOwner;
namespace fs = std::filesystem;

namespace {

std::string Cwd() { return fs::current_path().string(); }

class GcaCompress : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "arcgca-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    root = fs::canonical(tmpl).string();
    fs::create_directories(root + "/src/sub");
    start = origin = Cwd();
    gca.ArchiveName = "/in/a.gca";
  }
  void TearDown() override {
    fs::current_path(origin);
    fs::remove_all(root);
  }

  std::string Compress(const std::string& outputDir, const std::string& files) {
    gca.OutputDir = outputDir;
    std::string command = gca.MakeCompressCommand(files);
    EXPECT_EQ(Cwd(), start) << "the current folder was not put back";
    return command;
  }

  TestOwner owner;
  TGca gca{&owner};
  std::string root, start, origin;
};

}  // namespace

TEST_F(GcaCompress, MakesEachItemAbsoluteAgainstTheOutputFolder) {
  EXPECT_EQ(Compress(root + "/src/", "a.txt,sub/b.txt"),
            "a -xx1 \"/in/a.gca\" " + root + "/src/a.txt " + root + "/src/sub/b.txt");
}

TEST_F(GcaCompress, CommaTextItems) {
  const std::string src = root + "/src";
  struct Case {
    std::string files, items;
  };
  const std::vector<Case> cases = {
      {"\"my file.txt\"", src + "/my file.txt"},
      {"a.txt,,b.txt", src + "/a.txt  " + src + "/b.txt"},
      {"a.txt,", src + "/a.txt"},
      {"  a.txt , b.txt  ", src + "/a.txt " + src + "/b.txt"},
      {"a.txt b.txt", src + "/a.txt " + src + "/b.txt"},
      {"\"say \"\"hi\"\".txt\",c", src + "/say \"hi\".txt " + src + "/c"},
      {"\"x,y\"", src + "/x,y"},
      {"./a.txt,sub/../b.txt,../up.txt", src + "/a.txt " + src + "/b.txt " + root + "/up.txt"},
      {"/abs/x.txt", "/abs/x.txt"},
      {"sub/", src + "/sub/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.files);
    EXPECT_EQ(Compress(src, c.files), "a -xx1 \"/in/a.gca\" " + c.items);
  }
}

TEST_F(GcaCompress, WithoutOutputFolderTheItemsStayAsGiven) {
  EXPECT_EQ(Compress("", "a.txt,\"b c.txt\",sub/d.txt"), "a -xx1 \"/in/a.gca\" a.txt b c.txt sub/d.txt");
  EXPECT_EQ(Compress("", ""), "a -xx1 \"/in/a.gca\"");
}

TEST_F(GcaCompress, TheRootStaysTheRoot) { EXPECT_EQ(Compress("/", "a.txt"), "a -xx1 \"/in/a.gca\" /a.txt"); }

TEST_F(GcaCompress, AFolderThatCannotBeEnteredLeavesTheCurrentOne) {
  fs::current_path(root);
  start = Cwd();
  EXPECT_EQ(Compress(root + "/no-such-folder", "a.txt"), "a -xx1 \"/in/a.gca\" " + root + "/a.txt");
}
