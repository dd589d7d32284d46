// Every driver's command lines, as tables: the worked examples, then the
// edge cases (boolean senses, string options, trimming, the output folder).
// Test commands and what zip32j.dll receives are read from the fakes' log.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DriverFactory.h"
#include "FakeFolder.h"
#include "archiver/ArchiveOptions.h"
#include "archiver/SevenZip.h"
#include "platform/codepage.h"

using namespace ArchiverN;
using archtest::FakeFolder;
using archtest::TestOwner;

namespace {

enum class Op { Switches, Extract, Compress, Test, ZipReceives };

struct CommandCase {
  const char* label;
  TArchiveType type;
  std::function<void(TArchiveOptions&)> setup;  // null: the initial options
  std::string archive, outputDir;
  Op op;
  std::string files;
  std::string expected;
  bool zipMode = false;
};

const std::function<void(TArchiveOptions&)> kInitial;

class Commands : public ::testing::Test {
 protected:
  FakeFolder fakes{"unlha32.dll", "unzip32.dll", "zip32j.dll",  "cab32.dll",  "tar32.dll",  "unrar32.dll",
                   "unarj32j.dll", "Bga32.dll",  "UnGCA32.dll", "Yz1.dll",    "7-zip32.dll"};
  TestOwner owner;

  std::string Run(const CommandCase& c) {
    TArchiveOptions options;
    if (c.setup) c.setup(options);
    auto d = archtest::MakeDriver(owner, c.type, c.zipMode);
    d->Options = &options;
    d->ArchiveName = c.archive;
    d->OutputDir = c.outputDir;
    fakes.ClearLog();
    switch (c.op) {
      case Op::Switches: return d->GetSwitches();
      case Op::Extract: return d->MakeExtractCommand(c.files);
      case Op::Compress: return d->MakeCompressCommand(c.files);
      case Op::Test: return LastCommand(archtest::EntryName(c.type), [&] { d->Test(c.files); });
      case Op::ZipReceives: return LastCommand("Zip", [&] { d->Compress(c.files); });
    }
    return {};
  }

  void RunAll(const std::vector<CommandCase>& cases) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.label);
      EXPECT_EQ(Run(c), c.expected);
    }
  }

 private:
  std::string LastCommand(const std::string& entry, const std::function<void()>& run) {
    run();
    auto calls = fakes.CallsOf(entry);
    return calls.empty() ? "(no command ran)" : calls.back()[1];
  }
};

}  // namespace

