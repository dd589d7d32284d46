#include "platform/dynlib.h"

#include <gtest/gtest.h>

#include "platform/paths.h"

namespace {
using namespace platform;

using ProbeFn = int (*)();

int Which(HMODULE h) {
  auto fn = reinterpret_cast<ProbeFn>(GetProcAddress(h, "ProbeWhich"));
  return fn ? fn() : -1;
}

class DynLib : public ::testing::Test {
 protected:
  void TearDown() override { ClearDllDirectories(); }
};

TEST_F(DynLib, AddedFoldersComeFirstNewestFirst) {
  AddDllDirectory(PROBE_DIR_A);
  AddDllDirectory(PROBE_DIR_B);
  HMODULE h = LoadLibrary("probe.so");
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(Which(h), 2);
  FreeLibrary(h);

  ClearDllDirectories();
  AddDllDirectory(PROBE_DIR_A);
  h = LoadLibrary("probe.so");
  EXPECT_EQ(Which(h), 1);
  FreeLibrary(h);
}

TEST_F(DynLib, ExecutableFolderBeforeTheSystemSearch) {
  EXPECT_EQ(path::FolderOf(ExecutablePath()), ExecutableDir());
  HMODULE h = LoadLibrary("probe_exe.so");  // built beside the test executable
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(Which(h), 3);
  FreeLibrary(h);
}

TEST_F(DynLib, PathsMissingLibrariesAndNames) {
  HMODULE h = LoadLibrary(std::string(PROBE_DIR_A) + "/probe.so");
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(Which(h), 1);
  // Names are looked up exactly, case included.
  EXPECT_EQ(GetProcAddress(h, "probewhich"), nullptr);
  FreeLibrary(h);

  EXPECT_EQ(LoadLibrary("no-such-library.dll"), nullptr);
  EXPECT_EQ(LoadLibrary(""), nullptr);
  EXPECT_EQ(LoadLibrary("/no/such/probe.so"), nullptr);
  EXPECT_EQ(GetProcAddress(nullptr, "ProbeWhich"), nullptr);
  FreeLibrary(nullptr);
}

}  // namespace
