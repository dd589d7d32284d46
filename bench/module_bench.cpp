// module-bench MODULE DIALECT ARCHIVE OUTDIR
//
// Does what a batch run does with one archive: lists every entry ("*.*")
// through OpenArchive/FindFirst/FindNext, then extracts the entries one
// command at a time in listing order, each with the command line the
// program's driver builds by default. Prints the wall time, the peak memory
// of this process (the module runs inside it) and the counts.
//
// DIALECT: lha | zip | 7z | 7z-zip | cab | tar | rar
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "modules/arcapi.h"
#include "platform/codepage.h"
#include "platform/dynlib.h"
#include "platform/paths.h"
#include "platform/winmsg.h"

namespace {

struct Dialect {
  const char* name;
  const char* prefix;
  const char* head;  // command word and switches, before the archive
  bool escapeBrackets;
};

const Dialect kDialects[] = {
    {"lha", "Unlha", "e -a2 -n1 -x1 -m1 -r2", false},
    {"zip", "UnZip", "-u --i -q -o", true},
    {"7z", "SevenZip", "x -hide -aoa -y -r0", false},
    {"7z-zip", "SevenZip", "x -tzip -hide -aoa -y -r0", false},
    {"cab", "Cab", "-x -i -n -o -r", false},
    {"tar", "Tar", "-x --display-dialog=0", false},
    {"rar", "Unrar", "-x -y -u -o -s -r", false},
};

const Dialect* FindDialect(const std::string& name) {
  for (const Dialect& d : kDialects)
    if (name == d.name) return &d;
  return nullptr;
}

struct Module {
  ARC_COMMAND_FN command = nullptr;
  ARC_OPENARCHIVE_FN openArchive = nullptr;
  ARC_CLOSEARCHIVE_FN closeArchive = nullptr;
  ARC_FINDFIRST_FN findFirst = nullptr;
  ARC_FINDNEXT_FN findNext = nullptr;
  ARC_SETOWNERWINDOWEX_FN setOwnerWindowEx = nullptr;
};

template <typename Fn>
bool Resolve(platform::HMODULE lib, const std::string& name, Fn& slot) {
  slot = reinterpret_cast<Fn>(platform::GetProcAddress(lib, name));
  if (!slot) std::fprintf(stderr, "module-bench: %s is not exported\n", name.c_str());
  return slot != nullptr;
}

// The entry name as the program hands it over: "\" never a delimiter, and the
// ZIP library's brackets escaped.
std::string EscapeName(const std::string& name, bool brackets) {
  std::string out = platform::ReplaceChar(name, '\\', "/");
  if (brackets) {
    out = platform::ReplaceChar(out, '[', "\\[");
    out = platform::ReplaceChar(out, ']', "\\]");
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: module-bench MODULE DIALECT ARCHIVE OUTDIR\n");
    return 2;
  }
  const std::string modulePath = argv[1], archive = argv[3], outDir = argv[4];
  const Dialect* dialect = FindDialect(argv[2]);
  if (!dialect) {
    std::fprintf(stderr, "module-bench: unknown dialect %s\n", argv[2]);
    return 2;
  }
  platform::HMODULE lib = platform::LoadLibrary(modulePath);
  if (!lib) {
    std::fprintf(stderr, "module-bench: cannot load %s\n", modulePath.c_str());
    return 2;
  }
  const std::string p = dialect->prefix;
  Module m;
  if (!Resolve(lib, p, m.command) || !Resolve(lib, p + "OpenArchive", m.openArchive) ||
      !Resolve(lib, p + "CloseArchive", m.closeArchive) || !Resolve(lib, p + "FindFirst", m.findFirst) ||
      !Resolve(lib, p + "FindNext", m.findNext) || !Resolve(lib, p + "SetOwnerWindowEx", m.setOwnerWindowEx))
    return 2;

  // Progress goes to a window, as in the program; it never stops a command.
  const unsigned progressMessage = platform::RegisterWindowMessage(ARC_MESSAGE_NAME);
  long messages = 0;
  const platform::HWND window = platform::CreateHiddenWindow([&](unsigned msg, platform::WPARAM, platform::LPARAM) {
    if (msg == progressMessage) ++messages;
    return platform::LRESULT{0};
  });
  m.setOwnerWindowEx(window, nullptr);

  const auto start = std::chrono::steady_clock::now();
  std::vector<std::string> names;
  ARC_HARC handle = m.openArchive(window, archive.c_str(), 0);
  if (handle == 0) {
    std::fprintf(stderr, "module-bench: OpenArchive failed for %s\n", archive.c_str());
    return 1;
  }
  ARC_INDIVIDUALINFO info;
  std::memset(&info, 0, sizeof info);
  for (int r = m.findFirst(handle, "*.*", &info); r == 0; r = m.findNext(handle, &info)) {
    names.emplace_back(info.szFileName);
    std::memset(&info, 0, sizeof info);
  }
  m.closeArchive(handle);
  const double listSeconds = bench::SecondsSince(start);

  const std::string tail =
      " \"" + archive + "\" \"" + platform::path::WithTrailingDelimiter(outDir) + "\" ";
  std::vector<char> output(4096);
  long failed = 0;
  for (const std::string& name : names) {
    const std::string command = dialect->head + tail + EscapeName(name, dialect->escapeBrackets);
    output[0] = '\0';
    const int result = m.command(window, command.c_str(), output.data(), static_cast<std::uint32_t>(output.size()));
    if (result != 0 && failed++ < 5)
      std::fprintf(stderr, "module-bench: 0x%X for %s: %s\n", result, name.c_str(), output.data());
  }
  const double seconds = bench::SecondsSince(start);

  bench::PrintResult(seconds, RUSAGE_SELF);
  std::printf(" list_seconds=%.3f entries=%zu failed=%ld messages=%ld\n", listSeconds, names.size(), failed,
              messages);
  platform::DestroyWindow(window);
  platform::FreeLibrary(lib);
  return failed == 0 ? 0 : 1;
}
