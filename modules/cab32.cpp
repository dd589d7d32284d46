// cab32.dll: Microsoft cabinets. Commands: "-x" extract, "-t" test; "-j"
// drops stored folders, "-o" overwrites, "-ze" excludes.
#include "modules/engine/Module.h"

namespace {
using namespace quillaby::arc;

void Word(const std::string& w, Command& c) {
  if (w == "-x" || w == "x") c.verb = Verb::Extract;
  else if (w == "-t" || w == "t") c.verb = Verb::Test;
  else if (w == "-a" || w == "a" || w == "-l" || w == "l") c.verb = Verb::NotSupported;
}

void Option(const std::string& s, Command& c) {
  if (s == "-j") c.keepFolders = false;
  else if (s == "-o") c.overwrite = true;
  else if (s.rfind("-ze", 0) == 0 && s.size() > 3) c.excludes.push_back(MakePattern(s.substr(3), false));
  // -g, -i, -n (time check), -r, -m, -h, -ys, -ye: no effect here.
}

const Dialect kDialect{"Cab", kCab, false, 100, Word, Option};
}  // namespace

QUILLABY_MODULE(Cab, kDialect)
