// The driver base against the fake module: loading, the soft answers, the
// command runner, the memory variants, the settings dialog and enumeration.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "FakeFolder.h"
#include "archiver/CustomArchiver.h"
#include "platform/codepage.h"

using ArchiverN::TCustomArchiver;
using archtest::FakeFolder;
using archtest::TestOwner;

namespace {

// A base driver on the fake module "fake.dll" (prefix "Fake") that records
// the names it resolves and can leave chosen names unresolved.
class TRecordingDriver : public TCustomArchiver {
 public:
  TRecordingDriver(TestOwner* owner, const std::string& library, std::set<std::string> omit = {})
      : TCustomArchiver(owner), omit_(std::move(omit)) {
    LoadDll(library, "Fake");
  }
  void* GetProc(const std::string& name) override {
    requested.push_back(name);
    return omit_.count(name) ? nullptr : TCustomArchiver::GetProc(name);
  }
  std::vector<std::string> requested;

 private:
  std::set<std::string> omit_;
};

class DriverBase : public ::testing::Test {
 protected:
  FakeFolder fakes{"fake.dll"};
  TestOwner owner;
};

}  // namespace

TEST_F(DriverBase, ResolvesTheTwentyNamesInOrderThenTellsTheModuleItsWindows) {
  TRecordingDriver d(&owner, "fake.dll");
  const std::vector<std::string> expected = {
      "FakeGetVersion",        "FakeCheckArchive",      "FakeGetRunning",       "Fake",
      "FakeQueryFunctionList", "FakeGetBackGroundMode", "FakeSetBackGroundMode", "FakeGetCursorMode",
      "FakeSetCursorMode",     "FakeGetCursorInterval", "FakeSetCursorInterval", "FakeGetFileCount",
      "FakeExtractMem",        "FakeCompressMem",       "FakeConfigDialog",     "FakeOpenArchive",
      "FakeCloseArchive",      "FakeFindFirst",         "FakeFindNext",         "FakeSetOwnerWindowEx"};
  EXPECT_EQ(d.requested, expected);
  ASSERT_NE(d.DllHandle, nullptr);
  EXPECT_EQ(d.OwnerWindow, owner.ownerWindow);

  EXPECT_EQ(fakes.Calls(), (std::vector<std::string>{"FakeSetOwnerWindowEx", "FakeSetCursorMode"}));
  EXPECT_EQ(fakes.CallsOf("FakeSetOwnerWindowEx")[0],
            (std::vector<std::string>{std::to_string(owner.messageWindow), "null"}));
  EXPECT_EQ(fakes.CallsOf("FakeSetCursorMode")[0][0], "0");
}

TEST_F(DriverBase, ALibraryThatDoesNotExistGivesEverySoftAnswer) {
  TRecordingDriver d(&owner, "no-such-module-anywhere.dll");
  EXPECT_EQ(d.DllHandle, nullptr);
  EXPECT_TRUE(d.requested.empty());
  EXPECT_EQ(d.GetVersion(), 0);
  EXPECT_FALSE(d.GetRunning());
  EXPECT_FALSE(d.CheckArchive("/in/x.lzh", 0));
  EXPECT_EQ(d.Execute("e x"), -1);
  EXPECT_EQ(d.Extract("*.txt"), -1);
  EXPECT_EQ(d.Compress("*.txt"), -1);
  EXPECT_EQ(d.Test(""), 0);

  unsigned char buf[8];
  std::uint32_t size = sizeof buf;
  std::int32_t time = 5;
  std::uint16_t attr = 6;
  EXPECT_EQ(d.ExtractMem("e x", buf, size, time, attr), -1);
  EXPECT_EQ(size, sizeof buf);
  EXPECT_EQ(d.CompressMem("a x", buf, size, 0, 0), -1);
  EXPECT_EQ(size, sizeof buf);

  std::string text = "keep me";
  EXPECT_FALSE(d.ConfigDialog(1, text));
  EXPECT_EQ(text, "keep me");

  EXPECT_FALSE(d.OpenArchive("/in/x.lzh", 0));
  EXPECT_FALSE(d.FindFirst("*"));
  EXPECT_FALSE(d.FindNext());
  EXPECT_EQ(d.GetFileCount(), 0);
  EXPECT_EQ(d.GetProc("FakeGetVersion"), nullptr);
}

