#pragma once
// The central directory of a ZIP file, for what libarchive does not hand
// out: each entry's compressed size and CRC-32.
#include <cstdint>
#include <string>
#include <vector>

namespace quillaby::arc {

struct ZipRecord {
  std::uint64_t offset = 0;  // of the local header: libarchive reads in this order
  std::string name;          // raw bytes
  std::uint64_t packed = 0;
  std::uint32_t crc = 0;
};

// The records sorted by local header offset; empty when the file has no
// readable central directory.
std::vector<ZipRecord> ReadZipDirectory(int fd, std::uint64_t fileSize);

}  // namespace quillaby::arc
