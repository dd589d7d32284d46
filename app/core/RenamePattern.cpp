#include "app/core/RenamePattern.h"

#include "platform/codepage.h"
#include "platform/fileops.h"
#include "platform/paths.h"

namespace quillaby {
namespace {

std::string InFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return platform::path::WithTrailingDelimiter(folder) + name;
}

}  // namespace

std::string MakeRenamedName(const std::string& pattern, const std::string& archiveName,
                            const std::string& entryName, const std::string& extension,
                            const std::string& folder) {
  namespace path = platform::path;
  const std::string p = platform::TrimControl(pattern);
  const std::string archive = path::RemoveExtension(path::FileName(archiveName));
  const std::string entry = path::RemoveExtension(path::FileName(entryName));

  std::string base;
  std::size_t counter = std::string::npos;
  for (std::size_t i = 0; i < p.size();) {
    if (p[i] != '%') {
      std::size_t n = platform::CharLength(p, i);
      base.append(p, i, n);
      i += n;
      continue;
    }
    if (i + 1 >= p.size()) break;
    const char code = p[i + 1];
    if (code == 'a') base += archive;
    else if (code == 'f') base += entry;
    else if (code == 'n' && counter == std::string::npos) counter = base.size();
    i += 1 + platform::CharLength(p, i + 1);
  }

  auto taken = [&](const std::string& name) {
    return name.empty() || platform::PathExists(InFolder(folder, name));
  };
  if (counter == std::string::npos) {
    std::string candidate = base + extension;
    if (!taken(candidate)) return candidate;
    counter = base.size();
  }
  const std::string head = base.substr(0, counter), tail = base.substr(counter) + extension;
  for (unsigned long long n = 0;; ++n) {
    std::string candidate = head + std::to_string(n) + tail;
    if (!taken(candidate)) return candidate;
  }
}

}  // namespace quillaby
