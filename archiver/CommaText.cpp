#include "archiver/CommaText.h"

namespace ArchiverN {
namespace {

bool IsBlank(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 0x20;
}

}  // namespace

std::vector<std::string> SplitCommaText(const std::string& s) {
  std::vector<std::string> items;
  std::size_t i = 0;
  const std::size_t n = s.size();
  auto skipBlanks = [&] {
    while (i < n && IsBlank(s[i])) ++i;
  };
  skipBlanks();
  while (i < n) {
    std::string item;
    if (s[i] == '"') {
      ++i;
      while (i < n) {
        if (s[i] == '"') {
          if (i + 1 < n && s[i + 1] == '"') {
            item.push_back('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item.push_back(s[i++]);
      }
    } else {
      while (i < n && s[i] != ',' && static_cast<unsigned char>(s[i]) > 0x20) item.push_back(s[i++]);
    }
    items.push_back(item);
    skipBlanks();
    if (i < n && s[i] == ',') {
      ++i;
      skipBlanks();
    }
  }
  return items;
}

}  // namespace ArchiverN
