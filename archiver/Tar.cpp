#include "archiver/Tar.h"

#include "archiver/CommandTail.h"

namespace ArchiverN {

TTar::TTar(IArchiverOwner* owner) : TCustomArchiver(owner) {
  TypeCode = kTypeTar;
  LoadDll("tar32.dll", "Tar");
}

std::string TTar::GetSwitches() {
  const TArchiveOptions& o = Opts();
  return TSwitchText()
      .Add(!o.ShowDialog, " --display-dialog=0")
      .Add(o.IgnorePath, " --use-directory=0")
      .AddValue(o.Method, " -")
      .AddExtra(o.Extra)
      .Trimmed();
}

std::string TTar::MakeCompressCommand(const std::string& files) {
  return FullCommand("-c " + GetSwitches(), ArchiveName, OutputDir, files);
}

std::string TTar::MakeExtractCommand(const std::string& files) {
  return FullCommand("-x " + GetSwitches(), ArchiveName, OutputDir, files);
}

}  // namespace ArchiverN
