#include "platform/paths.h"

#include "platform/codepage.h"

namespace platform::path {
namespace {
constexpr auto npos = std::string_view::npos;
}

std::string FolderPart(std::string_view p) {
  std::size_t i = FindLastChar(p, kDelimiter);
  return i == npos ? std::string() : std::string(p.substr(0, i + 1));
}

std::string FolderOf(std::string_view p) {
  std::string f = FolderPart(p);
  // Keep the delimiter for the root and after another delimiter.
  if (f.size() >= 2 && f[f.size() - 2] != kDelimiter) f.pop_back();
  return f;
}

std::string FileName(std::string_view p) {
  std::size_t i = FindLastChar(p, kDelimiter);
  return std::string(i == npos ? p : p.substr(i + 1));
}

std::string Extension(std::string_view p) {
  std::size_t slash = FindLastChar(p, kDelimiter);
  std::size_t from = slash == npos ? 0 : slash + 1;
  std::size_t dot = FindLastChar(p.substr(from), '.');
  return dot == npos ? std::string() : std::string(p.substr(from + dot));
}

std::string RemoveExtension(std::string_view p) {
  return std::string(p.substr(0, p.size() - Extension(p).size()));
}

std::string ChangeExtension(std::string_view p, std::string_view ext) {
  return RemoveExtension(p) + std::string(ext);
}

std::string Join(std::string_view folder, std::string_view name) {
  std::string out(folder);
  out.push_back(kDelimiter);
  out.append(name);
  return out;
}

std::string WithTrailingDelimiter(std::string_view folder) {
  std::string out(folder);
  if (!LastCharIs(out, kDelimiter)) out.push_back(kDelimiter);
  return out;
}

}  // namespace platform::path
