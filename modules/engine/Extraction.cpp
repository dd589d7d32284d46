#include "modules/engine/Extraction.h"

#include <algorithm>
#include <cstring>

#include "modules/engine/Names.h"
#include "platform/codepage.h"
#include "modules/engine/Output.h"
#include "modules/engine/Progress.h"
#include "modules/engine/Session.h"

namespace quillaby::arc {

std::string DisplayName(const std::string& name) {
  std::string shown = ToProgram(name);
  if (shown.size() <= kNameMax) return shown;
  // Cut at a whole character of the program's code page.
  std::size_t n = 0;
  while (n < shown.size()) {
    std::size_t next = platform::NextChar(shown, n);
    if (next > kNameMax) break;
    n = next;
  }
  return shown.substr(0, n);
}

namespace {

struct Selection {
  bool all = false;
  std::vector<Pattern> items;
  std::vector<Pattern> excludes;
  bool Selects(const Entry& e) const {
    for (const Pattern& x : excludes)
      if (Matches(x, e.name)) return false;
    if (all) return true;
    for (const Pattern& p : items)
      if (Matches(p, e.name)) return true;
    return false;
  }
};

std::string Unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '[' || s[i + 1] == ']')) continue;
    out += s[i];
  }
  return out;
}

int CodeFor(ReadError k) {
  switch (k) {
    case ReadError::Password: return ARC_E_PASSWORD;
    case ReadError::Method: return ARC_E_METHOD;
    case ReadError::Format: return ARC_E_NOT_ARCHIVE;
    default: return ARC_E_DATA;
  }
}

// The program asks for names with "\\" turned into "/". Where the format keeps
// "\\" as part of a name (tar, cpio, 7z), the name asked for is that entry's
// when no entry has the name itself.
const std::string* BackslashNamed(const Session& s, const std::string& asked) {
  if (!s.complete || asked.find('/') == std::string::npos || s.byName.count(asked)) return nullptr;
  for (const Entry& e : s.index) {
    if (e.name.size() != asked.size() || e.name.find('\\') == std::string::npos) continue;
    bool same = true;
    for (std::size_t i = 0; same && i < asked.size(); ++i)
      same = e.name[i] == asked[i] || (e.name[i] == '\\' && asked[i] == '/');
    if (same) return &e.name;
  }
  return nullptr;
}

// Builds the selection; may complete the index to decide how the file list reads.
bool Select(Run& run, Session& s, Selection& sel) {
  for (const Pattern& x : run.cmd.excludes) sel.excludes.push_back(x);
  const std::string& rest = run.cmd.rest;
  if (rest.find_first_not_of(" \t\r\n") == std::string::npos) {
    sel.all = true;
    return true;
  }
  // A stored name wins over any reading of its blanks, quotes or wildcards.
  bool ambiguous = rest.find_first_of(" \t\"*?[") != std::string::npos;
  std::string whole = run.d.bracketClasses ? Unescape(rest) : rest;
  if (ambiguous) {
    s.CompleteIndex();
    for (const std::string* n : {static_cast<const std::string*>(&whole), &rest, BackslashNamed(s, rest)})
      if (n && s.byName.count(*n)) {
        Pattern p;
        p.text = *n;
        sel.items.push_back(p);
        return true;
      }
    for (const std::string& item : SplitItems(rest)) sel.items.push_back(MakePattern(item, run.d.bracketClasses));
  } else {
    sel.items.push_back(MakePattern(rest, run.d.bracketClasses));
    if (const std::string* stored = sel.items.back().wild ? nullptr : BackslashNamed(s, sel.items.back().text))
      sel.items.back().text = *stored;
  }
  // A name cut to fit the record must not pick another entry of that name.
  if (s.complete && s.longNames)
    for (const Pattern& p : sel.items) {
      if (p.wild) continue;
      bool exact = false, cut = false;
      for (const Entry& e : s.index) {
        if (e.name == p.text) exact = true;
        else if (e.name.size() > kNameMax && FromProgram(DisplayName(e.name)) == p.text) cut = true;
      }
      if (cut) {
        run.Fail(ARC_E_COMMAND, p.text, exact ? "the name is ambiguous: a longer entry name was cut to it" : "the entry name is too long to be named");
        return false;
      }
    }
  return true;
}

// Reads and drops the current entry's data; used by tests of the data.
bool Drain(Session& s, std::string& err, ReadError& kind) {
  const void* buf;
  std::size_t n;
  std::int64_t off;
  int r;
  while ((r = s.reader->Data(&buf, &n, &off)) == 1) {
  }
  s.pending = false;
  if (r < 0) {
    err = s.reader->Error();
    kind = s.reader->ErrorKind();
    return false;
  }
  return true;
}

