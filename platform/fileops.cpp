#include "platform/fileops.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

bool WriteAll(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

// The target is created exclusively, so an entry that appeared meanwhile is
// never replaced.
bool CopyFile(const std::string& from, const std::string& to) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat st;
  if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(in);
    return false;
  }
  int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
  if (out < 0) {
    ::close(in);
    return false;
  }
  bool ok = true;
  static constexpr std::size_t kChunk = 1 << 16;
  char buf[kChunk];
  for (;;) {
    ssize_t r = ::read(in, buf, kChunk);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) ok = false;
    if (r <= 0) break;
    if (!WriteAll(out, buf, static_cast<std::size_t>(r))) {
      ok = false;
      break;
    }
  }
  if (ok) {
    const timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(out, times);
    ok = ::fsync(out) == 0;
  }
  ok = (::close(out) == 0) && ok;
  ::close(in);
  if (!ok) ::unlink(to.c_str());
  return ok;
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PathExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

bool MoveFile(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty()) return false;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  int err = errno;
  if (err == EINVAL || err == ENOSYS) {
    // A file system without the no-replace rename: a hard link fails on an
    // existing target just as well.
    if (PathExists(to)) return false;
    struct stat st;
    if (::lstat(from.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && ::link(from.c_str(), to.c_str()) == 0) {
      ::unlink(from.c_str());
      return true;
    }
    err = errno;
  }
  if (err != EXDEV) return false;
  struct stat st;
  if (::lstat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (!CopyFile(from, to)) return false;
  if (::unlink(from.c_str()) != 0) {
    ::unlink(to.c_str());
    return false;
  }
  return true;
}

bool DeleteFile(const std::string& path) {
  struct stat st;
  if (path.empty() || ::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(path.c_str()) == 0;
}

}  // namespace platform
