// unzip32.dll: ZIP archives. Commands: "-x"/"-u" extract, "-t" test; "-j"
// drops stored folders, "-o" overwrites, "-P" gives the password; in the file
// list "[...]" is a class and "\[" "\]" are literal brackets.
#include "modules/engine/Module.h"

namespace {
using namespace quillaby::arc;

void Option(const std::string& s, Command& c) {
  if (s == "-j") c.keepFolders = false;
  else if (s == "-o") c.overwrite = true;
  else if (s == "-n") c.overwrite = false;
  else if (s.rfind("-P", 0) == 0) {
    // The driver closes the quoted password with a blank before the quote.
    std::string p = s.substr(2);
    if (!p.empty() && p.back() == ' ') p.pop_back();
    c.password = p;
  }
  // -q, --i (no dialogs) and the rest: no effect here.
}

void Word(const std::string& w, Command& c) {
  c.keepFolders = true;
  if (w == "-x" || w == "-u" || w == "-f" || w.empty()) c.verb = Verb::Extract;
  else if (w == "-t") c.verb = Verb::Test;
  else if (!w.empty() && (w[0] == '!' || w == "-a" || w == "-l" || w == "-v" || w == "-Z")) c.verb = Verb::NotSupported;
  else if (w[0] == '-') {
    c.verb = Verb::Extract;
    Option(w, c);
  }
}

const Dialect kDialect{"UnZip", kZip, true, 100, Word, Option};
}  // namespace

QUILLABY_MODULE(UnZip, kDialect)
