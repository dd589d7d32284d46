// A scriptable archiver module for tests. Built once per file name and
// prefix (FAKE_PREFIX). It answers from "fake.ctl" in its own folder
// ("Key=value" lines; "<Prefix>.Key" wins over "Key"; absent keys answer 0)
// and appends one line per call to "fake.log" there: the function's name and
// its arguments, separated by tabs.
#include <dlfcn.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "modules/arcapi.h"

#define FAKE_CAT2(a, b) a##b
#define FAKE_CAT(a, b) FAKE_CAT2(a, b)
#define FAKE_FN(suffix) FAKE_CAT(FAKE_PREFIX, suffix)
#define FAKE_STR2(x) #x
#define FAKE_STR(x) FAKE_STR2(x)
#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

const char* const kPrefix = FAKE_STR(FAKE_PREFIX);

std::string Folder() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&Folder), &info) || !info.dli_fname) return ".";
  std::string path = info.dli_fname;
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string Lookup(const std::string& key, bool* found = nullptr) {
  std::ifstream in(Folder() + "/fake.ctl");
  std::string line, general, own;
  bool haveGeneral = false, haveOwn = false;
  const std::string ownKey = std::string(kPrefix) + "." + key;
  while (std::getline(in, line)) {
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string k = line.substr(0, eq);
    if (k == ownKey) {
      own = line.substr(eq + 1);
      haveOwn = true;
    } else if (k == key) {
      general = line.substr(eq + 1);
      haveGeneral = true;
    }
  }
  if (found) *found = haveOwn || haveGeneral;
  return haveOwn ? own : general;
}

int Answer(const std::string& key) { return static_cast<int>(std::strtol(Lookup(key).c_str(), nullptr, 0)); }

void Log(const std::string& function, const std::vector<std::string>& args) {
  std::string line = std::string(kPrefix) + function;
  for (const auto& a : args) line += "\t" + a;
  line += "\n";
  if (FILE* f = std::fopen((Folder() + "/fake.log").c_str(), "a")) {
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
  }
}

std::string Num(long long v) { return std::to_string(v); }

std::vector<std::string> Entries() {
  std::vector<std::string> out;
  std::stringstream ss(Lookup("Entries"));
  std::string item;
  while (std::getline(ss, item, ',')) out.push_back(item);
  return out;
}

std::size_t g_next = 0;  // the next entry FindNext hands out

void Fill(ARC_INDIVIDUALINFO* info, std::size_t index, const std::vector<std::string>& entries) {
  std::memset(info, 0, sizeof *info);
  info->dwOriginalSize = static_cast<uint32_t>(100 * (index + 1));
  std::snprintf(info->szFileName, sizeof info->szFileName, "%s", entries[index].c_str());
}

}  // namespace

#ifndef FAKE_NO_COMMAND
FAKE_EXPORT int FAKE_PREFIX(ARC_HWND window, const char* command, char* output, uint32_t outputSize) {
  Log("", {Num(static_cast<long long>(window)), command ? command : "(null)", Num(outputSize)});
  const std::string text = Lookup("Output");
  if (output && outputSize > 0) {
    std::size_t n = std::min<std::size_t>(text.size(), outputSize - 1);
    std::memcpy(output, text.data(), n);
    output[n] = '\0';
  }
  return Answer("Command");
}
#endif

FAKE_EXPORT int FAKE_FN(GetVersion)(void) {
  Log("GetVersion", {});
  return Answer("GetVersion");
}
FAKE_EXPORT int FAKE_FN(GetRunning)(void) {
  Log("GetRunning", {});
  return Answer("GetRunning");
}
FAKE_EXPORT int FAKE_FN(GetBackGroundMode)(void) {
  Log("GetBackGroundMode", {});
  return Answer("GetBackGroundMode");
}
FAKE_EXPORT int FAKE_FN(SetBackGroundMode)(int value) {
  Log("SetBackGroundMode", {Num(value)});
  return Answer("SetBackGroundMode");
}
FAKE_EXPORT int FAKE_FN(GetCursorMode)(void) {
  Log("GetCursorMode", {});
  return Answer("GetCursorMode");
}
FAKE_EXPORT int FAKE_FN(SetCursorMode)(int value) {
  Log("SetCursorMode", {Num(value)});
  return Answer("SetCursorMode");
}
FAKE_EXPORT int FAKE_FN(GetCursorInterval)(void) {
  Log("GetCursorInterval", {});
  return Answer("GetCursorInterval");
}
FAKE_EXPORT int FAKE_FN(SetCursorInterval)(int value) {
  Log("SetCursorInterval", {Num(value)});
  return Answer("SetCursorInterval");
}
FAKE_EXPORT int FAKE_FN(QueryFunctionList)(int value) {
  Log("QueryFunctionList", {Num(value)});
  return Answer("QueryFunctionList");
}
FAKE_EXPORT int FAKE_FN(QueryEncryption)(void) {
  Log("QueryEncryption", {});
  return Answer("QueryEncryption");
}
FAKE_EXPORT int FAKE_FN(CheckArchive)(const char* fileName, int mode) {
  Log("CheckArchive", {fileName, Num(mode)});
  return Answer("CheckArchive");
}
FAKE_EXPORT int FAKE_FN(GetFileCount)(const char* archiveName) {
  Log("GetFileCount", {archiveName});
  return Answer("GetFileCount");
}

