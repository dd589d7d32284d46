#include "modules/engine/Reader.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "modules/engine/Command.h"
#include "modules/engine/LhaScan.h"
#include "modules/engine/Names.h"
#include "modules/engine/ZipDirectory.h"

namespace quillaby::arc {
namespace {

std::atomic<long> g_opens{0};
constexpr std::size_t kBlock = 128 * 1024;

// A file read with pread, optionally with LHA headers laid over it.
struct Source {
  int fd = -1;
  bool ownFd = false;
  std::uint64_t size = 0, pos = 0;
  std::vector<char> buf = std::vector<char>(kBlock);
  std::uint64_t bufStart = 0, bufLen = 0;  // what buf holds: a seek back into it costs no read
  const std::vector<LhaHeader>* overlay = nullptr;
  ~Source() {
    if (ownFd && fd >= 0) ::close(fd);
  }
};

void ApplyOverlay(const Source& s, std::uint64_t at, char* data, std::size_t n) {
  if (!s.overlay) return;
  for (const LhaHeader& h : *s.overlay) {
    std::uint64_t hs = h.offset, he = h.offset + h.patched.size();
    if (he <= at || hs >= at + n) continue;
    std::uint64_t from = std::max(hs, at), to = std::min(he, at + n);
    std::memcpy(data + (from - at), h.patched.data() + (from - hs), to - from);
  }
}

la_ssize_t SrcRead(struct archive* a, void* ctx, const void** out) {
  auto* s = static_cast<Source*>(ctx);
  if (s->pos >= s->size) return 0;
  if (s->pos >= s->bufStart && s->pos < s->bufStart + s->bufLen) {
    std::size_t at = static_cast<std::size_t>(s->pos - s->bufStart);
    std::size_t n = static_cast<std::size_t>(s->bufLen) - at;
    *out = s->buf.data() + at;
    s->pos += n;
    return static_cast<la_ssize_t>(n);
  }
  std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(s->buf.size(), s->size - s->pos));
  ssize_t r = ::pread(s->fd, s->buf.data(), want, static_cast<off_t>(s->pos));
  if (r < 0) {
    archive_set_error(a, errno, "read error: %s", std::strerror(errno));
    return -1;
  }
  ApplyOverlay(*s, s->pos, s->buf.data(), static_cast<std::size_t>(r));
  s->bufStart = s->pos;
  s->bufLen = static_cast<std::uint64_t>(r);
  s->pos += static_cast<std::uint64_t>(r);
  *out = s->buf.data();
  return r;
}

la_int64_t SrcSkip(struct archive*, void* ctx, la_int64_t n) {
  auto* s = static_cast<Source*>(ctx);
  std::uint64_t left = s->size > s->pos ? s->size - s->pos : 0;
  std::uint64_t step = std::min<std::uint64_t>(static_cast<std::uint64_t>(n), left);
  s->pos += step;
  return static_cast<la_int64_t>(step);
}

la_int64_t SrcSeek(struct archive*, void* ctx, la_int64_t off, int whence) {
  auto* s = static_cast<Source*>(ctx);
  std::int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<std::int64_t>(s->pos) : static_cast<std::int64_t>(s->size);
  std::int64_t to = base + off;
  if (to < 0) return ARCHIVE_FATAL;
  s->pos = static_cast<std::uint64_t>(to);
  return to;
}

// The decompressed stream of stage1 fed to the entry reader, copied to the
// spool on the way.
struct Tee {
  struct archive* stage1 = nullptr;
  Spool* spool = nullptr;
  bool eof = false;
  bool failed = false;  // the compressed stream itself is broken
};

la_ssize_t TeeRead(struct archive* a, void* ctx, const void** out) {
  auto* t = static_cast<Tee*>(ctx);
  if (t->eof) return 0;
  const void* buf = nullptr;
  size_t size = 0;
  la_int64_t offset = 0;
  int r = archive_read_data_block(t->stage1, &buf, &size, &offset);
  if (r == ARCHIVE_EOF) {
    t->eof = true;
    return 0;
  }
  if (r < ARCHIVE_WARN) {
    t->failed = true;
    archive_set_error(a, archive_errno(t->stage1), "%s", archive_error_string(t->stage1) ? archive_error_string(t->stage1) : "decompression error");
    return -1;
  }
  if (t->spool) t->spool->Append(buf, size);
  *out = buf;
  return static_cast<la_ssize_t>(size);
}

bool OpenOn(struct archive* a, Source* s) {
  archive_read_set_callback_data(a, s);
  archive_read_set_read_callback(a, SrcRead);
  archive_read_set_skip_callback(a, SrcSkip);
  archive_read_set_seek_callback(a, SrcSeek);
  ++g_opens;
  return archive_read_open1(a) == ARCHIVE_OK;
}

std::string MethodText(const char* formatName) {
  std::string f = formatName ? formatName : "";
  std::size_t lh = f.find("-l");
  if (f.rfind("lha", 0) == 0 && lh != std::string::npos) return f.substr(lh, 5);
  std::size_t open = f.find('('), close = f.rfind(')');
  std::string inner = (open != std::string::npos && close != std::string::npos && close > open) ? f.substr(open + 1, close - open - 1) : f;
  if (inner == "deflation") return "deflate";
  if (inner == "uncompressed" || inner == "NONE") return "store";
  if (f.rfind("7-Zip", 0) == 0) return "7z";
  if (f.rfind("RAR5", 0) == 0) return "rar5";
  if (f.rfind("RAR", 0) == 0) return "rar";
  if (f.find("cpio") != std::string::npos) return "cpio";
  if (f.find("tar") != std::string::npos) return "tar";
  if (inner.size() > 7) inner.resize(7);
  return inner;
}

}  // namespace

