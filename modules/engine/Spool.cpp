#include "modules/engine/Spool.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace quillaby::arc {
namespace {

std::string SpoolFolder() {
  const char* t = std::getenv("TMPDIR");
  if (t && *t && ::access(t, W_OK) == 0) return t;
  if (::access("/var/tmp", W_OK) == 0) return "/var/tmp";
  return "/tmp";
}

// At most 4 GiB and at most half the free space where the spool lives.
std::uint64_t Cap(int fd) {
  std::uint64_t cap = 4ull << 30;
  struct statvfs vs {};
  if (::fstatvfs(fd, &vs) == 0) {
    std::uint64_t half = static_cast<std::uint64_t>(vs.f_bavail) * vs.f_frsize / 2;
    if (half < cap) cap = half;
  }
  return cap;
}

std::uint64_t g_cap = 0;

}  // namespace

Spool::~Spool() { Reset(); }

void Spool::Reset() {
  if (fd >= 0) ::close(fd);
  fd = -1;
  size = 0;
  writing = complete = lone = failed = false;
}

bool Spool::Start() {
  Reset();
  std::string dir = SpoolFolder();
  fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd < 0) {
    std::string tmpl = dir + "/quillaby-spool-XXXXXX";
    fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd >= 0) ::unlink(tmpl.c_str());
  }
  if (fd < 0) {
    failed = true;
    return false;
  }
  g_cap = Cap(fd);
  writing = true;
  return true;
}

void Spool::Append(const void* data, std::size_t n) {
  if (!writing || failed) return;
  if (size + n > g_cap) {
    Reset();
    failed = true;
    return;
  }
  const char* p = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < n) {
    ssize_t w = ::pwrite(fd, p + done, n - done, static_cast<off_t>(size + done));
    if (w <= 0) {
      Reset();
      failed = true;
      return;
    }
    done += static_cast<std::size_t>(w);
  }
  size += n;
}

}  // namespace quillaby::arc
