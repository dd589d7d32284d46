#pragma once
// File search over one folder, with "*" and "?" in the last component, and
// the find record it fills. Entries come in byte order of their names, so a
// search answers the same on every run.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

using DWORD = std::uint32_t;
using HANDLE = void*;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

inline constexpr std::size_t MAX_PATH = 260;

inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr DWORD FILE_ATTRIBUTE_DEVICE = 0x40;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr DWORD FILE_ATTRIBUTE_REPARSE_POINT = 0x400;

// 100-nanosecond intervals since 1601-01-01 UTC.
struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};

struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  char cFileName[MAX_PATH];
  char cAlternateFileName[14];
};

// True when name matches the wildcard: "*" any run of characters, "?" one
// character, ASCII letters without regard to case, whole characters of the
// code page; a pattern ending in ".*" also matches a name without a dot.
bool MatchWildcard(const std::string& pattern, const std::string& name);

// Starts a search for pattern: a path, or a folder and a last component with
// wildcards. A last component that names an existing entry as typed is taken
// literally. INVALID_HANDLE_VALUE when nothing matches (the root folder and a
// pattern ending in "/" match nothing).
HANDLE FindFirstFile(const std::string& pattern, WIN32_FIND_DATAA* data);
bool FindNextFile(HANDLE search, WIN32_FIND_DATAA* data);
bool FindClose(HANDLE search);

// The short form of an existing path is the path itself; empty when nothing
// is there.
std::string GetShortPathName(const std::string& path);

}  // namespace platform
