#pragma once
// Profile files: "[section]" lines followed by "key=value" lines. Sections
// and keys are compared without regard to ASCII case; the first match wins.
#include <string>

namespace platform {

// The value of key in section, trimmed, with one pair of surrounding double
// quotes removed; def when the file, the section or the key is missing.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& def, const std::string& file);

// Sets key in section to value, adding the section or the key when missing
// and keeping every other line of the file as it was. The file is replaced
// as a whole (a temporary file beside it, then a rename), so it is never left
// half-written. A value that reading would change (blanks at either end,
// surrounding quotes) is written in quotes so it reads back as given.
// False when the file cannot be read or written, and for a section, key or
// value that cannot be written as one line (line breaks, a key with "=").
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file);

}  // namespace platform