TEST_F(Commands, WorkedExamples) {
  const std::string lzh = "/data/pack.lzh";
  RunAll({
      {"LHA switches", kTypeLha, kInitial, lzh, "/out", Op::Switches, "", "-a2 -n1 -x1 -m1 -r2"},
      {"LHA extract", kTypeLha, kInitial, lzh, "/out", Op::Extract, "docs/readme.txt",
       "e -a2 -n1 -x1 -m1 -r2 \"/data/pack.lzh\" \"/out/\" docs/readme.txt"},
      {"LHA extract, folder with delimiter", kTypeLha, kInitial, lzh, "/out/", Op::Extract, "",
       "e -a2 -n1 -x1 -m1 -r2 \"/data/pack.lzh\" \"/out/\""},
      {"LHA compress", kTypeLha, kInitial, lzh, "/src", Op::Compress, "*.txt",
       "a -a2 -n1 -x1 -m1 -r2 \"/data/pack.lzh\" \"/src/\" *.txt"},
      {"LHA test", kTypeLha, kInitial, lzh, "/out", Op::Test, "", "t -n1 -r2 \"/data/pack.lzh\""},
      {"LHA switches with method, work folder, excludes", kTypeLha,
       [](TArchiveOptions& o) {
         o.Method = "5";
         o.WorkDir = "/tmp";
         o.Excludes = {"*.bak", "*.tmp"};
       },
       lzh, "/out", Op::Switches, "", "-a2 -n1 -x1 -m1 -r2 -jm5 \"-w/tmp\" -jx*.bak -jx*.tmp"},

      {"ZIP extract", kTypeZip, kInitial, "/in/a.zip", "/out", Op::Extract, "docs/readme.txt",
       "-u --i -q -o \"/in/a.zip\" \"/out/\" docs/readme.txt"},
      {"ZIP extract of an escaped name", kTypeZip, kInitial, "/in/a.zip", "/out", Op::Extract, "img\\[1\\].png",
       "-u --i -q -o \"/in/a.zip\" \"/out/\" img\\[1\\].png"},
      {"ZIP test", kTypeZip, kInitial, "/in/a.zip", "/out", Op::Test, "", "-t --i -q \"/in/a.zip\" \"/out/\""},
      {"ZIP compress", kTypeZip, kInitial, "/in/a.zip", "/out", Op::Compress, "*.txt",
       "!-u -S -q -r \"/in/a.zip\" \"/out/\" *.txt"},
      {"ZIP compress as zip32j receives it", kTypeZip, kInitial, "/in/a.zip", "/out", Op::ZipReceives, "*.txt",
       "-u -S -q -r \"/in/a.zip\" \"/out/\" *.txt"},
      {"ZIP compress without update", kTypeZip, [](TArchiveOptions& o) { o.CheckTime = false; }, "/in/a.zip",
       "/out", Op::Compress, "*.txt", "! -S -q -r \"/in/a.zip\" \"/out/\" *.txt"},
      {"ZIP compress without update as received", kTypeZip, [](TArchiveOptions& o) { o.CheckTime = false; },
       "/in/a.zip", "/out", Op::ZipReceives, "*.txt", "-S -q -r \"/in/a.zip\" \"/out/\" *.txt"},

      {"CAB switches", kTypeCab, kInitial, "/in/a.cab", "/out", Op::Switches, "", "-i -n -o -r"},
      {"CAB extract", kTypeCab, kInitial, "/in/a.cab", "/out", Op::Extract, "docs/readme.txt",
       "-x -i -n -o -r \"/in/a.cab\" \"/out/\" docs/readme.txt"},
      {"CAB compress", kTypeCab, kInitial, "/in/a.cab", "/out", Op::Compress, "*.txt",
       "-a -i -n -o -r \"/in/a.cab\" \"/out/\" *.txt"},
      {"CAB test", kTypeCab, kInitial, "/in/a.cab", "/out", Op::Test, "", "-t -i -n -o -r \"/in/a.cab\" \"/out/\""},
      {"CAB switches with work folder and exclude", kTypeCab,
       [](TArchiveOptions& o) {
         o.WorkDir = "/tmp";
         o.Excludes = {"*.bak"};
       },
       "/in/a.cab", "/out", Op::Switches, "", "-i -n -o -r \"-h/tmp\" -ze*.bak"},

      {"TAR switches", kTypeTar, kInitial, "/in/a.tgz", "/out", Op::Switches, "", "--display-dialog=0"},
      {"TAR extract", kTypeTar, kInitial, "/in/a.tgz", "/out", Op::Extract, "docs/readme.txt",
       "-x --display-dialog=0 \"/in/a.tgz\" \"/out/\" docs/readme.txt"},
      {"TAR compress", kTypeTar, kInitial, "/in/a.tgz", "/out", Op::Compress, "*.txt",
       "-c --display-dialog=0 \"/in/a.tgz\" \"/out/\" *.txt"},
      {"TAR switches, no paths, method z", kTypeTar,
       [](TArchiveOptions& o) {
         o.IgnorePath = true;
         o.Method = "z";
       },
       "/in/a.tgz", "/out", Op::Switches, "", "--display-dialog=0 --use-directory=0 -z"},

      {"RAR extract", kTypeRar, kInitial, "/in/a.rar", "/out", Op::Extract, "",
       "-x -y -u -o -s -r \"/in/a.rar\" \"/out/\""},
      {"RAR extract without paths", kTypeRar, [](TArchiveOptions& o) { o.IgnorePath = true; }, "/in/a.rar", "/out",
       Op::Extract, "readme.txt", "-e -y -u -o -s -r \"/in/a.rar\" \"/out/\" readme.txt"},
      {"RAR test", kTypeRar, kInitial, "/in/a.rar", "/out", Op::Test, "", "-t -y -u -o -s -r \"/in/a.rar\" \"/out/\""},

      {"ARJ extract", kTypeArj, kInitial, "/in/a.arj", "/out", Op::Extract, "",
       "x -i- -hm -f+ -y+ -ha+ -p1 \"/in/a.arj\" \"/out/\""},
      {"ARJ extract without paths or attributes", kTypeArj,
       [](TArchiveOptions& o) {
         o.IgnorePath = true;
         o.Attributes = false;
       },
       "/in/a.arj", "/out", Op::Extract, "readme.txt",
       "x -i- -hm -f+ -y+ -ha+ -hj+ -p1 -a- \"/in/a.arj\" \"/out/\" readme.txt"},
      {"ARJ test", kTypeArj, kInitial, "/in/a.arj", "/out", Op::Test, "",
       "t -i- -hm -f+ -y+ -ha+ -p1 \"/in/a.arj\" \"/out/\""},

      {"BGA extract", kTypeBga, kInitial, "/in/a.gza", "/out", Op::Extract, "",
       "x -i -n -o -r -a \"/in/a.gza\" \"/out/\""},
      {"BGA compress", kTypeBga, kInitial, "/in/a.gza", "/out", Op::Compress, "*.txt",
       "a -i -n -o -r -a \"/in/a.gza\" \"/out/\" *.txt"},
      {"BGA test", kTypeBga, kInitial, "/in/a.gza", "/out", Op::Test, "", "t -i -n -o -r -a \"/in/a.gza\" \"/out/\""},
      {"GCA extract, no files", kTypeGca, kInitial, "/in/a.gca", "/out", Op::Extract, "",
       "e -xx1 \"/in/a.gca\" \"/out/\""},
      {"GCA extract, all files", kTypeGca, kInitial, "/in/a.gca", "/out", Op::Extract, "*.*",
       "e -xx1 \"/in/a.gca\" \"/out/\""},
      {"GCA extract, one file", kTypeGca, kInitial, "/in/a.gca", "/out", Op::Extract, "readme.txt",
       "ex -xx1 \"/in/a.gca\" \"/out/\" readme.txt"},
      {"YZ1 extract", kTypeYz1, kInitial, "/in/a.yz1", "/out", Op::Extract, "", "x -i1 -y1 \"/in/a.yz1\" \"/out/\""},
      {"YZ1 compress", kTypeYz1, kInitial, "/in/a.yz1", "/out", Op::Compress, "*.txt",
       "c -i1 -y1 \"/in/a.yz1\" \"/out/\" *.txt"},

      {"7Z extract", kType7Zip, kInitial, "/in/a.7z", "/out", Op::Extract, "",
       "x -hide -aoa -y -r0 \"/in/a.7z\" \"/out/\""},
      {"7Z extract in zip mode", kType7Zip, kInitial, "/in/a.zip", "/out", Op::Extract, "docs\\readme.txt",
       "x -tzip -hide -aoa -y -r0 \"/in/a.zip\" \"/out/\" docs\\readme.txt", true},
      {"7Z compress new", kType7Zip, [](TArchiveOptions& o) { o.CheckTime = false; }, "/in/a.7z", "/out",
       Op::Compress, "*.txt", "a -hide -aoa -y -r0 -ms=off \"/in/a.7z\" \"/out/\" *.txt"},
      {"7Z compress update", kType7Zip, kInitial, "/in/a.7z", "/out", Op::Compress, "*.txt",
       "u -hide -aoa -y -r0 \"/in/a.7z\" \"/out/\" *.txt"},
      {"7Z compress new in zip mode", kType7Zip, [](TArchiveOptions& o) { o.CheckTime = false; }, "/in/a.zip",
       "/out", Op::Compress, "*.txt", "a -tzip -hide -aoa -y -r0 \"/in/a.zip\" \"/out/\" *.txt", true},
      {"7Z test in zip mode", kType7Zip, kInitial, "/in/a.zip", "/out", Op::Test, "",
       "t -tzip -hide -aoa -y -r0 \"/in/a.zip\" \"/out/\"", true},
  });
}

