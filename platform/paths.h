#pragma once
// Path pieces on this platform: the delimiter is "/", there are no drive
// letters, and every search steps over whole characters of the code page.
#include <string>
#include <string_view>

namespace platform::path {

inline constexpr char kDelimiter = '/';

// Everything up to and including the last "/"; empty without one.
std::string FolderPart(std::string_view p);
// The folder without its trailing "/", which stays only when it follows
// another "/" or is the root: "/data/a.lzh" gives "/data", "/a.lzh" gives "/".
std::string FolderOf(std::string_view p);
// The text after the last "/".
std::string FileName(std::string_view p);
// From the last "." after the last "/", dot included; empty without one.
std::string Extension(std::string_view p);
// The path without its extension.
std::string RemoveExtension(std::string_view p);
// The path with its extension replaced by ext (dot included).
std::string ChangeExtension(std::string_view p, std::string_view ext);
// folder + "/" + name, delimiters not merged ("/" and "x" give "//x").
std::string Join(std::string_view folder, std::string_view name);
// The folder with a trailing "/" added unless its last character is one.
std::string WithTrailingDelimiter(std::string_view folder);

}  // namespace platform::path
