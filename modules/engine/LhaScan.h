#pragma once
// Our own walk over LHA headers. libarchive's LHA reader gives up on names
// that are not ASCII, so the headers it reads get placeholder names (same
// length, checksums and CRCs mended) and the real names come from here.
#include <cstdint>
#include <string>
#include <vector>

namespace quillaby::arc {

struct LhaHeader {
  std::uint64_t offset = 0;   // where the header starts in the file
  std::string patched;        // the header bytes with placeholder names
  std::string name;           // stored name, raw bytes, "/" between folders
  bool utf16 = false;         // name came from a UTF-16 extended header (now UTF-8)
  std::uint64_t packed = 0;   // bytes of compressed data
  std::uint16_t crc = 0;      // CRC-16 of the original data
};

// Reads the headers of an LHA file from fd, up to the end mark or the first
// header that cannot be read. False when not even the first one can.
bool ScanLha(int fd, std::uint64_t fileSize, std::vector<LhaHeader>& out);

}  // namespace quillaby::arc
