#include "archiver/CustomArchiver.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "archiver/CommandTail.h"

namespace ArchiverN {
namespace {

template <class Fn>
void Resolve(TCustomArchiver& a, Fn& slot, const std::string& name) {
  slot = reinterpret_cast<Fn>(a.GetProc(name));
}

// The text of a module-filled buffer up to its first NUL, never past its end.
std::string BufferText(const std::vector<char>& buf) {
  return std::string(buf.data(), strnlen(buf.data(), buf.size()));
}

}  // namespace

TCustomArchiver::TCustomArchiver(IArchiverOwner* owner)
    : platform::TComponent(owner ? owner->OwnerComponent() : nullptr), OwnerArchiver(owner) {
  if (owner) OwnerWindow = owner->OwnerWindowHandle();
}

TCustomArchiver::~TCustomArchiver() {
  if (ArchiveHandle != 0) TCustomArchiver::CloseArchive();
  if (DllHandle) platform::FreeLibrary(DllHandle);
}

const TArchiveOptions& TCustomArchiver::Opts() const {
  static const TArchiveOptions initial;
  return Options ? *Options : initial;
}

void TCustomArchiver::LoadDll(const std::string& libraryName, const std::string& prefix) {
  DllHandle = platform::LoadLibrary(libraryName);
  if (!DllHandle) return;
  TArchiverFunctions& f = Functions;
  Resolve(*this, f.GetVersion, prefix + "GetVersion");
  Resolve(*this, f.CheckArchive, prefix + "CheckArchive");
  Resolve(*this, f.GetRunning, prefix + "GetRunning");
  Resolve(*this, f.Command, prefix);
  Resolve(*this, f.QueryFunctionList, prefix + "QueryFunctionList");
  Resolve(*this, f.GetBackGroundMode, prefix + "GetBackGroundMode");
  Resolve(*this, f.SetBackGroundMode, prefix + "SetBackGroundMode");
  Resolve(*this, f.GetCursorMode, prefix + "GetCursorMode");
  Resolve(*this, f.SetCursorMode, prefix + "SetCursorMode");
  Resolve(*this, f.GetCursorInterval, prefix + "GetCursorInterval");
  Resolve(*this, f.SetCursorInterval, prefix + "SetCursorInterval");
  Resolve(*this, f.GetFileCount, prefix + "GetFileCount");
  Resolve(*this, f.ExtractMem, prefix + "ExtractMem");
  Resolve(*this, f.CompressMem, prefix + "CompressMem");
  Resolve(*this, f.ConfigDialog, prefix + "ConfigDialog");
  Resolve(*this, f.OpenArchive, prefix + "OpenArchive");
  Resolve(*this, f.CloseArchive, prefix + "CloseArchive");
  Resolve(*this, f.FindFirst, prefix + "FindFirst");
  Resolve(*this, f.FindNext, prefix + "FindNext");
  Resolve(*this, f.SetOwnerWindowEx, prefix + "SetOwnerWindowEx");
  if (f.SetOwnerWindowEx)
    f.SetOwnerWindowEx(OwnerArchiver ? OwnerArchiver->MessageWindowHandle() : 0, nullptr);
  if (f.SetCursorMode) f.SetCursorMode(0);
}

void* TCustomArchiver::GetProc(const std::string& name) { return platform::GetProcAddress(DllHandle, name); }

int TCustomArchiver::GetVersion() { return Functions.GetVersion ? Functions.GetVersion() : 0; }
bool TCustomArchiver::GetRunning() { return Functions.GetRunning && Functions.GetRunning() != 0; }
bool TCustomArchiver::GetBackGroundMode() {
  return Functions.GetBackGroundMode && Functions.GetBackGroundMode() != 0;
}
bool TCustomArchiver::SetBackGroundMode(bool mode) {
  return Functions.SetBackGroundMode && Functions.SetBackGroundMode(mode ? 1 : 0) != 0;
}
bool TCustomArchiver::GetCursorMode() { return Functions.GetCursorMode && Functions.GetCursorMode() != 0; }
bool TCustomArchiver::SetCursorMode(bool mode) {
  return Functions.SetCursorMode && Functions.SetCursorMode(mode ? 1 : 0) != 0;
}
int TCustomArchiver::GetCursorInterval() { return Functions.GetCursorInterval ? Functions.GetCursorInterval() : 0; }
bool TCustomArchiver::SetCursorInterval(int interval) {
  return Functions.SetCursorInterval && Functions.SetCursorInterval(interval) != 0;
}
bool TCustomArchiver::QueryFunctionList(int function) {
  return Functions.QueryFunctionList && Functions.QueryFunctionList(function) != 0;
}

bool TCustomArchiver::CheckArchive(const std::string& name, int mode) {
  CloseArchive();
  return Functions.CheckArchive && Functions.CheckArchive(name.c_str(), mode) != 0;
}

std::string TCustomArchiver::GetSwitches() { return std::string(); }

std::string TCustomArchiver::MakeCompressCommand(const std::string& files) {
  return "a " + GetSwitches() + CommandTail(ArchiveName, OutputDir, files);
}

std::string TCustomArchiver::MakeExtractCommand(const std::string& files) {
  return "e " + GetSwitches() + CommandTail(ArchiveName, OutputDir, files);
}

int TCustomArchiver::RunCommand(ARC_COMMAND_FN proc, const std::string& command) {
  const std::uint32_t size = static_cast<std::uint32_t>(std::max<std::int32_t>(OutputSize, 0));
  std::vector<char> buf(std::max<std::uint32_t>(size, 1), '\0');
  int result = proc(OwnerWindow, command.c_str(), buf.data(), size);
  OutputText = BufferText(buf);
  return result;
}

int TCustomArchiver::Execute(const std::string& command) {
  CloseArchive();
  if (!Functions.Command) return -1;
  return RunCommand(Functions.Command, command);
}

int TCustomArchiver::Compress(const std::string& files) { return Execute(MakeCompressCommand(files)); }
int TCustomArchiver::Extract(const std::string& files) { return Execute(MakeExtractCommand(files)); }
int TCustomArchiver::Test(const std::string&) { return 0; }

int TCustomArchiver::ExtractMem(const std::string& command, unsigned char* buffer, std::uint32_t& size,
                                std::int32_t& time, std::uint16_t& attribute) {
  const std::uint32_t capacity = size;
  CloseArchive();
  if (!Functions.ExtractMem) return -1;
  size = 0;
  return Functions.ExtractMem(OwnerWindow, command.c_str(), buffer, capacity, &time, &attribute, &size);
}

int TCustomArchiver::CompressMem(const std::string& command, const unsigned char* data, std::uint32_t& size,
                                 std::int32_t time, std::uint16_t attribute) {
  const std::uint32_t length = size;
  CloseArchive();
  if (!Functions.CompressMem) return -1;
  size = 0;
  return Functions.CompressMem(OwnerWindow, command.c_str(), data, length, time == 0 ? nullptr : &time,
                               &attribute, &size);
}

int TCustomArchiver::ExtractToMemory(const std::string& files, unsigned char* buffer, std::uint32_t& size,
                                     std::int32_t& time, std::uint16_t& attribute) {
  return ExtractMem(MakeExtractCommand(files), buffer, size, time, attribute);
}

int TCustomArchiver::CompressToMemory(const std::string& files, const unsigned char* data, std::uint32_t& size,
                                      std::int32_t time, std::uint16_t attribute) {
  return CompressMem(MakeCompressCommand(files), data, size, time, attribute);
}

bool TCustomArchiver::RunConfigDialog(ARC_CONFIGDIALOG_FN proc, int mode, std::string& text) {
  std::vector<char> buf(std::max<std::size_t>(520, text.size() + 1), '\0');
  std::memcpy(buf.data(), text.data(), text.size());
  int answer = proc(OwnerWindow, buf.data(), mode);
  text = BufferText(buf);
  return answer == 1;
}

bool TCustomArchiver::ConfigDialog(int mode, std::string& text) {
  if (!Functions.ConfigDialog) return false;
  return RunConfigDialog(Functions.ConfigDialog, mode, text);
}

// --- the open archive and its entries ---

void TCustomArchiver::SetArchiveName(const std::string& name) {
  if (ArchiveHandle != 0) CloseArchive();
  ArchiveName = name;
}

bool TCustomArchiver::OpenArchive(const std::string& name, std::int32_t mode) {
  SetArchiveName(name);
  OpenMode = mode;
  if (!Functions.OpenArchive) return false;
  ArchiveHandle = Functions.OpenArchive(OwnerWindow, ArchiveName.c_str(), static_cast<std::uint32_t>(OpenMode));
  return ArchiveHandle != 0;
}

void TCustomArchiver::CloseArchive() {
  if (!Functions.CloseArchive || ArchiveHandle == 0) return;
  Functions.CloseArchive(ArchiveHandle);
  ArchiveHandle = 0;
}

bool TCustomArchiver::FindFirst(const std::string& mask) {
  std::memset(&EntryInfo, 0, sizeof EntryInfo);
  FindResult = -1;
  if (!Functions.FindFirst || ArchiveHandle == 0) return false;
  FindResult = Functions.FindFirst(ArchiveHandle, mask.c_str(), &EntryInfo);
  return FindResult == 0;
}

bool TCustomArchiver::FindNext() {
  std::memset(&EntryInfo, 0, sizeof EntryInfo);
  FindResult = -1;
  if (!Functions.FindNext || ArchiveHandle == 0) return false;
  FindResult = Functions.FindNext(ArchiveHandle, &EntryInfo);
  return FindResult == 0;
}

void TCustomArchiver::BeginFind(const std::string& mask) {
  CloseArchive();
  FindState = 0;
  if (ArchiveName.empty()) {
    FindState = -1;
    return;
  }
  OpenArchive(ArchiveName, OpenMode);
  FindState = FindFirst(mask) ? 1 : -1;
}

bool TCustomArchiver::FindNextEntry() {
  const std::int32_t state = FindState;
  FindState = 0;
  if (state == 1) return true;
  if (state == -1) return false;
  return FindNext();
}

int TCustomArchiver::GetFileCount() {
  return Functions.GetFileCount ? Functions.GetFileCount(ArchiveName.c_str()) : 0;
}

}  // namespace ArchiverN
