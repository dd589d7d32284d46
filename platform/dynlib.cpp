#include "platform/dynlib.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <vector>

#include "platform/paths.h"

namespace platform {
namespace {

std::mutex& DirsMutex() {
  static std::mutex m;
  return m;
}
std::vector<std::string>& Dirs() {
  static std::vector<std::string> dirs;
  return dirs;
}

bool IsFile(const std::string& p) {
  struct stat st;
  return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

HMODULE Open(const std::string& path) { return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

}  // namespace

HMODULE LoadLibrary(const std::string& name) {
  if (name.empty()) return nullptr;
  if (name.find('/') != std::string::npos) return Open(name);
  std::vector<std::string> dirs;
  {
    std::lock_guard<std::mutex> lock(DirsMutex());
    dirs.assign(Dirs().rbegin(), Dirs().rend());
  }
  dirs.push_back(ExecutableDir());
  for (const auto& d : dirs) {
    std::string candidate = path::Join(d, name);
    if (IsFile(candidate)) {
      if (HMODULE h = Open(candidate)) return h;
    }
  }
  return Open(name);
}

void* GetProcAddress(HMODULE module, const std::string& name) {
  if (!module) return nullptr;
  return ::dlsym(module, name.c_str());
}

void FreeLibrary(HMODULE module) {
  if (module) ::dlclose(module);
}

void AddDllDirectory(const std::string& folder) {
  std::lock_guard<std::mutex> lock(DirsMutex());
  Dirs().push_back(folder);
}

void ClearDllDirectories() {
  std::lock_guard<std::mutex> lock(DirsMutex());
  Dirs().clear();
}

std::string ExecutablePath() {
  std::string buf(4096, '\0');
  ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
  if (n <= 0) return std::string();
  buf.resize(static_cast<std::size_t>(n));
  return buf;
}

std::string ExecutableDir() { return path::FolderOf(ExecutablePath()); }

}  // namespace platform