// Each wrapper with its function present answers what the module says (and
// passes its argument on); with the function left out it answers softly and
// the module hears nothing of it.
TEST_F(DriverBase, EachWrapperAnswersTheModuleOrSoftlyWhenItsFunctionIsMissing) {
  struct Case {
    std::string name;     // the module function, without the prefix
    std::string answer;   // what the module is told to answer
    std::function<int(TCustomArchiver&)> call;
    int present, missing;
    std::string argument;  // the first logged argument, when checked
  };
  unsigned char buf[16];
  const std::vector<Case> cases = {
      {"GetVersion", "321", [](TCustomArchiver& d) { return d.GetVersion(); }, 321, 0, ""},
      {"GetRunning", "5", [](TCustomArchiver& d) { return int(d.GetRunning()); }, 1, 0, ""},
      {"GetBackGroundMode", "2", [](TCustomArchiver& d) { return int(d.GetBackGroundMode()); }, 1, 0, ""},
      {"SetBackGroundMode", "1", [](TCustomArchiver& d) { return int(d.SetBackGroundMode(true)); }, 1, 0, "1"},
      {"GetCursorMode", "1", [](TCustomArchiver& d) { return int(d.GetCursorMode()); }, 1, 0, ""},
      {"SetCursorMode", "1", [](TCustomArchiver& d) { return int(d.SetCursorMode(true)); }, 1, 0, "1"},
      {"GetCursorInterval", "80", [](TCustomArchiver& d) { return d.GetCursorInterval(); }, 80, 0, ""},
      {"SetCursorInterval", "1", [](TCustomArchiver& d) { return int(d.SetCursorInterval(90)); }, 1, 0, "90"},
      {"QueryFunctionList", "1", [](TCustomArchiver& d) { return int(d.QueryFunctionList(3)); }, 1, 0, "3"},
      {"CheckArchive", "1", [](TCustomArchiver& d) { return int(d.CheckArchive("/in/a.x", 0)); }, 1, 0, "/in/a.x"},
      {"GetFileCount", "7", [](TCustomArchiver& d) { return d.GetFileCount(); }, 7, 0, "/in/a.x"},
      {"", "0x8004", [](TCustomArchiver& d) { return d.Execute("e cmd"); }, 0x8004, -1, std::to_string(0x1234)},
      {"ExtractMem", "0x8003",
       [&](TCustomArchiver& d) {
         std::uint32_t size = sizeof buf;
         std::int32_t t = 0;
         std::uint16_t a = 0;
         return d.ExtractMem("e m", buf, size, t, a);
       },
       0x8003, -1, ""},
      {"CompressMem", "0x8002",
       [&](TCustomArchiver& d) {
         std::uint32_t size = sizeof buf;
         return d.CompressMem("a m", buf, size, 0, 0);
       },
       0x8002, -1, ""},
      {"ConfigDialog", "1",
       [](TCustomArchiver& d) {
         std::string t = "x";
         return int(d.ConfigDialog(1, t));
       },
       1, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("function '" + c.name + "'");
    const std::string full = "Fake" + c.name;
    fakes.Set(c.name.empty() ? "Command" : c.name, c.answer);
    {
      TRecordingDriver d(&owner, "fake.dll");
      d.SetArchiveName("/in/a.x");
      fakes.ClearLog();
      EXPECT_EQ(c.call(d), c.present);
      auto calls = fakes.CallsOf(full);
      ASSERT_EQ(calls.size(), 1u);
      if (!c.argument.empty()) {
        EXPECT_EQ(calls[0][0], c.argument);
      }
    }
    {
      TRecordingDriver d(&owner, "fake.dll", {full});
      d.SetArchiveName("/in/a.x");
      fakes.ClearLog();
      EXPECT_EQ(c.call(d), c.missing);
      EXPECT_TRUE(fakes.CallsOf(full).empty());
    }
  }
}

TEST_F(DriverBase, ExecuteHandsBackTheModulesTextAndCodeThroughA32KBuffer) {
  fakes.Set("Command", "0x8001");
  fakes.Set("Output", "2 files\textracted");
  TRecordingDriver d(&owner, "fake.dll");
  EXPECT_EQ(d.OutputSize, 32768);
  EXPECT_EQ(d.Execute("e \"/in/a.lzh\""), 0x8001);
  EXPECT_EQ(d.OutputText, "2 files\textracted");
  auto calls = fakes.CallsOf("Fake");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], (std::vector<std::string>{std::to_string(owner.ownerWindow), "e \"/in/a.lzh\"", "32768"}));

  // Without the entry point the last text stays.
  TRecordingDriver missing(&owner, "fake.dll", {"Fake"});
  missing.OutputText = "earlier";
  EXPECT_EQ(missing.Execute("e x"), -1);
  EXPECT_EQ(missing.OutputText, "earlier");
}

