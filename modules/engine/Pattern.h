#pragma once
// File-list items and FindFirst masks, matched against whole stored names.
#include <string>
#include <string_view>

namespace quillaby::arc {

struct Pattern {
  std::string text;      // unescaped
  bool wild = false;     // contains "*", "?" (or a bracket class)
  bool classes = false;  // "[...]" is a character class (the ZIP dialect)
};

// An item as written in a command or a mask. With bracketClasses, "\[" and
// "\]" are literal brackets and other brackets open a class.
Pattern MakePattern(std::string_view item, bool bracketClasses);

// "*" matches any run, "/" included; "?" one character; wildcard matching
// ignores ASCII case and a final "*.*" matches names without a dot too.
// Without wildcards the name must be equal, or lie inside that folder.
bool Matches(const Pattern& p, std::string_view name);

}  // namespace quillaby::arc
