// The facade with fake modules under the real library names: types by
// extension and by probing, the driver kept or replaced, the ZIP pair,
// escaping, forwarding and the progress relay.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeFolder.h"
#include "archiver/Archiver.h"
#include "archiver/Lha.h"
#include "archiver/Rar.h"
#include "archiver/SevenZip.h"
#include "archiver/Zip.h"
#include "platform/codepage.h"

using namespace ArchiverN;
using archtest::FakeFolder;

namespace {

const std::vector<std::string> kAllModules = {
    "unlha32.dll", "unzip32.dll", "zip32j.dll", "cab32.dll", "tar32.dll", "unrar32.dll",
    "unarj32j.dll", "Bga32.dll",  "UnGCA32.dll", "Yz1.dll",  "7-zip32.dll"};

std::vector<std::string> CheckCalls(const FakeFolder& f) {
  std::vector<std::string> out;
  for (const auto& c : f.Calls())
    if (c.size() > 12 && c.compare(c.size() - 12, 12, "CheckArchive") == 0) out.push_back(c);
  return out;
}

bool InZipMode(TCustomArchiver* d) {
  auto* s = dynamic_cast<T7Zip*>(d);
  return s && s->ZipMode;
}

}  // namespace

TEST(Facade, TypeFromExtension) {
  TArchiver a(nullptr, 0);
  struct Case {
    std::string name;
    TArchiveType type;
  };
  const std::vector<Case> cases = {
      {"a.lzh", 1},  {"a.lhz", 1},    {"a.lzs", 1},    {"ARC.LZH", 1}, {"a.zip", 2},    {"a.jar", 2},
      {"a.cab", 3},  {"a.tar", 4},    {"a.tgz", 4},    {"a.taz", 4},   {"a.gz", 4},     {"a.bz2", 4},
      {"x.Z", 4},    {"a.cpio", 4},   {"a.rpm", 4},    {"a.deb", 4},   {"a.tar.gz", 4}, {"a.rar", 5},
      {"a.arj", 6},  {"a.gza", 7},    {"a.bza", 7},    {"a.gca", 8},   {"a.yz1", 9},    {"a.7z", 10},
      {"x.7Z", 10},  {"/d/noext", 0}, {"name.", 0},    {"/dir.lzh/file", 0}, {"a.lzh.bak", 0}, {"", 0},
      {"a.7zip", 0}, {".lzh", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(a.TypeFromExtension(c.name), c.type) << c.name;
}

TEST(Facade, ConstructionRegistersTheMessageAndAWindowThatDiesWithIt) {
  platform::HWND window;
  {
    TArchiver a(nullptr, 0x42);
    EXPECT_EQ(a.MessageId, platform::RegisterWindowMessage("wm_arcextract"));
    EXPECT_TRUE(platform::IsWindow(a.MessageWindow));
    EXPECT_EQ(a.ZipPreference, 10);
    EXPECT_EQ(a.OwnerWindow, 0x42u);
    ASSERT_NE(a.Options, nullptr);
    EXPECT_TRUE(a.Options->Recursive);
    EXPECT_EQ(a.Driver, nullptr);
    window = a.MessageWindow;
  }
  EXPECT_FALSE(platform::IsWindow(window));
}

TEST(Facade, DiesWithItsOwnerAndTakesItsDriverAndModuleAlong) {
  FakeFolder fakes{"unlha32.dll"};
  const std::string module = fakes.Path() + "/unlha32.dll";
  auto* owner = new platform::TComponent(nullptr);
  auto* a = new TArchiver(owner, 0);
  a->SelectDriver(1);
  ASSERT_NE(a->Driver, nullptr);
  const platform::HWND window = a->MessageWindow;
  delete owner;
  EXPECT_FALSE(platform::IsWindow(window));
  void* still = ::dlopen(module.c_str(), RTLD_NOW | RTLD_NOLOAD);
  EXPECT_EQ(still, nullptr);
  if (still) ::dlclose(still);
}

TEST(Facade, ProbesLhaBeforeZipForAFileWithoutKnownExtension) {
  FakeFolder fakes(kAllModules);
  fakes.Set("SevenZip.CheckArchive", "1");
  const std::string file = fakes.MakeFile("data.bin");
  TArchiver a(nullptr, 0);
  fakes.ClearLog();
  EXPECT_EQ(a.IsArchive(file), 2);
  EXPECT_EQ(CheckCalls(fakes), (std::vector<std::string>{"UnlhaCheckArchive", "SevenZipCheckArchive"}));
  EXPECT_EQ(fakes.CallsOf("SevenZipCheckArchive")[0], (std::vector<std::string>{file, "0"}));
  EXPECT_TRUE(InZipMode(a.Driver));
  EXPECT_EQ(a.ComponentCount(), 1);
}

TEST(Facade, AnExtensionThatLiesIsProbedAgainInTurn) {
  FakeFolder fakes(kAllModules);
  fakes.Set("Tar.CheckArchive", "1");
  const std::string file = fakes.MakeFile("really-a-tar.lzh");
  TArchiver a(nullptr, 0);
  fakes.ClearLog();
  EXPECT_EQ(a.IsArchive(file), 4);
  EXPECT_EQ(CheckCalls(fakes), (std::vector<std::string>{"UnlhaCheckArchive", "UnlhaCheckArchive",
                                                         "SevenZipCheckArchive", "CabCheckArchive",
                                                         "TarCheckArchive"}));
}

TEST(Facade, NoModuleAcceptsTheFile) {
  FakeFolder fakes(kAllModules);
  const std::string file = fakes.MakeFile("plain.txt");
  TArchiver a(nullptr, 0);
  EXPECT_EQ(a.IsArchive(file), 0);
  EXPECT_EQ(a.Driver, nullptr);
  EXPECT_EQ(CheckCalls(fakes).size(), 10u);  // one question to each type's module
  EXPECT_EQ(a.ComponentCount(), 0);
}

// Preference first; the other when the first one's module did not load.
// The first of a pair is destroyed at once when it is not used.
TEST(Facade, ZipPairInBothDirectionsOfThePreference) {
  struct Case {
    TArchiveType preference;
    std::vector<std::string> modules;
    bool expectSevenZip;
  };
  const std::vector<Case> cases = {
      {10, {"7-zip32.dll", "unzip32.dll"}, true}, {10, {"unzip32.dll"}, false}, {10, {}, false},
      {2, {"7-zip32.dll", "unzip32.dll"}, false}, {2, {"7-zip32.dll"}, true},    {2, {}, true},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    FakeFolder fakes(cases[i].modules);
    TArchiver a(nullptr, 0);
    a.ZipPreference = cases[i].preference;
    a.SelectDriver(2);
    ASSERT_NE(a.Driver, nullptr);
    if (cases[i].expectSevenZip) {
      EXPECT_TRUE(InZipMode(a.Driver));
    } else {
      EXPECT_NE(dynamic_cast<TZip*>(a.Driver), nullptr);
    }
    EXPECT_EQ(a.ComponentCount(), 1);
    EXPECT_EQ(a.Components(0), a.Driver);
  }
}

TEST(Facade, AlternatingZipAndOtherTypesLeavesNoDriversBehind) {
  FakeFolder fakes{"unzip32.dll", "unlha32.dll"};
  TArchiver a(nullptr, 0);
  for (int i = 0; i < 3; ++i) {
    a.SelectDriver(2);
    a.SelectDriver(1);
  }
  EXPECT_EQ(a.ComponentCount(), 1);
}

TEST(Facade, KeepsTheDriverForTheSameTypeAndReplacesItForAnother) {
  FakeFolder fakes(kAllModules);
  fakes.Set("Unlha.CheckArchive", "1");
  const std::string first = fakes.MakeFile("a.lzh"), second = fakes.MakeFile("b.lzh");
  TArchiver a(nullptr, 0);
  a.SetOutputDir("/out");
  a.SetFileName(first);
  TCustomArchiver* lha = a.Driver;
  ASSERT_NE(dynamic_cast<TLha*>(lha), nullptr);
  a.SetFileName(second);
  EXPECT_EQ(a.Driver, lha);
  EXPECT_EQ(lha->ArchiveName, second);
  EXPECT_EQ(fakes.CallsOf("UnlhaSetOwnerWindowEx").size(), 1u);  // loaded once

  a.SetFileName("/nowhere/c.cab");
  EXPECT_EQ(a.Driver->TypeCode, 3);
  EXPECT_EQ(a.ComponentCount(), 1);
}

TEST(Facade, HandsItsStateToEveryNewDriver) {
  FakeFolder fakes{"unlha32.dll"};
  TArchiver a(nullptr, 0x77);
  a.OpenMode = 3;
  a.SetOutputDir("/out");
  a.ArchiveName = "/in/a.lzh";
  a.SelectDriver(1);
  ASSERT_NE(a.Driver, nullptr);
  EXPECT_EQ(a.Driver->OwnerWindow, 0x77u);
  EXPECT_EQ(a.Driver->Options, a.Options);
  EXPECT_EQ(a.Driver->ArchiveName, "/in/a.lzh");
  EXPECT_EQ(a.Driver->OutputDir, "/out");
  EXPECT_EQ(a.Driver->OpenMode, 3);
  EXPECT_EQ(a.Driver->OwnerArchiver, &a);
  EXPECT_EQ(fakes.CallsOf("UnlhaSetOwnerWindowEx")[0][0], std::to_string(a.MessageWindow));

  a.SetOutputDir("/elsewhere");
  EXPECT_EQ(a.Driver->OutputDir, "/elsewhere");
}

TEST(Facade, ZipModeIsLeftBehindForASevenZipArchive) {
  FakeFolder fakes{"7-zip32.dll"};
  TArchiver a(nullptr, 0);
  a.SetOutputDir("/out");
  a.SetFileName("/in/a.zip");
  ASSERT_TRUE(InZipMode(a.Driver));
  EXPECT_EQ(a.ExtractFile("x.txt"), 0);
  a.SetFileName("/in/b.7z");
  auto* seven = dynamic_cast<T7Zip*>(a.Driver);
  ASSERT_NE(seven, nullptr);
  EXPECT_FALSE(seven->ZipMode);
  EXPECT_EQ(a.ExtractFile("y.txt"), 0);
  auto commands = fakes.CallsOf("SevenZip");
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0][1], "x -tzip -hide -aoa -y -r0 \"/in/a.zip\" \"/out/\" x.txt");
  EXPECT_EQ(commands[1][1], "x -hide -aoa -y -r0 \"/in/b.7z\" \"/out/\" y.txt");

  // A second 7z archive keeps the driver without zip mode.
  a.SetFileName("/in/c.7z");
  EXPECT_EQ(a.Driver, seven);
}

