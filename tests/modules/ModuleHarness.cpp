#include "ModuleHarness.h"

#include <archive.h>
#include <archive_entry.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>

namespace modtest {

Module::Module(const std::string& file, const std::string& prefix) : prefix_(prefix) {
  lib_ = platform::LoadLibrary(std::string(QUILLABY_BIN_DIR) + "/" + file);
}

Module::~Module() {
  if (lib_) platform::FreeLibrary(lib_);
}

void* Module::Proc(const std::string& suffix) const { return platform::GetProcAddress(lib_, prefix_ + suffix); }

Result Module::Run(const std::string& command) const {
  auto fn = reinterpret_cast<ARC_COMMAND_FN>(Proc(""));
  std::vector<char> out(32768, 'x');
  int code = fn(0, command.c_str(), out.data(), static_cast<uint32_t>(out.size()));
  return {code, std::string(out.data())};
}

std::vector<Listed> Module::List(const std::string& archive, const std::string& mask) const {
  auto open = reinterpret_cast<ARC_OPENARCHIVE_FN>(Proc("OpenArchive"));
  auto first = reinterpret_cast<ARC_FINDFIRST_FN>(Proc("FindFirst"));
  auto next = reinterpret_cast<ARC_FINDNEXT_FN>(Proc("FindNext"));
  auto close = reinterpret_cast<ARC_CLOSEARCHIVE_FN>(Proc("CloseArchive"));
  std::vector<Listed> out;
  ARC_HARC h = open(0, archive.c_str(), 0);
  if (!h) return out;
  ARC_INDIVIDUALINFO info{};
  for (int r = first(h, mask.c_str(), &info); r == 0; r = next(h, &info)) {
    out.push_back({info.szFileName, info.dwOriginalSize, info.szAttribute, info.dwCompressedSize, info.dwCRC, info.wRatio});
    info = ARC_INDIVIDUALINFO{};
  }
  close(h);
  return out;
}

bool Module::Check(const std::string& archive) const {
  return reinterpret_cast<ARC_CHECKARCHIVE_FN>(Proc("CheckArchive"))(archive.c_str(), 0) != 0;
}

long Module::Opens() const { return reinterpret_cast<long (*)()>(Proc("DebugOpenCount"))(); }

void WriteTar(const fs::path& file, const std::vector<Item>& items) {
  struct archive* a = archive_write_new();
  archive_write_set_format_pax_restricted(a);
  archive_write_open_filename(a, file.c_str());
  for (const Item& it : items) {
    struct archive_entry* e = archive_entry_new();
    archive_entry_set_pathname(e, it.name.c_str());
    archive_entry_set_filetype(e, it.type);
    archive_entry_set_perm(e, 0644);
    if (!it.hardlink.empty()) archive_entry_set_hardlink(e, it.hardlink.c_str());
    if (it.type == AE_IFLNK) archive_entry_set_symlink(e, it.data.c_str());
    bool data = it.type == AE_IFREG && it.hardlink.empty();
    archive_entry_set_size(e, static_cast<la_int64_t>(data ? it.data.size() : 0));
    archive_write_header(a, e);
    if (data) archive_write_data(a, it.data.data(), it.data.size());
    archive_entry_free(e);
  }
  archive_write_close(a);
  archive_write_free(a);
}

std::string Fixture(const std::string& name) { return std::string(QUILLABY_FIXTURES) + "/" + name; }

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TempDir::TempDir() {
  std::random_device rd;
  path_ = fs::temp_directory_path() / ("quillaby-mod-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::map<std::string, std::string> Tree(const fs::path& root) {
  std::map<std::string, std::string> t;
  if (!fs::exists(root)) return t;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    std::string rel = fs::relative(it->path(), root).string();
    if (it->is_symlink()) t[rel] = "-> " + fs::read_symlink(it->path()).string();
    else if (it->is_directory()) t[rel] = "/";
    else t[rel] = ReadAll(it->path());
  }
  return t;
}

std::map<std::string, std::string> SourceTree(bool withEmptyFolder) {
  std::map<std::string, std::string> t = Tree(Fixture("src"));
  t["empty"] = "/";  // git does not keep the empty folder
  if (!withEmptyFolder) t.erase("empty");
  return t;
}

}  // namespace modtest
