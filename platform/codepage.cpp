#include "platform/codepage.h"

#include <iconv.h>
#include <langinfo.h>

#include <strings.h>

#include <atomic>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <vector>

namespace platform {
namespace {

CodePage DetectFromLocale() {
  // Read the character set the environment's locale names, then put the C
  // locale back so the rest of the process is not affected.
  const char* old = std::setlocale(LC_CTYPE, nullptr);
  std::string saved = old ? old : "C";
  CodePage cp = CodePage::Utf8;
  if (std::setlocale(LC_CTYPE, "")) {
    const char* cs = nl_langinfo(CODESET);
    if (cs && (strcasecmp(cs, "SHIFT_JIS") == 0 || strcasecmp(cs, "SJIS") == 0 ||
               strcasecmp(cs, "CP932") == 0 || strcasecmp(cs, "WINDOWS-31J") == 0))
      cp = CodePage::Cp932;
  }
  std::setlocale(LC_CTYPE, saved.c_str());
  return cp;
}

std::atomic<int>& CurrentSlot() {
  static std::atomic<int> slot{static_cast<int>(DetectFromLocale())};
  return slot;
}

std::size_t Utf8Length(unsigned char c) {
  if (c >= 0xC2 && c <= 0xDF) return 2;
  if (c >= 0xE0 && c <= 0xEF) return 3;
  if (c >= 0xF0 && c <= 0xF4) return 4;
  return 1;
}

std::string Convert(std::string_view s, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(s);
  std::string out;
  std::vector<char> buf(s.size() * 4 + 16);
  char* in = const_cast<char*>(s.data());
  size_t inleft = s.size();
  while (inleft > 0) {
    char* o = buf.data();
    size_t oleft = buf.size();
    size_t r = iconv(cd, &in, &inleft, &o, &oleft);
    out.append(buf.data(), o - buf.data());
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // An invalid or incomplete sequence: keep the byte as it is.
      out.push_back(*in);
      ++in;
      --inleft;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

CodePage GetCodePage() { return static_cast<CodePage>(CurrentSlot().load()); }
void SetCodePage(CodePage cp) { CurrentSlot().store(static_cast<int>(cp)); }

bool IsLeadByte(unsigned char c) {
  if (GetCodePage() == CodePage::Cp932) return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
  return Utf8Length(c) > 1;
}

std::size_t CharLength(std::string_view s, std::size_t pos) {
  if (pos >= s.size()) return 1;
  unsigned char c = static_cast<unsigned char>(s[pos]);
  std::size_t n = 1;
  if (GetCodePage() == CodePage::Cp932) {
    if (IsLeadByte(c)) n = 2;
  } else {
    n = Utf8Length(c);
    // A malformed sequence counts byte by byte.
    for (std::size_t k = 1; k < n; ++k) {
      if (pos + k >= s.size() || (static_cast<unsigned char>(s[pos + k]) & 0xC0) != 0x80) return 1;
    }
  }
  if (pos + n > s.size()) n = s.size() - pos;
  return n;
}

std::size_t FindChar(std::string_view s, char c, std::size_t from) {
  for (std::size_t i = from; i < s.size(); i = NextChar(s, i))
    if (s[i] == c && CharLength(s, i) == 1) return i;
  return std::string_view::npos;
}

std::size_t FindLastChar(std::string_view s, char c) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < s.size(); i = NextChar(s, i))
    if (s[i] == c && CharLength(s, i) == 1) found = i;
  return found;
}

std::size_t LastCharPos(std::string_view s) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < s.size(); i = NextChar(s, i)) last = i;
  return last;
}

bool LastCharIs(std::string_view s, char c) {
  std::size_t p = LastCharPos(s);
  return p != std::string_view::npos && CharLength(s, p) == 1 && s[p] == c;
}

std::string ReplaceChar(std::string_view s, char from, std::string_view to) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    std::size_t n = CharLength(s, i);
    if (n == 1 && s[i] == from)
      out.append(to);
    else
      out.append(s.substr(i, n));
    i += n;
  }
  return out;
}

std::string TrimControl(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
  return std::string(s.substr(b, e - b));
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size(); i = NextChar(out, i))
    if (out[i] >= 'A' && out[i] <= 'Z' && CharLength(out, i) == 1) out[i] = static_cast<char>(out[i] - 'A' + 'a');
  return out;
}

std::string ToUtf8(std::string_view s, CodePage from) {
  return from == CodePage::Utf8 ? std::string(s) : Convert(s, "CP932", "UTF-8");
}

std::string FromUtf8(std::string_view s, CodePage to) {
  return to == CodePage::Utf8 ? std::string(s) : Convert(s, "UTF-8", "CP932");
}

bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : Utf8Length(c);
    if (c >= 0x80 && n == 1) return false;
    if (i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    if (n == 3 && c == 0xE0 && static_cast<unsigned char>(s[i + 1]) < 0xA0) return false;
    if (n == 3 && c == 0xED && static_cast<unsigned char>(s[i + 1]) > 0x9F) return false;
    if (n == 4 && c == 0xF0 && static_cast<unsigned char>(s[i + 1]) < 0x90) return false;
    if (n == 4 && c == 0xF4 && static_cast<unsigned char>(s[i + 1]) > 0x8F) return false;
    i += n;
  }
  return true;
}

}  // namespace platform
