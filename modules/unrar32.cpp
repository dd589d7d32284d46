// unrar32.dll: RAR 4 and RAR 5. Commands: "-x" extract with folders, "-e"
// without, "-t" test; "-o" overwrites ("-o-" keeps), "-p" gives the password.
#include "modules/engine/Module.h"

namespace {
using namespace quillaby::arc;

void Word(const std::string& w, Command& c) {
  if (w == "-x" || w == "x") c.verb = Verb::Extract;
  else if (w == "-e" || w == "e") {
    c.verb = Verb::Extract;
    c.keepFolders = false;
  } else if (w == "-t" || w == "t") c.verb = Verb::Test;
  else if (w == "-a" || w == "a" || w == "-m" || w == "-d" || w == "-l" || w == "-v") c.verb = Verb::NotSupported;
}

void Option(const std::string& s, Command& c) {
  if (s == "-o" || s == "-o+") c.overwrite = true;
  else if (s == "-o-") c.overwrite = false;
  else if (s.rfind("-p", 0) == 0 && s.size() > 2) c.password = s.substr(2);
  // -y (no questions), -u (time check), -s, -r: no effect here.
}

const Dialect kDialect{"Unrar", kRar, false, 100, Word, Option};
}  // namespace

QUILLABY_MODULE(Unrar, kDialect)
