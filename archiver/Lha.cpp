#include "archiver/Lha.h"

#include "archiver/CommandTail.h"

namespace ArchiverN {

TLha::TLha(IArchiverOwner* owner) : TCustomArchiver(owner) {
  TypeCode = kTypeLha;
  LoadDll("unlha32.dll", "Unlha");
}

std::string TLha::GetSwitches() {
  const TArchiveOptions& o = Opts();
  return TSwitchText()
      .Add(o.Attributes, " -a2")
      .Add(!o.ShowDialog, " -n1")
      .Add(!o.IgnorePath, " -x1")
      .Add(!o.CheckTime, " -c1")
      .Add(o.Overwrite, " -m1")
      .Add(o.Recursive, " -r2")
      .AddValue(o.Method, " -jm")
      .AddQuoted(o.WorkDir, "-w")
      .AddValue(o.AfterDate, " -jo")
      .AddValue(o.BeforeDate, " -job")
      .AddEach(o.Excludes, " -jx")
      .AddExtra(o.Extra)
      .Trimmed();
}

// The LHA commands are not trimmed as a whole: blanks around files stay.
std::string TLha::MakeCompressCommand(const std::string& files) {
  return "a " + GetSwitches() + CommandTail(ArchiveName, OutputDir, files);
}

std::string TLha::MakeExtractCommand(const std::string& files) {
  return "e " + GetSwitches() + CommandTail(ArchiveName, OutputDir, files);
}

int TLha::Test(const std::string& files) {
  const TArchiveOptions& o = Opts();
  std::string command = TSwitchText()
                            .Add(true, "t")
                            .Add(!o.ShowDialog, " -n1")
                            .Add(o.Recursive, " -r2")
                            .AddQuoted(o.WorkDir, "-w")
                            .AddExtra(o.Extra)
                            .Raw();
  return Execute(command + QuotedArchive(ArchiveName) + FileList(files));
}

}  // namespace ArchiverN
