#include "archiver/SevenZip.h"

#include "archiver/CommandTail.h"

namespace ArchiverN {

T7Zip::T7Zip(IArchiverOwner* owner) : TCustomArchiver(owner) {
  TypeCode = kType7Zip;
  LoadDll("7-zip32.dll", "SevenZip");
}

std::string T7Zip::GetSwitches() {
  const TArchiveOptions& o = Opts();
  return TSwitchText()
      .Add(ZipMode, " -tzip")
      .Add(!o.ShowDialog, " -hide")
      .Add(o.Overwrite, " -aoa -y")
      .Add(o.Recursive, " -r0")
      .AddValue(o.Method, " -m")
      .AddQuoted(o.WorkDir, "-w")
      .AddQuoted(o.Password, "-p")
      .AddEach(o.Excludes, " -x!")
      .AddExtra(o.Extra)
      .Trimmed();
}

std::string T7Zip::MakeCompressCommand(const std::string& files) {
  const bool update = Opts().CheckTime;
  std::string head = (update ? "u " : "a ") + GetSwitches();
  // A new archive is written solid-free unless the switches say otherwise;
  // the ZIP format knows no solid mode.
  if (!update && head.find("-tzip") == std::string::npos && head.find("-ms=off") == std::string::npos)
    head += " -ms=off";
  return FullCommand(head, ArchiveName, OutputDir, files);
}

std::string T7Zip::MakeExtractCommand(const std::string& files) {
  const char* word = Opts().IgnorePath ? "e " : "x ";
  return FullCommand(word + GetSwitches(), ArchiveName, OutputDir, files);
}

int T7Zip::Test(const std::string& files) {
  return Execute(FullCommand("t " + GetSwitches(), ArchiveName, OutputDir, files));
}

}  // namespace ArchiverN
