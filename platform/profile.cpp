#include "platform/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/codepage.h"
#include "platform/paths.h"

namespace platform {
namespace {

constexpr auto npos = std::string::npos;

// One line of the file with its own line end, so untouched lines are written
// back byte for byte.
struct Line {
  std::string text;
  std::string end;  // "\n", "\r\n" or empty for an unterminated last line
};

std::vector<Line> SplitLines(const std::string& content) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < content.size()) {
    std::size_t nl = content.find('\n', pos);
    Line line;
    if (nl == npos) {
      line.text = content.substr(pos);
      pos = content.size();
    } else {
      line.text = content.substr(pos, nl - pos);
      line.end = "\n";
      pos = nl + 1;
    }
    if (!line.end.empty() && !line.text.empty() && line.text.back() == '\r') {
      line.text.pop_back();
      line.end = "\r\n";
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

// The line as it is parsed: trimmed, and a byte-order mark at the start of the
// file skipped so it cannot hide the first section name.
std::string Parsable(const std::vector<Line>& lines, std::size_t i) {
  const std::string& t = lines[i].text;
  if (i == 0 && t.compare(0, 3, "\xEF\xBB\xBF") == 0) return TrimControl(std::string_view(t).substr(3));
  return TrimControl(t);
}

bool SectionName(const std::string& trimmed, std::string& name) {
  if (trimmed.empty() || trimmed[0] != '[') return false;
  std::string_view rest = std::string_view(trimmed).substr(1);
  std::size_t close = FindChar(rest, ']');
  name = TrimControl(close == npos ? rest : rest.substr(0, close));
  return true;
}

bool KeyValue(const std::string& trimmed, std::string& key, std::string& value) {
  if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '[') return false;
  std::size_t eq = FindChar(trimmed, '=');
  if (eq == npos) return false;
  key = TrimControl(std::string_view(trimmed).substr(0, eq));
  value = TrimControl(std::string_view(trimmed).substr(eq + 1));
  return true;
}

bool SameName(const std::string& a, const std::string& b) { return LowerAscii(a) == LowerAscii(b); }

struct Place {
  std::optional<std::size_t> section;  // the header line of the first matching section
  std::size_t lastInSection = 0;       // its last non-blank line
  std::optional<std::size_t> key;      // the first matching key line in it
  std::string value;
};

Place Locate(const std::vector<Line>& lines, const std::string& section, const std::string& key) {
  Place place;
  bool inside = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string t = Parsable(lines, i);
    std::string name;
    if (SectionName(t, name)) {
      if (inside) break;
      if (!place.section && SameName(name, section)) {
        place.section = i;
        place.lastInSection = i;
        inside = true;
      }
      continue;
    }
    if (!inside) continue;
    if (!t.empty()) place.lastInSection = i;
    std::string k, v;
    if (!place.key && KeyValue(t, k, v) && SameName(k, key)) {
      place.key = i;
      place.value = v;
    }
  }
  return place;
}

// The file's content; nullopt when it exists but cannot be read. A missing
// file reads as empty.
std::optional<std::string> ReadAll(const std::string& file, bool& exists) {
  exists = false;
  int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return std::string();
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  exists = true;
  std::string content;
  char buffer[8192];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return content;
}

bool WriteAllFd(int fd, const std::string& content) {
  std::size_t done = 0;
  while (done < content.size()) {
    ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Writes a new file beside target and renames it over target, so a reader
// sees either the old content or the new one, never a mixture.
bool ReplaceFile(const std::string& target, const std::string& content) {
  static std::atomic<unsigned> counter{0};
  struct stat old {};
  bool hadFile = ::stat(target.c_str(), &old) == 0;
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = target + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  bool ok = WriteAllFd(fd, content);
  if (ok && hadFile) ok = ::fchmod(fd, old.st_mode & 07777) == 0;
  if (ok) ok = ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  std::string folder = path::FolderOf(target);
  int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool OneLine(const std::string& s) { return s.find('\n') == npos && s.find('\r') == npos; }

std::string Encode(const std::string& value) {
  bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
  if (quoted || TrimControl(value) != value) return "\"" + value + "\"";
  return value;
}

}  // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& def, const std::string& file) {
  bool exists = false;
  std::optional<std::string> content = ReadAll(file, exists);
  if (!content) return def;
  Place place = Locate(SplitLines(*content), TrimControl(section), TrimControl(key));
  if (!place.key) return def;
  std::string& v = place.value;
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') return v.substr(1, v.size() - 2);
  return v;
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file) {
  std::string sec = TrimControl(section);
  std::string k = TrimControl(key);
  if (!OneLine(section) || !OneLine(key) || !OneLine(value)) return false;
  if (sec.empty() || FindChar(sec, ']') != npos) return false;
  if (k.empty() || k[0] == '[' || k[0] == ';' || FindChar(k, '=') != npos) return false;

  // A link keeps pointing at the settings: the file it names is replaced.
  std::string target = file;
  struct stat st {};
  if (::lstat(file.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(file.c_str(), resolved) == nullptr) return false;
    target = resolved;
  }

  bool exists = false;
  std::optional<std::string> content = ReadAll(target, exists);
  if (!content) return false;
  std::vector<Line> lines = SplitLines(*content);
  std::string nl = !lines.empty() && lines[0].end == "\r\n" ? "\r\n" : "\n";
  std::string entry = k + "=" + Encode(value);

  Place place = Locate(lines, sec, k);
  if (place.key) {
    lines[*place.key].text = entry;
  } else if (place.section) {
    Line& before = lines[place.lastInSection];
    if (before.end.empty()) before.end = nl;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(place.lastInSection + 1), Line{entry, nl});
  } else {
    if (!lines.empty() && lines.back().end.empty()) lines.back().end = nl;
    lines.push_back(Line{"[" + sec + "]", nl});
    lines.push_back(Line{entry, nl});
  }

  std::string out;
  out.reserve(content->size() + entry.size() + 16);
  for (const Line& line : lines) out += line.text + line.end;
  return ReplaceFile(target, out);
}

}  // namespace platform