TEST(Facade, AMissingRarFileSelectsTheRarDriverWithoutAnyCheck) {
  FakeFolder fakes(kAllModules);
  TArchiver a(nullptr, 0);
  a.SetFileName(fakes.Path() + "/missing.rar");
  EXPECT_NE(dynamic_cast<TRar*>(a.Driver), nullptr);
  EXPECT_EQ(a.Driver->ArchiveName, fakes.Path() + "/missing.rar");
  EXPECT_TRUE(CheckCalls(fakes).empty());
}

TEST(Facade, AnExistingFileNoModuleAcceptsKeepsItsExtensionsDriver) {
  FakeFolder fakes(kAllModules);
  const std::string file = fakes.MakeFile("broken.cab");
  TArchiver a(nullptr, 0);
  a.SetFileName(file);
  ASSERT_NE(a.Driver, nullptr);
  EXPECT_EQ(a.Driver->TypeCode, 3);
  EXPECT_EQ(a.Driver->ArchiveName, file);
}

TEST(Facade, WithoutADriver) {
  FakeFolder fakes{"unlha32.dll"};
  TArchiver a(nullptr, 0);
  a.SetFileName("/in/a.lzh");
  ASSERT_NE(a.Driver, nullptr);
  a.SetFileName("");
  EXPECT_EQ(a.Driver, nullptr);
  EXPECT_EQ(a.ExtractFile("a.txt"), -1);
  EXPECT_EQ(a.CurrentEntry(), nullptr);
  a.FindFirst("*");
  EXPECT_FALSE(a.FindNext());
  a.CloseArchive();
  a.SetFileName("/in/unknown.xyz");
  EXPECT_EQ(a.Driver, nullptr);
}

