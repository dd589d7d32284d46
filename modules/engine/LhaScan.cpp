#include "modules/engine/LhaScan.h"

#include <algorithm>
#include <cstring>

#include "modules/engine/ReadAt.h"
#include "platform/codepage.h"

namespace quillaby::arc {
namespace {

std::uint32_t Le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t Le32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24); }

std::uint16_t Crc16(const unsigned char* p, std::size_t n) {
  std::uint16_t crc = 0;
  for (std::size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int b = 0; b < 8; ++b) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
  }
  return crc;
}

void Placeholder(std::string& h, std::size_t at, std::size_t n, bool keepFF) {
  for (std::size_t i = at; i < at + n && i < h.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(h[i]);
    if ((keepFF && c == 0xFF) || c == '|') continue;
    h[i] = 'q';
  }
}

std::string Utf16ToUtf8(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
    std::uint32_t c = static_cast<unsigned char>(s[i]) | (static_cast<unsigned char>(s[i + 1]) << 8);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < s.size()) {
      std::uint32_t lo = static_cast<unsigned char>(s[i + 2]) | (static_cast<unsigned char>(s[i + 3]) << 8);
      c = 0x10000 + ((c - 0xD800) << 10) + (lo - 0xDC00);
      i += 2;
    }
    if (c == 0xFFFF || c == '\\') c = '/';
    if (c < 0x80) out += static_cast<char>(c);
    else if (c < 0x800) { out += static_cast<char>(0xC0 | (c >> 6)); out += static_cast<char>(0x80 | (c & 0x3F)); }
    else if (c < 0x10000) { out += static_cast<char>(0xE0 | (c >> 12)); out += static_cast<char>(0x80 | ((c >> 6) & 0x3F)); out += static_cast<char>(0x80 | (c & 0x3F)); }
    else { out += static_cast<char>(0xF0 | (c >> 18)); out += static_cast<char>(0x80 | ((c >> 12) & 0x3F)); out += static_cast<char>(0x80 | ((c >> 6) & 0x3F)); out += static_cast<char>(0x80 | (c & 0x3F)); }
  }
  return out;
}

// Walks the extended headers of h from pos; sizes are sizeLen bytes wide.
// Collects names, patches them, and remembers where the header CRC sits.
bool WalkExtended(std::string& h, std::size_t pos, int sizeLen, std::string& file, std::string& dir, std::string& file16,
                  std::string& dir16, long& crcAt, std::size_t& end) {
  const auto* b = reinterpret_cast<unsigned char*>(h.data());
  for (;;) {
    if (pos + sizeLen > h.size()) return false;
    std::uint32_t size = sizeLen == 2 ? Le16(b + pos) : Le32(b + pos);
    if (size == 0) {
      end = pos + sizeLen;
      return true;
    }
    if (size <= static_cast<std::uint32_t>(sizeLen) || pos + size > h.size()) return false;
    unsigned char type = b[pos + sizeLen];
    std::size_t data = pos + sizeLen + 1;
    std::size_t len = size - sizeLen - 1;
    switch (type) {
      case 0x00: crcAt = static_cast<long>(data); break;
      case 0x01: file.assign(h, data, len); Placeholder(h, data, len, false); break;
      case 0x02: dir.assign(h, data, len); Placeholder(h, data, len, true); break;
      case 0x44: file16.assign(h, data, len); break;
      case 0x45: dir16.assign(h, data, len); break;
      default: break;
    }
    pos += size;
  }
}

}  // namespace

