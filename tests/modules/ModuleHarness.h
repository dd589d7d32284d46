#pragma once
// Loads one real module from the build's bin folder and calls it the way the
// program does; plus the temporary folders and tree comparisons the tests share.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "modules/arcapi.h"
#include "platform/dynlib.h"

namespace modtest {

namespace fs = std::filesystem;

struct Listed {
  std::string name;
  std::uint32_t size;
  std::string attribute;
  std::uint32_t packed = 0, crc = 0;
  std::uint16_t ratio = 0;
};

struct Result {
  int code;
  std::string text;
};

class Module {
 public:
  Module(const std::string& file, const std::string& prefix);
  ~Module();
  bool Loaded() const { return lib_ != nullptr; }
  void* Proc(const std::string& suffix) const;
  Result Run(const std::string& command) const;
  std::vector<Listed> List(const std::string& archive, const std::string& mask = "*.*") const;
  bool Check(const std::string& archive) const;
  long Opens() const;
  const std::string& Prefix() const { return prefix_; }

 private:
  platform::HMODULE lib_ = nullptr;
  std::string prefix_;
};

std::string Fixture(const std::string& name);

// A tar written at test time for cases the fixtures do not hold.
struct Item {
  std::string name;
  unsigned type;     // AE_IFREG, AE_IFDIR, AE_IFLNK
  std::string data;  // contents, or the link target
  std::string hardlink = "";
};
void WriteTar(const fs::path& file, const std::vector<Item>& items);
std::string ReadAll(const fs::path& p);

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const fs::path& path() const { return path_; }
  std::string Slash() const { return path_.string() + "/"; }

 private:
  fs::path path_;
};

// Every file and folder below root: relative name -> contents ("/" for folders).
std::map<std::string, std::string> Tree(const fs::path& root);
// The source tree of the fixtures, without what the given archive cannot hold.
std::map<std::string, std::string> SourceTree(bool withEmptyFolder = true);

}  // namespace modtest
