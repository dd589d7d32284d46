// The facade over the real modules: each served format is recognised,
// listed and extracted entry by entry, names escaped as the modules expect.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "archiver/Archiver.h"
#include "archiver/SevenZip.h"
#include "archiver/Zip.h"
#include "platform/dynlib.h"

using namespace ArchiverN;
namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool CountProgress(void* context, TArchiver*, std::uint32_t, const ARC_PROGRESS*) {
  ++*static_cast<int*>(context);
  return true;
}

class RealModules : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ClearDllDirectories();
    platform::AddDllDirectory(REAL_MODULES_DIR);
    std::string tmpl = (fs::temp_directory_path() / "arcreal-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    out = tmpl;
  }
  void TearDown() override {
    platform::ClearDllDirectories();
    fs::remove_all(out);
  }
  fs::path out;
};

}  // namespace

TEST_F(RealModules, RecognisesListsAndExtractsEachFormat) {
  struct Case {
    std::string fixture;
    TArchiveType preference, type;
    bool expectZipDriver;
  };
  const std::vector<Case> cases = {
      {"tree-lh5-l2.lzh", 10, 1, false},  {"tree-deflate.zip", 10, 2, false}, {"tree-deflate.zip", 2, 2, true},
      {"tree-nonsolid.7z", 10, 10, false}, {"tree-mszip.cab", 10, 3, false},  {"tree.tgz", 10, 4, false},
      {"tree-rar5.rar", 10, 5, false},
  };
  const fs::path src = fs::path(FIXTURES_DIR) / "src";
  const std::vector<std::string> wanted = {"img[1].txt", "with space.txt", "docs/guide.txt"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture + " with preference " + std::to_string(c.preference));
    const fs::path folder = out / (c.fixture + std::to_string(c.preference));
    fs::create_directories(folder);
    int progress = 0;
    TArchiver a(nullptr, 0);
    a.ZipPreference = c.preference;
    a.OnArchiverProc = {&CountProgress, &progress};
    a.SetFileName((fs::path(FIXTURES_DIR) / c.fixture).string());
    ASSERT_EQ(a.IsArchive(a.ArchiveName), c.type);
    EXPECT_EQ(dynamic_cast<TZip*>(a.Driver) != nullptr, c.expectZipDriver);
    a.SetOutputDir(folder.string());

    std::vector<std::string> names;
    a.FindFirst("*");
    while (a.FindNext()) names.push_back(a.CurrentEntry()->szFileName);
    for (const auto& w : wanted) {
      SCOPED_TRACE(w);
      auto it = std::find_if(names.begin(), names.end(), [&](const std::string& n) {
        std::string slashed = n;
        std::replace(slashed.begin(), slashed.end(), '\\', '/');
        return slashed == w;
      });
      ASSERT_NE(it, names.end());
      EXPECT_EQ(a.ExtractFile(*it), 0);
      EXPECT_EQ(ReadFile(folder / w), ReadFile(src / w));
    }
    a.CloseArchive();
    EXPECT_GT(progress, 0);
  }
}
