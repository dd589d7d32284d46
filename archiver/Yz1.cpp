#include "archiver/Yz1.h"

#include "archiver/CommandTail.h"

namespace ArchiverN {

TYz1::TYz1(IArchiverOwner* owner) : TCustomArchiver(owner) {
  TypeCode = kTypeYz1;
  LoadDll("Yz1.dll", "Yz1");
}

std::string TYz1::GetSwitches() {
  const TArchiveOptions& o = Opts();
  return TSwitchText()
      .Add(!o.ShowDialog, " -i1")
      .Add(!o.CheckTime, " -c1")
      .Add(o.Overwrite, " -y1")
      .Add(o.IgnorePath, " -x0")
      .Add(!o.Recursive, " -r0")
      .AddQuoted(o.Password, "-p")
      .AddExtra(o.Extra)
      .Trimmed();
}

std::string TYz1::MakeCompressCommand(const std::string& files) {
  return FullCommand("c " + GetSwitches(), ArchiveName, OutputDir, files);
}

std::string TYz1::MakeExtractCommand(const std::string& files) {
  return FullCommand("x " + GetSwitches(), ArchiveName, OutputDir, files);
}

}  // namespace ArchiverN