TEST_F(Commands, BooleansAllOffLeaveTwoBlanksAfterTheCommandWord) {
  RunAll({
      {"LHA", kTypeLha,
       [](TArchiveOptions& o) {
         o.Attributes = o.Overwrite = o.Recursive = false;
         o.ShowDialog = o.IgnorePath = o.CheckTime = true;
       },
       "/data/pack.lzh", "", Op::Extract, "", "e  \"/data/pack.lzh\""},
      {"CAB", kTypeCab,
       [](TArchiveOptions& o) {
         o.ShowDialog = true;
         o.IgnorePath = o.CheckTime = o.Overwrite = o.Recursive = false;
       },
       "/in/a.cab", "", Op::Extract, "", "-x  \"/in/a.cab\""},
      {"TAR", kTypeTar, [](TArchiveOptions& o) { o.ShowDialog = true; }, "/in/a.tgz", "", Op::Extract, "",
       "-x  \"/in/a.tgz\""},
      {"RAR", kTypeRar,
       [](TArchiveOptions& o) {
         o.ShowDialog = true;
         o.CheckTime = o.Overwrite = o.Recursive = false;
       },
       "/in/a.rar", "", Op::Extract, "", "-x  \"/in/a.rar\""},
      {"ARJ", kTypeArj,
       [](TArchiveOptions& o) {
         o.ShowDialog = true;
         o.CheckTime = o.Overwrite = o.IgnorePath = o.Recursive = false;
       },
       "/in/a.arj", "", Op::Extract, "", "x  \"/in/a.arj\""},
      {"BGA", kTypeBga,
       [](TArchiveOptions& o) {
         o.ShowDialog = true;
         o.CheckTime = o.Overwrite = o.Recursive = o.Attributes = false;
       },
       "/in/a.gza", "", Op::Extract, "", "x  \"/in/a.gza\""},
      {"GCA", kTypeGca, [](TArchiveOptions& o) { o.IgnorePath = true; }, "/in/a.gca", "", Op::Extract, "",
       "e  \"/in/a.gca\""},
      {"YZ1", kTypeYz1,
       [](TArchiveOptions& o) {
         o.ShowDialog = true;
         o.Overwrite = false;
       },
       "/in/a.yz1", "", Op::Extract, "", "x  \"/in/a.yz1\""},
      {"7Z new archive", kType7Zip,
       [](TArchiveOptions& o) {
         o.ShowDialog = true;
         o.Overwrite = o.Recursive = o.CheckTime = false;
       },
       "/in/a.7z", "", Op::Compress, "", "a  -ms=off \"/in/a.7z\""},
      {"ZIP extract without update and dialog", kTypeZip,
       [](TArchiveOptions& o) {
         o.CheckTime = o.Overwrite = false;
         o.ShowDialog = true;
       },
       "/in/a.zip", "", Op::Extract, "", "-x -q \"/in/a.zip\""},
  });
}

