#include "archiver/FullPath.h"

#include <unistd.h>

#include <climits>
#include <vector>

namespace ArchiverN {

std::string CurrentFolder() {
  std::vector<char> buf(PATH_MAX + 1, '\0');
  return ::getcwd(buf.data(), buf.size()) ? std::string(buf.data()) : std::string();
}

std::string AbsolutePath(const std::string& path) {
  if (path.empty()) return std::string();
  std::string full = path;
  if (path[0] != '/') {
    std::string cwd = CurrentFolder();
    if (cwd.empty()) return std::string();
    full = cwd + "/" + path;
  }
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= full.size()) {
    std::size_t slash = full.find('/', start);
    if (slash == std::string::npos) slash = full.size();
    std::string name = full.substr(start, slash - start);
    if (name == "..") {
      if (!names.empty()) names.pop_back();
    } else if (!name.empty() && name != ".") {
      names.push_back(name);
    }
    start = slash + 1;
  }
  std::string out;
  for (const auto& n : names) out += "/" + n;
  if (out.empty()) return "/";
  if (full.back() == '/') out += "/";
  return out;
}

TFolderChange::TFolderChange() : saved_(CurrentFolder()) {}

TFolderChange::~TFolderChange() {
  if (!saved_.empty() && ::chdir(saved_.c_str()) != 0) {
    // Nothing more can be done here.
  }
}

void TFolderChange::Enter(const std::string& folder) {
  if (::chdir(folder.c_str()) != 0) {
    // Ignored on purpose: paths then resolve against the folder that stays.
  }
}

}  // namespace ArchiverN
