#pragma once
// Test support: a temporary module folder holding chosen fake modules, which
// the library search looks in first, with the fakes' control and log files;
// and a stand-in owner for drivers built without the facade.
#include <initializer_list>
#include <string>
#include <vector>

#include "archiver/ArchiverOwner.h"
#include "platform/component.h"

namespace archtest {

class FakeFolder {
 public:
  // Each module is a file below the fake build folder ("unlha32.dll",
  // "nozip/zip32j.dll"), copied under its own file name.
  explicit FakeFolder(const std::vector<std::string>& modules = {});
  FakeFolder(std::initializer_list<std::string> modules) : FakeFolder(std::vector<std::string>(modules)) {}
  ~FakeFolder();
  FakeFolder(const FakeFolder&) = delete;
  FakeFolder& operator=(const FakeFolder&) = delete;

  const std::string& Path() const { return path_; }
  // Sets one answer ("Command", "SevenZip.CheckArchive", ...); later values win.
  void Set(const std::string& key, const std::string& value);
  // One line per call received, in order: name, then arguments, tab-separated.
  std::vector<std::string> Log() const;
  // The names of the calls alone.
  std::vector<std::string> Calls() const;
  // The argument fields of every call of that name, in order.
  std::vector<std::vector<std::string>> CallsOf(const std::string& name) const;
  void ClearLog() const;
  // A file in the folder (for archives the fakes are asked about).
  std::string MakeFile(const std::string& name) const;

 private:
  std::string path_;
  std::vector<std::pair<std::string, std::string>> answers_;
};

class TestOwner : public platform::TComponent, public ArchiverN::IArchiverOwner {
 public:
  TestOwner() : platform::TComponent(nullptr) {}
  platform::TComponent* OwnerComponent() override { return this; }
  platform::HWND OwnerWindowHandle() const override { return ownerWindow; }
  platform::HWND MessageWindowHandle() const override { return messageWindow; }

  platform::HWND ownerWindow = 0x1234;
  platform::HWND messageWindow = 0x5678;
};

}  // namespace archtest
