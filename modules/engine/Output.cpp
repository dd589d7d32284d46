#include "modules/engine/Output.h"

#include "modules/engine/Names.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>

namespace quillaby::arc {
namespace {

std::atomic<unsigned long> g_temp{0};
const std::string g_pid = std::to_string(::getpid());

// The last output folder stays open: a batch names the same one for every
// entry, and checking it is one stat instead of a mkdir and an open.
struct RootCache {
  std::string path;
  int fd = -1;
  dev_t dev = 0;
  ino_t ino = 0;
  ~RootCache() {
    if (fd >= 0) ::close(fd);
  }
} g_root;

std::vector<std::string> Parts(const std::string& rel) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= rel.size()) {
    std::size_t end = rel.find('/', start);
    if (end == std::string::npos) end = rel.size();
    if (end > start) parts.push_back(rel.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string TempName(const std::string& name) {
  std::string base = name.size() > 200 ? name.substr(0, 200) : name;
  return ".qlb" + g_pid + "-" + std::to_string(++g_temp) + "-" + base;
}

// Moves temp to name inside dir; without overwrite an existing name stays.
OutResult Place(int dir, const std::string& temp, const std::string& name, bool overwrite, std::string& error) {
  int rc = overwrite ? ::renameat(dir, temp.c_str(), dir, name.c_str())
                     : ::renameat2(dir, temp.c_str(), dir, name.c_str(), RENAME_NOREPLACE);
  if (rc != 0 && !overwrite && errno == EINVAL) {
    // No RENAME_NOREPLACE on this file system: a hard link fails on an existing name too.
    rc = ::linkat(dir, temp.c_str(), dir, name.c_str(), 0);
    if (rc == 0) ::unlinkat(dir, temp.c_str(), 0);
  }
  if (rc != 0) {
    int err = errno;
    ::unlinkat(dir, temp.c_str(), 0);
    if (err == EEXIST) return OutResult::Exists;
    error = (err == EISDIR || err == ENOTEMPTY) ? "a folder of that name exists" : std::strerror(err);
    return OutResult::Error;
  }
  return OutResult::Ok;
}

}  // namespace

OutputFolder::OutputFolder(const std::string& root) : root_(root.empty() ? "." : root) {
  struct stat st {};
  if (g_root.fd >= 0 && g_root.path == root_ && ::stat(root_.c_str(), &st) == 0 && st.st_dev == g_root.dev &&
      st.st_ino == g_root.ino) {
    rootFd_ = g_root.fd;
    return;
  }
  // The output folder itself may be reached through links: it is the user's
  // choice, and it is made with its missing parents, as a user expects.
  std::error_code ec;
  std::filesystem::create_directories(root_, ec);
  rootFd_ = ::open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (rootFd_ < 0) {
    error_ = std::string("cannot open the output folder: ") + std::strerror(errno);
    return;
  }
  if (::fstat(rootFd_, &st) == 0) {
    if (g_root.fd >= 0) ::close(g_root.fd);
    g_root.path = root_;
    g_root.fd = rootFd_;
    g_root.dev = st.st_dev;
    g_root.ino = st.st_ino;
  }
}

OutputFolder::~OutputFolder() {
  if (rootFd_ >= 0 && rootFd_ != g_root.fd) ::close(rootFd_);
}

void OutputFolder::Release(int fd) const {
  if (fd >= 0 && fd != rootFd_) ::close(fd);
}

int OutputFolder::OpenParent(const std::string& rel, bool create, std::string& name) {
  std::vector<std::string> parts = Parts(ToProgram(rel));
  if (parts.empty()) return -1;
  name = parts.back();
  blockedByLink_ = false;
  int fd = rootFd_;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    int next = ::openat(fd, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0 && errno == ENOENT && create) {
      if (::mkdirat(fd, parts[i].c_str(), 0777) == 0 || errno == EEXIST)
        next = ::openat(fd, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (next < 0) {
      struct stat st {};
      blockedByLink_ = ::fstatat(fd, parts[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
    }
    Release(fd);
    if (next < 0) return -1;
    fd = next;
  }
  return fd;
}

OutResult OutputFolder::MakeFolder(const std::string& rel) {
  std::string name;
  int dir = OpenParent(rel, true, name);
  if (dir < 0) return blockedByLink_ ? OutResult::Unsafe : OutResult::Error;
  OutResult r = OutResult::Ok;
  if (::mkdirat(dir, name.c_str(), 0777) != 0) {
    struct stat st {};
    if (errno != EEXIST || ::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode))
      r = OutResult::Error;
  }
  Release(dir);
  return r;
}

unsigned OutputFolder::Existing(const std::string& rel) {
  std::string name;
  int dir = OpenParent(rel, false, name);
  if (dir < 0) return 0;
  struct stat st {};
  unsigned type = ::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? (st.st_mode & S_IFMT) : 0;
  Release(dir);
  return type;
}

bool OutputFolder::EmptyFile(const std::string& rel) {
  std::string name;
  int dir = OpenParent(rel, false, name);
  if (dir < 0) return false;
  struct stat st {};
  bool empty = ::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) && st.st_size == 0;
  Release(dir);
  return empty;
}

bool OutputFolder::IsFile(const std::string& rel, dev_t dev, ino_t ino) {
  std::string name;
  int dir = OpenParent(rel, false, name);
  if (dir < 0) return false;
  struct stat st {};
  bool same = ::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && st.st_dev == dev && st.st_ino == ino;
  Release(dir);
  return same;
}

FileWriter::FileWriter(OutputFolder& out, const std::string& rel) : out_(out), rel_(rel) {}

FileWriter::~FileWriter() {
  // Written in place and not completed: the file goes back to having no bytes.
  if (fd_ >= 0 && inPlace_) (void)::ftruncate(fd_, 0);
  if (fd_ >= 0) ::close(fd_);
  if (!temp_.empty() && dirFd_ >= 0) ::unlinkat(dirFd_, temp_.c_str(), 0);
  out_.Release(dirFd_);
}

bool FileWriter::Open(unsigned mode, std::string& error, bool& unsafe) {
  unsafe = false;
  dirFd_ = out_.OpenParent(rel_, true, name_);
  if (dirFd_ < 0) {
    unsafe = out_.BlockedByLink();
    error = unsafe ? "a folder on the way is a link" : "a folder on the way cannot be made";
    return false;
  }
  unsigned perm = (mode & 0777) ? ((mode & 0777) | 0400) : 0644;
  // A free name is written in place: O_EXCL makes the file ours from its
  // creation, and it is removed again unless the entry completes. Only an
  // existing name is replaced through a temporary file, which saves a rename
  // per entry in the common case.
  fd_ = ::openat(dirFd_, name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, perm);
  if (fd_ >= 0) {
    temp_ = name_;
    direct_ = true;
    return true;
  }
  if (errno != EEXIST) {
    error = std::strerror(errno);
    return false;
  }
  temp_ = TempName(name_);
  fd_ = ::openat(dirFd_, temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, perm);
  if (fd_ < 0) {
    error = std::strerror(errno);
    temp_.clear();
    return false;
  }
  return true;
}

bool FileWriter::OpenInPlace(std::string& error) {
  dirFd_ = out_.OpenParent(rel_, false, name_);
  if (dirFd_ < 0) {
    error = "a folder on the way is a link or missing";
    return false;
  }
  fd_ = ::openat(dirFd_, name_.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) || ::ftruncate(fd_, 0) != 0) {
    error = fd_ < 0 ? std::strerror(errno) : "not a regular file";
    return false;
  }
  temp_ = name_;  // a failed write takes this name away again
  direct_ = true;
  inPlace_ = true;
  return true;
}

bool FileWriter::Write(const void* data, std::size_t n, std::int64_t offset, std::string& error) {
  const char* p = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < n) {
    ssize_t w = ::pwrite(fd_, p + done, n - done, static_cast<off_t>(offset + done));
    if (w < 0) {
      if (errno == EINTR) continue;
      error = std::strerror(errno);
      return false;
    }
    done += static_cast<std::size_t>(w);
  }
  if (offset + static_cast<std::int64_t>(n) > end_) end_ = offset + static_cast<std::int64_t>(n);
  return true;
}

OutResult FileWriter::Commit(std::int64_t size, std::time_t mtime, long mtimeNs, bool overwrite, std::string& error) {
  if (size > end_ && ::ftruncate(fd_, size) != 0) {
    error = std::strerror(errno);
    return OutResult::Error;
  }
  if (mtimeNs < 0 || mtimeNs > 999999999) mtimeNs = 0;
  struct timespec times[2] = {{mtime, mtimeNs}, {mtime, mtimeNs}};
  ::futimens(fd_, times);
  if (::close(fd_) != 0) {
    fd_ = -1;
    error = std::strerror(errno);
    return OutResult::Error;
  }
  fd_ = -1;
  OutResult r = direct_ ? OutResult::Ok : Place(dirFd_, temp_, name_, overwrite, error);
  temp_.clear();
  return r;
}

OutResult MakeSymlink(OutputFolder& out, const std::string& rel, const std::string& target, bool overwrite, std::string& error) {
  std::string name;
  int dir = out.OpenParent(rel, true, name);
  if (dir < 0) {
    error = out.BlockedByLink() ? "a folder on the way is a link" : "a folder on the way cannot be made";
    return out.BlockedByLink() ? OutResult::Unsafe : OutResult::Error;
  }
  std::string temp = TempName(name);
  OutResult r = OutResult::Ok;
  if (::symlinkat(ToProgram(target).c_str(), dir, temp.c_str()) != 0) {
    error = std::strerror(errno);
    r = OutResult::Error;
  } else {
    r = Place(dir, temp, name, overwrite, error);
  }
  out.Release(dir);
  return r;
}

OutResult MakeHardlink(OutputFolder& out, const std::string& rel, const std::string& targetRel, bool overwrite, std::string& error) {
  std::string targetName;
  int tdir = out.OpenParent(targetRel, false, targetName);
  if (tdir < 0) {
    error = "the link target has not been extracted";
    return OutResult::Error;
  }
  struct stat st {};
  if (::fstatat(tdir, targetName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) {
    out.Release(tdir);
    error = "the link target has not been extracted";
    return OutResult::Error;
  }
  std::string name;
  int dir = out.OpenParent(rel, true, name);
  if (dir < 0) {
    out.Release(tdir);
    error = "a folder on the way is a link or cannot be made";
    return OutResult::Unsafe;
  }
  std::string temp = TempName(name);
  OutResult r = OutResult::Ok;
  if (::linkat(tdir, targetName.c_str(), dir, temp.c_str(), 0) != 0) {
    error = std::strerror(errno);
    r = OutResult::Error;
  } else {
    r = Place(dir, temp, name, overwrite, error);
  }
  out.Release(dir);
  out.Release(tdir);
  return r;
}

}  // namespace quillaby::arc