TEST(Facade, WalksAndExtractsThroughTheDriver) {
  FakeFolder fakes{"unlha32.dll"};
  fakes.Set("OpenArchive", "5");
  fakes.Set("Entries", "docs/a.txt,b.txt");
  fakes.Set("Command", "0x8004");
  TArchiver a(nullptr, 0);
  a.SetFileName("/in/a.lzh");
  a.SetOutputDir("/out");
  a.FindFirst("*.txt");
  ASSERT_TRUE(a.FindNext());
  ASSERT_NE(a.CurrentEntry(), nullptr);
  EXPECT_STREQ(a.CurrentEntry()->szFileName, "docs/a.txt");
  EXPECT_EQ(a.CurrentEntry(), &a.Driver->EntryInfo);
  EXPECT_TRUE(a.FindNext());
  EXPECT_STREQ(a.CurrentEntry()->szFileName, "b.txt");
  EXPECT_EQ(a.ExtractFile("docs\\a.txt"), 0x8004);
  EXPECT_EQ(fakes.CallsOf("Unlha")[0][1], "e -a2 -n1 -x1 -m1 -r2 \"/in/a.lzh\" \"/out/\" docs/a.txt");
  a.CloseArchive();
  EXPECT_EQ(a.Driver->ArchiveHandle, 0u);
}

