#include "modules/engine/ReadAt.h"

#include <unistd.h>

namespace quillaby::arc {

bool ReadAt(int fd, std::uint64_t off, std::size_t n, std::string& out) {
  out.resize(n);
  std::size_t got = 0;
  while (got < n) {
    ssize_t r = ::pread(fd, out.data() + got, n - got, static_cast<off_t>(off + got));
    if (r <= 0) return false;
    got += static_cast<std::size_t>(r);
  }
  return true;
}

}  // namespace quillaby::arc
