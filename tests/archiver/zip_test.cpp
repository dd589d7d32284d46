// The ZIP driver's two libraries: routing by the compression marker, the
// compression library loaded once on first need, and what is released.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FakeFolder.h"
#include "archiver/Zip.h"

using ArchiverN::TZip;
using archtest::FakeFolder;
using archtest::TestOwner;

namespace {

bool Loaded(const std::string& path) {
  void* h = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (h) ::dlclose(h);
  return h != nullptr;
}

}  // namespace

TEST(ZipDriver, RoutesOnlyAMarkedCommandToTheCompressionLibrary) {
  FakeFolder fakes{"unzip32.dll", "zip32j.dll"};
  fakes.Set("Zip.Command", "0x8009");
  fakes.Set("UnZip.Command", "0x8003");
  fakes.Set("Zip.Output", "zipped");
  TestOwner owner;
  TZip zip(&owner);
  zip.LoadZipDll();
  struct Case {
    std::string command, entry, received;
    int result;
  };
  const std::vector<Case> cases = {
      {"!-u a b", "Zip", "-u a b", 0x8009},
      {"!  -S x  ", "Zip", "-S x", 0x8009},
      {"-u !a", "UnZip", "-u !a", 0x8003},
      {" !a", "UnZip", " !a", 0x8003},
      {"", "UnZip", "", 0x8003},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("'" + c.command + "'");
    fakes.ClearLog();
    EXPECT_EQ(zip.Execute(c.command), c.result);
    auto calls = fakes.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], c.entry);
    auto args = fakes.CallsOf(c.entry)[0];
    EXPECT_EQ(args.size() > 1 ? args[1] : std::string(), c.received);
  }
  EXPECT_EQ(zip.Execute("!x"), 0x8009);
  EXPECT_EQ(zip.OutputText, "zipped");
}

TEST(ZipDriver, LoadsTheCompressionLibraryOnFirstNeedAndTellsItTheMessageWindow) {
  FakeFolder fakes{"unzip32.dll", "zip32j.dll"};
  const std::string zipPath = fakes.Path() + "/zip32j.dll";
  const std::string unzipPath = fakes.Path() + "/unzip32.dll";
  TestOwner owner;
  {
    TZip zip(&owner);
    EXPECT_EQ(zip.ZipDll, nullptr);
    EXPECT_TRUE(Loaded(unzipPath));
    EXPECT_FALSE(Loaded(zipPath));
    ASSERT_NE(zip.UnZipProc, nullptr);
    zip.ArchiveName = "/in/a.zip";
    EXPECT_EQ(zip.Extract("a.txt"), 0);
    EXPECT_FALSE(Loaded(zipPath));

    fakes.ClearLog();
    EXPECT_EQ(zip.Compress("*.txt"), 0);
    EXPECT_TRUE(Loaded(zipPath));
    EXPECT_EQ(fakes.Calls(), (std::vector<std::string>{"ZipSetOwnerWindowEx", "Zip"}));
    EXPECT_EQ(fakes.CallsOf("ZipSetOwnerWindowEx")[0][0], std::to_string(owner.messageWindow));
    EXPECT_NE(zip.ZipConfigDialogProc, nullptr);
    EXPECT_NE(zip.ZipGetVersionProc, nullptr);
    EXPECT_NE(zip.ZipQueryEncryptionProc, nullptr);

    fakes.ClearLog();
    zip.Compress("*.txt");
    EXPECT_EQ(fakes.Calls(), (std::vector<std::string>{"Zip"}));  // not loaded again
  }
  EXPECT_FALSE(Loaded(zipPath));
  EXPECT_FALSE(Loaded(unzipPath));
}

TEST(ZipDriver, ADriverWithoutCompressionReleasesOnlyTheExtractionLibrary) {
  FakeFolder fakes{"unzip32.dll", "zip32j.dll"};
  TestOwner owner;
  { TZip zip(&owner); }
  EXPECT_FALSE(Loaded(fakes.Path() + "/unzip32.dll"));
  EXPECT_FALSE(Loaded(fakes.Path() + "/zip32j.dll"));
  EXPECT_TRUE(fakes.CallsOf("ZipSetOwnerWindowEx").empty());
}

