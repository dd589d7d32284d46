#pragma once
// Text in the process's multibyte code page. Every search for a delimiter or
// a bracket steps over whole characters, so the second byte of a double-byte
// character is never taken for "\", "/", "[" or "]".
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

enum class CodePage { Utf8, Cp932 };

// Defaults to the locale's character set (CP932 for Shift-JIS/CP932 locales,
// UTF-8 otherwise). Tests switch it per process.
CodePage GetCodePage();
void SetCodePage(CodePage cp);

// True when the byte starts a character of more than one byte.
bool IsLeadByte(unsigned char c);
// Length in bytes of the character at pos (at least 1, never past the end).
std::size_t CharLength(std::string_view s, std::size_t pos);
// Position of the character after the one at pos.
inline std::size_t NextChar(std::string_view s, std::size_t pos) { return pos + CharLength(s, pos); }

// Position of the first / last whole character c (an ASCII byte), or npos.
std::size_t FindChar(std::string_view s, char c, std::size_t from = 0);
std::size_t FindLastChar(std::string_view s, char c);
// Position of the last whole character in s, or npos when s is empty.
std::size_t LastCharPos(std::string_view s);
// True when the last whole character of s is the ASCII character c.
bool LastCharIs(std::string_view s, char c);
// Every whole character `from` replaced by the text `to`.
std::string ReplaceChar(std::string_view s, char from, std::string_view to);

// Removes leading and trailing characters with codes 0x20 or lower.
std::string TrimControl(std::string_view s);
// ASCII letters lowered; other bytes kept.
std::string LowerAscii(std::string_view s);

// Conversion between the code page and UTF-8 (identity for UTF-8).
std::string ToUtf8(std::string_view s, CodePage from);
std::string FromUtf8(std::string_view s, CodePage to);
bool IsValidUtf8(std::string_view s);

}  // namespace platform
