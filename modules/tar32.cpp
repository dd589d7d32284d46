// tar32.dll: tar (plain or compressed), cpio, rpm, deb and lone compressed
// files. Commands: "-x" extract, "-t" test; "--use-directory=0" drops stored
// folders; files are replaced unless "-k"/"--keep-old-files" is given.
#include "modules/engine/Module.h"

namespace {
using namespace quillaby::arc;

void Word(const std::string& w, Command& c) {
  c.overwrite = true;
  if (w == "-x" || w == "x" || w == "-xvf" || w == "xvf" || w == "-xf") c.verb = Verb::Extract;
  else if (w == "-t" || w == "t") c.verb = Verb::Test;
  else if (w == "-c" || w == "c" || w == "-a" || w == "-r" || w == "-u") c.verb = Verb::NotSupported;
}

void Option(const std::string& s, Command& c) {
  if (s == "--use-directory=0") c.keepFolders = false;
  else if (s.rfind("--use-directory", 0) == 0) c.keepFolders = true;
  else if (s == "-k" || s == "--keep-old-files") c.overwrite = false;
  // --display-dialog, the compression letters and the rest: no effect here.
}

const Dialect kDialect{"Tar", kTarFamily, false, 100, Word, Option};
}  // namespace

QUILLABY_MODULE(Tar, kDialect)