TEST(Facade, EscapeNameEscapesBracketsForTheZipDriverAlone) {
  FakeFolder fakes{"unzip32.dll", "unlha32.dll", "7-zip32.dll"};
  TArchiver a(nullptr, 0);
  EXPECT_EQ(a.EscapeName("dir\\a[1].txt"), "dir/a[1].txt");  // no driver

  a.ZipPreference = 2;
  a.SelectDriver(2);
  ASSERT_EQ(a.Driver->TypeCode, 2);
  EXPECT_EQ(a.EscapeName("dir\\a[1].txt"), "dir/a\\[1\\].txt");
  EXPECT_EQ(a.EscapeName("[[x]]"), "\\[\\[x\\]\\]");
  a.SetOutputDir("/out");
  a.ArchiveName = "/in/a.zip";
  a.Driver->ArchiveName = "/in/a.zip";
  a.ExtractFile("img[1].png");
  EXPECT_EQ(fakes.CallsOf("UnZip")[0][1], "-u --i -q -o \"/in/a.zip\" \"/out/\" img\\[1\\].png");

  a.SelectDriver(1);
  EXPECT_EQ(a.EscapeName("dir\\a[1].txt"), "dir/a[1].txt");
  a.ZipPreference = 10;
  a.SelectDriver(2);
  ASSERT_TRUE(InZipMode(a.Driver));
  EXPECT_EQ(a.EscapeName("dir\\a[1].txt"), "dir/a[1].txt");
}

TEST(Facade, EscapeNameStepsOverDoubleByteCharacters) {
  FakeFolder fakes{"unzip32.dll"};
  platform::SetCodePage(platform::CodePage::Cp932);
  TArchiver a(nullptr, 0);
  a.ZipPreference = 2;
  a.SelectDriver(2);
  struct Case {
    std::string name, escaped;
  };
  // 0x95 0x5C and 0x83 0x5B, 0x81 0x5D: second bytes "\", "[" and "]".
  const std::vector<Case> cases = {
      {"\x95\x5C[1].txt", "\x95\x5C\\[1\\].txt"},
      {"d\\\x95\x5C\\x", "d/\x95\x5C/x"},
      {"\x83\x5B\x81\x5D.txt", "\x83\x5B\x81\x5D.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(a.EscapeName(c.name), c.escaped);
  platform::SetCodePage(platform::CodePage::Utf8);
}

// --- the progress relay ---

namespace {

struct Recorder {
  bool answer = true;
  int calls = 0;
  TArchiver* sender = nullptr;
  std::uint32_t state = 0;
  const ARC_PROGRESS* record = nullptr;
};

bool Record(void* context, TArchiver* sender, std::uint32_t state, const ARC_PROGRESS* record) {
  auto* r = static_cast<Recorder*>(context);
  ++r->calls;
  r->sender = sender;
  r->state = state;
  r->record = record;
  return r->answer;
}

}  // namespace

TEST(Facade, MessageProcAnswersThroughTheRegisteredMessage) {
  TArchiver a(nullptr, 0);
  ARC_PROGRESS progress{};
  progress.dwFileSize = 10;
  auto send = [&](unsigned msg) {
    return platform::SendMessage(a.MessageWindow, msg, ARC_STATE_INPROCESS,
                                 reinterpret_cast<platform::LPARAM>(&progress));
  };
  EXPECT_EQ(send(a.MessageId), 0);  // no callback

  Recorder r;
  a.OnArchiverProc = {&Record, &r};
  EXPECT_EQ(send(a.MessageId), 0);
  EXPECT_EQ(r.sender, &a);
  EXPECT_EQ(r.state, static_cast<std::uint32_t>(ARC_STATE_INPROCESS));
  EXPECT_EQ(r.record, &progress);

  r.answer = false;
  EXPECT_EQ(send(a.MessageId), 1);

  r.answer = true;
  a.Abort = true;
  EXPECT_EQ(send(a.MessageId), 1);
  EXPECT_EQ(r.calls, 3);

  EXPECT_EQ(send(a.MessageId + 1), 0);  // default processing
  EXPECT_EQ(send(0x0010), 0);
  EXPECT_EQ(r.calls, 3);
}
