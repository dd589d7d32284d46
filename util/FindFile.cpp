#include "util/FindFile.h"

#include <algorithm>
#include <cstring>

#include "platform/paths.h"

TFindFile::~TFindFile() { Close(); }

bool TFindFile::IsOpen() const { return Handle != nullptr && Handle != platform::INVALID_HANDLE_VALUE; }

bool TFindFile::Open(const std::string& pattern) {
  Close();
  Pattern = pattern;
  Path.clear();
  FirstPending = false;
  if (!pattern.empty()) {
    Handle = platform::FindFirstFile(pattern, &FindData);
    FirstPending = IsOpen();
  }
  return IsOpen();
}

bool TFindFile::Next(std::uint32_t mask) {
  bool examine = FirstPending;
  FirstPending = false;
  for (;;) {
    if (!examine && (!IsOpen() || !platform::FindNextFile(Handle, &FindData))) {
      Close();
      Path.clear();
      return false;
    }
    examine = false;
    if (FindData.dwFileAttributes & mask) continue;
    FindData.cFileName[platform::MAX_PATH - 1] = '\0';
    std::string name = platform::path::FileName(FindData.cFileName);
    if (!IncludeDots && (name == "." || name == "..")) continue;
    // A pattern without a folder yields bare names, not names under "/".
    std::string folder = platform::path::FolderOf(Pattern);
    Path = folder.empty() ? name : platform::path::Join(folder, name);
    if (FindData.cAlternateFileName[0] == '\0') {
      std::string shortName = platform::path::FileName(platform::GetShortPathName(Path));
      std::size_t n = std::min(shortName.size(), sizeof FindData.cAlternateFileName - 1);
      std::memcpy(FindData.cAlternateFileName, shortName.data(), n);
      FindData.cAlternateFileName[n] = '\0';
    }
    return true;
  }
}

void TFindFile::Close() {
  if (IsOpen()) platform::FindClose(Handle);
  Handle = nullptr;
}

std::uint32_t FileSizeOnDisk(const std::string& path) {
  TFindFile finder;
  finder.Open(path);
  return finder.Next() ? finder.FindData.nFileSizeLow : 0;
}
