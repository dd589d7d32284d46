#include "modules/engine/ZipDirectory.h"

#include <algorithm>

#include "modules/engine/ReadAt.h"

namespace quillaby::arc {
namespace {

std::uint64_t Le(const unsigned char* p, int n) {
  std::uint64_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

// Larger directories go without sizes and CRCs rather than over the memory budget.
constexpr std::uint64_t kMaxDirectory = 32ull << 20;

}  // namespace

std::vector<ZipRecord> ReadZipDirectory(int fd, std::uint64_t fileSize) {
  std::vector<ZipRecord> out;
  if (fileSize < 22) return out;
  // The end record sits in the last 64 KiB + 22 bytes (its comment may follow it).
  std::uint64_t tailLen = std::min<std::uint64_t>(fileSize, 65557);
  std::string tail;
  if (!ReadAt(fd, fileSize - tailLen, tailLen, tail)) return out;
  const auto* t = reinterpret_cast<const unsigned char*>(tail.data());
  long eocd = -1;
  for (long i = static_cast<long>(tailLen) - 22; i >= 0; --i)
    if (t[i] == 'P' && t[i + 1] == 'K' && t[i + 2] == 5 && t[i + 3] == 6) {
      eocd = i;
      break;
    }
  if (eocd < 0) return out;
  std::uint64_t count = Le(t + eocd + 10, 2), size = Le(t + eocd + 12, 4), start = Le(t + eocd + 16, 4);
  if ((count == 0xFFFF || size == 0xFFFFFFFF || start == 0xFFFFFFFF) && eocd >= 20) {
    const unsigned char* loc = t + eocd - 20;  // the zip64 end record locator
    if (loc[0] == 'P' && loc[1] == 'K' && loc[2] == 6 && loc[3] == 7) {
      std::string z;
      if (ReadAt(fd, Le(loc + 8, 8), 56, z) && z.compare(0, 4, "PK\x06\x06", 4) == 0) {
        const auto* zp = reinterpret_cast<const unsigned char*>(z.data());
        count = Le(zp + 32, 8);
        size = Le(zp + 40, 8);
        start = Le(zp + 48, 8);
      }
    }
  }
  std::string dir;
  if (size > kMaxDirectory || start + size > fileSize || !ReadAt(fd, start, size, dir)) return out;
  const auto* d = reinterpret_cast<const unsigned char*>(dir.data());
  std::size_t pos = 0;
  for (std::uint64_t n = 0; n < count && pos + 46 <= dir.size(); ++n) {
    if (!(d[pos] == 'P' && d[pos + 1] == 'K' && d[pos + 2] == 1 && d[pos + 3] == 2)) break;
    ZipRecord r;
    r.crc = static_cast<std::uint32_t>(Le(d + pos + 16, 4));
    r.packed = Le(d + pos + 20, 4);
    std::uint64_t original = Le(d + pos + 24, 4);
    std::size_t nameLen = Le(d + pos + 28, 2), extraLen = Le(d + pos + 30, 2), commentLen = Le(d + pos + 32, 2);
    r.offset = Le(d + pos + 42, 4);
    if (pos + 46 + nameLen + extraLen > dir.size()) break;
    r.name.assign(dir, pos + 46, nameLen);
    // Zip64 values live in extra field 1, in this order, for the fields that overflowed.
    for (std::size_t e = pos + 46 + nameLen; e + 4 <= pos + 46 + nameLen + extraLen;) {
      std::size_t id = Le(d + e, 2), len = Le(d + e + 2, 2);
      if (id == 1) {
        std::size_t f = e + 4;
        auto take = [&](std::uint64_t& v) {
          if (v == 0xFFFFFFFF && f + 8 <= e + 4 + len) {
            v = Le(d + f, 8);
            f += 8;
          }
        };
        take(original);
        take(r.packed);
        take(r.offset);
      }
      e += 4 + len;
    }
    out.push_back(std::move(r));
    pos += 46 + nameLen + extraLen + commentLen;
  }
  std::stable_sort(out.begin(), out.end(), [](const ZipRecord& a, const ZipRecord& b) { return a.offset < b.offset; });
  return out;
}

}  // namespace quillaby::arc
