#include "archiver/Cab.h"

#include "archiver/CommandTail.h"

namespace ArchiverN {

TCab::TCab(IArchiverOwner* owner) : TCustomArchiver(owner) {
  TypeCode = kTypeCab;
  LoadDll("cab32.dll", "Cab");
}

std::string TCab::GetSwitches() {
  const TArchiveOptions& o = Opts();
  return TSwitchText()
      .Add(!o.Attributes, " -g")
      .Add(!o.ShowDialog, " -i")
      .Add(o.IgnorePath, " -j")
      .Add(o.CheckTime, " -n")
      .Add(o.Overwrite, " -o")
      .Add(o.Recursive, " -r")
      .AddValue(o.Method, " -m")
      .AddQuoted(o.WorkDir, "-h")
      .AddValue(o.AfterDate, " -ys")
      .AddValue(o.BeforeDate, " -ye")
      .AddEach(o.Excludes, " -ze")
      .AddExtra(o.Extra)
      .Trimmed();
}

std::string TCab::MakeCompressCommand(const std::string& files) {
  return FullCommand("-a " + GetSwitches(), ArchiveName, OutputDir, files);
}

std::string TCab::MakeExtractCommand(const std::string& files) {
  return FullCommand("-x " + GetSwitches(), ArchiveName, OutputDir, files);
}

int TCab::Test(const std::string& files) {
  return Execute(FullCommand("-t " + GetSwitches(), ArchiveName, OutputDir, files));
}

}  // namespace ArchiverN
