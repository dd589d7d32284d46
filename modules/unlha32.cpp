// unlha32.dll: LHA archives. Commands: "e"/"x" extract, "t" test; "-x1"
// keeps stored folders, "-m1" overwrites, "-jx" excludes.

#include "modules/engine/Module.h"

namespace {
using namespace quillaby::arc;

void Word(const std::string& w, Command& c) {
  if (w == "e" || w == "x") c.verb = Verb::Extract;
  else if (w == "t") c.verb = Verb::Test;
  else if (w == "a" || w == "u" || w == "m" || w == "f" || w == "d" || w == "s" || w == "l" || w == "v") c.verb = Verb::NotSupported;
  c.keepFolders = w == "x";
}

void Option(const std::string& s, Command& c) {
  if (s.rfind("-x", 0) == 0) c.keepFolders = s.size() > 2 && s[2] != '0';
  else if (s.rfind("-m", 0) == 0) c.overwrite = s.size() > 2 && s[2] != '0';
  else if (s.rfind("-jx", 0) == 0 && s.size() > 3) c.excludes.push_back(MakePattern(s.substr(3), false));
  // -a attributes, -n dialogs, -c time check, -r recursion, -w, -jm, -jo: no effect here.
}

const Dialect kDialect{"Unlha", kLha, false, 100, Word, Option};
}  // namespace

QUILLABY_MODULE(Unlha, kDialect)
