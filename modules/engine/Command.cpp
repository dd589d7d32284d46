#include "modules/engine/Command.h"

namespace quillaby::arc {
namespace {

struct Token {
  std::string text;
  bool quoted = false;
  std::size_t end = 0;  // position after the token
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The next blank-separated token from pos; a token that starts with a double
// quote runs to the next double quote.
bool NextToken(const std::string& s, std::size_t& pos, Token& t) {
  while (pos < s.size() && IsBlank(s[pos])) ++pos;
  if (pos >= s.size()) return false;
  t = Token{};
  if (s[pos] == '"') {
    std::size_t close = s.find('"', pos + 1);
    if (close == std::string::npos) close = s.size();
    t.text = s.substr(pos + 1, close - pos - 1);
    t.quoted = true;
    pos = close < s.size() ? close + 1 : close;
  } else {
    std::size_t start = pos;
    while (pos < s.size() && !IsBlank(s[pos])) ++pos;
    t.text = s.substr(start, pos - start);
  }
  t.end = pos;
  return true;
}

}  // namespace

bool ParseCommand(const Dialect& d, const std::string& line, Command& cmd, std::string& error) {
  cmd = Command{};
  std::size_t pos = 0;
  Token t;
  bool haveArchive = false;
  bool first = true;
  while (NextToken(line, pos, t)) {
    if (first && !t.quoted && !t.text.empty() && t.text[0] != '/') {
      first = false;
      cmd.word = t.text;
      d.word(t.text, cmd);
      continue;
    }
    first = false;
    if (!t.text.empty() && t.text[0] == '-') {
      d.option(t.text, cmd);
      continue;
    }
    cmd.archive = t.text;
    haveArchive = true;
    break;
  }
  if (!haveArchive) {
    error = "no archive name in the command";
    return false;
  }
  if (cmd.word.empty()) d.word("", cmd);
  // An output folder: a quoted token ending in "/" right after the archive.
  std::size_t after = t.end;
  std::size_t probe = after;
  Token folder;
  if (NextToken(line, probe, folder) && folder.quoted && !folder.text.empty() && folder.text.back() == '/') {
    cmd.outputDir = folder.text;
    after = folder.end;
  }
  if (after < line.size() && IsBlank(line[after])) ++after;
  cmd.rest = line.substr(after);
  return true;
}

std::vector<std::string> SplitItems(const std::string& rest) {
  std::vector<std::string> items;
  std::size_t pos = 0;
  Token t;
  while (NextToken(rest, pos, t))
    if (!t.text.empty()) items.push_back(t.text);
  return items;
}

}  // namespace quillaby::arc
