// 7-zip32.dll: 7z and ZIP archives. Commands: "x" extract with folders, "e"
// without, "t" test; "-tzip"/"-t7z" pick the format, "-aoa" or "-y"
// overwrite, "-aos" keeps existing files, "-p" password, "-x!" excludes.
#include "modules/engine/Module.h"

namespace {
using namespace quillaby::arc;

void Word(const std::string& w, Command& c) {
  if (w == "x") c.verb = Verb::Extract;
  else if (w == "e") {
    c.verb = Verb::Extract;
    c.keepFolders = false;
  } else if (w == "t") c.verb = Verb::Test;
  else if (w == "a" || w == "u" || w == "d" || w == "rn" || w == "l") c.verb = Verb::NotSupported;
}


void Option(const std::string& s, Command& c) {
  if (s == "-tzip") c.formats = kZip;
  else if (s == "-t7z") c.formats = kSevenZip;
  else if (s == "-aoa" || s == "-y") c.overwrite = true;
  else if (s == "-aos" || s == "-aou" || s == "-aot") c.overwrite = false;
  else if (s.rfind("-p", 0) == 0 && s.size() > 2) c.password = s.substr(2);
  else if (s.rfind("-x!", 0) == 0 && s.size() > 3) c.excludes.push_back(MakePattern(s.substr(3), false));
  // -hide, -r0, -m, -w: no effect here.
}

const Dialect kDialect{"SevenZip", kSevenZip | kZip, false, 100, Word, Option};
}  // namespace

QUILLABY_MODULE(SevenZip, kDialect)