// Writes the current file entry (inPlace: into the file just linked at rel);
// false stops the command.
bool WriteFile(Run& run, Session& s, OutputFolder& out, const Entry& e, const std::string& rel, bool inPlace = false) {
  if (!inPlace && !run.cmd.overwrite && out.Existing(rel) != 0) {
    run.Fail(ARC_E_EXISTS, e.name, "exists and overwriting is off; kept");
    return true;
  }
  FileWriter w(out, rel);
  std::string err;
  bool unsafe = false;
  if (inPlace ? !w.OpenInPlace(err) : !w.Open(e.mode, err, unsafe)) {
    if (unsafe) run.Fail(ARC_E_UNSAFE, e.name, "refused: " + err);
    else run.Fail(ARC_E_WRITE, e.name, "cannot write: " + err);
    return true;
  }
  Progress prog(ToProgram(e.name), out.Root() + "/" + ToProgram(rel), e.size);
  if (prog.Begin()) {
    run.Fail(ARC_E_CANCELLED, e.name, "cancelled");
    return false;
  }
  std::uint64_t total = 0;
  const void* buf;
  std::size_t n;
  std::int64_t off;
  int r;
  while ((r = s.reader->Data(&buf, &n, &off)) == 1) {
    const char* p = static_cast<const char*>(buf);
    for (std::size_t done = 0; done < n;) {
      std::size_t piece = std::min(kProgressPiece, n - done);
      if (!w.Write(p + done, piece, off + static_cast<std::int64_t>(done), err)) {
        s.pending = false;
        s.Rewind();
        run.Fail(ARC_E_WRITE, e.name, "cannot write: " + err);
        return false;
      }
      done += piece;
      total = std::max<std::uint64_t>(total, static_cast<std::uint64_t>(off) + done);
      if (prog.Advance(total)) {
        s.Rewind();
        run.Fail(ARC_E_CANCELLED, e.name, "cancelled; the partial file was removed");
        return false;
      }
    }
  }
  s.pending = false;
  if (r < 0) {
    int code = CodeFor(s.reader->ErrorKind());
    if (e.encrypted && code == ARC_E_DATA) code = ARC_E_PASSWORD;
    std::string cause = s.reader->Error();
    s.Rewind();
    run.Fail(code, e.name, code == ARC_E_PASSWORD ? "password needed or wrong (" + cause + ")" : cause);
    return false;
  }
  std::int64_t size = std::max<std::int64_t>(e.size, static_cast<std::int64_t>(total));
  OutResult placed = w.Commit(size, e.mtime, e.mtimeNs, run.cmd.overwrite, err);
  if (placed == OutResult::Exists) {
    run.Fail(ARC_E_EXISTS, e.name, "exists and overwriting is off; kept");
    return true;
  }
  if (placed != OutResult::Ok) {
    run.Fail(ARC_E_WRITE, e.name, "cannot write: " + err);
    return true;
  }
  ++run.written;
  if (prog.End()) {
    run.Fail(ARC_E_CANCELLED, e.name, "cancelled");
    return false;
  }
  return true;
}