bool ScanLha(int fd, std::uint64_t fileSize, std::vector<LhaHeader>& out) {
  out.clear();
  std::uint64_t off = 0;
  std::string fixed;
  while (off < fileSize) {
    if (!ReadAt(fd, off, 1, fixed)) break;
    if (fixed[0] == 0) break;  // the end mark
    if (off + 22 > fileSize || !ReadAt(fd, off, 22, fixed)) return !out.empty();
    const auto* f = reinterpret_cast<const unsigned char*>(fixed.data());
    if (f[2] != '-' || f[3] != 'l' || f[6] != '-') return !out.empty();
    int level = f[20];
    std::uint64_t comp = Le32(f + 7);
    std::uint64_t headerSize = 0;
    LhaHeader hdr;
    hdr.offset = off;
    std::string& h = hdr.patched;
    std::string file, dir, file16, dir16;
    long crcAt = -1;
    if (level == 0 || level == 1) {
      headerSize = static_cast<std::uint64_t>(f[0]) + 2;
      std::size_t nameLen = f[21];
      if (headerSize < 22 + nameLen || !ReadAt(fd, off, headerSize, h)) return !out.empty();
      file.assign(h, 22, nameLen);
      Placeholder(h, 22, nameLen, false);
      hdr.packed = comp;
      if (headerSize >= 24 + nameLen) hdr.crc = static_cast<std::uint16_t>(Le16(reinterpret_cast<const unsigned char*>(h.data()) + 22 + nameLen));
      if (level == 1) {
        // The extended headers follow the base header and count in comp.
        std::string ext;
        std::uint64_t extStart = off + headerSize - 2;
        std::uint64_t extLimit = std::min<std::uint64_t>({comp + 2, fileSize - extStart, 1u << 20});
        if (!ReadAt(fd, extStart, extLimit, ext)) return !out.empty();
        std::size_t end = 0;
        if (!WalkExtended(ext, 0, 2, file, dir, file16, dir16, crcAt, end)) return !out.empty();
        // The patched extended headers travel in the overlay too.
        h.resize(headerSize - 2);
        h.append(ext, 0, end);
        hdr.packed = comp + 2 >= end ? comp + 2 - end : 0;
      }
      // A header whose checksum was wrong stays wrong, so that libarchive reports it.
      auto sum = [&](const std::string& bytes) {
        unsigned char v = 0;
        for (std::uint64_t i = 2; i < headerSize; ++i) v = static_cast<unsigned char>(v + static_cast<unsigned char>(bytes[i]));
        return v;
      };
      std::string original;
      if (ReadAt(fd, off, headerSize, original) && sum(original) == static_cast<unsigned char>(original[1])) h[1] = static_cast<char>(sum(h));
    } else if (level == 2 || level == 3) {
      std::size_t fixedLen = level == 2 ? 24 : 28;
      std::string head;
      if (!ReadAt(fd, off, fixedLen, head)) return !out.empty();
      const auto* p = reinterpret_cast<const unsigned char*>(head.data());
      headerSize = level == 2 ? Le16(p) : Le32(p + 24);
      hdr.packed = comp;
      hdr.crc = static_cast<std::uint16_t>(Le16(p + 21));
      if (headerSize < fixedLen || headerSize > (1u << 20) || !ReadAt(fd, off, headerSize, h)) return !out.empty();
      std::size_t end = 0;
      if (!WalkExtended(h, fixedLen, level == 2 ? 2 : 4, file, dir, file16, dir16, crcAt, end)) return !out.empty();
      if (crcAt >= 0 && static_cast<std::size_t>(crcAt) + 2 <= h.size()) {
        // The CRC is made anew only for a header whose CRC was right.
        std::string original;
        if (!ReadAt(fd, off, headerSize, original)) return !out.empty();
        std::uint16_t stored = static_cast<std::uint16_t>(Le16(reinterpret_cast<const unsigned char*>(original.data()) + crcAt));
        original[crcAt] = original[crcAt + 1] = 0;
        bool good = Crc16(reinterpret_cast<const unsigned char*>(original.data()), original.size()) == stored;
        std::uint16_t crc = stored;
        if (good) {
          h[crcAt] = h[crcAt + 1] = 0;
          crc = Crc16(reinterpret_cast<const unsigned char*>(h.data()), h.size());
        }
        h[crcAt] = static_cast<char>(crc & 0xFF);
        h[crcAt + 1] = static_cast<char>(crc >> 8);
      }
    } else {
      return !out.empty();
    }
    if (!file16.empty() || !dir16.empty()) {
      std::string d = Utf16ToUtf8(dir16);
      if (!d.empty() && d.back() != '/') d += '/';
      hdr.name = d + Utf16ToUtf8(file16);
      hdr.utf16 = true;
    } else {
      for (char& c : dir)
        if (static_cast<unsigned char>(c) == 0xFF) c = '/';
      hdr.name = dir + file;
    }
    out.push_back(std::move(hdr));
    std::uint64_t next = off + headerSize + comp;
    if (next <= off) return !out.empty();
    off = next;
  }
  return !out.empty();
}

}  // namespace quillaby::arc
