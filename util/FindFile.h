#pragma once
// Walks the entries that match a path or wildcard, each with its full path.
#include <cstdint>
#include <string>

#include "platform/filesearch.h"

class TFindFile {
 public:
  TFindFile() = default;
  ~TFindFile();
  TFindFile(const TFindFile&) = delete;
  TFindFile& operator=(const TFindFile&) = delete;

  bool IsOpen() const;
  bool Open(const std::string& pattern);
  // The next entry none of whose attribute bits is in mask; false at the end.
  bool Next(std::uint32_t mask);
  bool Next() { return Next(ExcludeAttributes); }
  void Close();

  platform::WIN32_FIND_DATAA FindData;
  platform::HANDLE Handle = nullptr;
  std::uint32_t ExcludeAttributes = 0;
  bool IncludeDots = false;
  bool FirstPending = false;
  std::string Pattern;
  std::string Path;
};

// The low 32 bits of the size of the first entry that matches path (a
// folder's is 0); 0 when nothing matches.
std::uint32_t FileSizeOnDisk(const std::string& path);
