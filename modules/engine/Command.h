#pragma once
// A module's command line, taken apart: the command word, the switches, the
// quoted archive name, the optional quoted output folder and the file list.
#include <string>
#include <vector>

#include "modules/engine/Pattern.h"

namespace quillaby::arc {

enum class Verb { Extract, Test, NotSupported, Unknown };

// The formats a module reads; a command can narrow them ("-tzip").
enum Formats : unsigned {
  kLha = 1, kZip = 2, kSevenZip = 4, kCab = 8, kTarFamily = 16, kRar = 32,
};

struct Command {
  Verb verb = Verb::Unknown;
  std::string word;            // the command word as written
  bool keepFolders = true;
  bool overwrite = false;
  std::string password;
  unsigned formats = 0;        // 0: the module's own
  std::vector<Pattern> excludes;
  std::string archive;
  std::string outputDir;       // empty: the current folder
  std::string rest;            // the file list as written, one leading blank removed
};

// One dialect per module: how its command words and switches read.
struct Dialect {
  const char* prefix;
  unsigned formats;
  bool bracketClasses;   // the ZIP dialect's "[...]" and "\[" escapes
  int version;
  // Reads the command word (may be empty when the line starts with the archive).
  void (*word)(const std::string& word, Command& cmd);
  // Reads one switch (leading "-" included); unknown ones are ignored.
  void (*option)(const std::string& sw, Command& cmd);
};

// False when no archive name can be found; error says why.
bool ParseCommand(const Dialect& d, const std::string& line, Command& cmd, std::string& error);

// The file list split at blanks, double quotes grouping.
std::vector<std::string> SplitItems(const std::string& rest);

}  // namespace quillaby::arc
