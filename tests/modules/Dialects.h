#pragma once
// The command lines the program's drivers build for each module, with the
// options the program uses and the two it can change: stored folders and overwrite.
#include <string>

namespace modtest {

struct Dialect {
  const char* file;
  const char* prefix;
  std::string (*extract)(const std::string& archive, const std::string& out, const std::string& files, bool keep, bool overwrite);
};

inline std::string Tail(const std::string& a, const std::string& o, const std::string& f) {
  std::string s = " \"" + a + "\" \"" + o + "\"";
  if (!f.empty()) s += " " + f;
  return s;
}

inline const Dialect kLha{"unlha32.dll", "Unlha", [](auto& a, auto& o, auto& f, bool k, bool w) {
  return std::string("e -a2 -n1") + (k ? " -x1" : "") + (w ? " -m1" : "") + " -r2" + Tail(a, o, f);
}};
inline const Dialect kZip{"unzip32.dll", "UnZip", [](auto& a, auto& o, auto& f, bool k, bool w) {
  return std::string("-u --i -q") + (k ? "" : " -j") + (w ? " -o" : "") + Tail(a, o, f);
}};
inline const Dialect k7z{"7-zip32.dll", "SevenZip", [](auto& a, auto& o, auto& f, bool k, bool w) {
  return std::string(k ? "x" : "e") + " -hide" + (w ? " -aoa -y" : "") + " -r0" + Tail(a, o, f);
}};
inline const Dialect k7zZip{"7-zip32.dll", "SevenZip", [](auto& a, auto& o, auto& f, bool k, bool w) {
  return std::string(k ? "x" : "e") + " -tzip -hide" + (w ? " -aoa -y" : "") + " -r0" + Tail(a, o, f);
}};
inline const Dialect kCab{"cab32.dll", "Cab", [](auto& a, auto& o, auto& f, bool k, bool w) {
  return std::string("-x -i") + (k ? "" : " -j") + " -n" + (w ? " -o" : "") + " -r" + Tail(a, o, f);
}};
inline const Dialect kTar{"tar32.dll", "Tar", [](auto& a, auto& o, auto& f, bool k, bool w) {
  return std::string("-x --display-dialog=0") + (k ? "" : " --use-directory=0") + (w ? "" : " -k") + Tail(a, o, f);
}};
inline const Dialect kRar{"unrar32.dll", "Unrar", [](auto& a, auto& o, auto& f, bool k, bool w) {
  return std::string(k ? "-x" : "-e") + " -y -u" + (w ? " -o" : "") + " -s -r" + Tail(a, o, f);
}};

}  // namespace modtest
