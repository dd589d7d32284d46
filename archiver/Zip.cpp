#include "archiver/Zip.h"

#include "archiver/CommandTail.h"
#include "platform/codepage.h"

namespace ArchiverN {
namespace {

constexpr char kCompressMarker = '!';

template <class Fn>
Fn Lookup(platform::HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(platform::GetProcAddress(module, name));
}

// The command as the module reads it: without the marker, trimmed.
std::string WithoutMarker(const std::string& command) { return platform::TrimControl(command.substr(1)); }

}  // namespace

TZip::TZip(IArchiverOwner* owner) : TCustomArchiver(owner) {
  TypeCode = kTypeZip;
  LoadDll("unzip32.dll", "UnZip");
  UnZipProc = Functions.Command;
}

TZip::~TZip() {
  if (ZipDllLoaded()) platform::FreeLibrary(ZipDll);
}

void TZip::LoadZipDll() {
  if (ZipDll != nullptr) return;
  platform::HMODULE module = platform::LoadLibrary("zip32j.dll");
  if (!module) {
    ZipDll = ZipDllFailed;
    return;
  }
  ZipDll = module;
  ZipProc = Lookup<ARC_COMMAND_FN>(module, "Zip");
  ZipGetVersionProc = Lookup<ARC_GETVERSION_FN>(module, "ZipGetVersion");
  ZipGetRunningProc = Lookup<ARC_GETBOOL_FN>(module, "ZipGetRunning");
  ZipConfigDialogProc = Lookup<ARC_CONFIGDIALOG_FN>(module, "ZipConfigDialog");
  ZipQueryEncryptionProc = Lookup<ARC_GETBOOL_FN>(module, "ZipQueryEncryption");
  ZipSetOwnerWindowExProc = Lookup<ARC_SETOWNERWINDOWEX_FN>(module, "ZipSetOwnerWindowEx");
  if (ZipSetOwnerWindowExProc)
    ZipSetOwnerWindowExProc(OwnerArchiver ? OwnerArchiver->MessageWindowHandle() : 0, nullptr);
}

int TZip::Execute(const std::string& command) {
  if (command.empty() || command[0] != kCompressMarker) return TCustomArchiver::Execute(command);
  CloseArchive();
  LoadZipDll();
  if (!ZipProc) return -1;
  return RunCommand(ZipProc, WithoutMarker(command));
}

std::string TZip::MakeCompressCommand(const std::string& files) {
  const TArchiveOptions& o = Opts();
  std::string text = TSwitchText()
                         .Add(o.CheckTime, "-u")
                         .Add(o.Attributes, " -S")
                         .Add(!o.ShowDialog, " -q")
                         .Add(o.IgnorePath, " -D -j")
                         .Add(o.Recursive, " -r")
                         .AddValue(o.Method, " -")
                         .AddQuotedBlank(o.Password, "-P")
                         .AddQuoted(o.WorkDir, "-b")
                         .AddValue(o.AfterDate, " -t")
                         .AddValue(o.BeforeDate, " -tt")
                         .AddExtra(o.Extra)
                         .Raw();
  return kCompressMarker + text + CommandTail(ArchiveName, OutputDir, files);
}

std::string TZip::MakeExtractCommand(const std::string& files) {
  const TArchiveOptions& o = Opts();
  std::string head = TSwitchText()
                         .Add(o.CheckTime, "-u")
                         .Add(!o.CheckTime, "-x")
                         .Add(o.ShowDialog, " -q")
                         .Add(!o.ShowDialog, " --i -q")
                         .Add(o.IgnorePath, " -j")
                         .Add(o.Overwrite, " -o")
                         .AddQuotedBlank(o.Password, "-P")
                         .AddExtra(o.Extra)
                         .Raw();
  return FullCommand(head, ArchiveName, OutputDir, files);
}

int TZip::Compress(const std::string& files) {
  LoadZipDll();
  if (!ZipProc) return -1;
  return Execute(MakeCompressCommand(files));
}

// zip32j.dll has no memory compression: the extraction library's serves it,
// and it is handed the command without the routing marker.
int TZip::CompressToMemory(const std::string& files, const unsigned char* data, std::uint32_t& size,
                           std::int32_t time, std::uint16_t attribute) {
  LoadZipDll();
  if (!ZipProc) return -1;
  return CompressMem(WithoutMarker(MakeCompressCommand(files)), data, size, time, attribute);
}

int TZip::Extract(const std::string& files) {
  if (!UnZipProc) return -1;
  return Execute(MakeExtractCommand(files));
}

int TZip::ExtractToMemory(const std::string& files, unsigned char* buffer, std::uint32_t& size,
                          std::int32_t& time, std::uint16_t& attribute) {
  if (!UnZipProc) return -1;
  return TCustomArchiver::ExtractToMemory(files, buffer, size, time, attribute);
}

int TZip::Test(const std::string& files) {
  if (!UnZipProc) return 0;
  const TArchiveOptions& o = Opts();
  std::string head = TSwitchText()
                         .Add(true, "-t")
                         .Add(o.ShowDialog, " -q")
                         .Add(!o.ShowDialog, " --i -q")
                         .Add(o.IgnorePath, " -j")
                         .AddQuotedBlank(o.Password, "-P")
                         .AddExtra(o.Extra)
                         .Raw();
  return Execute(FullCommand(head, ArchiveName, OutputDir, files));
}

bool TZip::ConfigDialog(int mode, std::string& text) {
  if (mode != 2) return TCustomArchiver::ConfigDialog(mode, text);
  LoadZipDll();
  if (!ZipConfigDialogProc) return false;
  return RunConfigDialog(ZipConfigDialogProc, mode, text);
}

}  // namespace ArchiverN
