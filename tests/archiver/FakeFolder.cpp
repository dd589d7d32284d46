#include "FakeFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/dynlib.h"

namespace fs = std::filesystem;

namespace archtest {

FakeFolder::FakeFolder(const std::vector<std::string>& modules) {
  std::string tmpl = (fs::temp_directory_path() / "arcfake-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("cannot create a temporary folder");
  path_ = fs::canonical(tmpl).string();
  for (const auto& m : modules) {
    fs::path from = fs::path(FAKEMODS_DIR) / m;
    fs::copy_file(from, fs::path(path_) / from.filename());
  }
  platform::ClearDllDirectories();
  platform::AddDllDirectory(path_);
}

FakeFolder::~FakeFolder() {
  platform::ClearDllDirectories();
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void FakeFolder::Set(const std::string& key, const std::string& value) {
  answers_.emplace_back(key, value);
  std::ofstream out(path_ + "/fake.ctl", std::ios::trunc);
  // The fake takes the last line of a key.
  for (const auto& [k, v] : answers_) out << k << "=" << v << "\n";
}

std::vector<std::string> FakeFolder::Log() const {
  std::vector<std::string> lines;
  std::ifstream in(path_ + "/fake.log");
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> FakeFolder::Calls() const {
  std::vector<std::string> names;
  for (const auto& line : Log()) names.push_back(line.substr(0, line.find('\t')));
  return names;
}

std::vector<std::vector<std::string>> FakeFolder::CallsOf(const std::string& name) const {
  std::vector<std::vector<std::string>> out;
  for (const auto& line : Log()) {
    std::vector<std::string> fields;
    std::stringstream ss(line);
    for (std::string f; std::getline(ss, f, '\t');) fields.push_back(f);
    if (!fields.empty() && fields[0] == name) out.emplace_back(fields.begin() + 1, fields.end());
  }
  return out;
}

void FakeFolder::ClearLog() const {
  std::error_code ec;
  fs::remove(path_ + "/fake.log", ec);
}

std::string FakeFolder::MakeFile(const std::string& name) const {
  std::string p = path_ + "/" + name;
  std::ofstream(p) << "data";
  return p;
}

}  // namespace archtest
