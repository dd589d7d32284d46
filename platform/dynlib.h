#pragma once
// Dynamic libraries, looked up by file name. Search order: folders added with
// AddDllDirectory (newest first), then the executable's own folder, then the
// system's default search. A name that contains "/" is a path.
#include <string>

namespace platform {

using HMODULE = void*;

// Null when the library cannot be loaded; never an error.
HMODULE LoadLibrary(const std::string& name);
void* GetProcAddress(HMODULE module, const std::string& name);
void FreeLibrary(HMODULE module);

void AddDllDirectory(const std::string& folder);
void ClearDllDirectories();

// Full path of the running executable, and its folder (no trailing "/").
std::string ExecutablePath();
std::string ExecutableDir();

}  // namespace platform
