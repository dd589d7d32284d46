#pragma once
// Writing entries into the output folder. Every folder on the way is opened
// relative to the one before with O_NOFOLLOW, so no write ever passes through
// a link; a file that replaces another is written under a temporary name
// beside it and renamed into place only when complete.
#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace quillaby::arc {

enum class OutResult { Ok, Exists, Unsafe, Error };

class OutputFolder {
 public:
  explicit OutputFolder(const std::string& root);
  ~OutputFolder();
  bool Ok() const { return rootFd_ >= 0; }
  const std::string& Error() const { return error_; }
  const std::string& Root() const { return root_; }

  // Opens (creating when asked) the folder that holds rel; name gets the last
  // component. Returns a descriptor to hand back to Release, or -1.
  int OpenParent(const std::string& rel, bool create, std::string& name);
  void Release(int fd) const;
  // After a failed OpenParent: whether a link stood in the way.
  bool BlockedByLink() const { return blockedByLink_; }
  OutResult MakeFolder(const std::string& rel);
  // The existing object at rel: 0 none, else its st_mode type bits.
  unsigned Existing(const std::string& rel);
  // Whether rel is a regular file of no bytes.
  bool EmptyFile(const std::string& rel);
  // Whether rel is this very file (not following a link).
  bool IsFile(const std::string& rel, dev_t dev, ino_t ino);

 private:
  std::string root_;
  int rootFd_ = -1;
  std::string error_;
  bool blockedByLink_ = false;
};

// One regular file being written.
class FileWriter {
 public:
  FileWriter(OutputFolder& out, const std::string& rel);
  ~FileWriter();  // removes the temporary file unless committed
  // unsafe tells a link on the way from other failures.
  bool Open(unsigned mode, std::string& error, bool& unsafe);
  // Writes into the regular file already at rel, keeping its inode: the data
  // a hard link carries belongs to every name of that file.
  bool OpenInPlace(std::string& error);
  bool Write(const void* data, std::size_t n, std::int64_t offset, std::string& error);
  // Sets size and time and renames into place.
  OutResult Commit(std::int64_t size, std::time_t mtime, long mtimeNs, bool overwrite, std::string& error);

 private:
  OutputFolder& out_;
  std::string rel_, name_, temp_;
  int dirFd_ = -1, fd_ = -1;
  std::int64_t end_ = 0;
  bool direct_ = false;  // written under its own name, which was free
  bool inPlace_ = false;  // written into an existing file
};

// A symbolic link or a hard link, placed atomically like a file.
OutResult MakeSymlink(OutputFolder& out, const std::string& rel, const std::string& target, bool overwrite, std::string& error);
OutResult MakeHardlink(OutputFolder& out, const std::string& rel, const std::string& targetRel, bool overwrite, std::string& error);

}  // namespace quillaby::arc
