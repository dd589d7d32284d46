#pragma once
#include <string>
#include <vector>

namespace ArchiverN {

// Items separated by commas or blanks; an item in double quotes may hold
// both ("" inside stands for one quote). Two commas in a row give an empty
// item, a trailing comma none.
std::vector<std::string> SplitCommaText(const std::string& text);

}  // namespace ArchiverN
