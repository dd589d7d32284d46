#pragma once
// A forward-only reader over one archive file, on libarchive. It hands out
// entries with names already in UTF-8 and streams their data in blocks.
#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "modules/engine/Spool.h"

struct archive;

namespace quillaby::arc {

enum class Kind { File, Dir, Symlink, Hardlink, Other };

struct Entry {
  std::string name;       // UTF-8, "/" between folders, no trailing "/"
  std::string link;       // link target for Symlink and Hardlink
  Kind kind = Kind::File;
  std::int64_t size = -1; // -1: not known before the data is read
  std::int64_t packed = -1;  // compressed size where the format tells it
  std::uint32_t crc = 0;     // stored CRC where the format tells it
  std::time_t mtime = 0;
  long mtimeNs = 0;       // the nanoseconds, where the format keeps them
  unsigned mode = 0644;
  bool encrypted = false;
  std::string method;     // e.g. "-lh5-", "deflate"
  bool listed = true;     // false for folders that hold other entries
};

// Reader errors, mapped by the engine to result codes.
enum class ReadError { None, Format, Data, Password, Method };

class Reader {
 public:
  ~Reader();
  // Opens path for the given formats. spool, when not null, keeps the
  // decompressed stream of a compressed tar for later opens.
  static std::unique_ptr<Reader> Open(const std::string& path, unsigned formats, Spool* spool,
                                      const std::vector<std::string>& passwords, std::string& error);
  // 1: an entry, 0: the end, -1: an error (error, kind set).
  int Next(Entry& e);
  // 1: a block, 0: end of the entry's data, -1: an error.
  int Data(const void** buf, std::size_t* size, std::int64_t* offset);
  // The Formats bit of what the file turned out to be.
  unsigned Detected() const;
  const std::string& Error() const { return error_; }
  ReadError ErrorKind() const { return errorKind_; }
  // How many archive opens this process made (for the one-pass check).
  static long OpenCount();

 private:
  Reader() = default;
  void SetError(struct archive* a, ReadError fallback);
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string error_;
  ReadError errorKind_ = ReadError::None;
};

}  // namespace quillaby::arc
