#include "app/core/AppPaths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/dynlib.h"
#include "platform/paths.h"

namespace quillaby {
namespace {

bool WritableFolder(const std::string& folder) {
  struct stat st;
  return !folder.empty() && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         ::access(folder.c_str(), W_OK) == 0;
}

void MakeFolders(const std::string& folder) {
  for (std::size_t pos = 1; pos <= folder.size(); ++pos) {
    if (pos == folder.size() || folder[pos] == '/') ::mkdir(folder.substr(0, pos).c_str(), 0700);
  }
}

}  // namespace

std::string HomeFolder() {
  std::vector<char> buf(16384);
  passwd pw, *found = nullptr;
  if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) != 0 || !found || !found->pw_dir)
    return std::string();
  return found->pw_dir;
}

std::string SidePath(const std::string& executable, const std::string& extension,
                     const std::string& homeFolder) {
  namespace path = platform::path;
  const std::string beside = path::ChangeExtension(executable, extension);
  if (WritableFolder(path::FolderOf(executable)) || homeFolder.empty()) return beside;
  const std::string folder = path::Join(homeFolder == "/" ? "" : homeFolder, ".config/quillaby");
  MakeFolders(folder);
  return path::Join(folder, path::FileName(beside));
}

std::string SettingsPath() { return SidePath(platform::ExecutablePath(), ".ini", HomeFolder()); }
std::string SwapPath() { return SidePath(platform::ExecutablePath(), ".tmp", HomeFolder()); }

}  // namespace quillaby
