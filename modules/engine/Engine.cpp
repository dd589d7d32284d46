#include "modules/engine/Engine.h"

#include <locale.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <map>

#include "modules/engine/Extraction.h"
#include "modules/engine/Names.h"
#include "modules/engine/Progress.h"
#include "modules/engine/Session.h"

namespace quillaby::arc {
namespace {

bool g_running = false;
int g_background = 0, g_cursor = 0, g_interval = 80;

// libarchive converts names by the thread's locale; a fixed UTF-8 locale
// makes that the same in every program.
class LocaleGuard {
  struct Utf8 {
    locale_t loc = newlocale(LC_ALL_MASK, "C.UTF-8", nullptr);
    ~Utf8() {
      if (loc) freelocale(loc);
    }
  };

 public:
  LocaleGuard() {
    static Utf8 utf8;
    if (utf8.loc) old_ = uselocale(utf8.loc);
  }
  ~LocaleGuard() {
    if (old_) uselocale(old_);
  }

 private:
  locale_t old_ = nullptr;
};

class RunningGuard {
 public:
  RunningGuard() { g_running = true; }
  ~RunningGuard() { g_running = false; }
};

void WriteOutput(const std::string& text, char* output, std::uint32_t size) {
  if (!output || size == 0) return;
  std::string shown = ToProgram(text);
  std::size_t n = std::min<std::size_t>(shown.size(), size - 1);
  std::memcpy(output, shown.data(), n);
  output[n] = 0;
}

void FillRecord(const Entry& e, ARC_INDIVIDUALINFO* info) {
  std::memset(info, 0, sizeof(*info));
  info->dwOriginalSize = e.size < 0 ? 0 : static_cast<std::uint32_t>(e.size);
  if (e.packed >= 0 && e.kind == Kind::File) {
    info->dwCompressedSize = static_cast<std::uint32_t>(e.packed);
    info->dwCRC = e.crc;
    if (e.size > 0) info->wRatio = static_cast<std::uint16_t>(std::min<std::int64_t>(e.packed * 1000 / e.size, 65535));
  }
  std::tm tm{};
  std::time_t t = e.mtime;
  if (localtime_r(&t, &tm) && tm.tm_year >= 80) {
    info->wDate = static_cast<std::uint16_t>(((tm.tm_year - 80) << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday);
    info->wTime = static_cast<std::uint16_t>((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2));
  }
  std::string name = DisplayName(e.name);
  std::memcpy(info->szFileName, name.data(), name.size());
  const char* attr = e.kind == Kind::Dir ? "d---" : (e.mode & 0200) ? "-a--" : "ra--";
  std::strcpy(info->szAttribute, attr);
  std::string m = e.method.substr(0, sizeof(info->szMode) - 1);
  std::memcpy(info->szMode, m.data(), m.size());
}

struct Handle {
  std::string path;
  unsigned formats = 0;
  Pattern mask;
  bool all = true;
  std::size_t cursor = 0;
};
std::map<ARC_HARC, Handle> g_handles;
ARC_HARC g_nextHandle = 1;

int FindFrom(Handle& h, ARC_INDIVIDUALINFO* info) {
  // Within one walk the file is not looked at again: the listing is of the
  // archive as FindFirst found it.
  Session* s = h.cursor > 0 ? CurrentSession(h.path) : nullptr;
  std::string error;
  if (!s) s = Acquire(h.path, h.formats, error);
  if (!s) return -1;
  s->CompleteIndex();
  if (h.cursor == 0 && s->damaged)
    // The last entry this walk lists is the one whose extraction tells the damage.
    for (std::size_t i = s->index.size(); i-- > 0;) {
      const Entry& e = s->index[i];
      if (e.listed && (h.all || Matches(h.mask, e.name))) {
        s->damageAt = static_cast<long>(i);
        break;
      }
    }
  while (h.cursor < s->index.size()) {
    const Entry& e = s->index[h.cursor++];
    if (!e.listed) continue;
    if (!h.all && !Matches(h.mask, e.name)) continue;
    if (info) {
      FillRecord(e, info);
      // A tar hard link stores no size of its own: it is its file's.
      if (e.kind == Kind::Hardlink && e.size <= 0) {
        auto target = s->byName.find(e.link);
        if (target != s->byName.end() && s->index[target->second].size > 0)
          info->dwOriginalSize = static_cast<std::uint32_t>(s->index[target->second].size);
      }
    }
    return 0;
  }
  // The end of a listing cut short by damage is an error, not just the end.
  return s->damaged ? ARC_E_DATA : -1;
}

}  // namespace

int RunCommand(const Dialect& d, ARC_HWND, const char* line, char* output, uint32_t outputSize) {
  if (g_running) {
    WriteOutput("another command is running in this module\n", output, outputSize);
    return ARC_E_BUSY;
  }
  RunningGuard running;
  LocaleGuard locale;
  Run run(d);
  int r = Perform(run, line);
  if (r == 0) run.log += std::to_string(run.written) + (run.mode == Mode::Test ? " entries tested\n" : " entries extracted\n");
  WriteOutput(run.log, output, outputSize);
  return r;
}

int ExtractMem(const Dialect& d, ARC_HWND, const char* line, unsigned char* buffer, uint32_t size, int32_t* time,
               uint16_t* attribute, uint32_t* written) {
  if (g_running) return ARC_E_BUSY;
  RunningGuard running;
  LocaleGuard locale;
  Run run(d);
  run.mode = Mode::Memory;
  run.mem = buffer;
  run.memSize = buffer ? size : 0;
  int r = Perform(run, line);
  if (written) *written = run.memWritten;
  if (time) *time = run.memTime;
  if (attribute) *attribute = run.memAttr;
  return r;
}

int CheckArchive(const Dialect& d, const char* fileName, int) {
  if (g_running || !fileName) return 0;
  LocaleGuard locale;
  std::string error;
  return Acquire(fileName, d.formats, error) ? 1 : 0;
}

int GetFileCount(const Dialect& d, const char* archiveName) {
  if (g_running || !archiveName) return -1;
  LocaleGuard locale;
  std::string error;
  Session* s = Acquire(archiveName, d.formats, error);
  if (!s) return -1;
  s->CompleteIndex();
  return static_cast<int>(std::count_if(s->index.begin(), s->index.end(), [](const Entry& e) { return e.listed; }));
}

ARC_HARC OpenArchive(const Dialect& d, ARC_HWND, const char* archiveName, uint32_t) {
  if (g_running || !archiveName) return 0;
  LocaleGuard locale;
  std::string error;
  if (!Acquire(archiveName, d.formats, error)) return 0;
  Handle h;
  h.path = archiveName;
  h.formats = d.formats;
  ARC_HARC id = g_nextHandle++;
  if (g_nextHandle == 0) g_nextHandle = 1;
  g_handles[id] = h;
  return id;
}

int CloseArchive(ARC_HARC archive) { return g_handles.erase(archive) ? 0 : -1; }

int FindFirst(const Dialect&, ARC_HARC archive, const char* wildName, ARC_INDIVIDUALINFO* info) {
  auto it = g_handles.find(archive);
  if (g_running || it == g_handles.end()) return -1;
  LocaleGuard locale;
  Handle& h = it->second;
  std::string mask = wildName ? FromProgram(wildName) : "";
  h.all = mask.empty() || mask == "*" || mask == "*.*";
  h.mask = MakePattern(mask, false);
  h.cursor = 0;
  return FindFrom(h, info);
}

int FindNext(const Dialect&, ARC_HARC archive, ARC_INDIVIDUALINFO* info) {
  auto it = g_handles.find(archive);
  if (g_running || it == g_handles.end()) return -1;
  LocaleGuard locale;
  return FindFrom(it->second, info);
}

int SetOwnerWindowEx(ARC_HWND window, ARC_CALLBACK_FN callback) {
  Progress::SetOwner(window, callback);
  return 1;
}

int GetRunning() { return g_running ? 1 : 0; }
int GetBackGroundMode() { return g_background; }
int SetBackGroundMode(int value) { g_background = value ? 1 : 0; return 1; }
int GetCursorMode() { return g_cursor; }
int SetCursorMode(int value) { g_cursor = value ? 1 : 0; return 1; }
int GetCursorInterval() { return g_interval; }
int SetCursorInterval(int value) { g_interval = value; return 1; }

int QueryFunctionList(int function) {
  return function >= ARC_FN_COMMAND && function <= ARC_FN_SETOWNERWINDOWEX && function != ARC_FN_COMPRESSMEM &&
         function != ARC_FN_CONFIGDIALOG;
}

long DebugOpenCount() { return Reader::OpenCount(); }

}  // namespace quillaby::arc