// Every operation that runs a module command or check closes the open
// archive first, also when its own function is missing.
TEST_F(DriverBase, CommandsAndChecksCloseTheOpenArchiveFirst) {
  struct Case {
    std::string name, function;
    std::function<void(TCustomArchiver&)> call;
  };
  unsigned char buf[4];
  const std::vector<Case> cases = {
      {"Execute", "Fake", [](TCustomArchiver& d) { d.Execute("e x"); }},
      {"Extract", "Fake", [](TCustomArchiver& d) { d.Extract("a.txt"); }},
      {"Compress", "Fake", [](TCustomArchiver& d) { d.Compress("a.txt"); }},
      {"CheckArchive", "FakeCheckArchive", [](TCustomArchiver& d) { d.CheckArchive("/in/a.x", 0); }},
      {"ExtractMem", "FakeExtractMem",
       [&](TCustomArchiver& d) {
         std::uint32_t s = sizeof buf;
         std::int32_t t;
         std::uint16_t a;
         d.ExtractMem("e x", buf, s, t, a);
       }},
      {"CompressMem", "FakeCompressMem",
       [&](TCustomArchiver& d) {
         std::uint32_t s = sizeof buf;
         d.CompressMem("a x", buf, s, 0, 0);
       }},
  };
  fakes.Set("OpenArchive", "77");
  for (bool omit : {false, true}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.name + (omit ? " without its function" : ""));
      TRecordingDriver d(&owner, "fake.dll", omit ? std::set<std::string>{c.function} : std::set<std::string>{});
      ASSERT_TRUE(d.OpenArchive("/in/a.x", 0));
      fakes.ClearLog();
      c.call(d);
      EXPECT_EQ(d.ArchiveHandle, 0u);
      auto calls = fakes.Calls();
      ASSERT_FALSE(calls.empty());
      EXPECT_EQ(calls[0], "FakeCloseArchive");
      EXPECT_EQ(fakes.CallsOf("FakeCloseArchive")[0][0], "77");
      EXPECT_EQ(calls.size(), omit ? 1u : 2u);
    }
  }
}

TEST_F(DriverBase, ConfigDialogBufferHoldsTheTextAnd520BytesAtLeast) {
  struct Case {
    std::size_t length;
    std::string answerCode;
    bool expected;
  };
  for (const Case& c : {Case{0, "1", true}, Case{3, "2", false}, Case{600, "1", true}, Case{519, "0", false}}) {
    SCOPED_TRACE("text of " + std::to_string(c.length));
    const std::string text(c.length, 'q');
    // The module fills the buffer to the limit it may rely on.
    const std::string reply(std::max<std::size_t>(519, c.length), 'r');
    fakes.Set("ConfigDialog", c.answerCode);
    fakes.Set("ConfigText", reply);
    fakes.ClearLog();
    TRecordingDriver d(&owner, "fake.dll");
    fakes.ClearLog();
    std::string inOut = text;
    EXPECT_EQ(d.ConfigDialog(4, inOut), c.expected);
    EXPECT_EQ(inOut, reply);  // taken whatever the answer
    auto calls = fakes.CallsOf("FakeConfigDialog");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0][0], std::to_string(owner.ownerWindow));
    EXPECT_EQ(calls[0][1], text);
    EXPECT_EQ(calls[0][2], "4");
    const std::size_t bufferSize = std::stoul(calls[0][3]);
    EXPECT_GE(bufferSize, 520u);
    EXPECT_GE(bufferSize, c.length + 1);
  }
}