TEST_F(Commands, EachBooleanWritesItsSwitchInItsOwnSense) {
  RunAll({
      {"LHA no update", kTypeLha, [](TArchiveOptions& o) { o.CheckTime = false; }, "/a.lzh", "", Op::Switches, "",
       "-a2 -n1 -x1 -c1 -m1 -r2"},
      {"LHA dialog shown: test loses -n1", kTypeLha, [](TArchiveOptions& o) { o.ShowDialog = true; }, "/a.lzh", "",
       Op::Test, "x.txt", "t -r2 \"/a.lzh\" x.txt"},
      {"CAB attributes dropped", kTypeCab, [](TArchiveOptions& o) { o.Attributes = false; }, "/a.cab", "",
       Op::Switches, "", "-g -i -n -o -r"},
      {"CAB no paths, no update", kTypeCab,
       [](TArchiveOptions& o) {
         o.IgnorePath = true;
         o.CheckTime = false;
       },
       "/a.cab", "", Op::Switches, "", "-i -j -o -r"},
      {"RAR recursion alone", kTypeRar,
       [](TArchiveOptions& o) {
         o.ShowDialog = true;
         o.CheckTime = o.Overwrite = false;
       },
       "/a.rar", "", Op::Switches, "", "-s -r"},
      {"BGA no paths", kTypeBga, [](TArchiveOptions& o) { o.IgnorePath = true; }, "/a.gza", "", Op::Switches, "",
       "-i -n -o -j -r -a"},
      {"GCA dialog, overwrite, no paths", kTypeGca,
       [](TArchiveOptions& o) { o.ShowDialog = o.IgnorePath = true; }, "/a.gca", "", Op::Switches, "", "-sx1"},
      {"GCA no overwrite", kTypeGca, [](TArchiveOptions& o) { o.Overwrite = false; }, "/a.gca", "", Op::Switches,
       "", "-yx1 -xx1"},
      {"YZ1 no update, no recursion, no paths", kTypeYz1,
       [](TArchiveOptions& o) {
         o.CheckTime = o.Recursive = false;
         o.IgnorePath = true;
       },
       "/a.yz1", "", Op::Switches, "", "-i1 -c1 -y1 -x0 -r0"},
      {"ZIP dialog shown", kTypeZip, [](TArchiveOptions& o) { o.ShowDialog = true; }, "/a.zip", "", Op::Compress,
       "*.txt", "!-u -S -r \"/a.zip\" *.txt"},
      {"ZIP dialog shown, test", kTypeZip, [](TArchiveOptions& o) { o.ShowDialog = true; }, "/a.zip", "", Op::Test,
       "", "-t -q \"/a.zip\""},
      {"ZIP no paths, compress", kTypeZip, [](TArchiveOptions& o) { o.IgnorePath = true; }, "/a.zip", "",
       Op::Compress, "", "!-u -S -q -D -j -r \"/a.zip\""},
      {"ZIP no paths, extract", kTypeZip, [](TArchiveOptions& o) { o.IgnorePath = true; }, "/a.zip", "",
       Op::Extract, "", "-u --i -q -j -o \"/a.zip\""},
      {"ZIP no paths, test", kTypeZip, [](TArchiveOptions& o) { o.IgnorePath = true; }, "/a.zip", "", Op::Test, "",
       "-t --i -q -j \"/a.zip\""},
      {"7Z no paths extracts flat", kType7Zip, [](TArchiveOptions& o) { o.IgnorePath = true; }, "/a.7z", "",
       Op::Extract, "", "e -hide -aoa -y -r0 \"/a.7z\""},
  });
}

