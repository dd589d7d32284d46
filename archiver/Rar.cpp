#include "archiver/Rar.h"

#include "archiver/CommandTail.h"

namespace ArchiverN {

TRar::TRar(IArchiverOwner* owner) : TCustomArchiver(owner) {
  TypeCode = kTypeRar;
  LoadDll("unrar32.dll", "Unrar");
}

std::string TRar::GetSwitches() {
  const TArchiveOptions& o = Opts();
  return TSwitchText()
      .Add(!o.ShowDialog, " -y")
      .Add(o.CheckTime, " -u")
      .Add(o.Overwrite, " -o")
      .Add(o.Recursive, " -s -r")
      .AddExtra(o.Extra)
      .Trimmed();
}

std::string TRar::MakeCompressCommand(const std::string&) { return std::string(); }

int TRar::Compress(const std::string&) { return ARC_E_NOT_SUPPORTED; }

int TRar::CompressToMemory(const std::string&, const unsigned char*, std::uint32_t&, std::int32_t, std::uint16_t) {
  return ARC_E_NOT_SUPPORTED;
}

std::string TRar::MakeExtractCommand(const std::string& files) {
  const char* word = Opts().IgnorePath ? "-e " : "-x ";
  return FullCommand(word + GetSwitches(), ArchiveName, OutputDir, files);
}

int TRar::Test(const std::string& files) {
  return Execute(FullCommand("-t " + GetSwitches(), ArchiveName, OutputDir, files));
}

}  // namespace ArchiverN
