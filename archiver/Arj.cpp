#include "archiver/Arj.h"

#include "archiver/CommandTail.h"

namespace ArchiverN {

TArj::TArj(IArchiverOwner* owner) : TCustomArchiver(owner) {
  TypeCode = kTypeArj;
  LoadDll("unarj32j.dll", "Unarj");
}

std::string TArj::GetSwitches() {
  const TArchiveOptions& o = Opts();
  return TSwitchText()
      .Add(!o.ShowDialog, " -i- -hm")
      .Add(o.CheckTime, " -f+")
      .Add(o.Overwrite, " -y+ -ha+")
      .Add(o.IgnorePath, " -hj+")
      .Add(o.Recursive, " -p1")
      .Add(!o.Attributes, " -a-")
      .AddValue(o.AfterDate, " -o")
      .AddValue(o.BeforeDate, " -ob")
      .AddEach(o.Excludes, " -x")
      .AddExtra(o.Extra)
      .Trimmed();
}

std::string TArj::MakeCompressCommand(const std::string&) { return std::string(); }

int TArj::Compress(const std::string&) { return ARC_E_NOT_SUPPORTED; }

int TArj::CompressToMemory(const std::string&, const unsigned char*, std::uint32_t&, std::int32_t, std::uint16_t) {
  return ARC_E_NOT_SUPPORTED;
}

std::string TArj::MakeExtractCommand(const std::string& files) {
  return FullCommand("x " + GetSwitches(), ArchiveName, OutputDir, files);
}

int TArj::Test(const std::string& files) {
  return Execute(FullCommand("t " + GetSwitches(), ArchiveName, OutputDir, files));
}

}  // namespace ArchiverN
