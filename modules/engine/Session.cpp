#include "modules/engine/Session.h"

#include <sys/stat.h>

#include <algorithm>
#include <set>

#include "modules/arcapi.h"

namespace quillaby::arc {
namespace {

std::unique_ptr<Session> g_session;

bool Stat(const std::string& path, unsigned formats, Identity& id) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  id.path = path;
  id.dev = st.st_dev;
  id.ino = st.st_ino;
  id.size = st.st_size;
  id.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  id.formats = formats;
  return true;
}

// Folders that hold other entries are not listed: a full extraction makes
// them anyway, and only an empty one needs its own entry.
void Finish(Session& s) {
  std::vector<Entry>& index = s.index;
  s.byName.clear();
  s.byName.reserve(index.size());
  for (std::size_t i = 0; i < index.size(); ++i) {
    s.byName.emplace(index[i].name, i);
    if (index[i].name.size() > ARC_FNAME_MAX - 1) s.longNames = true;
  }
  std::set<std::string> parents;
  for (const Entry& e : index)
    for (std::size_t at = e.name.find('/'); at != std::string::npos; at = e.name.find('/', at + 1)) parents.insert(e.name.substr(0, at));
  // The archive's own root ("./" in a tar) names nothing to list.
  for (Entry& e : index) e.listed = !e.name.empty() && !(e.kind == Kind::Dir && parents.count(e.name));
}

}  // namespace

void Session::Rewind() {
  reader.reset();
  pos = -1;
  pending = false;
}

void Session::AddPassword(const std::string& p) {
  if (p.empty() || std::find(passwords.begin(), passwords.end(), p) != passwords.end()) return;
  passwords.push_back(p);
  // libarchive takes passwords only before it opens: open again with it.
  Rewind();
}

int Session::Advance() {
  if (!reader) {
    std::string err;
    reader = Reader::Open(id.path, id.formats, &spool, passwords, err);
    pos = -1;
    pending = false;
    if (!reader) {
      error = err;
      errorKind = ReadError::Format;
      return -1;
    }
  }
  Entry e;
  int r = reader->Next(e);
  if (r == 1) {
    ++pos;
    pending = true;
    if (static_cast<std::size_t>(pos) == index.size() && !complete) index.push_back(std::move(e));
    return 1;
  }
  pending = false;
  if (r == 0) {
    if (!complete) {
      complete = true;
      Finish(*this);
    }
    return 0;
  }
  error = reader->Error();
  errorKind = reader->ErrorKind();
  Rewind();
  // What could be read stays known; the rest is damaged.
  if (!complete) MarkDamaged();
  return -1;
}

void Session::MarkDamaged() {
  complete = damaged = true;
  Finish(*this);
  damage = error;
  for (long i = static_cast<long>(index.size()) - 1; i >= 0 && damageAt < 0; --i)
    if (index[static_cast<std::size_t>(i)].listed) damageAt = i;
}

bool Session::CompleteIndex() {
  while (!complete) {
    // Continue from where the reader stands when it has read every entry so far.
    if (reader && static_cast<std::size_t>(pos + 1) != index.size()) Rewind();
    int r = Advance();
    if (r < 0) break;
    if (r == 1) {
      Entry& e = index[static_cast<std::size_t>(pos)];
      if (e.size < 0) {
        // A size known only by reading (a lone compressed file).
        std::int64_t total = 0;
        const void* buf;
        std::size_t n;
        std::int64_t off;
        int d;
        while ((d = reader->Data(&buf, &n, &off)) == 1) total = std::max<std::int64_t>(total, off + static_cast<std::int64_t>(n));
        pending = false;
        if (d < 0) {
          error = reader->Error();
          errorKind = reader->ErrorKind();
          Rewind();
          MarkDamaged();
          break;
        }
        e.size = total;
      }
    }
  }
  return !index.empty() || !damaged;
}

Session* Acquire(const std::string& path, unsigned formats, std::string& error) {
  Identity id;
  if (!Stat(path, formats, id)) {
    error = "cannot open the archive";
    return nullptr;
  }
  // A command that narrows the formats ("-tzip") still uses the session when
  // the file was read as one of them.
  if (g_session && g_session->id.SameFile(id) && (g_session->id.formats == formats || (g_session->detected & formats)))
    return g_session.get();
  auto s = std::make_unique<Session>();
  s->id = id;
  // Opening now tells whether the file is such an archive; the reader stays
  // for the calls that follow.
  std::string err;
  s->reader = Reader::Open(path, formats, &s->spool, {}, err);
  if (!s->reader) {
    error = err.empty() ? "not an archive of this kind" : err;
    return nullptr;
  }
  s->detected = s->reader->Detected();
  g_session = std::move(s);
  return g_session.get();
}

void DropSession() { g_session.reset(); }

Session* CurrentSession(const std::string& path) {
  return g_session && g_session->id.path == path ? g_session.get() : nullptr;
}

}  // namespace quillaby::arc
