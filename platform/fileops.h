#pragma once
// File operations with the system's answers: each reports success and never
// replaces what lies at a target.
#include <string>

namespace platform {

// True only for an existing file (a link to a file counts); a folder is not one.
bool FileExists(const std::string& path);
// True when anything is at the path, a dangling link included.
bool PathExists(const std::string& path);
// Moves a file or folder. Fails when the target exists, whatever it is.
// Across file systems a file is copied (data, mode, times) and then deleted;
// a copy that fails leaves no target behind.
bool MoveFile(const std::string& from, const std::string& to);
// Deletes a file (never a folder).
bool DeleteFile(const std::string& path);

}  // namespace platform