// Handles the current entry of the session; false stops the command.
bool Process(Run& run, Session& s, OutputFolder* out, const Entry& e) {
  ++run.matched;
  if (e.name.empty() && e.kind == Kind::Dir) return true;  // the archive's root folder
  if (!IsSafeName(e.name)) {
    run.Fail(ARC_E_UNSAFE, e.name, "refused: the name is absolute or leaves the output folder");
    return true;
  }
  if (run.mode == Mode::Test) {
    if (e.kind != Kind::File && !(e.kind == Kind::Hardlink && e.size > 0)) return true;
    std::string err;
    ReadError kind = ReadError::None;
    if (!Drain(s, err, kind)) {
      int code = CodeFor(kind);
      if (e.encrypted && code == ARC_E_DATA) code = ARC_E_PASSWORD;
      s.Rewind();
      run.Fail(code, e.name, err);
      return false;
    }
    return true;
  }
  if (run.mode == Mode::Memory) {
    if (e.kind != Kind::File) return true;
    const void* buf;
    std::size_t n;
    std::int64_t off;
    int r;
    bool overflow = false;
    while ((r = s.reader->Data(&buf, &n, &off)) == 1) {
      std::uint64_t end = static_cast<std::uint64_t>(off) + n;
      if (end > run.memSize) {
        overflow = true;
        n = off < static_cast<std::int64_t>(run.memSize) ? run.memSize - static_cast<std::size_t>(off) : 0;
      }
      if (n) std::memcpy(run.mem + off, buf, n);
      run.memWritten = std::max<std::uint32_t>(run.memWritten, static_cast<std::uint32_t>(off + static_cast<std::int64_t>(n)));
    }
    s.pending = false;
    if (r < 0) {
      int code = CodeFor(s.reader->ErrorKind());
      if (e.encrypted && code == ARC_E_DATA) code = ARC_E_PASSWORD;
      run.Fail(code, e.name, s.reader->Error());
      s.Rewind();
      return false;
    }
    run.memTime = static_cast<std::int32_t>(e.mtime);
    run.memAttr = (e.mode & 0200) ? 0x20 : 0x21;
    if (overflow) run.Fail(ARC_E_BUFFER, e.name, "the buffer is too small for the entry");
    ++run.written;
    return false;  // one entry only
  }
  std::string rel = run.cmd.keepFolders ? e.name : BaseName(e.name);
  std::string err;
  for (std::size_t slash = rel.find('/'); slash != std::string::npos; slash = rel.find('/', slash + 1))
    if (s.refusedLinks.count(rel.substr(0, slash))) {
      run.Fail(ARC_E_UNSAFE, e.name, "refused: the path passes through a refused link");
      return true;
    }
  // Replacing the archive with one of its entries would make the next
  // command read that entry as the archive.
  if (e.kind != Kind::Dir && ToProgram(BaseName(rel)) == BaseName(s.id.path) && out->IsFile(rel, s.id.dev, s.id.ino)) {
    run.Fail(ARC_E_WRITE, e.name, "cannot write: it would replace the archive being extracted");
    return true;
  }
  switch (e.kind) {
    case Kind::Other:
      run.Fail(ARC_E_UNSAFE, e.name, "refused: device nodes, FIFOs and sockets are not created");
      return true;
    case Kind::Dir:
      if (!run.cmd.keepFolders) return true;
      switch (out->MakeFolder(rel)) {
        case OutResult::Ok: break;
        case OutResult::Unsafe: run.Fail(ARC_E_UNSAFE, e.name, "refused: a folder on the way is a link"); break;
        default: run.Fail(ARC_E_WRITE, e.name, "cannot make the folder"); break;
      }
      return true;
    case Kind::Symlink: {
      if (!IsSafeLinkTarget(rel, e.link)) {
        s.refusedLinks.insert(rel);
        run.Fail(ARC_E_UNSAFE, e.name, "refused: the link points outside the output folder (" + e.link + ")");
        return true;
      }
      OutResult r = MakeSymlink(*out, rel, e.link, run.cmd.overwrite, err);
      if (r == OutResult::Exists) run.Fail(ARC_E_EXISTS, e.name, "exists and overwriting is off; kept");
      else if (r == OutResult::Unsafe) run.Fail(ARC_E_UNSAFE, e.name, "refused: " + err);
      else if (r != OutResult::Ok) run.Fail(ARC_E_WRITE, e.name, "cannot make the link: " + err);
      else ++run.written;
      return true;
    }
    case Kind::Hardlink: {
      if (!IsSafeName(e.link)) {
        run.Fail(ARC_E_UNSAFE, e.name, "refused: the link target leaves the output folder");
        return true;
      }
      std::string target = run.cmd.keepFolders ? e.link : BaseName(e.link);
      // Data only fills a target that has none; a file with bytes of its own
      // is never rewritten through a link, so the entry gets its own copy.
      if (e.size > 0 && !out->EmptyFile(target)) return WriteFile(run, s, *out, e, rel);
      OutResult r = MakeHardlink(*out, rel, target, run.cmd.overwrite, err);
      if (r == OutResult::Exists) run.Fail(ARC_E_EXISTS, e.name, "exists and overwriting is off; kept");
      else if (r == OutResult::Unsafe) run.Fail(ARC_E_UNSAFE, e.name, "refused: " + err);
      else if (r != OutResult::Ok) run.Fail(ARC_E_WRITE, e.name, err);
      // cpio (newc, crc) stores a linked file's data with its last name only.
      else if (e.size > 0) return WriteFile(run, s, *out, e, rel, true);
      else ++run.written;
      return true;
    }
    case Kind::File:
      return WriteFile(run, s, *out, e, rel);
  }
  return true;
}

