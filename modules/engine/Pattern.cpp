#include "modules/engine/Pattern.h"

#include <vector>

namespace quillaby::arc {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::size_t Utf8Len(std::string_view s, std::size_t i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  return i + n <= s.size() ? n : 1;
}

// Matches one bracket class at p[pi] against the character at n[ni];
// pi moves past the class. Returns false when it does not match.
bool MatchClass(std::string_view p, std::size_t& pi, std::string_view n, std::size_t ni, std::size_t nlen) {
  std::size_t i = pi + 1;
  bool negate = i < p.size() && (p[i] == '!' || p[i] == '^');
  if (negate) ++i;
  bool found = false;
  bool first = true;
  while (i < p.size() && (first || p[i] != ']')) {
    first = false;
    std::size_t clen = Utf8Len(p, i);
    std::string_view lo = p.substr(i, clen);
    i += clen;
    std::string_view hi = lo;
    if (i + 1 < p.size() && p[i] == '-' && p[i + 1] != ']') {
      std::size_t hlen = Utf8Len(p, i + 1);
      hi = p.substr(i + 1, hlen);
      i += 1 + hlen;
    }
    std::string_view c = n.substr(ni, nlen);
    if (lo.size() == 1 && hi.size() == 1 && c.size() == 1) {
      char lc = Lower(c[0]);
      if ((lc >= Lower(lo[0]) && lc <= Lower(hi[0])) || (c[0] >= lo[0] && c[0] <= hi[0])) found = true;
    } else if (c >= lo && c <= hi) {
      found = true;
    }
  }
  if (i >= p.size()) return false;  // no closing bracket: never matches
  pi = i + 1;
  return found != negate;
}

bool WildMatch(std::string_view p, std::string_view n, bool classes) {
  std::size_t pi = 0, ni = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && p[pi] == '*') {
      starP = ++pi;
      starN = ni;
      continue;
    }
    std::size_t nlen = Utf8Len(n, ni);
    if (pi < p.size()) {
      if (p[pi] == '?') {
        ++pi;
        ni += nlen;
        continue;
      }
      if (classes && p[pi] == '[') {
        std::size_t save = pi;
        if (MatchClass(p, pi, n, ni, nlen)) {
          ni += nlen;
          continue;
        }
        pi = save;
      } else if (p[pi] != '\x01' && Lower(p[pi]) == Lower(n[ni])) {
        ++pi;
        ++ni;
        continue;
      } else if (p[pi] == '\x01' && pi + 1 < p.size() && p[pi + 1] == n[ni]) {
        pi += 2;  // an escaped bracket
        ++ni;
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    pi = starP;
    starN += Utf8Len(n, starN);
    ni = starN;
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

}  // namespace

Pattern MakePattern(std::string_view item, bool bracketClasses) {
  Pattern pat;
  pat.classes = bracketClasses;
  std::string wildText;  // escaped brackets marked with \x01 for the matcher
  for (std::size_t i = 0; i < item.size(); ++i) {
    char c = item[i];
    if (bracketClasses && c == '\\' && i + 1 < item.size() && (item[i + 1] == '[' || item[i + 1] == ']')) {
      pat.text += item[i + 1];
      wildText += '\x01';
      wildText += item[i + 1];
      ++i;
      continue;
    }
    if (c == '*' || c == '?' || (bracketClasses && c == '[')) pat.wild = true;
    pat.text += c;
    wildText += c;
  }
  if (pat.wild) {
    if (wildText.size() >= 3 && wildText.compare(wildText.size() - 3, 3, "*.*") == 0) wildText.resize(wildText.size() - 2);
    pat.text = wildText;
  }
  return pat;
}

bool Matches(const Pattern& p, std::string_view name) {
  if (!p.wild) {
    std::string_view t = p.text;
    while (!t.empty() && t.back() == '/') t.remove_suffix(1);
    if (name == t) return true;
    return !t.empty() && name.size() > t.size() && name.compare(0, t.size(), t) == 0 && name[t.size()] == '/';
  }
  return WildMatch(p.text, name, p.classes);
}

}  // namespace quillaby::arc