TEST_F(DriverBase, MemoryVariantsPassSizesTimesAndAttributes) {
  fakes.Set("MemData", "hello");
  TRecordingDriver d(&owner, "fake.dll");
  fakes.ClearLog();

  unsigned char buf[16] = {};
  std::uint32_t size = sizeof buf;
  std::int32_t time = 0;
  std::uint16_t attr = 0;
  EXPECT_EQ(d.ExtractMem("e x", buf, size, time, attr), 0);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 5), "hello");
  EXPECT_EQ(time, 1234);
  EXPECT_EQ(attr, 0x20);
  // The capacity goes in; the written count starts at 0.
  EXPECT_EQ(fakes.CallsOf("FakeExtractMem")[0],
            (std::vector<std::string>{std::to_string(owner.ownerWindow), "e x", "16", "time", "attr", "0"}));

  std::uint32_t length = 10;
  EXPECT_EQ(d.CompressMem("a x", buf, length, 0, 0x21), 0);
  EXPECT_EQ(length, 5u);
  length = 10;
  EXPECT_EQ(d.CompressMem("a x", buf, length, 99, 0x21), 0);
  auto calls = fakes.CallsOf("FakeCompressMem");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], (std::vector<std::string>{std::to_string(owner.ownerWindow), "a x", "10", "null", "33", "0"}));
  EXPECT_EQ(calls[1][3], "99");

  // The list variants run the driver's commands.
  d.ArchiveName = "/in/m.x";
  size = sizeof buf;
  d.ExtractToMemory("a.txt", buf, size, time, attr);
  length = 4;
  d.CompressToMemory("b.txt", buf, length, 0, 0);
  EXPECT_EQ(fakes.CallsOf("FakeExtractMem")[1][1], "e  \"/in/m.x\" a.txt");
  EXPECT_EQ(fakes.CallsOf("FakeCompressMem")[2][1], "a  \"/in/m.x\" b.txt");
}

