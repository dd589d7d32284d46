#include "platform/filesearch.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/codepage.h"
#include "platform/paths.h"

namespace platform {
namespace {

struct Search {
  std::vector<WIN32_FIND_DATAA> entries;
  std::size_t next = 0;
};

bool HasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameChar(std::string_view a, std::size_t ai, std::size_t alen, std::string_view b, std::size_t bi,
              std::size_t blen) {
  if (alen != blen) return false;
  if (alen == 1) return Lower(a[ai]) == Lower(b[bi]);
  return a.substr(ai, alen) == b.substr(bi, blen);
}

bool Match(std::string_view p, std::size_t pi, std::string_view n, std::size_t ni) {
  // Iterative with one backtrack point: the last "*" seen.
  std::size_t starP = std::string_view::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && p[pi] == '*') {
      starP = ++pi;
      starN = ni;
      continue;
    }
    if (pi < p.size()) {
      std::size_t pl = CharLength(p, pi), nl = CharLength(n, ni);
      if (p[pi] == '?' || SameChar(p, pi, pl, n, ni, nl)) {
        pi += (p[pi] == '?') ? 1 : pl;
        ni += nl;
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    pi = starP;
    starN = NextChar(n, starN);
    ni = starN;
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

void ToFileTime(const timespec& t, FILETIME* ft) {
  // Seconds between 1601-01-01 and 1970-01-01.
  constexpr std::int64_t kEpochDelta = 11644473600LL;
  std::int64_t v = (static_cast<std::int64_t>(t.tv_sec) + kEpochDelta) * 10000000LL + t.tv_nsec / 100;
  if (v < 0) v = 0;
  ft->dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(v) & 0xFFFFFFFFu);
  ft->dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(v) >> 32);
}

// Fills the record for name, statted at path (links followed; a dangling
// link describes itself).
bool Describe(const std::string& path, const std::string& name, WIN32_FIND_DATAA* d) {
  struct stat ls, st;
  if (::lstat(path.c_str(), &ls) != 0) return false;
  if (::stat(path.c_str(), &st) != 0) st = ls;
  std::memset(d, 0, sizeof *d);
  DWORD a = 0;
  if (S_ISDIR(st.st_mode)) a |= FILE_ATTRIBUTE_DIRECTORY;
  else if (S_ISREG(st.st_mode)) a |= FILE_ATTRIBUTE_ARCHIVE;
  else a |= FILE_ATTRIBUTE_DEVICE;
  if ((st.st_mode & 0222) == 0) a |= FILE_ATTRIBUTE_READONLY;
  if (!name.empty() && name[0] == '.' && name != "." && name != "..") a |= FILE_ATTRIBUTE_HIDDEN;
  if (S_ISLNK(ls.st_mode)) a |= FILE_ATTRIBUTE_REPARSE_POINT;
  d->dwFileAttributes = a;
  ToFileTime(st.st_ctim, &d->ftCreationTime);
  ToFileTime(st.st_atim, &d->ftLastAccessTime);
  ToFileTime(st.st_mtim, &d->ftLastWriteTime);
  std::uint64_t size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::uint64_t>(st.st_size);
  d->nFileSizeHigh = static_cast<DWORD>(size >> 32);
  d->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
  std::size_t n = std::min(name.size(), MAX_PATH - 1);
  std::memcpy(d->cFileName, name.data(), n);
  return true;
}

}  // namespace

bool MatchWildcard(const std::string& pattern, const std::string& name) {
  if (Match(pattern, 0, name, 0)) return true;
  std::size_t dot = FindLastChar(pattern, '.');
  if (dot != std::string::npos && dot + 2 == pattern.size() && pattern[dot + 1] == '*' &&
      FindChar(name, '.') == std::string::npos)
    return Match(std::string_view(pattern).substr(0, dot), 0, name, 0);
  return false;
}

HANDLE FindFirstFile(const std::string& pattern, WIN32_FIND_DATAA* data) {
  const std::string last = path::FileName(pattern);
  if (last.empty()) return INVALID_HANDLE_VALUE;
  auto search = std::make_unique<Search>();
  struct stat st;
  if (!HasWildcard(last) || ::lstat(pattern.c_str(), &st) == 0) {
    WIN32_FIND_DATAA d;
    if (Describe(pattern, last, &d)) search->entries.push_back(d);
  } else {
    std::string folder = path::FolderPart(pattern);
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return INVALID_HANDLE_VALUE;
    while (dirent* e = ::readdir(dir)) {
      std::string name = e->d_name;
      if (!MatchWildcard(last, name)) continue;
      WIN32_FIND_DATAA d;
      if (Describe(folder + name, name, &d)) search->entries.push_back(d);
    }
    ::closedir(dir);
    std::sort(search->entries.begin(), search->entries.end(),
              [](const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
                return std::strcmp(a.cFileName, b.cFileName) < 0;
              });
  }
  if (search->entries.empty()) return INVALID_HANDLE_VALUE;
  *data = search->entries[0];
  search->next = 1;
  return search.release();
}

bool FindNextFile(HANDLE handle, WIN32_FIND_DATAA* data) {
  if (!handle || handle == INVALID_HANDLE_VALUE) return false;
  auto* search = static_cast<Search*>(handle);
  if (search->next >= search->entries.size()) return false;
  *data = search->entries[search->next++];
  return true;
}

bool FindClose(HANDLE handle) {
  if (!handle || handle == INVALID_HANDLE_VALUE) return false;
  delete static_cast<Search*>(handle);
  return true;
}

std::string GetShortPathName(const std::string& path) {
  struct stat st;
  if (path.empty() || ::lstat(path.c_str(), &st) != 0) return std::string();
  return path;
}

}  // namespace platform
