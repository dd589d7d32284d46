#pragma once
// Tests on entry names before anything is written for them.
#include <string>

namespace quillaby {

// Absolute, empty, or with a ".." component: never joined to a folder.
// "\" counts as a delimiter too, since the name reaches the module with
// every "\" turned into "/".
bool IsUnsafeEntryName(const std::string& name);
// True when a folder on the way from folder to name is a symbolic link, so
// that writing there could land outside folder.
bool PassesThroughLink(const std::string& folder, const std::string& name);
// A bare file name: not empty, no "/", not "." or "..".
bool IsPlainFileName(const std::string& name);

}  // namespace quillaby
