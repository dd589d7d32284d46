#pragma once
// The decompressed stream of a compressed tar, kept in an unnamed temporary
// file while one archive is in use, so that going back to its start costs a
// read of plain tar instead of a second decompression.
#include <cstdint>

namespace quillaby::arc {

struct Spool {
  int fd = -1;
  std::uint64_t size = 0;
  bool writing = false;   // being filled by the first pass
  bool complete = false;  // holds the whole stream
  bool lone = false;      // a lone compressed file, not an archive
  bool failed = false;    // over the cap or a write error: not used again
  ~Spool();
  bool Start();                          // opens an empty temporary file
  void Append(const void* data, std::size_t n);
  void Reset();
};

}  // namespace quillaby::arc