// The pass over the archive for one command.
void Execute(Run& run, Session& s, OutputFolder* out) {
  s.AddPassword(run.cmd.password);
  Selection sel;
  if (!Select(run, s, sel)) return;
  std::vector<std::size_t> targets;
  bool known = s.complete;
  if (known) {
    // One plain name of a file: look it up instead of matching every entry.
    bool direct = !sel.all && sel.items.size() == 1 && !sel.items[0].wild && sel.excludes.empty();
    if (direct) {
      auto [from, to] = s.byName.equal_range(sel.items[0].text);
      for (auto it = from; it != to; ++it) {
        if (s.index[it->second].kind == Kind::Dir) direct = false;
        targets.push_back(it->second);
      }
      if (targets.empty()) direct = false;
      std::sort(targets.begin(), targets.end());
    }
    if (!direct) {
      targets.clear();
      for (std::size_t i = 0; i < s.index.size(); ++i)
        if (sel.Selects(s.index[i])) targets.push_back(i);
    }
    if (targets.empty()) {
      run.Fail(ARC_E_NO_MATCH, run.cmd.rest, "no entry matches");
      return;
    }
  }
  // Entries already passed that the command wants mean starting again.
  bool reuse = false;
  if (s.reader && known) {
    long first = static_cast<long>(targets.front());
    reuse = s.pos < first || (s.pos == first && s.pending);
  } else if (s.reader) {
    reuse = true;
    for (long i = 0; i <= s.pos && i < static_cast<long>(s.index.size()); ++i) {
      if (i == s.pos && s.pending) break;
      if (sel.Selects(s.index[static_cast<std::size_t>(i)])) {
        reuse = false;
        break;
      }
    }
  }
  if (!reuse) s.Rewind();
  bool useCurrent = s.reader && s.pending;
  long last = known ? static_cast<long>(targets.back()) : -1;
  for (;;) {
    if (!useCurrent) {
      int r = s.Advance();
      if (r == 0) break;
      if (r < 0) {
        run.Fail(CodeFor(s.errorKind == ReadError::Format ? ReadError::Data : s.errorKind), "", "the archive cannot be read: " + s.error);
        return;
      }
    }
    useCurrent = false;
    const Entry e = s.index[static_cast<std::size_t>(s.pos)];
    bool chosen = known ? std::binary_search(targets.begin(), targets.end(), static_cast<std::size_t>(s.pos)) : sel.Selects(e);
    if (chosen && !Process(run, s, out, e)) return;
    if (known && s.pos >= last) break;
  }
  if (run.matched == 0) run.Fail(ARC_E_NO_MATCH, run.cmd.rest, "no entry matches");
  if (known && s.damaged && s.damageAt >= 0 &&
      std::binary_search(targets.begin(), targets.end(), static_cast<std::size_t>(s.damageAt)))
    run.Fail(ARC_E_DATA, s.index[static_cast<std::size_t>(s.damageAt)].name,
             "the archive cannot be read past this entry: " + s.damage);
}

}  // namespace

int Perform(Run& run, const char* line) {
  std::string error;
  if (!line || !ParseCommand(run.d, line, run.cmd, error)) {
    run.Fail(ARC_E_COMMAND, "", error.empty() ? "no command" : error);
    return run.result;
  }
  // Names and patterns come in the program's code page; paths stay as given.
  run.cmd.rest = FromProgram(run.cmd.rest);
  for (Pattern& x : run.cmd.excludes) x.text = FromProgram(x.text);
  if (run.cmd.verb == Verb::NotSupported) {
    run.Fail(ARC_E_NOT_SUPPORTED, "", "the command \"" + run.cmd.word + "\" is not supported: this module only extracts and tests");
    return run.result;
  }
  if (run.cmd.verb == Verb::Unknown) {
    run.Fail(ARC_E_COMMAND, "", "unknown command \"" + run.cmd.word + "\"");
    return run.result;
  }
  if (run.mode == Mode::Extract && run.cmd.verb == Verb::Test) run.mode = Mode::Test;
  unsigned formats = run.cmd.formats ? (run.cmd.formats & run.d.formats) : run.d.formats;
  if (!formats) formats = run.d.formats;
  Session* s = Acquire(run.cmd.archive, formats, error);
  if (!s) {
    // A 7z with encrypted names: libarchive reads none of it, password or not.
    if (error.find("header is encrypted") != std::string::npos)
      run.Fail(ARC_E_PASSWORD, FromProgram(run.cmd.archive), "the names are encrypted, which this module cannot read even with the password");
    else
      run.Fail(ARC_E_NOT_ARCHIVE, FromProgram(run.cmd.archive), error);
    return run.result;
  }
  if (run.mode == Mode::Extract) {
    OutputFolder out(run.cmd.outputDir.empty() ? "." : run.cmd.outputDir);
    if (!out.Ok()) {
      run.Fail(ARC_E_WRITE, FromProgram(run.cmd.outputDir), out.Error());
      return run.result;
    }
    Execute(run, *s, &out);
  } else {
    Execute(run, *s, nullptr);
  }
  return run.result;
}

}  // namespace quillaby::arc