TEST_F(DriverBase, BaseCommandsPutTwoBlanksAfterTheWordAndTheOutputFolderRule) {
  TRecordingDriver d(&owner, "no-such-module-anywhere.dll");
  d.ArchiveName = "/in/x.lzh";
  struct Case {
    std::string outputDir, files, extract;
  };
  const std::vector<Case> cases = {
      {"/out", "*.txt", "e  \"/in/x.lzh\" \"/out/\" *.txt"},
      {"/out/", "*.txt", "e  \"/in/x.lzh\" \"/out/\" *.txt"},
      {"/", "", "e  \"/in/x.lzh\" \"/\""},
      {"", "", "e  \"/in/x.lzh\""},
      {"", "a b ", "e  \"/in/x.lzh\" a b "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("output '" + c.outputDir + "' files '" + c.files + "'");
    d.OutputDir = c.outputDir;
    EXPECT_EQ(d.MakeExtractCommand(c.files), c.extract);
    EXPECT_EQ(d.MakeCompressCommand(c.files), "a" + c.extract.substr(1));
  }
}

TEST(DriverBaseCodePage, AFolderEndingInADoubleByteCharacterGetsTheDelimiter) {
  platform::SetCodePage(platform::CodePage::Cp932);
  TestOwner owner;
  TRecordingDriver d(&owner, "no-such-module-anywhere.dll");
  d.ArchiveName = "/in/x.lzh";
  d.OutputDir = "/out/\x95\x5C";  // a character whose second byte is a backslash
  EXPECT_EQ(d.MakeExtractCommand(""), "e  \"/in/x.lzh\" \"/out/\x95\x5C/\"");
  platform::SetCodePage(platform::CodePage::Utf8);
}

// --- enumeration ---

TEST_F(DriverBase, WalksThreeEntriesWithTheFirstHandedOutWithoutAModuleCall) {
  fakes.Set("OpenArchive", "9");
  fakes.Set("Entries", "a.txt,b.txt,c.txt");
  TRecordingDriver d(&owner, "fake.dll");
  d.SetArchiveName("/in/a.x");
  fakes.ClearLog();
  d.BeginFind("*.txt");
  EXPECT_EQ(d.FindState, 1);
  EXPECT_EQ(fakes.Calls(), (std::vector<std::string>{"FakeOpenArchive", "FakeFindFirst"}));
  EXPECT_EQ(fakes.CallsOf("FakeFindFirst")[0], (std::vector<std::string>{"9", "*.txt"}));

  std::vector<std::string> names;
  while (d.FindNextEntry()) {
    names.push_back(d.EntryInfo.szFileName);
    if (names.size() == 1) {
      EXPECT_TRUE(fakes.CallsOf("FakeFindNext").empty());
      EXPECT_EQ(d.EntryInfo.dwOriginalSize, 100u);
    }
  }
  EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
  const auto* bytes = reinterpret_cast<const unsigned char*>(&d.EntryInfo);
  EXPECT_EQ(std::count(bytes, bytes + sizeof d.EntryInfo, 0), static_cast<long>(sizeof d.EntryInfo));
}

TEST_F(DriverBase, AMaskThatMatchesNothingThenAsksTheStillOpenArchive) {
  fakes.Set("OpenArchive", "9");
  TRecordingDriver d(&owner, "fake.dll");
  d.SetArchiveName("/in/a.x");
  d.BeginFind("*.none");
  EXPECT_EQ(d.FindState, -1);
  fakes.ClearLog();
  EXPECT_FALSE(d.FindNextEntry());
  EXPECT_TRUE(fakes.Calls().empty());
  fakes.Set("Entries", "late.txt");  // the module's own answer counts now
  EXPECT_TRUE(d.FindNextEntry());
  EXPECT_STREQ(d.EntryInfo.szFileName, "late.txt");
  EXPECT_EQ(fakes.Calls(), (std::vector<std::string>{"FakeFindNext"}));
  EXPECT_EQ(d.ArchiveHandle, 9u);
}

TEST_F(DriverBase, AnExtractionBetweenEntriesEndsTheWalk) {
  fakes.Set("OpenArchive", "9");
  fakes.Set("Entries", "a.txt,b.txt,c.txt");
  TRecordingDriver d(&owner, "fake.dll");
  d.SetArchiveName("/in/a.x");
  d.BeginFind("*");
  ASSERT_TRUE(d.FindNextEntry());
  d.Extract("a.txt");
  fakes.ClearLog();
  EXPECT_FALSE(d.FindNextEntry());
  EXPECT_FALSE(d.FindNextEntry());
  EXPECT_TRUE(fakes.Calls().empty());  // no FindNext without a handle
}

TEST_F(DriverBase, AnExtractionRightAfterBeginFindStillHandsOutThePendingEntry) {
  fakes.Set("OpenArchive", "9");
  fakes.Set("Entries", "a.txt,b.txt");
  TRecordingDriver d(&owner, "fake.dll");
  d.SetArchiveName("/in/a.x");
  d.BeginFind("*");
  d.Extract("x");
  EXPECT_TRUE(d.FindNextEntry());
  EXPECT_STREQ(d.EntryInfo.szFileName, "a.txt");
  EXPECT_FALSE(d.FindNextEntry());
}

TEST_F(DriverBase, AnEmptyArchiveNameOpensNothing) {
  fakes.Set("OpenArchive", "9");
  fakes.Set("Entries", "a.txt");
  TRecordingDriver d(&owner, "fake.dll");
  fakes.ClearLog();
  d.BeginFind("*");
  EXPECT_EQ(d.FindState, -1);
  EXPECT_FALSE(d.FindNextEntry());
  EXPECT_FALSE(d.FindNextEntry());
  EXPECT_TRUE(fakes.Calls().empty());
}

TEST_F(DriverBase, RenamingClosesAndCountingLeavesTheWalkAlone) {
  fakes.Set("OpenArchive", "9");
  fakes.Set("Entries", "a.txt,b.txt,c.txt");
  fakes.Set("GetFileCount", "3");
  TRecordingDriver d(&owner, "fake.dll");
  d.SetArchiveName("/in/a.x");
  d.BeginFind("*");
  ASSERT_TRUE(d.FindNextEntry());
  EXPECT_EQ(d.GetFileCount(), 3);
  ASSERT_TRUE(d.FindNextEntry());
  EXPECT_STREQ(d.EntryInfo.szFileName, "b.txt");

  d.SetArchiveName("/in/b.x");
  EXPECT_EQ(d.ArchiveHandle, 0u);
  EXPECT_EQ(d.ArchiveName, "/in/b.x");
  EXPECT_FALSE(d.FindNextEntry());
}

TEST_F(DriverBase, AnArchiveThatCannotBeOpenedFindsNothing) {
  fakes.Set("Entries", "a.txt");  // OpenArchive answers 0
  TRecordingDriver d(&owner, "fake.dll");
  d.SetArchiveName("/in/broken.x");
  fakes.ClearLog();
  d.BeginFind("*");
  EXPECT_EQ(d.FindState, -1);
  EXPECT_FALSE(d.FindNextEntry());
  EXPECT_EQ(fakes.Calls(), (std::vector<std::string>{"FakeOpenArchive"}));
}

TEST_F(DriverBase, DestructionClosesTheOpenArchive) {
  fakes.Set("OpenArchive", "9");
  {
    TRecordingDriver d(&owner, "fake.dll");
    ASSERT_TRUE(d.OpenArchive("/in/a.x", 3));
    EXPECT_EQ(fakes.CallsOf("FakeOpenArchive")[0][2], "3");
    fakes.ClearLog();
  }
  EXPECT_EQ(fakes.Calls(), (std::vector<std::string>{"FakeCloseArchive"}));
}
