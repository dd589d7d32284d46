#include "archiver/Gca.h"

#include "archiver/CommaText.h"
#include "archiver/CommandTail.h"
#include "archiver/FullPath.h"
#include "platform/codepage.h"

namespace ArchiverN {
namespace {

// The output folder as a current folder: without its trailing "/" unless
// that follows another "/" or is the whole text.
std::string FolderWithoutDelimiter(const std::string& dir) {
  if (dir.size() < 2 || !platform::LastCharIs(dir, '/')) return dir;
  std::string rest = dir.substr(0, dir.size() - 1);
  return platform::LastCharIs(rest, '/') ? dir : rest;
}

}  // namespace

TGca::TGca(IArchiverOwner* owner) : TCustomArchiver(owner) {
  TypeCode = kTypeGca;
  LoadDll("UnGCA32.dll", "UnGCA");
}

std::string TGca::GetSwitches() {
  const TArchiveOptions& o = Opts();
  return TSwitchText()
      .Add(o.ShowDialog, " -sx1")
      .Add(!o.Overwrite, " -yx1")
      .Add(!o.IgnorePath, " -xx1")
      .AddQuoted(o.Password, "-p")
      .AddExtra(o.Extra)
      .Trimmed();
}

std::string TGca::MakeCompressCommand(const std::string& files) {
  std::string command = "a " + GetSwitches() + QuotedArchive(ArchiveName);
  {
    TFolderChange change;
    const bool absolute = !OutputDir.empty();
    if (absolute) change.Enter(FolderWithoutDelimiter(OutputDir));
    for (const std::string& item : SplitCommaText(files)) command += " " + (absolute ? AbsolutePath(item) : item);
  }
  return platform::TrimControl(command);
}

std::string TGca::MakeExtractCommand(const std::string& files) {
  const std::string list = files == "*.*" ? std::string() : files;
  const char* word = list.empty() ? "e " : "ex ";
  return FullCommand(word + GetSwitches(), ArchiveName, OutputDir, list);
}

}  // namespace ArchiverN
