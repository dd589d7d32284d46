#include "archiver/Bga.h"

#include "archiver/CommandTail.h"

namespace ArchiverN {

TBga::TBga(IArchiverOwner* owner) : TCustomArchiver(owner) {
  TypeCode = kTypeBga;
  LoadDll("Bga32.dll", "Bga");
}

std::string TBga::GetSwitches() {
  const TArchiveOptions& o = Opts();
  return TSwitchText()
      .Add(!o.ShowDialog, " -i")
      .Add(o.CheckTime, " -n")
      .Add(o.Overwrite, " -o")
      .Add(o.IgnorePath, " -j")
      .Add(o.Recursive, " -r")
      .Add(o.Attributes, " -a")
      .AddValue(o.Method, " -l")
      .AddExtra(o.Extra)
      .Trimmed();
}

std::string TBga::MakeCompressCommand(const std::string& files) {
  return FullCommand("a " + GetSwitches(), ArchiveName, OutputDir, files);
}

std::string TBga::MakeExtractCommand(const std::string& files) {
  return FullCommand("x " + GetSwitches(), ArchiveName, OutputDir, files);
}

int TBga::Test(const std::string& files) {
  return Execute(FullCommand("t " + GetSwitches(), ArchiveName, OutputDir, files));
}

}  // namespace ArchiverN
