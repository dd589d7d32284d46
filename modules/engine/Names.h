#pragma once
// Entry names as the program sees them: UTF-8 with "/" between folders, and
// the checks that keep every write inside the output folder.
#include <string>
#include <string_view>

namespace quillaby::arc {

// A stored name as libarchive (or our LHA scanner) hands it over, turned into
// UTF-8: kept when it is valid UTF-8, read as CP932 otherwise. A "/" right
// after a CP932 lead byte was a 0x5C trail byte that a reader took for a
// delimiter; it is put back. With dosSeparators a real "\" is a delimiter.
std::string DecodeName(std::string_view raw, bool dosSeparators);

// "./" components, repeated "/" and a trailing "/" removed; ".." kept so that
// the safety check sees it.
std::string NormalizeName(std::string_view name);

// True for a relative name without ".." components.
bool IsSafeName(std::string_view name);

// True when a link placed at linkPath (relative to the output folder) with
// this target stays inside the output folder.
bool IsSafeLinkTarget(std::string_view linkPath, std::string_view target);

// The last component of a name.
std::string BaseName(std::string_view name);

// Between the engine's UTF-8 and the program's code page (CP932 or UTF-8):
// names handed out, names on disk and text written; and names read from the
// program's commands and masks.
std::string ToProgram(std::string_view utf8);
std::string FromProgram(std::string_view text);

}  // namespace quillaby::arc
