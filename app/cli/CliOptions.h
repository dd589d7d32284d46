#pragma once
// The command line of quillaby-batch.
#include <string>
#include <vector>

#include "app/core/BatchHost.h"

namespace quillaby::cli {

struct TCliOptions {
  bool FixedFolder = false;
  std::string Folder;
  ExistPolicy Policy = ExistPolicy::Skip;
  std::string RenamePattern = "%a";
  std::string Masks = "*.*";
  bool DeleteArchives = false;
  bool Help = false;
  bool Version = false;
  std::vector<std::string> Archives;
};

extern const char kUsage[];

// Fills options; on a usage error returns a one-line message naming it.
std::string ParseOptions(int argc, char** argv, TCliOptions& options);

// The archive's full path: relative paths are taken from the current folder.
std::string FullPath(const std::string& path);

}  // namespace quillaby::cli
