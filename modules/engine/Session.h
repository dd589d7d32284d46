#pragma once
// One archive in use: its identity on disk, the entries seen so far in
// archive order, and a reader kept between calls so that a batch of
// commands going forward through the archive costs one pass.
#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <set>
#include <unordered_map>
#include <string>
#include <string_view>
#include <vector>

#include "modules/engine/Reader.h"
#include "modules/engine/Spool.h"

namespace quillaby::arc {

struct Identity {
  std::string path;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  std::int64_t mtimeNs = 0;
  unsigned formats = 0;
  bool SameFile(const Identity& o) const {
    return path == o.path && dev == o.dev && ino == o.ino && size == o.size && mtimeNs == o.mtimeNs;
  }
};

class Session {
 public:
  Identity id;
  unsigned detected = 0;      // the format the file was read as (a Formats bit)
  std::vector<Entry> index;   // every entry read so far, in archive order
  bool complete = false;      // index holds the whole archive
  bool damaged = false;       // the archive could not be read to its end
  // Of a damaged archive: why, and the entry whose command tells it (the last
  // one listed), so that extracting what could be read never passes for all.
  std::string damage;
  long damageAt = -1;
  // Once complete: ordinals by stored name, and whether any name is longer
  // than the entry record holds.
  std::unordered_multimap<std::string_view, std::size_t> byName;  // views into index
  bool longNames = false;
  Spool spool;                // before reader: the reader writes to it until it goes
  std::unique_ptr<Reader> reader;
  long pos = -1;              // ordinal of the reader's current entry
  bool pending = false;       // the current entry's data is not read yet
  std::vector<std::string> passwords;
  std::set<std::string> refusedLinks;  // links not made: nothing is written below them
  std::string error;          // why the last open or read failed
  ReadError errorKind = ReadError::None;

  // 1: the reader moved to the next entry (index[pos]); 0: the end; -1: error.
  int Advance();
  void Rewind();
  // Reads to the end so that index is complete; false when nothing is readable.
  bool CompleteIndex();
  void AddPassword(const std::string& p);

 private:
  void MarkDamaged();
};

// The session for path with these formats, reusing the current one when the
// file is the same; null when the file is not such an archive (error set).
Session* Acquire(const std::string& path, unsigned formats, std::string& error);
void DropSession();
// The current session when it is for path, without looking at the file again.
Session* CurrentSession(const std::string& path);

}  // namespace quillaby::arc