FAKE_EXPORT int FAKE_FN(ExtractMem)(ARC_HWND window, const char* command, unsigned char* buffer, uint32_t size,
                                    int32_t* time, uint16_t* attribute, uint32_t* written) {
  Log("ExtractMem", {Num(static_cast<long long>(window)), command, Num(size), time ? "time" : "null",
                     attribute ? "attr" : "null", written ? Num(*written) : "null"});
  const std::string data = Lookup("MemData");
  std::size_t n = std::min<std::size_t>(data.size(), size);
  if (buffer) std::memcpy(buffer, data.data(), n);
  if (written) *written = static_cast<uint32_t>(n);
  if (time) *time = 1234;
  if (attribute) *attribute = 0x20;
  return Answer("ExtractMem");
}

FAKE_EXPORT int FAKE_FN(CompressMem)(ARC_HWND window, const char* command, const unsigned char*, uint32_t size,
                                     const int32_t* time, const uint16_t* attribute, uint32_t* written) {
  Log("CompressMem", {Num(static_cast<long long>(window)), command, Num(size), time ? Num(*time) : "null",
                      attribute ? Num(*attribute) : "null", written ? Num(*written) : "null"});
  if (written) *written = size / 2;
  return Answer("CompressMem");
}

// Logs the text it was given and the size of the buffer holding it.
FAKE_EXPORT int FAKE_FN(ConfigDialog)(ARC_HWND window, char* text, int mode) {
  Log("ConfigDialog", {Num(static_cast<long long>(window)), text ? text : "(null)", Num(mode),
                       text ? Num(static_cast<long long>(malloc_usable_size(text))) : "0"});
  bool found = false;
  const std::string answer = Lookup("ConfigText", &found);
  if (found && text) std::memcpy(text, answer.c_str(), answer.size() + 1);
  return Answer("ConfigDialog");
}

FAKE_EXPORT ARC_HARC FAKE_FN(OpenArchive)(ARC_HWND window, const char* archiveName, uint32_t mode) {
  Log("OpenArchive", {Num(static_cast<long long>(window)), archiveName, Num(mode)});
  g_next = 0;
  return static_cast<ARC_HARC>(Answer("OpenArchive"));
}
FAKE_EXPORT int FAKE_FN(CloseArchive)(ARC_HARC archive) {
  Log("CloseArchive", {Num(archive)});
  return 0;
}
FAKE_EXPORT int FAKE_FN(FindFirst)(ARC_HARC archive, const char* wildName, ARC_INDIVIDUALINFO* info) {
  Log("FindFirst", {Num(archive), wildName});
  const auto entries = Entries();
  g_next = 0;
  if (entries.empty()) return -1;
  Fill(info, 0, entries);
  g_next = 1;
  return 0;
}
FAKE_EXPORT int FAKE_FN(FindNext)(ARC_HARC archive, ARC_INDIVIDUALINFO* info) {
  Log("FindNext", {Num(archive)});
  const auto entries = Entries();
  if (g_next >= entries.size()) return -1;
  Fill(info, g_next++, entries);
  return 0;
}
FAKE_EXPORT int FAKE_FN(SetOwnerWindowEx)(ARC_HWND window, ARC_CALLBACK_FN callback) {
  Log("SetOwnerWindowEx", {Num(static_cast<long long>(window)), callback ? "callback" : "null"});
  return 1;
}
