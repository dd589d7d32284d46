#include "app/core/EntryName.h"

#include <sys/stat.h>

#include "platform/codepage.h"
#include "platform/paths.h"

namespace quillaby {

bool IsUnsafeEntryName(const std::string& name) {
  const std::string n = platform::ReplaceChar(name, '\\', "/");
  if (n.empty() || n[0] == '/') return true;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = platform::FindChar(n, '/', start);
    if (n.compare(start, end == std::string::npos ? std::string::npos : end - start, "..") == 0) return true;
    if (end == std::string::npos) return false;
    start = end + 1;
  }
}

bool PassesThroughLink(const std::string& folder, const std::string& entry) {
  const std::string name = platform::ReplaceChar(entry, '\\', "/");
  for (std::size_t pos = platform::FindChar(name, '/'); pos != std::string::npos;
       pos = platform::FindChar(name, '/', pos + 1)) {
    struct stat st;
    if (::lstat(platform::path::Join(folder, name.substr(0, pos)).c_str(), &st) == 0 && S_ISLNK(st.st_mode))
      return true;
  }
  return false;
}

bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

}  // namespace quillaby
