#pragma once
#include <string>

namespace quillaby {

// A free file name (no folder) built from the rename pattern: "%a" the
// archive's name and "%f" the entry's name, both without folder and
// extension, "%n" a counter; it ends with extension. A name is free when
// nothing at all lies at folder + name, and the empty name is never free.
std::string MakeRenamedName(const std::string& pattern, const std::string& archiveName,
                            const std::string& entryName, const std::string& extension,
                            const std::string& folder);

}  // namespace quillaby

using quillaby::MakeRenamedName;