struct Reader::Impl {
  struct archive* a = nullptr;
  struct archive* stage1 = nullptr;
  std::unique_ptr<Source> src, src1;
  Tee tee;
  bool teeing = false;
  std::vector<LhaHeader> lha;
  std::vector<ZipRecord> zip;
  std::size_t ordinal = 0;
  unsigned formats = 0;
  bool dos = false;
  Spool* spool = nullptr;
  struct archive_entry* first = nullptr;  // read while finding out what the file holds
  bool haveFirst = false;
  // A lone compressed file: one entry, its data the decompressed stream.
  bool lone = false, loneServed = false, loneFromSpool = false;
  std::uint64_t lonePos = 0;
  std::string loneName;
  std::vector<char> loneBuf;

  ~Impl() {
    if (a) archive_read_free(a);
    if (stage1) archive_read_free(stage1);
    if (spool && spool->writing && !spool->complete) spool->Reset();
  }
};

Reader::~Reader() = default;

long Reader::OpenCount() { return g_opens.load(); }

unsigned Reader::Detected() const {
  if (impl_->lone || (impl_->formats & kTarFamily)) return kTarFamily;
  switch (impl_->a ? (archive_format(impl_->a) & ARCHIVE_FORMAT_BASE_MASK) : 0) {
    case ARCHIVE_FORMAT_LHA: return kLha;
    case ARCHIVE_FORMAT_ZIP: return kZip;
    case ARCHIVE_FORMAT_7ZIP: return kSevenZip;
    case ARCHIVE_FORMAT_CAB: return kCab;
    case ARCHIVE_FORMAT_RAR: case ARCHIVE_FORMAT_RAR_V5: return kRar;
    default: return impl_->formats;
  }
}


void Reader::SetError(struct archive* a, ReadError fallback) {
  const char* e = a ? archive_error_string(a) : nullptr;
  error_ = e ? e : "unreadable archive data";
  std::string lower = error_;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower.find("passphrase") != std::string::npos || lower.find("password") != std::string::npos ||
      lower.find("decrypt") != std::string::npos || lower.find("encrypt") != std::string::npos)
    errorKind_ = ReadError::Password;
  else if (lower.find("unsupported") != std::string::npos || lower.find("not supported") != std::string::npos ||
           lower.find("unexpected codec") != std::string::npos)
    errorKind_ = ReadError::Method;
  else
    errorKind_ = fallback;
}