TEST_F(Commands, StringOptionsGoInVerbatimAndInOrder) {
  auto all = [](TArchiveOptions& o) {
    o.Method = "5";
    o.WorkDir = "/tmp/w";
    o.Password = "se cret";
    o.AfterDate = "20200101";
    o.BeforeDate = "20201231";
    o.Excludes = {"*.bak", "my file"};
    o.Extra = "-v";
  };
  RunAll({
      {"LHA", kTypeLha, all, "/a.lzh", "", Op::Switches, "",
       "-a2 -n1 -x1 -m1 -r2 -jm5 \"-w/tmp/w\" -jo20200101 -job20201231 -jx*.bak -jxmy file -v"},
      {"CAB", kTypeCab, all, "/a.cab", "", Op::Switches, "",
       "-i -n -o -r -m5 \"-h/tmp/w\" -ys20200101 -ye20201231 -ze*.bak -zemy file -v"},
      {"TAR", kTypeTar, all, "/a.tgz", "", Op::Switches, "", "--display-dialog=0 -5 -v"},
      {"RAR", kTypeRar, all, "/a.rar", "", Op::Switches, "", "-y -u -o -s -r -v"},
      {"ARJ", kTypeArj, all, "/a.arj", "", Op::Switches, "",
       "-i- -hm -f+ -y+ -ha+ -p1 -o20200101 -ob20201231 -x*.bak -xmy file -v"},
      {"BGA", kTypeBga, all, "/a.gza", "", Op::Switches, "", "-i -n -o -r -a -l5 -v"},
      {"GCA", kTypeGca, all, "/a.gca", "", Op::Switches, "", "-xx1 \"-pse cret\" -v"},
      {"YZ1", kTypeYz1, all, "/a.yz1", "", Op::Switches, "", "-i1 -y1 \"-pse cret\" -v"},
      {"7Z", kType7Zip, all, "/a.7z", "", Op::Switches, "",
       "-hide -aoa -y -r0 -m5 \"-w/tmp/w\" \"-pse cret\" -x!*.bak -x!my file -v"},
      {"ZIP compress", kTypeZip, all, "/a.zip", "/out", Op::Compress, "*.txt",
       "!-u -S -q -r -5 \"-Pse cret \" \"-b/tmp/w\" -t20200101 -tt20201231 -v \"/a.zip\" \"/out/\" *.txt"},
      {"ZIP extract", kTypeZip, all, "/a.zip", "/out", Op::Extract, "x",
       "-u --i -q -o \"-Pse cret \" -v \"/a.zip\" \"/out/\" x"},
      {"ZIP test", kTypeZip, all, "/a.zip", "/out", Op::Test, "", "-t --i -q \"-Pse cret \" -v \"/a.zip\" \"/out/\""},
      {"an empty exclude still writes its switch", kTypeLha, [](TArchiveOptions& o) { o.Excludes = {"", "*.tmp"}; },
       "/a.lzh", "", Op::Switches, "", "-a2 -n1 -x1 -m1 -r2 -jx -jx*.tmp"},
  });
}

