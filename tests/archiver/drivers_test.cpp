// What each format driver adds besides its command texts: its module and
// prefix, its type code, the refusals of compression and the test command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DriverFactory.h"
#include "FakeFolder.h"

using namespace ArchiverN;
using archtest::FakeFolder;
using archtest::TestOwner;

namespace {

const std::vector<std::string> kAllModules = {
    "unlha32.dll", "unzip32.dll", "zip32j.dll", "cab32.dll", "tar32.dll", "unrar32.dll",
    "unarj32j.dll", "Bga32.dll",  "UnGCA32.dll", "Yz1.dll",  "7-zip32.dll"};

}  // namespace

TEST(Drivers, EachLoadsItsModuleUnderItsPrefix) {
  FakeFolder fakes(kAllModules);
  TestOwner owner;
  for (TArchiveType t = kTypeLha; t <= kType7Zip; ++t) {
    SCOPED_TRACE("type " + std::to_string(t));
    fakes.ClearLog();
    auto d = archtest::MakeDriver(owner, t);
    EXPECT_EQ(d->TypeCode, t);
    EXPECT_NE(d->DllHandle, nullptr);
    EXPECT_EQ(fakes.Calls(), (std::vector<std::string>{archtest::EntryName(t) + "SetOwnerWindowEx",
                                                       archtest::EntryName(t) + "SetCursorMode"}));
    EXPECT_NE(d->Functions.Command, nullptr);
  }
}

TEST(Drivers, RarAndArjRefuseCompressionWithoutTouchingTheModule) {
  FakeFolder fakes(kAllModules);
  fakes.Set("OpenArchive", "4");
  TestOwner owner;
  for (TArchiveType t : {kTypeRar, kTypeArj}) {
    SCOPED_TRACE("type " + std::to_string(t));
    auto d = archtest::MakeDriver(owner, t);
    ASSERT_TRUE(d->OpenArchive("/in/a.x", 0));
    d->OutputText = "previous";
    fakes.ClearLog();
    EXPECT_EQ(d->Compress("*.txt"), ARC_E_NOT_SUPPORTED);
    unsigned char data[4] = {};
    std::uint32_t size = sizeof data;
    EXPECT_EQ(d->CompressToMemory("*.txt", data, size, 0, 0), ARC_E_NOT_SUPPORTED);
    EXPECT_EQ(size, sizeof data);
    EXPECT_EQ(d->MakeCompressCommand("*.txt"), "");
    EXPECT_TRUE(fakes.Calls().empty());
    EXPECT_EQ(d->ArchiveHandle, 4u);
    EXPECT_EQ(d->OutputText, "previous");
  }
  FakeFolder none;
  for (TArchiveType t : {kTypeRar, kTypeArj}) EXPECT_EQ(archtest::MakeDriver(owner, t)->Compress("x"), 0x8023);
}

TEST(Drivers, TestRunsACommandOnlyWhereTheFormatHasOne) {
  TestOwner owner;
  struct Case {
    TArchiveType type;
    int withModule, withoutModule;
  };
  const int code = 0x8006;
  const std::vector<Case> cases = {
      {kTypeLha, code, -1}, {kTypeZip, code, 0},  {kTypeCab, code, -1}, {kTypeTar, 0, 0},  {kTypeRar, code, -1},
      {kTypeArj, code, -1}, {kTypeBga, code, -1}, {kTypeGca, 0, 0},     {kTypeYz1, 0, 0},   {kType7Zip, code, -1},
  };
  {
    FakeFolder fakes(kAllModules);
    fakes.Set("Command", "0x8006");
    for (const auto& c : cases) {
      SCOPED_TRACE("type " + std::to_string(c.type));
      auto d = archtest::MakeDriver(owner, c.type);
      d->ArchiveName = "/in/a.x";
      fakes.ClearLog();
      EXPECT_EQ(d->Test(""), c.withModule);
      EXPECT_EQ(fakes.CallsOf(archtest::EntryName(c.type)).size(), c.withModule == 0 ? 0u : 1u);
    }
  }
  FakeFolder none;
  for (const auto& c : cases) {
    SCOPED_TRACE("type " + std::to_string(c.type) + " without its module");
    EXPECT_EQ(archtest::MakeDriver(owner, c.type)->Test(""), c.withoutModule);
  }
}

TEST(Drivers, ExtractPassesTheModulesCodeUnchanged) {
  FakeFolder fakes(kAllModules);
  fakes.Set("Command", "0x8003");
  TestOwner owner;
  for (TArchiveType t = kTypeLha; t <= kType7Zip; ++t) {
    SCOPED_TRACE("type " + std::to_string(t));
    EXPECT_EQ(archtest::MakeDriver(owner, t)->Extract("a.txt"), 0x8003);
  }
  FakeFolder none;
  for (TArchiveType t = kTypeLha; t <= kType7Zip; ++t) EXPECT_EQ(archtest::MakeDriver(owner, t)->Extract("a"), -1);
}