std::unique_ptr<Reader> Reader::Open(const std::string& path, unsigned formats, Spool* spool,
                                     const std::vector<std::string>& passwords, std::string& error) {
  std::unique_ptr<Reader> r(new Reader());
  r->impl_ = std::make_unique<Impl>();
  Impl& m = *r->impl_;
  m.formats = formats;
  m.spool = spool;

  auto fileSource = [&](std::unique_ptr<Source>& out) -> bool {
    out = std::make_unique<Source>();
    out->fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (out->fd < 0) {
      error = std::string("cannot open the archive: ") + std::strerror(errno);
      return false;
    }
    out->ownFd = true;
    struct stat st {};
    if (::fstat(out->fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      error = "not a regular file";
      return false;
    }
    out->size = static_cast<std::uint64_t>(st.st_size);
    return true;
  };
  auto newArchive = [&](bool tarFormats) {
    struct archive* a = archive_read_new();
    if (tarFormats) {
      archive_read_support_format_tar(a);
      archive_read_support_format_cpio(a);
      archive_read_support_format_ar(a);
      archive_read_support_filter_all(a);
    } else {
      if (formats & kLha) archive_read_support_format_lha(a);
      if (formats & kZip) archive_read_support_format_zip(a);
      if (formats & kSevenZip) archive_read_support_format_7zip(a);
      if (formats & kCab) archive_read_support_format_cab(a);
      if (formats & kRar) {
        archive_read_support_format_rar(a);
        archive_read_support_format_rar5(a);
      }
    }
    for (const std::string& p : passwords)
      if (!p.empty()) archive_read_add_passphrase(a, p.c_str());
    return a;
  };
  auto fail = [&](struct archive* a) {
    const char* e = a ? archive_error_string(a) : nullptr;
    if (error.empty()) error = e ? e : "not an archive of this kind";
    return nullptr;
  };

  if (!(formats & kTarFamily)) {
    if (!fileSource(m.src)) return nullptr;
    if ((formats & kLha) && ScanLha(m.src->fd, m.src->size, m.lha)) m.src->overlay = &m.lha;
    if (formats & kZip) m.zip = ReadZipDirectory(m.src->fd, m.src->size);
    m.a = newArchive(false);
    if (!OpenOn(m.a, m.src.get())) return fail(m.a);
    int rc = archive_read_next_header(m.a, &m.first);
    if (rc == ARCHIVE_EOF) {
      if (archive_format(m.a) == 0) return fail(m.a);
      m.haveFirst = false;
      return r;
    }
    if (rc < ARCHIVE_WARN) return fail(m.a);
    m.haveFirst = true;
    return r;
  }

  // The tar family: what is under the compression decides the road.
  if (spool && spool->complete) {
    m.src = std::make_unique<Source>();
    m.src->fd = spool->fd;
    m.src->size = spool->size;
    if (spool->lone) {
      ++g_opens;
      m.lone = m.loneFromSpool = true;
      m.loneName = path;
      m.loneBuf.resize(kBlock);
    } else {
      m.a = newArchive(true);
      if (!OpenOn(m.a, m.src.get())) return fail(m.a);
      int rc = archive_read_next_header(m.a, &m.first);
      if (rc < ARCHIVE_WARN && rc != ARCHIVE_EOF) return fail(m.a);
      m.haveFirst = rc != ARCHIVE_EOF;
    }
  } else {
    if (!fileSource(m.src1)) return nullptr;
    m.stage1 = archive_read_new();
    archive_read_support_filter_all(m.stage1);
    archive_read_support_format_raw(m.stage1);
    if (!OpenOn(m.stage1, m.src1.get())) return fail(m.stage1);
    struct archive_entry* raw = nullptr;
    if (archive_read_next_header(m.stage1, &raw) < ARCHIVE_WARN) return fail(m.stage1);
    bool compressed = archive_filter_code(m.stage1, 0) != ARCHIVE_FILTER_NONE;
    if (!compressed) {
      archive_read_free(m.stage1);
      m.stage1 = nullptr;
      m.src = std::move(m.src1);
      m.src->pos = 0;
      m.a = newArchive(true);
      if (!OpenOn(m.a, m.src.get())) return fail(m.a);
      int rc = archive_read_next_header(m.a, &m.first);
      if (rc == ARCHIVE_EOF && archive_format(m.a) != 0) return r;
      if (rc < ARCHIVE_WARN) return fail(m.a);
      m.haveFirst = true;
      return r;
    }
    if (spool) spool->Start();
    m.tee.stage1 = m.stage1;
    m.tee.spool = spool;
    m.a = archive_read_new();
    archive_read_support_format_tar(m.a);
    archive_read_support_format_cpio(m.a);
    archive_read_support_format_ar(m.a);
    archive_read_set_callback_data(m.a, &m.tee);
    archive_read_set_read_callback(m.a, TeeRead);
    int rc = archive_read_open1(m.a) == ARCHIVE_OK ? archive_read_next_header(m.a, &m.first) : ARCHIVE_FATAL;
    if (rc == ARCHIVE_OK || rc == ARCHIVE_WARN || (rc == ARCHIVE_EOF && archive_format(m.a) != 0)) {
      m.haveFirst = rc != ARCHIVE_EOF;
      m.teeing = true;
      if (rc == ARCHIVE_EOF && spool && spool->writing) {
        spool->writing = false;
        spool->complete = true;
      }
      return r;
    }
    // Data that does not decompress is no lone compressed file either.
    if (m.tee.failed) return fail(m.a);
    // Not an archive inside: a lone compressed file, read from the start.
    archive_read_free(m.a);
    m.a = nullptr;
    archive_read_free(m.stage1);
    m.stage1 = nullptr;
    m.src1->pos = 0;
    m.stage1 = archive_read_new();
    archive_read_support_filter_all(m.stage1);
    archive_read_support_format_raw(m.stage1);
    if (!OpenOn(m.stage1, m.src1.get())) return fail(m.stage1);
    if (archive_read_next_header(m.stage1, &raw) < ARCHIVE_WARN) return fail(m.stage1);
    if (spool) {
      spool->Start();
      spool->lone = true;
    }
    m.lone = true;
    m.loneName = path;
  }
  if (m.lone) {
    std::string base = BaseName(m.loneName);
    std::size_t dot = base.rfind('.');
    if (dot != std::string::npos && dot > 0) base.resize(dot);
    m.loneName = DecodeName(base, false);
  }
  return r;
}

int Reader::Next(Entry& out) {
  Impl& m = *impl_;
  out = Entry{};
  if (m.lone) {
    if (m.loneServed) return 0;
    m.loneServed = true;
    out.name = m.loneName;
    out.kind = Kind::File;
    if (m.loneFromSpool) out.size = static_cast<std::int64_t>(m.src->size);
    struct stat st {};
    if (m.src1 && ::fstat(m.src1->fd, &st) == 0) out.mtime = st.st_mtime;
    out.method = "raw";
    return 1;
  }
  struct archive_entry* e = nullptr;
  if (m.haveFirst) {
    e = m.first;
    m.haveFirst = false;
  } else {
    int rc = archive_read_next_header(m.a, &e);
    if (rc == ARCHIVE_EOF) {
      if (m.teeing && m.spool && m.spool->writing) {
        m.spool->writing = false;
        m.spool->complete = true;
      }
      return 0;
    }
    if (rc < ARCHIVE_WARN) {
      SetError(m.a, ReadError::Data);
      return -1;
    }
  }
  std::size_t ord = m.ordinal++;
  // Formats from DOS and Windows put "\" between folders, whichever module reads them.
  int base = archive_format(m.a) & ARCHIVE_FORMAT_BASE_MASK;
  m.dos = base == ARCHIVE_FORMAT_LHA || base == ARCHIVE_FORMAT_ZIP || base == ARCHIVE_FORMAT_CAB ||
          base == ARCHIVE_FORMAT_RAR || base == ARCHIVE_FORMAT_RAR_V5;
  std::string raw;
  bool fromScan = !m.lha.empty() && ord < m.lha.size();
  if (fromScan) {
    raw = m.lha[ord].name;
    out.packed = static_cast<std::int64_t>(m.lha[ord].packed);
    out.crc = m.lha[ord].crc;
  } else {
    const char* p = archive_entry_pathname(e);
    if (!p) p = archive_entry_pathname_utf8(e);
    raw = p ? p : "";
  }
  mode_t type = archive_entry_filetype(e);
  if (fromScan && type == AE_IFLNK) {
    std::size_t bar = raw.find('|');
    if (bar != std::string::npos) {
      out.link = DecodeName(raw.substr(bar + 1), m.dos);
      raw.resize(bar);
    }
  }
  out.name = NormalizeName(DecodeName(raw, m.dos));
  if (archive_entry_hardlink(e)) {
    out.kind = Kind::Hardlink;
    out.link = NormalizeName(DecodeName(archive_entry_hardlink(e), m.dos));
  } else if (type == AE_IFDIR) {
    out.kind = Kind::Dir;
  } else if (type == AE_IFLNK) {
    out.kind = Kind::Symlink;
    if (out.link.empty()) {
      const char* l = archive_entry_symlink(e);
      if (!l) l = archive_entry_symlink_utf8(e);
      out.link = DecodeName(l ? l : "", m.dos);
    }
  } else if (type == AE_IFREG || type == 0) {
    out.kind = Kind::File;
  } else {
    out.kind = Kind::Other;
  }
  out.size = archive_entry_size_is_set(e) ? archive_entry_size(e) : (out.kind == Kind::File ? -1 : 0);
  out.mtime = archive_entry_mtime(e);
  out.mtimeNs = archive_entry_mtime_nsec(e);
  out.mode = archive_entry_perm(e);
  out.encrypted = archive_entry_is_encrypted(e) != 0;
  out.method = MethodText(archive_format_name(m.a));
  // The ZIP directory entry of the same place, when it names the same entry.
  if (!m.zip.empty() && ord < m.zip.size() && (archive_format(m.a) & ARCHIVE_FORMAT_BASE_MASK) == ARCHIVE_FORMAT_ZIP &&
      NormalizeName(DecodeName(m.zip[ord].name, m.dos)) == out.name) {
    out.packed = static_cast<std::int64_t>(m.zip[ord].packed);
    out.crc = m.zip[ord].crc;
  }
  return 1;
}

int Reader::Data(const void** buf, std::size_t* size, std::int64_t* offset) {
  Impl& m = *impl_;
  if (m.lone) {
    if (m.loneFromSpool) {
      if (m.lonePos >= m.src->size) return 0;
      std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(m.loneBuf.size(), m.src->size - m.lonePos));
      ssize_t r = ::pread(m.src->fd, m.loneBuf.data(), want, static_cast<off_t>(m.lonePos));
      if (r <= 0) {
        error_ = "cannot read the temporary copy";
        errorKind_ = ReadError::Data;
        return -1;
      }
      *buf = m.loneBuf.data();
      *size = static_cast<std::size_t>(r);
      *offset = static_cast<std::int64_t>(m.lonePos);
      m.lonePos += static_cast<std::uint64_t>(r);
      return 1;
    }
    la_int64_t off = 0;
    int rc = archive_read_data_block(m.stage1, buf, size, &off);
    if (rc == ARCHIVE_EOF) {
      if (m.spool && m.spool->writing) {
        m.spool->writing = false;
        m.spool->complete = true;
      }
      return 0;
    }
    if (rc < ARCHIVE_WARN) {
      SetError(m.stage1, ReadError::Data);
      return -1;
    }
    if (m.spool) m.spool->Append(*buf, *size);
    *offset = off;
    return 1;
  }
  la_int64_t off = 0;
  int rc = archive_read_data_block(m.a, buf, size, &off);
  if (rc == ARCHIVE_EOF) return 0;
  if (rc < ARCHIVE_OK) {
    // A warning here is a failed check (CRC, unsupported method): the data is not good.
    SetError(m.a, ReadError::Data);
    return -1;
  }
  *offset = off;
  return 1;
}

}  // namespace quillaby::arc