TEST_F(Commands, OptionsADriverHasNoSwitchForChangeNothing) {
  struct Case {
    TArchiveType type;
    std::function<void(TArchiveOptions&)> change;
    bool compressOnly = false;
  };
  auto password = [](TArchiveOptions& o) { o.Password = "pw"; };
  auto excludes = [](TArchiveOptions& o) { o.Excludes = {"*.bak"}; };
  auto unusedByTar = [](TArchiveOptions& o) {
    o.Overwrite = o.Recursive = o.CheckTime = o.Attributes = false;
    o.WorkDir = "/w";
    o.Password = "pw";
    o.AfterDate = o.BeforeDate = "2020";
    o.Excludes = {"*.bak"};
  };
  auto dates = [](TArchiveOptions& o) { o.AfterDate = o.BeforeDate = "2020"; };
  const std::vector<Case> cases = {
      {kTypeLha, password},    {kTypeCab, password}, {kTypeTar, unusedByTar}, {kTypeRar, password},
      {kTypeRar, excludes},    {kTypeArj, password}, {kTypeBga, password},    {kTypeBga, excludes},
      {kTypeGca, excludes},    {kTypeGca, dates},    {kTypeYz1, excludes},    {kType7Zip, dates},
      {kTypeZip, excludes},    {kTypeZip, [](TArchiveOptions& o) { o.Overwrite = false; }, true},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE("case " + std::to_string(i) + ", type " + std::to_string(cases[i].type));
    for (Op op : {Op::Switches, Op::Extract, Op::Compress}) {
      if (cases[i].compressOnly && op != Op::Compress) continue;
      CommandCase plain{"", cases[i].type, kInitial, "/in/a.x", "/out", op, "f.txt", ""};
      CommandCase changed = plain;
      changed.setup = cases[i].change;
      EXPECT_EQ(Run(changed), Run(plain));
    }
  }
}