TEST(ZipDriver, AMissingCompressionLibraryIsLookedForOnce) {
  FakeFolder fakes{"unzip32.dll"};
  TestOwner owner;
  TZip zip(&owner);
  zip.OutputText = "before";
  EXPECT_EQ(zip.Compress("*.txt"), -1);
  EXPECT_EQ(zip.ZipDll, TZip::ZipDllFailed);

  // Installing it now changes nothing: the failed load is final.
  std::filesystem::copy_file(std::string(FAKEMODS_DIR) + "/zip32j.dll", fakes.Path() + "/zip32j.dll");
  EXPECT_EQ(zip.Compress("*.txt"), -1);
  EXPECT_EQ(zip.Execute("!-u x"), -1);
  std::string text = "options";
  EXPECT_FALSE(zip.ConfigDialog(2, text));
  EXPECT_EQ(text, "options");
  std::uint32_t size = 4;
  unsigned char data[4] = {};
  EXPECT_EQ(zip.CompressToMemory("*.txt", data, size, 0, 0), -1);
  EXPECT_TRUE(fakes.CallsOf("Zip").empty());
  EXPECT_EQ(zip.OutputText, "before");

  // Extraction is not affected.
  zip.ArchiveName = "/in/a.zip";
  EXPECT_EQ(zip.Extract("a.txt"), 0);
}

TEST(ZipDriver, ACompressionLibraryWithoutItsEntryPointStillServesTheDialog) {
  FakeFolder fakes{"unzip32.dll", "nozip/zip32j.dll"};
  fakes.Set("Zip.ConfigDialog", "1");
  fakes.Set("Zip.ConfigText", "level=9");
  TestOwner owner;
  TZip zip(&owner);
  EXPECT_EQ(zip.Compress("*.txt"), -1);
  EXPECT_EQ(zip.Execute("!-u x"), -1);
  std::string text(600, 'o');
  EXPECT_TRUE(zip.ConfigDialog(2, text));
  EXPECT_EQ(text, "level=9");
  auto calls = fakes.CallsOf("ZipConfigDialog");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0][1], std::string(600, 'o'));
  EXPECT_GE(std::stoul(calls[0][3]), 601u);
}

TEST(ZipDriver, DialogModesOtherThanTwoGoToTheExtractionLibrary) {
  FakeFolder fakes{"unzip32.dll", "zip32j.dll"};
  fakes.Set("UnZip.ConfigDialog", "1");
  TestOwner owner;
  TZip zip(&owner);
  std::string text = "x";
  EXPECT_TRUE(zip.ConfigDialog(1, text));
  EXPECT_EQ(fakes.CallsOf("UnZipConfigDialog").size(), 1u);
  EXPECT_EQ(zip.ZipDll, nullptr);
}

TEST(ZipDriver, WithoutTheExtractionLibrary) {
  FakeFolder fakes{"zip32j.dll"};
  TestOwner owner;
  TZip zip(&owner);
  EXPECT_EQ(zip.DllHandle, nullptr);
  EXPECT_EQ(zip.UnZipProc, nullptr);
  EXPECT_EQ(zip.Extract("a.txt"), -1);
  EXPECT_EQ(zip.Test(""), 0);
  EXPECT_FALSE(zip.CheckArchive("/in/a.zip", 0));
  unsigned char buf[4];
  std::uint32_t size = sizeof buf;
  std::int32_t time = 0;
  std::uint16_t attr = 0;
  EXPECT_EQ(zip.ExtractToMemory("a.txt", buf, size, time, attr), -1);
  EXPECT_EQ(size, sizeof buf);
  EXPECT_EQ(zip.Compress("*.txt"), 0);  // compression does not need it
}

TEST(ZipDriver, MemoryCompressionGetsTheCommandWithoutTheMarker) {
  FakeFolder fakes{"unzip32.dll", "zip32j.dll"};
  TestOwner owner;
  TZip zip(&owner);
  zip.ArchiveName = "/in/a.zip";
  unsigned char data[4] = {};
  std::uint32_t size = sizeof data;
  EXPECT_EQ(zip.CompressToMemory("a.txt", data, size, 0, 0), 0);
  auto calls = fakes.CallsOf("UnZipCompressMem");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0][1], "-u -S -q -r \"/in/a.zip\" a.txt");
}
