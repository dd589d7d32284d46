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
  std::vector<Token> tokens;
  std::size_t pos = 0;
  Token t;
  while (NextToken(line, pos, t)) tokens.push_back(t);
  std::size_t i = 0;
  if (!tokens.empty() && !tokens[0].quoted && !tokens[0].text.empty() && tokens[0].text[0] != '/') {
    cmd.word = tokens[0].text;
    d.word(cmd.word, cmd);
    i = 1;
  } else {
    d.word("", cmd);
  }
  // The archive is the first quoted name; drivers quote it always. Without
  // any, the first plain word that is no switch stands for it.
  std::size_t archive = tokens.size();
  for (std::size_t k = i; k < tokens.size(); ++k)
    if (tokens[k].quoted && (tokens[k].text.empty() || tokens[k].text[0] != '-')) {
      archive = k;
      break;
    }
  if (archive == tokens.size())
    for (std::size_t k = i; k < tokens.size(); ++k)
      if (!tokens[k].text.empty() && tokens[k].text[0] != '-') {
        archive = k;
        break;
      }
  if (archive == tokens.size()) {
    error = "no archive name in the command";
    return false;
  }
  // Switches; a plain word after a switch belongs to it (a value with blanks
  // that a driver put in unquoted, such as an exclusion pattern).
  std::string sw;
  for (std::size_t k = i; k < archive; ++k) {
    const Token& tk = tokens[k];
    if (!tk.text.empty() && tk.text[0] == '-') {
      if (!sw.empty()) d.option(sw, cmd);
      sw = tk.text;
    } else if (!sw.empty()) {
      sw += " " + tk.text;
    }
  }
  if (!sw.empty()) d.option(sw, cmd);
  cmd.archive = tokens[archive].text;
  // An output folder: a quoted token ending in "/" right after the archive.
  std::size_t after = tokens[archive].end;
  if (archive + 1 < tokens.size()) {
    const Token& folder = tokens[archive + 1];
    if (folder.quoted && !folder.text.empty() && folder.text.back() == '/') {
      cmd.outputDir = folder.text;
      after = folder.end;
    }
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
