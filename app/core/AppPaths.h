#pragma once
// Where the settings file and the swap file live: beside the executable,
// with its name, when its folder is writable (a build folder, a portable
// copy); otherwise in ~/.config/quillaby/, created when first asked for.
#include <string>

namespace quillaby {

std::string SettingsPath();  // ".ini"
std::string SwapPath();      // ".tmp"

// The same choice for any executable path and home folder.
std::string SidePath(const std::string& executable, const std::string& extension,
                     const std::string& homeFolder);
// The home folder from the password database (no environment is read).
std::string HomeFolder();

}  // namespace quillaby

using quillaby::SettingsPath;
using quillaby::SwapPath;