TEST_F(Commands, TrimmingAndTheFileListAtTheEnds) {
  RunAll({
      {"LHA: blanks ending Extra are trimmed", kTypeLha, [](TArchiveOptions& o) { o.Extra = "  -y  "; }, "/a.lzh",
       "", Op::Switches, "", "-a2 -n1 -x1 -m1 -r2   -y"},
      {"LHA: leading blanks go when nothing else applies", kTypeLha,
       [](TArchiveOptions& o) {
         o.Attributes = o.Overwrite = o.Recursive = false;
         o.ShowDialog = o.IgnorePath = true;
         o.Extra = "  -y  ";
       },
       "/a.lzh", "", Op::Switches, "", "-y"},
      {"LHA keeps a blank ending the file list", kTypeLha, kInitial, "/a.lzh", "/out", Op::Extract, "a.txt ",
       "e -a2 -n1 -x1 -m1 -r2 \"/a.lzh\" \"/out/\" a.txt "},
      {"CAB trims it", kTypeCab, kInitial, "/a.cab", "/out", Op::Extract, "a.txt ",
       "-x -i -n -o -r \"/a.cab\" \"/out/\" a.txt"},
      {"7Z trims a tab too", kType7Zip, kInitial, "/a.7z", "", Op::Extract, "a.txt\t",
       "x -hide -aoa -y -r0 \"/a.7z\" a.txt"},
      {"an empty archive name is still quoted", kTypeRar, kInitial, "", "", Op::Extract, "",
       "-x -y -u -o -s -r \"\""},
      {"the root as output folder", kTypeArj, kInitial, "/a.arj", "/", Op::Extract, "",
       "x -i- -hm -f+ -y+ -ha+ -p1 \"/a.arj\" \"/\""},
      {"a folder with its delimiter", kTypeBga, kInitial, "/a.gza", "/out/", Op::Extract, "",
       "x -i -n -o -r -a \"/a.gza\" \"/out/\""},
      {"LHA test never names the output folder", kTypeLha,
       [](TArchiveOptions& o) {
         o.WorkDir = "/w";
         o.Extra = "-q";
         o.Method = "5";
         o.Excludes = {"*.bak"};
       },
       "/a.lzh", "/out", Op::Test, "x.txt", "t -n1 -r2 \"-w/w\" -q \"/a.lzh\" x.txt"},
      {"GCA: a blank before *.* makes it a file list", kTypeGca, kInitial, "/a.gca", "", Op::Extract, " *.*",
       "ex -xx1 \"/a.gca\"  *.*"},
      {"GCA: *.TXT is a file list", kTypeGca, kInitial, "/a.gca", "", Op::Extract, "*.TXT",
       "ex -xx1 \"/a.gca\" *.TXT"},
  });
}

TEST_F(Commands, SevenZipSolidSwitchSearchIsCaseSensitive) {
  auto fresh = [](std::string extra, std::string method) {
    return [=](TArchiveOptions& o) {
      o.CheckTime = false;
      o.Extra = extra;
      o.Method = method;
    };
  };
  RunAll({
      {"method already says it", kType7Zip, fresh("", "s=off"), "/a.7z", "", Op::Compress, "",
       "a -hide -aoa -y -r0 -ms=off \"/a.7z\""},
      {"Extra names the zip format", kType7Zip, fresh("-tzip", ""), "/a.7z", "", Op::Compress, "",
       "a -hide -aoa -y -r0 -tzip \"/a.7z\""},
      {"capitals do not count", kType7Zip, fresh("-TZIP", ""), "/a.7z", "", Op::Compress, "",
       "a -hide -aoa -y -r0 -TZIP -ms=off \"/a.7z\""},
      {"capitals do not count for the switch either", kType7Zip, fresh("-MS=OFF", ""), "/a.7z", "", Op::Compress, "",
       "a -hide -aoa -y -r0 -MS=OFF -ms=off \"/a.7z\""},
  });
}

TEST_F(Commands, ZipModeNeverLeaksIntoANewSevenZipDriver) {
  CommandCase zip{"", kType7Zip, kInitial, "/in/a.zip", "/out", Op::Extract, "", "", true};
  EXPECT_NE(Run(zip).find(" -tzip"), std::string::npos);
  CommandCase sevenZip{"", kType7Zip, kInitial, "/in/a.7z", "/out", Op::Extract, "", ""};
  EXPECT_EQ(Run(sevenZip).find("-tzip"), std::string::npos);
}
