#include "app/cli/CliOptions.h"

#include <getopt.h>
#include <unistd.h>

#include <vector>

namespace quillaby::cli {

const char kUsage[] =
    "usage: quillaby-batch [OPTIONS] ARCHIVE...\n"
    "  -o, --folder DIR       extract into DIR (default: next to each archive)\n"
    "  -e, --exist POLICY     overwrite | skip | rename (default: skip)\n"
    "  -r, --rename PATTERN   rename pattern (default: %a)\n"
    "  -m, --mask MASKS       comma-separated masks (default: *.*)\n"
    "  -d, --delete           delete each archive that was extracted completely\n"
    "  -h, --help             usage\n"
    "      --version          version\n";

std::string ParseOptions(int argc, char** argv, TCliOptions& o) {
  enum { kVersion = 256 };
  static const option kLong[] = {
      {"folder", required_argument, nullptr, 'o'}, {"exist", required_argument, nullptr, 'e'},
      {"rename", required_argument, nullptr, 'r'}, {"mask", required_argument, nullptr, 'm'},
      {"delete", no_argument, nullptr, 'd'},       {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, kVersion}, {nullptr, 0, nullptr, 0}};
  opterr = 0;
  optind = 1;
  for (;;) {
    const int c = ::getopt_long(argc, argv, ":o:e:r:m:dh", kLong, nullptr);
    if (c == -1) break;
    const std::string arg = optarg ? optarg : "";
    // A short option by its letter, a long one as it was typed.
    const std::string shown = optopt ? std::string("-") + static_cast<char>(optopt)
                                     : std::string(argv[optind - 1]);
    switch (c) {
      case 'o':
        if (arg.empty()) return "the output folder is empty";
        o.FixedFolder = true;
        o.Folder = arg;
        break;
      case 'e':
        if (arg == "overwrite") o.Policy = ExistPolicy::Overwrite;
        else if (arg == "skip") o.Policy = ExistPolicy::Skip;
        else if (arg == "rename") o.Policy = ExistPolicy::Rename;
        else return "unknown policy '" + arg + "' (overwrite, skip or rename)";
        break;
      case 'r': o.RenamePattern = arg; break;
      case 'm': o.Masks = arg; break;
      case 'd': o.DeleteArchives = true; break;
      case 'h': o.Help = true; break;
      case kVersion: o.Version = true; break;
      case ':': return "option '" + shown + "' needs a value";
      default: return "unknown option '" + shown + "'";
    }
  }
  for (int i = optind; i < argc; ++i) o.Archives.push_back(argv[i]);
  if (!o.Help && !o.Version && o.Archives.empty()) return "no archive given";
  return std::string();
}

std::string FullPath(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  std::vector<char> buf(4096);
  while (!::getcwd(buf.data(), buf.size())) {
    if (buf.size() > (1u << 20)) return path;
    buf.resize(buf.size() * 2);
  }
  std::string folder = buf.data();
  std::string rest = path;
  while (rest.rfind("./", 0) == 0) rest.erase(0, 2);
  return folder == "/" ? "/" + rest : folder + "/" + rest;
}

}  // namespace quillaby::cli
