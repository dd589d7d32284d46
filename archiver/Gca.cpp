#include "archiver/Gca.h"

#include <unistd.h>

#include <climits>
#include <vector>

#include "archiver/CommandTail.h"
#include "platform/codepage.h"

namespace ArchiverN {
namespace {

bool IsBlank(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 0x20;
}

// Comma text: blank-separated or comma-separated items, an item in double
// quotes may hold blanks and commas ("" stands for one quote). Two commas in
// a row give an empty item, a trailing comma none.
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

std::string CurrentFolder() {
  std::vector<char> buf(PATH_MAX + 1, '\0');
  return ::getcwd(buf.data(), buf.size()) ? std::string(buf.data()) : std::string();
}

// The item as an absolute path against the current folder, with "." and
// ".." components resolved in the text alone (links are not followed).
// Empty when no such path can be formed.
std::string AbsolutePath(const std::string& item) {
  if (item.empty()) return std::string();
  std::string full = item;
  if (item[0] != '/') {
    std::string cwd = CurrentFolder();
    if (cwd.empty()) return std::string();
    full = cwd + "/" + item;
  }
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= full.size()) {
    std::size_t slash = full.find('/', start);
    if (slash == std::string::npos) slash = full.size();
    std::string part = full.substr(start, slash - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = slash + 1;
  }
  std::string out;
  for (const auto& p : parts) out += "/" + p;
  if (out.empty()) return "/";
  if (full.back() == '/') out += "/";
  return out;
}

// The output folder as a current folder: without its trailing "/" unless
// that follows another "/" or is the whole text.
std::string FolderWithoutDelimiter(const std::string& dir) {
  if (dir.size() < 2 || !platform::LastCharIs(dir, '/')) return dir;
  std::string rest = dir.substr(0, dir.size() - 1);
  return platform::LastCharIs(rest, '/') ? dir : rest;
}

// Changes the current folder for its life and always puts the old one back.
class TFolderChange {
 public:
  TFolderChange() : saved_(CurrentFolder()) {}
  ~TFolderChange() {
    if (!saved_.empty() && ::chdir(saved_.c_str()) != 0) {
      // Nothing more can be done; the command is still built.
    }
  }
  void Enter(const std::string& folder) {
    if (::chdir(folder.c_str()) != 0) {
      // A folder that cannot be entered is ignored: items resolve against
      // the folder that stays current.
    }
  }

 private:
  std::string saved_;
};

}  // namespace

TGca::TGca(IArchiverOwner* owner) : TCustomArchiver(owner) {
  TypeCode = kTypeGca;
  LoadDll("UnGCA32.dll", "UnGCA");
}

std::string TGca::GetSwitches() {
  const TArchiveOptions& o = Opts();
  return TSwitchText()
      .Add(o.ShowDialog, " -sx1")
      .Add(!o.Overwrite, " -yx1")
      .Add(!o.IgnorePath, " -xx1")
      .AddQuoted(o.Password, "-p")
      .AddExtra(o.Extra)
      .Trimmed();
}

std::string TGca::MakeCompressCommand(const std::string& files) {
  std::string command = "a " + GetSwitches() + QuotedArchive(ArchiveName);
  {
    TFolderChange change;
    const bool absolute = !OutputDir.empty();
    if (absolute) change.Enter(FolderWithoutDelimiter(OutputDir));
    for (const std::string& item : SplitCommaText(files)) command += " " + (absolute ? AbsolutePath(item) : item);
  }
  return platform::TrimControl(command);
}

std::string TGca::MakeExtractCommand(const std::string& files) {
  const std::string list = files == "*.*" ? std::string() : files;
  const char* word = list.empty() ? "e " : "ex ";
  return FullCommand(word + GetSwitches(), ArchiveName, OutputDir, list);
}

}  // namespace ArchiverN
