#include "modules/engine/Names.h"

#include <vector>

#include "platform/codepage.h"

namespace quillaby::arc {
namespace {

bool Cp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::vector<std::string_view> Split(std::string_view s) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= s.size()) {
    std::size_t end = s.find('/', start);
    if (end == std::string_view::npos) end = s.size();
    parts.push_back(s.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Replaces bytes that still are not UTF-8 with U+FFFD, so the program never
// gets a name it cannot show or compare.
std::string ScrubUtf8(const std::string& s) {
  if (platform::IsValidUtf8(s)) return s;
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t len = 1;
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c >= 0xC2 && c <= 0xDF) len = 2;
    else if (c >= 0xE0 && c <= 0xEF) len = 3;
    else if (c >= 0xF0 && c <= 0xF4) len = 4;
    if (c < 0x80 || (i + len <= s.size() && platform::IsValidUtf8(std::string_view(s).substr(i, len)) && len > 1)) {
      out.append(s, i, len);
      i += len;
    } else {
      out += "\xEF\xBF\xBD";
      ++i;
    }
  }
  return out;
}

}  // namespace

std::string DecodeName(std::string_view raw, bool dosSeparators) {
  std::string text;
  if (platform::IsValidUtf8(raw)) {
    text.assign(raw);
  } else {
    std::string bytes(raw);
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
      unsigned char c = static_cast<unsigned char>(bytes[i]);
      if (!Cp932Lead(c)) continue;
      if (bytes[i + 1] == '/') bytes[i + 1] = '\\';
      ++i;
    }
    text = ScrubUtf8(platform::ToUtf8(bytes, platform::CodePage::Cp932));
  }
  // In UTF-8 a 0x5C byte is always a whole character.
  if (dosSeparators)
    for (char& c : text)
      if (c == '\\') c = '/';
  return text;
}

std::string NormalizeName(std::string_view name) {
  std::string out;
  bool absolute = !name.empty() && name.front() == '/';
  for (std::string_view part : Split(name)) {
    if (part.empty() || part == ".") continue;
    if (!out.empty()) out += '/';
    out.append(part);
  }
  if (absolute) out.insert(out.begin(), '/');
  return out;
}

bool IsSafeName(std::string_view name) {
  if (name.empty() || name.front() == '/') return false;
  for (std::string_view part : Split(name))
    if (part == "..") return false;
  return true;
}

bool IsSafeLinkTarget(std::string_view linkPath, std::string_view target) {
  if (target.empty() || target.front() == '/') return false;
  // Depth of the folder that holds the link, then walk the target.
  std::vector<std::string_view> parts = Split(linkPath);
  long depth = 0;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i)
    if (!parts[i].empty() && parts[i] != ".") ++depth;
  // ".." only before the first plain component: the folders above the link
  // are real folders we made, while a ".." after a plain component might
  // climb out of another link's target.
  bool descended = false;
  for (std::string_view part : Split(target)) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (descended || --depth < 0) return false;
    } else {
      descended = true;
    }
  }
  return true;
}

std::string BaseName(std::string_view name) {
  std::size_t slash = name.rfind('/');
  return std::string(slash == std::string_view::npos ? name : name.substr(slash + 1));
}

std::string ToProgram(std::string_view utf8) { return platform::FromUtf8(utf8, platform::GetCodePage()); }

std::string FromProgram(std::string_view text) { return platform::ToUtf8(text, platform::GetCodePage()); }

}  // namespace quillaby::arc
